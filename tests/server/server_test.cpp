/// @file server_test.cpp The game server with real processes on loopback: tavrek-sim clients
/// play a network game that must end in the hot-seat game's bytes; hostile messages are refused
/// and change nothing; limits hold; a killed server takes its games up again.
#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>

#include "server_harness.h"
#include "temp_dir.h"

using namespace harness;

TEST(GameServer, ANetworkGameEndsInTheHotSeatGamesBytes)
{
    const HotSeat hot = PlayHotSeat();
    ASSERT_FALSE(hot.Game.empty());
    TempDir d;
    const QString data = QString::fromStdString(d.Str());
    Server server(data);
    ASSERT_TRUE(server.Start());
    NetworkGame game;
    ASSERT_TRUE(game.Start(server.Url()));
    ASSERT_TRUE(game.Finish());
    const QString file = QString::fromStdString((d / "net.tsg").string());
    ASSERT_EQ(Export(data, game.Game, file), 0);
    EXPECT_TRUE(ReadFile(d / "net.tsg") == hot.Game) << "the savegames differ";
    EXPECT_TRUE(ReadFile(d / "net.tsg.history") == hot.Record) << "the records differ";
    // An unknown game is not exported, and says so.
    EXPECT_EQ(Export(data, "0000000000000000", QString::fromStdString((d / "none.tsg").string())), 1);
    EXPECT_FALSE(std::filesystem::exists(d / "none.tsg"));
}

TEST(GameServer, AKilledServerTakesItsGamesUpAgainAndTheGameEndsTheSame)
{
    const HotSeat hot = PlayHotSeat();
    TempDir d;
    const QString data = QString::fromStdString(d.Str());
    Server server(data);
    ASSERT_TRUE(server.Start());
    const int port = server.Port();
    NetworkGame game;
    ASSERT_TRUE(game.Start(server.Url()));
    // Killed five times while the players play, at points spread over the script's 33 lines
    // (between commands, during one, between a turn's end and the next turn); the players come
    // back to the restarted server and go on.
    int killedDuringTheGame = 0;
    for (const int played : {1, 8, 15, 22, 29}) {
        WaitFor([&]() { return game.LinesPlayed() >= played || !game.Running(); }, 60000);
        killedDuringTheGame += game.Running();
        server.Kill();
        ASSERT_TRUE(server.Start(port)) << server.ErrorOutput().toStdString();
    }
    EXPECT_EQ(killedDuringTheGame, 5) << "the game ended before the server was killed";
    ASSERT_TRUE(game.Finish(30000));
    const QString file = QString::fromStdString((d / "net.tsg").string());
    ASSERT_EQ(Export(data, game.Game, file), 0);
    EXPECT_TRUE(ReadFile(d / "net.tsg") == hot.Game) << "the savegames differ";
    EXPECT_TRUE(ReadFile(d / "net.tsg.history") == hot.Record) << "the records differ";
}

TEST(GameServer, HostileMessagesAreRefusedAndChangeNothing)
{
    TempDir d;
    Server server(QString::fromStdString(d.Str()));
    ASSERT_TRUE(server.Start());
    Client host;
    Client guest;
    ASSERT_TRUE(host.Open(server.Url()));
    ASSERT_TRUE(guest.Open(server.Url()));
    const QString token1 = QString(63, 'a') + "1";
    const QString token2 = QString(63, 'a') + "2";
    host.Send({{"kind", "host"}, {"settings", HostSettings(5)}, {"token", token1}});
    const QJsonObject hosted = host.Next("hosted");
    ASSERT_EQ(hosted.value("seat").toInt(), 1);
    const QString game = hosted.value("game").toString();
    const QString lostInvite = hosted.value("invite").toString();
    EXPECT_EQ(lostInvite.size(), 32) << "128 random bits";
    // The host asks again, as after a lost answer: the same game, a new invite.
    host.Send({{"kind", "host"}, {"settings", HostSettings(5)}, {"token", token1}});
    const QJsonObject again = host.Next("hosted");
    EXPECT_EQ(again.value("game").toString(), game);
    const QString invite = again.value("invite").toString();
    EXPECT_NE(invite, lostInvite);
    guest.Send({{"kind", "join"}, {"invite", lostInvite}, {"token", token2}});
    EXPECT_EQ(guest.Next("error").value("code").toString(), "bad-invite");
    guest.Send({{"kind", "join"}, {"invite", invite}, {"token", token2}});
    ASSERT_EQ(guest.Next("joined").value("seat").toInt(), 2);
    // And the guest too: its seat, not a refusal of the used invite.
    guest.Send({{"kind", "join"}, {"invite", invite}, {"token", token2}});
    EXPECT_EQ(guest.Next("joined").value("game").toString(), game);

    const auto command = [&](int seat, const QString& token, qint64 seq, const QString& text) {
        return QJsonObject{{"kind", "command"}, {"game", game}, {"seat", seat},
                           {"token", token},    {"seq", seq},   {"text", text}};
    };
    // The game's state as the server tells it to its player 1.
    const auto digest = [&]() {
        Client look;
        if (!look.Open(server.Url()))
            return QString("no connection");
        look.Send({{"kind", "resume"}, {"game", game}, {"seat", 1}, {"token", token1}});
        const QJsonObject state = look.Next("state");
        return QString("%1 %2 %3")
            .arg(state.value("month").toInt())
            .arg(state.value("turn").toInt())
            .arg(state.value("digest").toString());
    };
    // One command that the rules take, so that repeats have something to repeat.
    host.Drain();
    host.Send(command(1, token1, 1, "prices 3.50 - -"));
    const QJsonObject first = host.Next("result");
    ASSERT_TRUE(first.value("accepted").toBool());
    EXPECT_FALSE(first.value("repeat").toBool());
    const QString before = digest();
    ASSERT_TRUE(before.startsWith("1 1 ")) << before.toStdString();

    struct Case {
        const char* What;
        std::function<void(Client&)> Send;
        QString Code;
    };
    QJsonObject extra = command(1, token1, 5, "prices 3.60 - -");
    extra.insert("cheat", true);
    QJsonObject badVersion = command(1, token1, 5, "prices 3.60 - -");
    badVersion.insert("v", 2);
    QJsonObject seqAsText = command(1, token1, 5, "prices 3.60 - -");
    seqAsText.insert("seq", "5");
    const std::vector<Case> cases = {
        {"malformed JSON", [](Client& c) { c.SendText("{\"v\":1,\"kind\":\"command\""); }, "bad-json"},
        {"not an object", [](Client& c) { c.SendText("[1,2,3]"); }, "bad-json"},
        {"binary", [](Client& c) { c.SendBinary("\x01\x02"); }, "bad-json"},
        {"oversized", [&](Client& c) { c.Send(command(1, token1, 5, QString(70000, 'x'))); }, "too-large"},
        {"another version", [&](Client& c) { c.Send(badVersion); }, "bad-version"},
        {"unknown kind",
         [](Client& c) {
             c.Send({{"kind", "teleport"}});
         },
         "unknown-kind"},
        {"unknown field", [&](Client& c) { c.Send(extra); }, "bad-field"},
        {"a number as text", [&](Client& c) { c.Send(seqAsText); }, "bad-field"},
        {"no such seat", [&](Client& c) { c.Send(command(3, token1, 5, "prices 3.60 - -")); }, "bad-field"},
        {"wrong token", [&](Client& c) { c.Send(command(1, QString(64, 'a'), 5, "prices 3.60 - -")); }, "bad-token"},
        {"the other seat's token", [&](Client& c) { c.Send(command(1, token2, 5, "prices 3.60 - -")); }, "bad-token"},
        {"unknown game",
         [&](Client& c) {
             QJsonObject m = command(1, token1, 5, "prices 3.60 - -");
             m.insert("game", "ffffffffffffffff");
             c.Send(m);
         },
         "unknown-game"},
        {"out of turn", [&](Client& c) { c.Send(command(2, token2, 1, "prices 2.00 - -")); }, "not-your-turn"},
        {"out of turn: next-turn", [&](Client& c) { c.Send(command(2, token2, 1, "next-turn")); }, "not-your-turn"},
        {"sequence number zero", [&](Client& c) { c.Send(command(1, token1, 0, "prices 3.60 - -")); }, "bad-field"},
        {"garbage command", [&](Client& c) { c.Send(command(1, token1, 5, "brew-gold 7")); }, "bad-command"},
        {"a question without its answer", [&](Client& c) { c.Send(command(1, token1, 5, "new-brand")); },
         "bad-command"},
        {"a used invite",
         [&](Client& c) {
             c.Send({{"kind", "join"}, {"invite", invite}, {"token", QString(64, 'c')}});
         },
         "bad-invite"},
        {"an unknown invite",
         [&](Client& c) {
             c.Send({{"kind", "join"}, {"invite", QString(32, '0')}, {"token", QString(64, 'c')}});
         },
         "bad-invite"},
        {"a weak seat token",
         [&](Client& c) {
             c.Send({{"kind", "join"}, {"invite", invite}, {"token", "1234"}});
         },
         "bad-field"},
        {"bad settings",
         [&](Client& c) {
             QJsonObject s = HostSettings(5);
             s.insert("map", 9);
             c.Send({{"kind", "host"}, {"settings", s}, {"token", QString(64, 'd')}});
         },
         "bad-field"},
    };
    for (const Case& c : cases) {
        // Sent by the guest's connection as well as by the host's: the connection grants nothing.
        for (Client* client : {&host, &guest}) {
            client->Drain();
            c.Send(*client);
            const QJsonObject answer = client->Next("error");
            EXPECT_EQ(answer.value("code").toString(), c.Code)
                << c.What << ": " << answer.value("text").toString().toStdString();
            EXPECT_FALSE(answer.value("text").toString().isEmpty()) << c.What;
        }
        EXPECT_EQ(digest(), before) << c.What << " changed the game";
    }

    // A repeat of the last command is answered again and not run twice; an older one is stale.
    host.Drain();
    host.Send(command(1, token1, 1, "prices 9.99 - -"));
    const QJsonObject repeated = host.Next("result");
    EXPECT_TRUE(repeated.value("repeat").toBool());
    EXPECT_EQ(repeated.value("executed"), first.value("executed"));
    EXPECT_EQ(digest(), before);
    host.Send(command(1, token1, 2, "extend 0 500"));
    const QJsonObject refused = host.Next("error");
    EXPECT_EQ(refused.value("code").toString(), "refused");
    EXPECT_EQ(refused.value("seq").toInt(), 2);
    EXPECT_TRUE(refused.value("text").toString().contains("money")) << refused.value("text").toString().toStdString();
    EXPECT_EQ(digest(), before) << "a refused command changed the game";
    host.Send(command(1, token1, 1, "prices 3.60 - -"));
    EXPECT_EQ(host.Next("error").value("code").toString(), "stale-sequence");
    EXPECT_EQ(digest(), before);

    // The server still serves: this game goes on, and another one begins.
    host.Send(command(1, token1, 3, "next-turn"));
    EXPECT_TRUE(host.Next("result").value("accepted").toBool());
    const QJsonObject turn = guest.Next("turn");
    EXPECT_EQ(turn.value("seat").toInt(), 2);
    EXPECT_EQ(turn.value("month").toInt(), 1);
    EXPECT_NE(digest(), before);
    Client other;
    ASSERT_TRUE(other.Open(server.Url()));
    other.Send({{"kind", "host"}, {"settings", HostSettings(6)}, {"token", QString(64, 'e')}});
    EXPECT_EQ(other.Next("hosted").value("seat").toInt(), 1);
    EXPECT_TRUE(server.Running());
}

TEST(GameServer, ConnectionsPerAddressAndMessagesPerSecondAreBounded)
{
    TempDir d;
    Server server(QString::fromStdString(d.Str()), {"--connections-per-address", "2", "--messages-per-second", "5"});
    ASSERT_TRUE(server.Start());
    Client a;
    Client b;
    Client c;
    ASSERT_TRUE(a.Open(server.Url()));
    ASSERT_TRUE(b.Open(server.Url()));
    // The third is told why and closed, perhaps before it could call itself connected.
    c.Open(server.Url());
    EXPECT_EQ(c.Next("error").value("code").toString(), "too-many-connections");
    EXPECT_TRUE(c.Closed());
    // A burst beyond the bucket: the rest is refused unread, the connection stays.
    for (int i = 0; i < 30; ++i)
        a.Send({{"kind", "teleport"}});
    int limited = 0;
    int unknown = 0;
    for (int i = 0; i < 30; ++i) {
        const QString code = a.Any().value("code").toString();
        limited += code == "rate-limited";
        unknown += code == "unknown-kind";
    }
    EXPECT_EQ(limited + unknown, 30);
    EXPECT_GE(limited, 15);
    EXPECT_GE(unknown, 10);
    // After a pause the connection is heard again.
    QElapsedTimer t;
    t.start();
    WaitFor([&]() { return t.elapsed() >= 1200; }, 2000);
    a.Send({{"kind", "host"}, {"settings", HostSettings(1)}, {"token", QString(64, 'f')}});
    EXPECT_EQ(a.Next("hosted").value("seat").toInt(), 1);
}

TEST(GameServer, APlayerWhoseCompanyIsLiquidatedEndsWithTheGamesMonths)
{
    // With this seed player 1 goes bankrupt in month 18 and gets no turn again; player 2 plays on.
    TempDir d;
    Server server(QString::fromStdString(d.Str()));
    ASSERT_TRUE(server.Start());
    NetworkGame game;
    ASSERT_TRUE(game.Start(server.Url(), {}, 20, {"--seed", "1", "--map", "2", "--start", "3", "--start2", "7"}));
    ASSERT_TRUE(game.Finish(60000));
    EXPECT_TRUE(game.HostOut.contains("has been liquidated")) << game.HostOut.right(400).toStdString();
}

/// A self-signed certificate for 127.0.0.1 and its key, made by openssl; false if it could not.
bool MakeCertificate(const TempDir& d, const std::string& name)
{
    QProcess p;
    p.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-days",
                        "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout",
                        QString::fromStdString((d / (name + ".key")).string()), "-out",
                        QString::fromStdString((d / (name + ".pem")).string())});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

TEST(GameServer, AGameOverTlsEndsInTheHotSeatGamesBytesAndAnUntrustedServerIsRefused)
{
    TempDir d;
    ASSERT_TRUE(MakeCertificate(d, "server")) << "openssl is needed: bash scripts/deps.sh";
    const QString cert = QString::fromStdString((d / "server.pem").string());
    const QString key = QString::fromStdString((d / "server.key").string());
    const QString data = QString::fromStdString((d / "data").string());
    Server server(data, {"--cert", cert, "--key", key});
    ASSERT_TRUE(server.Start()) << server.ErrorOutput().toStdString();
    ASSERT_TRUE(server.Url().startsWith("wss://127.0.0.1:")) << server.Url().toStdString();

    // Two players that trust the certificate play three months; the game is the hot-seat one.
    constexpr int kShort = 3;
    NetworkGame game;
    ASSERT_TRUE(game.Start(server.Url(), {"--ca", cert}, kShort));
    ASSERT_TRUE(game.Finish());
    const QString file = QString::fromStdString((d / "net.tsg").string());
    ASSERT_EQ(Export(data, game.Game, file), 0);
    const HotSeat hot = PlayHotSeat(kShort);
    EXPECT_TRUE(ReadFile(d / "net.tsg") == hot.Game) << "the savegames differ";
    EXPECT_TRUE(ReadFile(d / "net.tsg.history") == hot.Record) << "the records differ";

    // A player that does not trust it (the system's store alone, or another certificate) stops
    // at once with the reason, and does not wait as for a server that is away.
    ASSERT_TRUE(MakeCertificate(d, "other"));
    for (const QStringList& trust :
         {QStringList{}, QStringList{"--ca", QString::fromStdString((d / "other.pem").string())}}) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(TAVREK_SIM_PATH,
                QStringList{"--server", server.Url()} + trust + QStringList{"--host", "--months", "1"});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 1) << trust.join(' ').toStdString();
        EXPECT_LT(t.elapsed(), 10000) << "an untrusted server was tried again";
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(err.contains("certificate is refused") && err.contains("--ca FILE")) << err.toStdString();
        EXPECT_FALSE(QString::fromUtf8(p.readAllStandardOutput()).contains("invite")) << "it played anyway";
    }
    EXPECT_TRUE(server.Running());
}

TEST(GameServer, ACertificateOrKeyThatCannotServeIsRefusedAtStart)
{
    TempDir d;
    ASSERT_TRUE(MakeCertificate(d, "a")) << "openssl is needed: bash scripts/deps.sh";
    ASSERT_TRUE(MakeCertificate(d, "b"));
    const auto at = [&](const char* name) { return QString::fromStdString((d / name).string()); };
    WriteFile(d / "empty.pem", "");
    struct Case {
        const char* What;
        QStringList Args;
        const char* Says;
    };
    const std::vector<Case> cases = {
        {"a missing certificate", {"--cert", at("none.pem"), "--key", at("a.key")}, "cannot read the certificate"},
        {"a missing key", {"--cert", at("a.pem"), "--key", at("none.key")}, "cannot read the key"},
        {"a folder as the certificate",
         {"--cert", d.Str().c_str(), "--key", at("a.key")},
         "cannot read the certificate"},
        {"no certificate in the file", {"--cert", at("a.key"), "--key", at("a.key")}, "holds no PEM certificate"},
        {"an empty certificate file", {"--cert", at("empty.pem"), "--key", at("a.key")}, "holds no PEM certificate"},
        {"no key in the file", {"--cert", at("a.pem"), "--key", at("a.pem")}, "holds no PEM private key"},
        {"another certificate's key", {"--cert", at("a.pem"), "--key", at("b.key")}, "do not serve TLS together"},
        {"a certificate without a key", {"--cert", at("a.pem")}, "--cert and --key go together"},
        {"a key without a certificate", {"--key", at("a.key")}, "--cert and --key go together"},
    };
    for (const Case& c : cases) {
        const QString data = at("data");
        QProcess p;
        p.start(TAVREK_SERVER_PATH, QStringList{"--data", data, "--listen", "127.0.0.1:0"} + c.Args);
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << c.What << ": the server started";
            continue;
        }
        EXPECT_EQ(p.exitCode(), 2) << c.What;
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty()) << c.What << ": it said it listens";
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(err.startsWith("tavrek-server: ") && err.section('\n', 0, 0).contains(c.Says))
            << c.What << ": " << err.toStdString();
        EXPECT_FALSE(std::filesystem::exists(d / "data")) << c.What << ": the data folder was made";
    }
}

TEST(GameServer, NetworkPlayArgumentsAreChecked)
{
    struct Case {
        QStringList Args;
        const char* Says;
    };
    const std::vector<Case> cases = {
        {{"--host"}, "--host needs --server"},
        {{"--join", "abc"}, "--join needs --server"},
        {{"--server", "ws://127.0.0.1:1"}, "either --host or --join"},
        {{"--server", "ws://127.0.0.1:1", "--host", "--join", "abc"}, "either --host or --join"},
        {{"--server", "http://127.0.0.1:1", "--host"}, "ws://HOST:PORT"},
        {{"--server", "wss://", "--host"}, "wss://HOST:PORT"},
        {{"--server", "ws://127.0.0.1:1", "--ca", "ca.pem", "--host"}, "--ca trusts a certificate for a wss:// server"},
        {{"--server", "wss://127.0.0.1:1", "--ca", "", "--host"}, "--ca needs a file name"},
        {{"--server", "ws://127.0.0.1:1", "--join", "abc", "--seed", "4"}, "the host chooses the game"},
        {{"--server", "ws://127.0.0.1:1", "--host", "--save", "x.tsg"}, "--save does not go with --server"},
    };
    for (const Case& c : cases) {
        QProcess p;
        p.start(TAVREK_SIM_PATH, c.Args);
        p.waitForFinished(20000);
        EXPECT_EQ(p.exitCode(), 2) << c.Args.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(c.Says)) << c.Args.join(' ').toStdString();
    }
}

TEST(GameServer, ADatabaseUrlIsCheckedBeforeAnythingIsOpened)
{
    TempDir d;
    const QString data = QString::fromStdString((d / "data").string());
    struct Case {
        QString Url;
        const char* Says;
    };
    const std::vector<Case> malformed = {
        {"mysql://u@h/db", "postgresql://USER@HOST:PORT/NAME, not 'mysql://u@h/db'"},
        {"", "postgresql://USER@HOST:PORT/NAME, not ''"},
        {"postgresql://h:5432/db", "the user is missing"},
        {"postgresql://u:secret@h/db", "carries no password"},
        {"postgresql://u:@h/db", "carries no password"},
        {"postgresql://u@h:0/db", "PORT is a number from 1 to 65535"},
        {"postgresql://u@h:/db", "PORT is a number from 1 to 65535"},
        {"postgresql://u@h:99999/db", "not 'postgresql://u@h:99999/db'"},
        {"postgresql://u@h:5432", "NAME is missing"},
        {"postgresql://u@h/a/b", "NAME is missing"},
        {"postgresql://u@/db", "the HOST is missing"},
        {"postgresql://u@h/db#x", "without '#'"},
        {"postgresql://u@h/db?sslmode=disable", "not 'sslmode'"},
        {"postgresql://u@h/db?host=relative", "from '/'"},
        {"postgresql://u@h/db?host=/a&host=/b", "host= once"},
    };
    for (const Case& c : malformed) {
        for (const QStringList& tail : {QStringList{}, QStringList{"--export", "0000000000000000", "x.tsg"}}) {
            QProcess p;
            p.start(TAVREK_SERVER_PATH, QStringList{"--data", data, "--database", c.Url} + tail);
            p.waitForFinished(20000);
            const QString said = QString::fromUtf8(p.readAllStandardError());
            EXPECT_EQ(p.exitCode(), 2) << c.Url.toStdString();
            EXPECT_TRUE(said.startsWith("tavrek-server: option --database: ")) << said.toStdString();
            EXPECT_TRUE(said.contains(c.Says)) << c.Url.toStdString() << ": " << said.toStdString();
            EXPECT_EQ(said.count('\n'), 1) << "one line: " << said.toStdString();
            EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
        }
    }
    // Nothing was made of a refused command line.
    EXPECT_FALSE(std::filesystem::exists(d / "data"));
    // A good URL where no database answers: the server says so and does not start (no port is
    // listened on, no line printed).
    for (const QString& url :
         {QString("postgresql://u@127.0.0.1:1/db"),
          "postgresql://u@localhost:5432/db?host=" + QString::fromStdString((d / "none").string())}) {
        QProcess p;
        p.start(TAVREK_SERVER_PATH, {"--data", data, "--database", url});
        ASSERT_TRUE(p.waitForFinished(30000)) << url.toStdString();
        EXPECT_EQ(p.exitCode(), 1) << url.toStdString();
        EXPECT_TRUE(
            QString::fromUtf8(p.readAllStandardError()).startsWith("tavrek-server: cannot open the database 'db'"));
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    }
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

TEST(GameServer, FetchGivesTheSavegameWhoseHashTheStateCarries)
{
    TempDir d;
    Server server(QString::fromStdString(d.Str()));
    ASSERT_TRUE(server.Start());
    Client host;
    ASSERT_TRUE(host.Open(server.Url()));
    const QString token = QString(63, 'b') + "1";
    host.Send({{"kind", "host"}, {"settings", HostSettings(9)}, {"token", token}});
    const QString game = host.Next("hosted").value("game").toString();
    const QString digest = host.Next("state").value("digest").toString();
    ASSERT_EQ(digest.size(), 64);

    host.Send({{"kind", "fetch"}, {"game", game}, {"seat", 1}, {"token", token}});
    const QJsonObject snapshot = host.Next("snapshot");
    EXPECT_EQ(snapshot.value("digest").toString(), digest);
    EXPECT_EQ(snapshot.value("month").toInt(), 1);
    EXPECT_EQ(snapshot.value("turn").toInt(), 1);
    const QByteArray savegame = QByteArray::fromBase64(snapshot.value("savegame").toString().toLatin1());
    EXPECT_GT(savegame.size(), 1000);
    EXPECT_EQ(QCryptographicHash::hash(savegame, QCryptographicHash::Sha256).toHex(), digest.toLatin1());

    // Only a seat's holder may look, and only with the fields of a fetch.
    struct Case {
        QJsonObject Message;
        const char* Code;
    };
    const Case cases[] = {
        {{{"kind", "fetch"}, {"game", game}, {"seat", 2}, {"token", token}}, "bad-token"},
        {{{"kind", "fetch"}, {"game", game}, {"seat", 1}, {"token", QString(64, 'c')}}, "bad-token"},
        {{{"kind", "fetch"}, {"game", "nosuchgame"}, {"seat", 1}, {"token", token}}, "unknown-game"},
        {{{"kind", "fetch"}, {"game", game}, {"seat", 1}, {"token", token}, {"seq", 1}}, "bad-field"},
        {{{"kind", "fetch"}, {"game", game}, {"token", token}}, "bad-field"},
    };
    for (const Case& c : cases) {
        host.Drain();
        host.Send(c.Message);
        EXPECT_EQ(host.Next("error").value("code").toString(), c.Code)
            << QJsonDocument(c.Message).toJson().toStdString();
    }
}
