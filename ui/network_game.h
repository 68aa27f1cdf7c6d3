/// @file network_game.h Game > Network Game in the window: host a game on a server, join one
/// with an invite code, resume a seat held before; then play it as a local game on your turn
/// (each action goes to the server as a command) and watch, read-only, while the other player
/// moves. The server is the referee: its game is what the window shows.
#pragma once

#include <QFont>
#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <utility>

#include "game/text.h"
#include "ui/network_client.h"

class QAction;
class QLabel;
class QMenu;
class TForm1;

class NetworkMenu : public QObject {
    Q_OBJECT

public:
    /// Where the network game stands, as the window shows it.
    enum class Phase {
        Off,         ///< no network game: the window is the game's own
        Connecting,  ///< the seat is being taken or the line is down
        Waiting,     ///< the other player is on turn (or has yet to join): read-only
        OnTurn,      ///< this player's turn: the panel and the map work
        EndingTurn,  ///< Next Turn was pressed: the copy is checked against the server's
    };

    /// Puts the submenu into the Game menu before `before`. `mayReplaceGame` is asked first, as
    /// New asks.
    NetworkMenu(QMenu* game, QAction* before, TForm1& window, std::function<bool()> mayReplaceGame);

    void Host();
    void Join();
    void Resume();
    /// Leaves the network game (the seat stays held and can be resumed).
    void Leave();
    /// Next Turn: in a network game the server closes the turn. False when no network game runs.
    bool EndTurn();
    /// New or Open replaced the game: the network game is left.
    void GameReplaced();
    void SetLanguage(Language language);
    /// The banner grows with the window's zoom.
    void SetZoom(int zoom);

    Phase CurrentPhase() const { return phase_; }
    QLabel* Banner() const { return banner_; }
    QMenu* Submenu() const { return menu_; }
    NetworkClient& Client() { return *client_; }
    /// The month whose turn was last compared with the server's copy, and how many differed.
    int ChecksDone() const { return checks_; }
    int ChecksFailed() const { return mismatches_; }

    // --- what tests replace: the questions asked of the player ---------------------------------
    /// The server's address, offered as `suggested`; nothing when cancelled.
    std::function<std::optional<QString>(const QString& suggested)> AskServer;
    /// The server's address and the invite code.
    std::function<std::optional<std::pair<QString, QString>>(const QString& suggested)> AskJoin;
    /// One of the seats listed; nothing when cancelled.
    std::function<std::optional<int>(const QStringList& seats)> AskSeat;
    /// Shows the invite code to pass on.
    std::function<void(const QString& invite, const QString& text)> ShowInvite;
    /// Draws the player's eye when the turn comes and the window is not in front.
    std::function<void()> Alert;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Begin();
    void SeatTaken(const HeldSeat& seat, const QString& invite, qint64 expires);
    void StateChanged(int month, int turn, bool joined, const QString& digest);
    void TurnBegan(int month, const QStringList& messages);
    void CommandAnswered(const QString& sent, const QString& executed, bool refused, const QString& why);
    void CommandRejected(const QString& sent, const QString& code, const QString& why);
    void SnapshotArrived(int month, int turn, const QString& digest, const QByteArray& savegame);
    void Failed(const QString& code, const QString& why);
    /// Sends what the player did since the last look; a change while not on turn is undone.
    void Look();
    /// Makes the server's game the window's.
    bool Take(const QByteArray& savegame);
    void SetPhase(Phase phase);
    void ShowNews();
    void UpdateBanner();
    void Tell(const LocalText& text, bool warning = true);
    void Box(std::function<void()> show);
    QString Text(const LocalText& text) const;
    QString LocalDigest() const;
    HeldSeats Seats() const;
    void KeepSeats(const HeldSeats& seats);

    TForm1& window_;
    std::function<bool()> mayReplaceGame_;
    NetworkClient* client_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* host_ = nullptr;
    QAction* join_ = nullptr;
    QAction* resume_ = nullptr;
    QLabel* banner_ = nullptr;
    QFont bannerFont_;  ///< the banner's font at 100 %
    int zoom_ = 100;
    Phase phase_ = Phase::Off;
    Language language_ = Language::English;
    int mySeat_ = 0;
    int turn_ = 0;
    int month_ = 0;
    bool joined_ = false;
    QString invite_;
    QString lostNote_;           ///< the banner's word on a lost line, while it is down
    size_t sent_ = 0;            ///< the game's inputs already sent or looked at
    bool fetching_ = false;      ///< a snapshot is on its way
    bool checkingTurn_ = false;  ///< the snapshot asked for compares the turn's end
    QString digestAtEnd_;        ///< the copy's digest as the player ended the turn
    QStringList news_;           ///< the news of the turn, shown once the game is taken
    int newsMonth_ = 0;          ///< the month whose news was last told
    bool lookSoon_ = false;
    std::deque<std::function<void()>> boxes_;  ///< boxes waiting for the one shown to close
    bool showingBox_ = false;
    int checks_ = 0;
    int mismatches_ = 0;
};
