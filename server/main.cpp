/// @file main.cpp tavrek-server: hosts two-player games for players elsewhere; or writes one
/// hosted game's savegame.
#include <cstdio>
#include <optional>

#include <QCoreApplication>
#include <QDir>
#include <QHostAddress>
#include <QStringList>

#include "server/database_url.h"
#include "server/game_server.h"
#include "server/game_store.h"
#include "server/tls.h"

namespace {

const char* kUsage =
    "usage: tavrek-server --data DIR [--listen ADDRESS:PORT] [--database URL]\n"
    "                     [--connections-per-address N] [--messages-per-second N]\n"
    "                     [--cert FILE --key FILE]\n"
    "       tavrek-server --data DIR [--database URL] --export GAME FILE.tsg\n";

const char* kHelp =
    "Hosts games of The TAVREK! War for two players on different machines: the server runs the\n"
    "rules, the players (tavrek-sim --server) send their commands. Every game is kept in the\n"
    "database DIR/games.sqlite (or PostgreSQL, --database), command by command, and rebuilt\n"
    "from it on the next start.\n"
    "\n"
    "  --data DIR                   folder of the database (made on the first start)\n"
    "  --listen ADDRESS:PORT        where to listen (default 127.0.0.1:0, a free port); the\n"
    "                               first line printed is: listening on ws://ADDRESS:PORT\n"
    "  --database URL               keep the games in PostgreSQL instead, where several servers\n"
    "                               may serve them at once: postgresql://USER@HOST:PORT/NAME\n"
    "                               (?host=/FOLDER for a Unix socket; the password, if any, in\n"
    "                               PGPASSWORD or ~/.pgpass)\n"
    "  --connections-per-address N  connections one address may hold at once (default 8)\n"
    "  --messages-per-second N      what one connection may send on average (default 30)\n"
    "  --cert FILE --key FILE       serve wss:// (TLS) with this PEM certificate (its chain\n"
    "                               after it) and its PEM private key; the first line then\n"
    "                               reads: listening on wss://ADDRESS:PORT\n"
    "  --export GAME FILE.tsg       write the game's savegame (and its record beside it), then\n"
    "                               exit\n"
    "  --help, --version            print this help or the version, and exit\n"
    "\n"
    "Exit status: 0 when done, 1 when the database or a file cannot be used, 2 for a bad\n"
    "argument, or a certificate or key that cannot serve.\n";

int Usage(const QString& why)
{
    std::fprintf(stderr, "tavrek-server: %s\n%s", qPrintable(why), kUsage);
    return 2;
}

bool Whole(const QString& text, int low, int high, int& out)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < low || n > high)
        return false;
    out = n;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QString data;
    QString listen = "127.0.0.1:0";
    QString exportGame;
    QString exportFile;
    std::optional<DatabaseUrl> database;
    ServerLimits limits;
    QString certificate;
    QString key;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        const auto value = [&](QString& out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        QString v;
        int n = 0;
        if (a == "--help" || a == "-h") {
            std::printf("%s\n%s", kUsage, kHelp);
            return 0;
        }
        if (a == "--version") {
            std::printf("tavrek-server %s\n", TAVREK_VERSION);
            return 0;
        }
        if (a == "--data") {
            if (!value(data) || data.isEmpty())
                return Usage("option --data needs a folder");
        } else if (a == "--listen") {
            if (!value(listen))
                return Usage("option --listen needs ADDRESS:PORT");
        } else if (a == "--database") {
            QString why;
            if (!value(v))
                return Usage("option --database needs a URL");
            // One line that says what is wrong with the URL; the usage would not.
            if (database = ParseDatabaseUrl(v, why); !database) {
                std::fprintf(stderr, "tavrek-server: option --database: %s\n", qPrintable(why));
                return 2;
            }
        } else if (a == "--export") {
            if (!value(exportGame) || !value(exportFile) || exportGame.isEmpty() || exportFile.isEmpty())
                return Usage("option --export needs a game and a file");
        } else if (a == "--connections-per-address") {
            if (!value(v) || !Whole(v, 1, 100000, n))
                return Usage("option --connections-per-address needs a whole number from 1");
            limits.ConnectionsPerAddress = n;
        } else if (a == "--messages-per-second") {
            if (!value(v) || !Whole(v, 1, 100000, n))
                return Usage("option --messages-per-second needs a whole number from 1");
            limits.MessagesPerSecond = n;
            limits.MessageBurst = 2.0 * n;
        } else if (a == "--cert") {
            if (!value(certificate) || certificate.isEmpty())
                return Usage("option --cert needs a file");
        } else if (a == "--key") {
            if (!value(key) || key.isEmpty())
                return Usage("option --key needs a file");
        } else {
            return Usage("unknown option '" + a + "'");
        }
    }
    if (data.isEmpty())
        return Usage("option --data is needed");
    // Never plain text in place of the TLS that was asked for: a certificate or key that cannot
    // serve stops the start, before anything is made on disk.
    const bool secure = !certificate.isEmpty() || !key.isEmpty();
    QSslConfiguration tls;
    if (secure && (certificate.isEmpty() || key.isEmpty()))
        return Usage("options --cert and --key go together");
    if (secure && exportGame.isEmpty()) {
        QString why;
        if (!LoadServerTls(certificate, key, tls, why)) {
            std::fprintf(stderr, "tavrek-server: %s\n", qPrintable(why));
            return 2;
        }
    }
    if (!QDir().mkpath(data)) {
        std::fprintf(stderr, "tavrek-server: cannot make the folder '%s'\n", qPrintable(data));
        return 1;
    }
    // The games' settings and names files live beside the database, apart from any player's.
    const QString program = QDir(data).filePath("program");
    if (!QDir().mkpath(program)) {
        std::fprintf(stderr, "tavrek-server: cannot make the folder '%s'\n", qPrintable(program));
        return 1;
    }
    GameStore store;
    QString error;
    if (database ? !store.Open(*database, error) : !store.Open(data, error)) {
        std::fprintf(stderr, "tavrek-server: cannot open the database %s: %s\n",
                     qPrintable(database ? "'" + database->Name + "' on " + database->Host : "in '" + data + "'"),
                     qPrintable(error));
        return 1;
    }

    if (!exportGame.isEmpty()) {
        const auto stored = store.Load(exportGame, error);
        const auto game = stored ? RebuildGame(*stored, program.toStdString(), error) : nullptr;
        if (!game) {
            std::fprintf(stderr, "tavrek-server: %s\n", qPrintable(error));
            return 1;
        }
        std::string reason;
        const PairSave saved = game->WriteTo(exportFile.toStdString(), &reason);
        if (!saved.Game) {
            std::fprintf(stderr, "tavrek-server: %s\n", reason.c_str());
            return 1;
        }
        if (saved.Record != RecordSave::Saved) {
            std::fprintf(stderr, "tavrek-server: the game was saved to '%s', but not its record: %s\n",
                         qPrintable(exportFile), saved.RecordReason.c_str());
            return 1;
        }
        return 0;
    }

    const qsizetype colon = listen.lastIndexOf(':');
    int port = 0;
    QString host = colon < 0 ? QString() : listen.left(colon);
    if (host.startsWith('[') && host.endsWith(']'))
        host = host.mid(1, host.size() - 2);
    const QHostAddress address(host);
    if (colon < 0 || address.isNull() || !Whole(listen.mid(colon + 1), 0, 65535, port))
        return Usage("option --listen needs ADDRESS:PORT with a numeric address, not '" + listen + "'");

    GameServer server(store, program.toStdString(), limits);
    if (secure)
        server.UseTls(tls);
    server.LoadGames();
    if (!server.Listen(address, static_cast<quint16>(port), error)) {
        std::fprintf(stderr, "tavrek-server: cannot listen on %s: %s\n", qPrintable(listen), qPrintable(error));
        return 1;
    }
    std::printf("listening on %s\n", qPrintable(server.Url()));
    // Every command is on disk before it is answered: a stop from outside, however abrupt, loses
    // nothing, so the server needs no shutdown of its own.
    std::fflush(stdout);
    return app.exec();
}
