/// @file game_store.cpp The server's games in a database.
#include "server/game_store.h"

#include <QDir>
#include <QObject>
#include <QSqlDriver>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace {

bool Exec(QSqlQuery& q, QString& error)
{
    if (q.exec())
        return true;
    error = q.lastError().text();
    return false;
}

bool Exec(QSqlDatabase& db, const QString& sql, QString& error)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    error = q.lastError().text() + " (" + sql + ")";
    return false;
}

}  // namespace

GameStore::GameStore() : connection_("tavrek-store-" + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

GameStore::~GameStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

namespace {

/// The name under which the servers sharing a PostgreSQL database tell each other of turns.
const char* kChannel = "tavrek_games";

/// The tables, in either database's words: `big` is the type of a whole number that may pass
/// 2^31 (a seed, a sequence number, seconds).
std::vector<QString> Tables(const QString& big)
{
    return {
        "CREATE TABLE IF NOT EXISTS games (id TEXT PRIMARY KEY, settings TEXT NOT NULL, seed " + big +
            " NOT NULL, invite_hash TEXT NOT NULL UNIQUE, invite_expires " + big +
            " NOT NULL, invite_used INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS seats (game TEXT NOT NULL REFERENCES games(id), seat INTEGER NOT NULL,"
        " token_hash TEXT NOT NULL, last_seq " +
            big + " NOT NULL, last_answer TEXT NOT NULL, PRIMARY KEY (game, seat))",
        "CREATE TABLE IF NOT EXISTS inputs (game TEXT NOT NULL REFERENCES games(id), n INTEGER NOT NULL,"
        " seat INTEGER NOT NULL, seq " +
            big + " NOT NULL, line TEXT NOT NULL, digest TEXT NOT NULL, PRIMARY KEY (game, n))",
        // The last guard against one command kept twice, whichever server ran it.
        "CREATE UNIQUE INDEX IF NOT EXISTS inputs_by_seq ON inputs (game, seat, seq)",
        "CREATE INDEX IF NOT EXISTS seats_by_token ON seats (token_hash)",
    };
}

}  // namespace

bool GameStore::Open(const QString& directory, QString& error)
{
    if (!QSqlDatabase::isDriverAvailable("QSQLITE")) {
        error = "Qt's SQLite driver is not installed (Debian: libqt6sql6-sqlite)";
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection_);
    db.setDatabaseName(QDir(directory).filePath("games.sqlite"));
    if (!db.open()) {
        error = db.lastError().text();
        return false;
    }
    // Write-ahead logging: a crash loses no committed command, readers never wait for the writer.
    std::vector<QString> setup = {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"};
    for (const QString& sql : Tables("INTEGER"))
        setup.push_back(sql);
    for (const QString& sql : setup)
        if (!Exec(db, sql, error))
            return false;
    return true;
}

bool GameStore::Open(const DatabaseUrl& url, QString& error)
{
    if (!QSqlDatabase::isDriverAvailable("QPSQL")) {
        error = "Qt's PostgreSQL driver is not installed (Debian: libqt6sql6-psql)";
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", connection_);
    db.setHostName(url.Host);
    db.setPort(url.Port);
    db.setUserName(url.User);
    db.setDatabaseName(url.Name);
    db.setConnectOptions("connect_timeout=10;application_name=tavrek-server");
    if (!db.open()) {
        error = db.lastError().text().simplified();
        return false;
    }
    shared_ = true;
    // A server that hangs while it holds a game stops only that game, and only for a while: the
    // others give up waiting with an error, and their players send their commands again.
    if (!Exec(db, "SET lock_timeout = '10s'", error))
        return false;
    // Servers starting together make the tables once: the first holds the lock, the others then
    // find them made.
    open_ = db.transaction();
    if (!open_) {
        error = db.lastError().text();
        return false;
    }
    // The notices of tables made already are no news.
    bool ok = Exec(db, "SET LOCAL client_min_messages = warning", error) &&
              Exec(db, "SELECT pg_advisory_xact_lock(7531)", error);
    for (const QString& sql : Tables("BIGINT"))
        ok = ok && Exec(db, sql, error);
    if (!Finish(ok, error))
        return false;
    QObject::connect(db.driver(), &QSqlDriver::notification, db.driver(),
                     [this](const QString& name, QSqlDriver::NotificationSource source, const QVariant& payload) {
                         // Our own commits were told to our own players already.
                         if (name == kChannel && source != QSqlDriver::SelfSource && heard_)
                             heard_(payload.toString());
                     });
    if (!db.driver()->subscribeToNotification(kChannel)) {
        error = "cannot hear the other servers: " + db.driver()->lastError().text();
        return false;
    }
    return true;
}

void GameStore::OnNotice(std::function<void(const QString& game)> heard) { heard_ = std::move(heard); }

bool GameStore::Finish(bool ok, QString& error)
{
    QSqlDatabase db = QSqlDatabase::database(connection_);
    open_ = false;
    if (ok && db.commit())
        return true;
    if (error.isEmpty())
        error = db.lastError().text();
    db.rollback();
    return false;
}

void GameStore::Release()
{
    if (!open_)
        return;
    open_ = false;
    QSqlDatabase::database(connection_).rollback();
}

bool GameStore::Announce(const QString& id, QString& error)
{
    if (!shared_)
        return true;
    // Sent by PostgreSQL only when the change commits, and then to every other server listening.
    QSqlQuery q(QSqlDatabase::database(connection_));
    q.prepare("SELECT pg_notify(?, ?)");
    q.addBindValue(QString(kChannel));
    q.addBindValue(id);
    return Exec(q, error);
}

std::vector<QString> GameStore::GameIds(QString& error) const
{
    std::vector<QString> ids;
    QSqlQuery q(QSqlDatabase::database(connection_));
    q.prepare("SELECT id FROM games ORDER BY id");
    if (!Exec(q, error))
        return {};
    while (q.next())
        ids.push_back(q.value(0).toString());
    return ids;
}

std::optional<StoredGame> GameStore::Load(const QString& id, QString& error) const
{
    QSqlDatabase db = QSqlDatabase::database(connection_);
    StoredGame g;
    QSqlQuery q(db);
    q.prepare("SELECT settings, seed, invite_hash, invite_expires, invite_used FROM games WHERE id = ?");
    q.addBindValue(id);
    if (!Exec(q, error))
        return std::nullopt;
    if (!q.next()) {
        error = "there is no game " + id;
        return std::nullopt;
    }
    g.Id = id;
    g.Settings = q.value(0).toString();
    g.Seed = static_cast<uint32_t>(q.value(1).toLongLong());
    g.InviteHash = q.value(2).toString();
    g.InviteExpires = q.value(3).toLongLong();
    g.InviteUsed = q.value(4).toInt() != 0;

    QSqlQuery seats(db);
    seats.prepare("SELECT seat, token_hash, last_seq, last_answer FROM seats WHERE game = ?");
    seats.addBindValue(id);
    if (!Exec(seats, error))
        return std::nullopt;
    while (seats.next()) {
        const int seat = seats.value(0).toInt();
        if (seat != 1 && seat != 2)
            continue;
        g.Seats[seat - 1] = {seats.value(1).toString(), seats.value(2).toLongLong(), seats.value(3).toString()};
    }

    QSqlQuery inputs(db);
    inputs.prepare("SELECT seat, seq, line, digest FROM inputs WHERE game = ? ORDER BY n");
    inputs.addBindValue(id);
    if (!Exec(inputs, error))
        return std::nullopt;
    while (inputs.next())
        g.Inputs.push_back({inputs.value(0).toInt(), inputs.value(1).toLongLong(), inputs.value(2).toString(),
                            inputs.value(3).toString()});
    return g;
}

std::optional<QString> GameStore::GameOfInvite(const QString& inviteHash, QString& error) const
{
    QSqlQuery q(QSqlDatabase::database(connection_));
    q.prepare("SELECT id FROM games WHERE invite_hash = ?");
    q.addBindValue(inviteHash);
    if (!Exec(q, error) || !q.next())
        return std::nullopt;
    return q.value(0).toString();
}

std::optional<QString> GameStore::GameOfHost(const QString& tokenHash, QString& error) const
{
    QSqlQuery q(QSqlDatabase::database(connection_));
    q.prepare("SELECT game FROM seats WHERE token_hash = ? AND seat = 1 ORDER BY game LIMIT 1");
    q.addBindValue(tokenHash);
    if (!Exec(q, error) || !q.next())
        return std::nullopt;
    return q.value(0).toString();
}

std::vector<std::pair<QString, GameStore::Progress>> GameStore::Progresses(const std::vector<QString>& ids,
                                                                           QString& error) const
{
    std::vector<std::pair<QString, Progress>> found;
    if (ids.empty())
        return found;
    QStringList marks;
    for (size_t i = 0; i < ids.size(); ++i)
        marks << "?";
    QSqlQuery q(QSqlDatabase::database(connection_));
    q.prepare(
        "SELECT id, invite_used, (SELECT COALESCE(MAX(n), 0) FROM inputs WHERE game = games.id) FROM games"
        " WHERE id IN (" +
        marks.join(", ") + ")");
    for (const QString& id : ids)
        q.addBindValue(id);
    if (!Exec(q, error))
        return {};
    while (q.next())
        found.push_back({q.value(0).toString(), {q.value(2).toInt(), q.value(1).toInt() != 0}});
    return found;
}

bool GameStore::Create(const StoredGame& g, QString& error)
{
    QSqlDatabase db = QSqlDatabase::database(connection_);
    if (!db.transaction()) {
        error = db.lastError().text();
        return false;
    }
    open_ = true;
    QSqlQuery game(db);
    game.prepare(
        "INSERT INTO games (id, settings, seed, invite_hash, invite_expires, invite_used)"
        " VALUES (?, ?, ?, ?, ?, 0)");
    game.addBindValue(g.Id);
    game.addBindValue(g.Settings);
    game.addBindValue(static_cast<qint64>(g.Seed));
    game.addBindValue(g.InviteHash);
    game.addBindValue(g.InviteExpires);
    QSqlQuery seat(db);
    seat.prepare("INSERT INTO seats (game, seat, token_hash, last_seq, last_answer) VALUES (?, 1, ?, 0, '')");
    seat.addBindValue(g.Id);
    seat.addBindValue(g.Seats[0].TokenHash);
    return Finish(Exec(game, error) && Exec(seat, error), error);
}

GameLock GameStore::Lock(const QString& id, int knownInputs, GameNews& news, QString& error)
{
    Release();
    QSqlDatabase db = QSqlDatabase::database(connection_);
    if (!db.transaction()) {
        error = db.lastError().text();
        return GameLock::Failed;
    }
    open_ = true;
    // The game's row, held until the change ends: every change of a game begins here, so the
    // servers sharing the database take a game's turns one after the other. (SQLite has one
    // server, whose changes follow each other anyway.)
    QSqlQuery game(db);
    game.prepare(QString("SELECT invite_hash, invite_expires, invite_used FROM games WHERE id = ?") +
                 (shared_ ? " FOR UPDATE" : ""));
    game.addBindValue(id);
    if (!Exec(game, error)) {
        Release();
        return GameLock::Failed;
    }
    if (!game.next()) {
        Release();
        return GameLock::NoGame;
    }
    news = {};
    news.InviteHash = game.value(0).toString();
    news.InviteExpires = game.value(1).toLongLong();
    news.InviteUsed = game.value(2).toInt() != 0;

    QSqlQuery seats(db);
    seats.prepare("SELECT seat, token_hash, last_seq, last_answer FROM seats WHERE game = ?");
    seats.addBindValue(id);
    QSqlQuery inputs(db);
    inputs.prepare("SELECT seat, seq, line, digest FROM inputs WHERE game = ? AND n > ? ORDER BY n");
    inputs.addBindValue(id);
    inputs.addBindValue(knownInputs);
    if (!Exec(seats, error) || !Exec(inputs, error)) {
        Release();
        return GameLock::Failed;
    }
    while (seats.next()) {
        const int seat = seats.value(0).toInt();
        if (seat == 1 || seat == 2)
            news.Seats[seat - 1] = {seats.value(1).toString(), seats.value(2).toLongLong(), seats.value(3).toString()};
    }
    while (inputs.next())
        news.Inputs.push_back({inputs.value(0).toInt(), inputs.value(1).toLongLong(), inputs.value(2).toString(),
                               inputs.value(3).toString()});
    return GameLock::Held;
}

bool GameStore::RenewInvite(const QString& id, const QString& inviteHash, qint64 expires, QString& error)
{
    QSqlQuery q(QSqlDatabase::database(connection_));
    q.prepare("UPDATE games SET invite_hash = ?, invite_expires = ? WHERE id = ? AND invite_used = 0");
    q.addBindValue(inviteHash);
    q.addBindValue(expires);
    q.addBindValue(id);
    bool ok = Exec(q, error);
    if (ok && q.numRowsAffected() != 1) {
        error = "the invite was used already";
        ok = false;
    }
    return Finish(ok, error);
}

bool GameStore::TakeInvite(const QString& id, const QString& tokenHash, QString& error)
{
    QSqlDatabase db = QSqlDatabase::database(connection_);
    QSqlQuery take(db);
    take.prepare("UPDATE games SET invite_used = 1 WHERE id = ? AND invite_used = 0");
    take.addBindValue(id);
    QSqlQuery seat(db);
    seat.prepare("INSERT INTO seats (game, seat, token_hash, last_seq, last_answer) VALUES (?, 2, ?, 0, '')");
    seat.addBindValue(id);
    seat.addBindValue(tokenHash);
    bool ok = Exec(take, error);
    if (ok && take.numRowsAffected() != 1) {
        error = "the invite was used already";
        ok = false;
    }
    return Finish(ok && Exec(seat, error) && Announce(id, error), error);
}

bool GameStore::Commit(const QString& id, int seat, qint64 seq, const std::optional<StoredInput>& input,
                       int inputNumber, const QString& answer, bool tell, QString& error)
{
    QSqlDatabase db = QSqlDatabase::database(connection_);
    bool ok = true;
    if (input) {
        QSqlQuery in(db);
        in.prepare("INSERT INTO inputs (game, n, seat, seq, line, digest) VALUES (?, ?, ?, ?, ?, ?)");
        in.addBindValue(id);
        in.addBindValue(inputNumber);
        in.addBindValue(input->Seat);
        in.addBindValue(input->Seq);
        in.addBindValue(input->Line);
        // An empty text, not NULL: most commands end no month and carry no digest.
        in.addBindValue(input->Digest.isEmpty() ? QString("") : input->Digest);
        ok = Exec(in, error);
    }
    QSqlQuery last(db);
    last.prepare("UPDATE seats SET last_seq = ?, last_answer = ? WHERE game = ? AND seat = ?");
    last.addBindValue(seq);
    last.addBindValue(answer.isEmpty() ? QString("") : answer);
    last.addBindValue(id);
    last.addBindValue(seat);
    ok = ok && Exec(last, error);
    if (ok && last.numRowsAffected() != 1) {
        error = "the seat is not in the database";
        ok = false;
    }
    return Finish(ok && (!tell || Announce(id, error)), error);
}
