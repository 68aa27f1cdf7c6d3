/// @file server_harness.h What the game server's tests share: a tavrek-server process, its
/// export, the hot-seat game a network game must equal, two tavrek-sim players, a raw player.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QUrl>
#include <QWebSocket>

#include "temp_dir.h"

namespace harness {

inline const std::string kScript = std::string(TAVREK_SERVER_TEST_DIR) + "/two_brewers.txt";
inline const QStringList kGameOptions = {"--seed", "77", "--map", "2", "--start", "3", "--start2", "7"};
constexpr int kMonths = 24;

/// Lets Qt run until `done` holds or `ms` have passed; returns whether it holds.
inline bool WaitFor(const std::function<bool()>& done, int ms = 20000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

/// A tavrek-server on loopback with its data folder.
class Server {
public:
    explicit Server(QString data, QStringList extra = {}) : data_(std::move(data)), extra_(std::move(extra)) {}
    ~Server() { Kill(); }

    /// Starts it (on `port`, 0 for a free one) and reads its first line; false if it said none.
    bool Start(int port = 0)
    {
        process_.start(TAVREK_SERVER_PATH,
                       QStringList{"--data", data_, "--listen", QString("127.0.0.1:%1").arg(port)} + extra_);
        if (!process_.waitForStarted(10000))
            return false;
        WaitFor([this]() { return process_.canReadLine() || process_.state() == QProcess::NotRunning; });
        const QString line = QString::fromUtf8(process_.readLine()).trimmed();
        if (!line.startsWith("listening on ws://127.0.0.1:") && !line.startsWith("listening on wss://127.0.0.1:"))
            return false;
        url_ = line.mid(13);
        port_ = QUrl(url_).port();
        return true;
    }
    void Kill()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(10000);
        }
    }
    bool Running() const { return process_.state() == QProcess::Running; }
    const QString& Url() const { return url_; }
    int Port() const { return port_; }
    QString ErrorOutput() { return QString::fromUtf8(process_.readAllStandardError()); }

private:
    QString data_;
    QStringList extra_;
    QProcess process_;
    QString url_;
    int port_ = 0;
};

/// Writes a game's savegame through the server's export (`extra`: where its database is); its
/// exit status.
inline int Export(const QString& data, const QString& game, const QString& file, const QStringList& extra = {})
{
    QProcess p;
    p.start(TAVREK_SERVER_PATH, QStringList{"--data", data, "--export", game, file} + extra);
    p.waitForFinished(60000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

/// The hot-seat game the network games must equal: savegame and record.
struct HotSeat {
    std::string Game;
    std::string Record;
};
inline HotSeat PlayHotSeat(int months = kMonths)
{
    TempDir d;
    QProcess p;
    const QString save = QString::fromStdString((d / "hot.tsg").string());
    p.start(TAVREK_SIM_PATH, QStringList{"--dir", QString::fromStdString(d.Str())} + kGameOptions +
                                 QStringList{"--months", QString::number(months), "--commands",
                                             QString::fromStdString(kScript), "--save", save});
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return {ReadFile(d / "hot.tsg"), ReadFile(d / "hot.tsg.history")};
}

/// Two tavrek-sim players, host and guest, playing the script on the server.
struct NetworkGame {
    QProcess Host;
    QProcess Guest;
    QString HostOut;
    QString GuestOut;
    QString Game;

    NetworkGame()
    {
        QObject::connect(&Host, &QProcess::readyReadStandardOutput,
                         [this]() { HostOut += QString::fromUtf8(Host.readAllStandardOutput()); });
        QObject::connect(&Guest, &QProcess::readyReadStandardOutput,
                         [this]() { GuestOut += QString::fromUtf8(Guest.readAllStandardOutput()); });
    }

    /// Starts the host, reads its invite, starts the guest (on `guestUrl` when given, another
    /// server); `extra` goes to both.
    bool Start(const QString& url, const QStringList& extra = {}, int months = kMonths,
               const QStringList& options = kGameOptions, QString guestUrl = {})
    {
        if (guestUrl.isEmpty())
            guestUrl = url;
        Host.start(TAVREK_SIM_PATH,
                   QStringList{"--server", url, "--host"} + extra + options +
                       QStringList{"--months", QString::number(months), "--commands", QString::fromStdString(kScript)});
        if (!WaitFor([this]() { return HostOut.contains('\n') || Host.state() == QProcess::NotRunning; }))
            return false;
        const QString first = HostOut.section('\n', 0, 0);
        if (!first.startsWith("invite "))
            return false;
        Guest.start(TAVREK_SIM_PATH, QStringList{"--server", guestUrl, "--join", first.mid(7)} + extra +
                                         QStringList{"--months", QString::number(months), "--commands",
                                                     QString::fromStdString(kScript)});
        return Guest.waitForStarted(10000);
    }
    bool Running() const { return Host.state() != QProcess::NotRunning || Guest.state() != QProcess::NotRunning; }
    /// How many script lines both players have sent so far.
    int LinesPlayed() const { return static_cast<int>(HostOut.count("\n> ") + GuestOut.count("\n> ")); }
    /// Waits for both to end; both must end well and name the same game.
    ::testing::AssertionResult Finish(int ms = 120000)
    {
        if (!WaitFor([this]() { return !Running(); }, ms))
            return ::testing::AssertionFailure()
                   << "the players did not finish; the host said:\n"
                   << HostOut.right(600).toStdString() << Host.readAllStandardError().toStdString()
                   << "\nthe guest said:\n"
                   << GuestOut.right(600).toStdString() << Guest.readAllStandardError().toStdString();
        HostOut += QString::fromUtf8(Host.readAllStandardOutput());
        GuestOut += QString::fromUtf8(Guest.readAllStandardOutput());
        if (Host.exitCode() != 0 || Guest.exitCode() != 0)
            return ::testing::AssertionFailure()
                   << "host " << Host.exitCode() << ": " << Host.readAllStandardError().toStdString() << "guest "
                   << Guest.exitCode() << ": " << Guest.readAllStandardError().toStdString();
        const QString hostLast = HostOut.trimmed().split('\n').last();
        const QString guestLast = GuestOut.trimmed().split('\n').last();
        if (!hostLast.startsWith("game ") || hostLast != guestLast)
            return ::testing::AssertionFailure()
                   << "last lines: " << hostLast.toStdString() << " / " << guestLast.toStdString();
        Game = hostLast.mid(5);
        return ::testing::AssertionSuccess();
    }
};

/// A raw WebSocket player: sends any text and keeps every message it receives.
class Client {
public:
    bool Open(const QString& url)
    {
        QObject::connect(&socket_, &QWebSocket::textMessageReceived,
                         [this](const QString& text) { inbox_.push_back(text); });
        QObject::connect(&socket_, &QWebSocket::disconnected, [this]() { closed_ = true; });
        socket_.open(QUrl(url));
        return WaitFor([this]() { return socket_.state() == QAbstractSocket::ConnectedState || closed_; }) && !closed_;
    }
    void SendText(const QString& text) { socket_.sendTextMessage(text); }
    void Send(QJsonObject m)
    {
        if (!m.contains("v"))
            m.insert("v", 1);
        SendText(QString::fromUtf8(QJsonDocument(m).toJson(QJsonDocument::Compact)));
    }
    void SendBinary(const QByteArray& data) { socket_.sendBinaryMessage(data); }
    /// The next message of `kind` (others before it are dropped); an empty object after a while.
    QJsonObject Next(const QString& kind)
    {
        QJsonObject found;
        WaitFor([&]() {
            while (!inbox_.empty()) {
                const QJsonObject m = QJsonDocument::fromJson(inbox_.front().toUtf8()).object();
                inbox_.pop_front();
                if (m.value("kind").toString() == kind) {
                    found = m;
                    return true;
                }
            }
            return false;
        });
        return found;
    }
    /// The next message of any kind; empty after a while.
    QJsonObject Any()
    {
        QJsonObject found;
        WaitFor([&]() {
            if (inbox_.empty())
                return false;
            found = QJsonDocument::fromJson(inbox_.front().toUtf8()).object();
            inbox_.pop_front();
            return true;
        });
        return found;
    }
    bool Closed()
    {
        return WaitFor([this]() { return closed_; }, 5000);
    }
    void Drain()
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        inbox_.clear();
    }

private:
    QWebSocket socket_;
    std::deque<QString> inbox_;
    bool closed_ = false;
};

inline QJsonObject HostSettings(int seed)
{
    return {{"map", 2},          {"expert", false}, {"delay", true}, {"events", true},
            {"advanced", false}, {"reduce", false}, {"share", "60"}, {"name1", ""},
            {"name2", ""},       {"start1", 3},     {"start2", 7},   {"seed", seed}};
}

}  // namespace harness
