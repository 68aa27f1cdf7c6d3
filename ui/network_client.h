/// @file network_client.h The window's line to a game server: host, join or resume one seat,
/// send its commands in order with their sequence numbers, fetch the game as the server has it,
/// and come back by itself after a network fault.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWebSocket>
#include <deque>
#include <optional>

#include "server/protocol.h"
#include "ui/network_seats.h"

class QTimer;

class NetworkClient : public QObject {
    Q_OBJECT

public:
    explicit NetworkClient(QObject* parent = nullptr);
    ~NetworkClient() override;

    /// Starts a game on the server at `url` with a new seat token; the server draws the seed.
    void Host(const QString& url, const NewGameSettings& settings);
    /// Takes seat 2 of the game the invite code opens.
    void Join(const QString& url, const QString& invite);
    /// Comes back to a seat held before.
    void Resume(const HeldSeat& seat);
    /// Sends a command of the seat; commands go one at a time, in the order given.
    void SendCommand(const QString& text);
    /// Asks for the game as it stands (answered with SnapshotArrived).
    void Fetch();
    /// Closes the line for good: no more retries, nothing more sent.
    void Leave();

    bool Active() const { return active_; }
    bool HasSeat() const { return seat_.Seat != 0; }
    const HeldSeat& Seat() const { return seat_; }
    /// Commands given and not yet answered.
    int Unanswered() const { return static_cast<int>(queue_.size()); }
    /// The first wait before a new attempt after a lost line, doubled up to MaxRetryMs.
    int FirstRetryMs = 500;
    int MaxRetryMs = 10000;

signals:
    /// The seat is ours: a hosted game brings its invite code and when it expires.
    void SeatTaken(const HeldSeat& seat, const QString& invite, qint64 expires);
    void StateChanged(int month, int turn, bool joined, const QString& digest);
    void TurnBegan(int month, const QStringList& messages);
    /// A command's answer: run as `executed`, or refused by the rules with `why`.
    void CommandAnswered(const QString& sent, const QString& executed, bool refused, const QString& why);
    /// The server would not take a command at all (not on turn, not a command...).
    void CommandRejected(const QString& sent, const QString& code, const QString& why);
    void SnapshotArrived(int month, int turn, const QString& digest, const QByteArray& savegame);
    /// The line is lost; the next attempt comes in `retryMs`.
    void ConnectionLost(int retryMs, const QString& why);
    /// The seat is held again after a lost line.
    void Reconnected();
    /// The seat cannot be had (a server that cannot be reached at first, a wrong invite, an
    /// unknown game): the line is closed, `why` says it for a person.
    void Failed(const QString& code, const QString& why);

private:
    struct Pending {
        qint64 Seq = 0;
        QString Text;
        bool Sent = false;    ///< sent on some connection
        bool Resent = false;  ///< sent again after a lost line: a repeat is its own lost answer
    };

    void Open();
    void Greet();
    void Lost();
    void Receive(const QString& text);
    void Send(const QJsonObject& message);
    void SendFront();
    void Fail(const QString& code, const QString& why);
    /// Our sequence number was spent by another client of the same seat (the player at a second
    /// machine): ask the seat's last number again and send the commands under new ones.
    void Renumber();

    QWebSocket socket_;
    QTimer* retry_ = nullptr;
    QString url_;
    enum class Start { Host, Join, Resume } start_ = Start::Resume;
    NewGameSettings settings_;
    QString invite_;
    HeldSeat seat_;
    QString token_;
    qint64 seq_ = 0;
    std::deque<Pending> queue_;
    bool active_ = false;
    bool greeted_ = false;  ///< the seat was taken once: a lost line is tried again
    bool resumed_ = false;  ///< the seat is held on this connection
    bool fetchWanted_ = false;
    bool renumber_ = false;  ///< another client of the seat used our numbers: take new ones
    int retryMs_ = 0;
};
