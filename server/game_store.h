/// @file game_store.h The server's games on disk: an SQLite database (WAL) holding each game's
/// settings, its seats (tokens hashed) and its inputs in order, from which it is rebuilt.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QString>

/// One command a seat gave, as the game ran it.
struct StoredInput {
    int Seat = 1;
    qint64 Seq = 0;
    QString Line;    ///< the command's text form
    QString Digest;  ///< after a turn's end: the state's digest then; empty otherwise
};

struct StoredSeat {
    QString TokenHash;  ///< empty: nobody holds the seat yet
    qint64 LastSeq = 0;
    QString LastAnswer;  ///< the answer to the command LastSeq, sent again on a repeat
};

struct StoredGame {
    QString Id;
    QString Settings;  ///< the host's settings object, as JSON
    uint32_t Seed = 0;
    QString InviteHash;
    qint64 InviteExpires = 0;  ///< seconds since 1970
    bool InviteUsed = false;
    StoredSeat Seats[2];
    std::vector<StoredInput> Inputs;
};

class GameStore {
public:
    GameStore();
    ~GameStore();
    GameStore(const GameStore&) = delete;
    GameStore& operator=(const GameStore&) = delete;

    /// Opens the database in `directory`, making it on the first start.
    bool Open(const QString& directory, QString& error);

    std::vector<QString> GameIds(QString& error) const;
    std::optional<StoredGame> Load(const QString& id, QString& error) const;

    /// A new game with the host's seat; all or nothing.
    bool Create(const StoredGame& game, QString& error);
    /// Replaces the game's invite, not yet used, by a new one.
    bool RenewInvite(const QString& id, const QString& inviteHash, qint64 expires, QString& error);
    /// Gives seat 2 to the holder of the invite, once: false when it was taken meanwhile.
    bool TakeInvite(const QString& id, const QString& tokenHash, QString& error);
    /// One command of a seat: its input (when `input` is given), the seat's last sequence number
    /// and answer; all or nothing.
    bool Commit(const QString& id, int seat, qint64 seq, const std::optional<StoredInput>& input, int inputNumber,
                const QString& answer, QString& error);

private:
    QString connection_;
};
