/// @file game_server.h The game server: games kept in the store, players on WebSockets, each
/// command checked, run by the real rules and committed before it is answered.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

#include <QElapsedTimer>
#include <QHostAddress>
#include <QJsonObject>
#include <QObject>
#include <QSslConfiguration>
#include <QString>

#include "server/game_store.h"
#include "server/hosted_game.h"

class QWebSocket;
class QWebSocketServer;

/// What one address and one connection may ask of the server.
struct ServerLimits {
    int ConnectionsPerAddress = 8;
    double MessagesPerSecond = 30;  ///< on average, per connection
    double MessageBurst = 60;       ///< at once, before the average holds
    qint64 InviteSeconds = 7 * 24 * 3600;
};

/// Rebuilds a stored game by running its inputs again from its settings; each month's digest
/// must come out as it was stored. Nothing, with `error`, when the game cannot be rebuilt.
std::unique_ptr<HostedGame> RebuildGame(const StoredGame& stored, const std::string& programDirectory, QString& error);
/// Runs inputs kept in the database into a game that has run the `number` before them, each as
/// its seat on turn, each digest checked; false with `error` at the first that does not fit.
bool PlayInputs(HostedGame& game, const QString& id, const std::vector<StoredInput>& inputs, int number,
                QString& error);

class GameServer : public QObject {
    Q_OBJECT
public:
    GameServer(GameStore& store, std::string programDirectory, ServerLimits limits, QObject* parent = nullptr);
    ~GameServer() override;

    /// Rebuilds every stored game. A game that cannot be rebuilt is said on standard error and
    /// not served; the others are.
    void LoadGames();
    /// Serves wss:// with this certificate and key from the next Listen on (LoadServerTls).
    void UseTls(const QSslConfiguration& tls);
    bool Listen(const QHostAddress& address, quint16 port, QString& error);
    /// ws://ADDRESS:PORT (wss:// with TLS) as it listens.
    QString Url() const;

private:
    struct Seat {
        QString TokenHash;  ///< empty: free
        qint64 LastSeq = 0;
        QString LastAnswer;
    };
    struct Game {
        QString Id;
        std::unique_ptr<HostedGame> Play;
        Seat Seats[2];
        QString InviteHash;
        qint64 InviteExpires = 0;
        bool InviteUsed = false;
        int Inputs = 0;
        /// What this server last told the game's connections: month, seat on turn, seat 2 taken.
        std::tuple<int32_t, int, bool> Told{-1, 0, false};
    };
    struct Client {
        QHostAddress Address;
        double Tokens = 0;
        QElapsedTimer Refilled;
        std::vector<std::pair<QString, int>> Seats;  ///< the game seats it hears about
    };

    /// A game's lock taken for the change a message asks for: the game is brought up to what the
    /// database holds (loaded, or the inputs other servers ran played into it). Nothing, with the
    /// error sent (when there is a socket), when the game is unknown or the database fails.
    Game* Take(QWebSocket* socket, const QString& id, qint64 seq);
    /// Another server may have changed a game: its players here hear what they would have
    /// heard there.
    void Heard(const QString& id);
    /// The games that connections here listen to, which another server has moved on, are heard
    /// of: the safety net under the database's notices.
    void LookAround();

    void Accept();
    void Receive(QWebSocket* socket, const QString& text);
    void Drop(QWebSocket* socket);
    void Send(QWebSocket* socket, const QJsonObject& message);

    void Host(QWebSocket* socket, const QJsonObject& m);
    void Hosted(QWebSocket* socket, const Game& game, const QString& invite);
    void Join(QWebSocket* socket, const QJsonObject& m);
    void Joined(QWebSocket* socket, const Game& game);
    /// The seat token a host or join message brings, checked; false with the error sent.
    bool SeatToken(QWebSocket* socket, const QJsonObject& m, QString& token);
    /// A fresh invite code and when it expires; `hash` is what is kept of it.
    std::pair<QString, qint64> NewInvite(QString& hash) const;
    void Resume(QWebSocket* socket, const QJsonObject& m);
    void RunCommand(QWebSocket* socket, const QJsonObject& m);
    /// The game as it stands, as its savegame: what a player's window shows.
    void Fetch(QWebSocket* socket, const QJsonObject& m);

    /// The game and seat a message's game, seat and token name; nothing (with the error sent)
    /// when they do not hold together.
    Game* Authorize(QWebSocket* socket, const QJsonObject& m, int& seat, qint64 seq);
    std::unique_ptr<Game> Restore(const StoredGame& stored, QString& error) const;
    void Listen(QWebSocket* socket, const QString& game, int seat);
    QJsonObject StateMessage(const Game& game) const;
    QJsonObject TurnMessage(const Game& game, int seat) const;
    /// Tells every connection of the game's seats the game's state, and the seat on turn its news
    /// when `withTurn`.
    void Broadcast(Game& game, bool withTurn);

    GameStore& store_;
    std::string programDirectory_;
    ServerLimits limits_;
    std::optional<QSslConfiguration> tls_;
    QWebSocketServer* server_ = nullptr;
    /// The games as this server last saw them; the database has the last word.
    std::map<QString, std::unique_ptr<Game>> games_;
    std::map<QWebSocket*, Client> clients_;
    std::map<QString, int> perAddress_;
};
