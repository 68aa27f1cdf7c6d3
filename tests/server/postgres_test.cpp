/// @file postgres_test.cpp Several game servers on one PostgreSQL database (the cluster that
/// postgres_test.sh starts): a game played with its seats on different servers, and through a
/// relay that switches servers and loses one to SIGKILL, ends in the hot-seat game's bytes.
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHostAddress>
#include <QPointer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>

#include "server_harness.h"
#include "temp_dir.h"

using namespace harness;

namespace {

/// The database's URLs that the script gives: through its Unix socket, and through TCP.
QString SocketUrl() { return QString::fromLocal8Bit(std::getenv("TAVREK_PG_SOCKET_URL")); }
QString TcpUrl() { return QString::fromLocal8Bit(std::getenv("TAVREK_PG_TCP_URL")); }

/// One address in front of several servers, as a community puts them behind one name: each new
/// connection goes to the next server in turn, past any that does not answer. It can cut every
/// connection at once, so the players come back, each to another server.
class Relay {
public:
    explicit Relay(std::vector<int> ports) : ports_(std::move(ports))
    {
        QObject::connect(&server_, &QTcpServer::newConnection, [this]() {
            while (QTcpSocket* player = server_.nextPendingConnection())
                Link(player, ports_.size());
        });
    }
    ~Relay() { CutAll(); }

    bool Listen() { return server_.listen(QHostAddress::LocalHost, 0); }
    QString Url() const { return QString("ws://127.0.0.1:%1").arg(server_.serverPort()); }
    /// How many connections each server (by its port) took.
    const std::map<int, int>& Served() const { return served_; }
    void CutAll()
    {
        for (const auto& [player, upstream] : links_) {
            if (player)
                player->abort();
            if (upstream)
                upstream->abort();
        }
        links_.clear();
    }

private:
    /// Joins the player to the next server; `tries` servers more may be asked.
    void Link(QTcpSocket* player, size_t tries)
    {
        if (tries == 0) {
            player->abort();
            player->deleteLater();
            return;
        }
        const int port = ports_[next_++ % ports_.size()];
        auto* upstream = new QTcpSocket(player);
        QObject::connect(upstream, &QTcpSocket::connected, [this, player, upstream, port]() {
            ++served_[port];
            links_.emplace_back(player, upstream);
            QObject::connect(player, &QTcpSocket::readyRead,
                             [player, upstream]() { upstream->write(player->readAll()); });
            QObject::connect(upstream, &QTcpSocket::readyRead,
                             [player, upstream]() { player->write(upstream->readAll()); });
            // A connection lost on either side is lost on both, at once.
            QObject::connect(player, &QTcpSocket::disconnected, upstream, &QTcpSocket::abort);
            QObject::connect(upstream, &QTcpSocket::disconnected, player, &QTcpSocket::abort);
            QObject::connect(player, &QTcpSocket::disconnected, player, &QObject::deleteLater);
            // What the player sent while the server was being reached.
            if (player->bytesAvailable() > 0)
                upstream->write(player->readAll());
        });
        QObject::connect(
            upstream, &QTcpSocket::errorOccurred, [this, player, upstream, tries](QAbstractSocket::SocketError) {
                if (upstream->state() == QAbstractSocket::ConnectedState || links_.end() != FindLink(upstream))
                    return;
                upstream->deleteLater();
                Link(player, tries - 1);
            });
        upstream->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    }
    std::vector<std::pair<QPointer<QTcpSocket>, QPointer<QTcpSocket>>>::iterator FindLink(QTcpSocket* upstream)
    {
        for (auto it = links_.begin(); it != links_.end(); ++it)
            if (it->second == upstream)
                return it;
        return links_.end();
    }

    QTcpServer server_;
    std::vector<int> ports_;
    size_t next_ = 0;
    std::vector<std::pair<QPointer<QTcpSocket>, QPointer<QTcpSocket>>> links_;
    std::map<int, int> served_;
};

class PostgreSQL : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Run without postgres_test.sh there is no database: that is a mistake, not a skip.
        ASSERT_FALSE(SocketUrl().isEmpty() || TcpUrl().isEmpty())
            << "run through postgres_test.sh, which starts the PostgreSQL cluster";
    }
};

}  // namespace

TEST_F(PostgreSQL, TwoServersServeOneGameEachASeat)
{
    const HotSeat hot = PlayHotSeat();
    ASSERT_FALSE(hot.Game.empty());
    TempDir d;
    // Each server with a data folder of its own: they share nothing but the database.
    Server a(QString::fromStdString((d / "a").string()), {"--database", SocketUrl()});
    Server b(QString::fromStdString((d / "b").string()), {"--database", TcpUrl()});
    ASSERT_TRUE(a.Start()) << a.ErrorOutput().toStdString();
    ASSERT_TRUE(b.Start()) << b.ErrorOutput().toStdString();
    // The host plays on one, the guest joins with an invite the other never gave, and each hears
    // of the other's turns only through the database: at once through its notices (the servers'
    // slow look around every 5 s alone would take about two minutes for the 48 turns).
    NetworkGame game;
    ASSERT_TRUE(game.Start(a.Url(), {}, kMonths, kGameOptions, b.Url()));
    ASSERT_TRUE(game.Finish(60000)) << "a: " << a.ErrorOutput().toStdString()
                                    << "\nb: " << b.ErrorOutput().toStdString();
    // Either server's export, and one from the database alone, is the hot-seat game.
    for (const QString& url : {SocketUrl(), TcpUrl()}) {
        const QString file = QString::fromStdString((d / "net.tsg").string());
        ASSERT_EQ(Export(QString::fromStdString((d / "export").string()), game.Game, file, {"--database", url}), 0);
        EXPECT_TRUE(ReadFile(d / "net.tsg") == hot.Game) << "the savegames differ (" << url.toStdString() << ")";
        EXPECT_TRUE(ReadFile(d / "net.tsg.history") == hot.Record) << "the records differ";
    }
}

TEST_F(PostgreSQL, OneServerKilledTheOtherGoesOnAndTheGameEndsTheSame)
{
    const HotSeat hot = PlayHotSeat();
    TempDir d;
    Server a(QString::fromStdString((d / "a").string()), {"--database", SocketUrl()});
    Server b(QString::fromStdString((d / "b").string()), {"--database", TcpUrl()});
    ASSERT_TRUE(a.Start()) << a.ErrorOutput().toStdString();
    ASSERT_TRUE(b.Start()) << b.ErrorOutput().toStdString();
    const int portA = a.Port();
    Relay relay({a.Port(), b.Port()});
    ASSERT_TRUE(relay.Listen());
    NetworkGame game;
    ASSERT_TRUE(game.Start(relay.Url()));
    // Over the script's 33 lines: every connection cut (each player comes back to the other
    // server), or server A killed with SIGKILL (its players come back to B, which never stops)
    // and started again later.
    int disturbedDuringTheGame = 0;
    int killed = 0;
    for (const auto& [played, kill] : std::vector<std::pair<int, bool>>{
             {2, true}, {6, false}, {10, true}, {14, false}, {18, true}, {22, false}, {26, true}, {30, false}}) {
        WaitFor([&]() { return game.LinesPlayed() >= played || !game.Running(); }, 60000);
        disturbedDuringTheGame += game.Running();
        if (kill) {
            a.Kill();
            ++killed;
            // B alone for a while.
            WaitFor([&]() { return game.LinesPlayed() >= played + 2 || !game.Running(); }, 60000);
            ASSERT_TRUE(a.Start(portA)) << a.ErrorOutput().toStdString();
        } else {
            relay.CutAll();
        }
        ASSERT_TRUE(b.Running()) << b.ErrorOutput().toStdString();
    }
    EXPECT_EQ(disturbedDuringTheGame, 8) << "the game ended before it was disturbed";
    EXPECT_EQ(killed, 4);
    ASSERT_TRUE(game.Finish(60000)) << "b: " << b.ErrorOutput().toStdString();
    EXPECT_TRUE(b.Running());
    // Each served the players more than once: A before and after it was killed.
    EXPECT_GE(relay.Served().at(portA), 2) << "server A hardly served";
    EXPECT_GE(relay.Served().at(b.Port()), 2) << "server B hardly served";
    const QString file = QString::fromStdString((d / "net.tsg").string());
    ASSERT_EQ(Export(QString::fromStdString((d / "export").string()), game.Game, file, {"--database", TcpUrl()}), 0);
    EXPECT_TRUE(ReadFile(d / "net.tsg") == hot.Game) << "the savegames differ";
    EXPECT_TRUE(ReadFile(d / "net.tsg.history") == hot.Record) << "the records differ";
}

TEST_F(PostgreSQL, ACommandSentToBothServersAtOnceRunsOnce)
{
    TempDir d;
    Server a(QString::fromStdString((d / "a").string()), {"--database", SocketUrl()});
    Server b(QString::fromStdString((d / "b").string()), {"--database", TcpUrl()});
    ASSERT_TRUE(a.Start()) << a.ErrorOutput().toStdString();
    ASSERT_TRUE(b.Start()) << b.ErrorOutput().toStdString();
    Client hostA;
    Client hostB;
    Client guest;
    ASSERT_TRUE(hostA.Open(a.Url()));
    ASSERT_TRUE(hostB.Open(b.Url()));
    ASSERT_TRUE(guest.Open(b.Url()));
    const QString token1 = QString(63, 'b') + "1";
    const QString token2 = QString(63, 'b') + "2";
    hostA.Send({{"kind", "host"}, {"settings", HostSettings(9)}, {"token", token1}});
    const QJsonObject hosted = hostA.Next("hosted");
    const QString game = hosted.value("game").toString();
    ASSERT_FALSE(game.isEmpty());
    guest.Send({{"kind", "join"}, {"invite", hosted.value("invite").toString()}, {"token", token2}});
    ASSERT_EQ(guest.Next("joined").value("game").toString(), game);
    // B told A that the game is whole: A's player hears it (after the state it had on hosting).
    EXPECT_FALSE(hostA.Next("state").value("joined").toBool());
    EXPECT_TRUE(hostA.Next("state").value("joined").toBool());
    hostB.Send({{"kind", "resume"}, {"game", game}, {"seat", 1}, {"token", token1}});
    ASSERT_EQ(hostB.Next("resumed").value("seq").toInt(), 0);

    const auto command = [&](const QString& token, int seat, qint64 seq, const QString& text) {
        return QJsonObject{{"kind", "command"}, {"game", game}, {"seat", seat},
                           {"token", token},    {"seq", seq},   {"text", text}};
    };
    // Each command of seat 1 to both servers at once, as a player whose answer was lost might
    // send it again elsewhere: one runs it, the other answers it as a repeat.
    for (int seq = 1; seq <= 12; ++seq) {
        const QString text = seq == 12 ? "next-turn" : QString("prices %1.%2 - -").arg(2 + seq % 3).arg(seq * 7 % 100);
        hostA.Send(command(token1, 1, seq, text));
        hostB.Send(command(token1, 1, seq, text));
        const QJsonObject fromA = hostA.Next("result");
        const QJsonObject fromB = hostB.Next("result");
        ASSERT_EQ(fromA.value("seq").toInt(), seq) << text.toStdString();
        ASSERT_EQ(fromB.value("seq").toInt(), seq) << text.toStdString();
        EXPECT_EQ(fromA.value("executed"), fromB.value("executed"));
        EXPECT_NE(fromA.value("repeat").toBool(), fromB.value("repeat").toBool())
            << "seq " << seq << " ran twice or never";
    }
    // Seat 2, on B, is on turn, and ends it: seat 1 hears its new month on A as on B.
    EXPECT_EQ(guest.Next("turn").value("month").toInt(), 1);
    guest.Send(command(token2, 2, 1, "next-turn"));
    EXPECT_TRUE(guest.Next("result").value("accepted").toBool());
    EXPECT_EQ(hostA.Next("turn").value("month").toInt(), 2);
    EXPECT_EQ(hostB.Next("turn").value("month").toInt(), 2);
    // Both servers hold the same game: one command of each kind run once.
    const auto digest = [&](const Server& server) {
        Client look;
        if (!look.Open(server.Url()))
            return QString("no connection");
        look.Send({{"kind", "resume"}, {"game", game}, {"seat", 2}, {"token", token2}});
        const QJsonObject state = look.Next("state");
        return QString("%1 %2 %3")
            .arg(state.value("month").toInt())
            .arg(state.value("turn").toInt())
            .arg(state.value("digest").toString());
    };
    const QString onA = digest(a);
    EXPECT_TRUE(onA.startsWith("2 1 ")) << onA.toStdString();
    EXPECT_EQ(onA, digest(b));
}

TEST_F(PostgreSQL, AGameHeldTooLongElsewhereIsRefusedForNowAndRunsLater)
{
    TempDir d;
    Server a(QString::fromStdString((d / "a").string()), {"--database", SocketUrl()});
    ASSERT_TRUE(a.Start()) << a.ErrorOutput().toStdString();
    Client host;
    ASSERT_TRUE(host.Open(a.Url()));
    const QString token = QString(63, 'c') + "1";
    host.Send({{"kind", "host"}, {"settings", HostSettings(4)}, {"token", token}});
    const QString game = host.Next("hosted").value("game").toString();
    ASSERT_FALSE(game.isEmpty());
    // Another server, hung while it holds the game: a psql session that locks the game's row.
    const QStringList psql = QString::fromLocal8Bit(std::getenv("TAVREK_PG_PSQL")).split(' ');
    ASSERT_GT(psql.size(), 1) << "TAVREK_PG_PSQL is not set";
    QProcess hung;
    hung.start(psql[0], psql.mid(1));
    ASSERT_TRUE(hung.waitForStarted(10000));
    hung.write(("BEGIN; SELECT id FROM games WHERE id = '" + game + "' FOR UPDATE;\n").toUtf8());
    ASSERT_TRUE(WaitFor([&]() { return hung.readAllStandardOutput().contains(game.toUtf8()); }, 20000));
    const QJsonObject command{{"kind", "command"}, {"game", game}, {"seat", 1},
                              {"token", token},    {"seq", 1},     {"text", "prices 3.10 - -"}};
    host.Send(command);
    // The server waits a while for the game (10 s; its other games wait with it), then says so;
    // nothing ran.
    const QJsonObject waited = host.Next("error");
    EXPECT_EQ(waited.value("code").toString(), "storage") << waited.value("text").toString().toStdString();
    EXPECT_EQ(waited.value("seq").toInt(), 1);
    // Once the other lets go, the same command runs, once.
    hung.write("ROLLBACK;\n");
    hung.closeWriteChannel();
    ASSERT_TRUE(hung.waitForFinished(10000));
    host.Send(command);
    const QJsonObject ran = host.Next("result");
    EXPECT_TRUE(ran.value("accepted").toBool());
    EXPECT_FALSE(ran.value("repeat").toBool());
    EXPECT_TRUE(a.Running());
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
