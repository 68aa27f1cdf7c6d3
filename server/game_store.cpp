/// @file game_store.cpp The server's games on disk.
#include "server/game_store.h"

#include <QDir>
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
    const char* setup[] = {
        "PRAGMA journal_mode=WAL",
        "PRAGMA synchronous=FULL",
        "PRAGMA foreign_keys=ON",
        "CREATE TABLE IF NOT EXISTS games (id TEXT PRIMARY KEY, settings TEXT NOT NULL, seed INTEGER NOT NULL,"
        " invite_hash TEXT NOT NULL UNIQUE, invite_expires INTEGER NOT NULL, invite_used INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS seats (game TEXT NOT NULL REFERENCES games(id), seat INTEGER NOT NULL,"
        " token_hash TEXT NOT NULL, last_seq INTEGER NOT NULL, last_answer TEXT NOT NULL,"
        " PRIMARY KEY (game, seat))",
        "CREATE TABLE IF NOT EXISTS inputs (game TEXT NOT NULL REFERENCES games(id), n INTEGER NOT NULL,"
        " seat INTEGER NOT NULL, seq INTEGER NOT NULL, line TEXT NOT NULL, digest TEXT NOT NULL,"
        " PRIMARY KEY (game, n))",
    };
    for (const char* sql : setup)
        if (!Exec(db, sql, error))
            return false;
    return true;
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

bool GameStore::Create(const StoredGame& g, QString& error)
{
    QSqlDatabase db = QSqlDatabase::database(connection_);
    if (!db.transaction()) {
        error = db.lastError().text();
        return false;
    }
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
    if (!Exec(game, error) || !Exec(seat, error) || !db.commit()) {
        if (error.isEmpty())
            error = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

bool GameStore::RenewInvite(const QString& id, const QString& inviteHash, qint64 expires, QString& error)
{
    QSqlQuery q(QSqlDatabase::database(connection_));
    q.prepare("UPDATE games SET invite_hash = ?, invite_expires = ? WHERE id = ? AND invite_used = 0");
    q.addBindValue(inviteHash);
    q.addBindValue(expires);
    q.addBindValue(id);
    if (!Exec(q, error))
        return false;
    if (q.numRowsAffected() != 1) {
        error = "the invite was used already";
        return false;
    }
    return true;
}

bool GameStore::TakeInvite(const QString& id, const QString& tokenHash, QString& error)
{
    QSqlDatabase db = QSqlDatabase::database(connection_);
    if (!db.transaction()) {
        error = db.lastError().text();
        return false;
    }
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
    ok = ok && Exec(seat, error);
    if (!ok || !db.commit()) {
        if (error.isEmpty())
            error = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

bool GameStore::Commit(const QString& id, int seat, qint64 seq, const std::optional<StoredInput>& input,
                       int inputNumber, const QString& answer, QString& error)
{
    QSqlDatabase db = QSqlDatabase::database(connection_);
    if (!db.transaction()) {
        error = db.lastError().text();
        return false;
    }
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
    if (!ok || !db.commit()) {
        if (error.isEmpty())
            error = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}
