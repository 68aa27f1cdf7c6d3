/// @file game_store.h The server's games in a database: SQLite (WAL) in the data folder, or
/// PostgreSQL shared by several servers; each game's settings, its seats (tokens hashed) and its
/// inputs in order, from which it is rebuilt.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QString>

#include "server/database_url.h"

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

/// What the database holds of a game now: its seats and invite, and the inputs after those a
/// server has run already (which other servers committed meanwhile).
struct GameNews {
    StoredSeat Seats[2];
    QString InviteHash;
    qint64 InviteExpires = 0;
    bool InviteUsed = false;
    std::vector<StoredInput> Inputs;  ///< from the input after the known ones, in order
};

enum class GameLock {
    Held,    ///< the game is locked, its news read
    NoGame,  ///< there is no such game
    Failed,  ///< the database failed (the error says how)
};

class GameStore {
public:
    GameStore();
    ~GameStore();
    GameStore(const GameStore&) = delete;
    GameStore& operator=(const GameStore&) = delete;

    /// Opens the database in `directory`, making it on the first start.
    bool Open(const QString& directory, QString& error);
    /// Opens a PostgreSQL database, making the tables on the first start; several servers may
    /// share it.
    bool Open(const DatabaseUrl& url, QString& error);
    /// Whether other servers may change the games too (and are told of each other's turns).
    bool Shared() const { return shared_; }

    std::vector<QString> GameIds(QString& error) const;
    std::optional<StoredGame> Load(const QString& id, QString& error) const;
    /// The game whose invite (used or not) has this hash; empty when none has.
    std::optional<QString> GameOfInvite(const QString& inviteHash, QString& error) const;
    /// The game whose host holds this token; empty when none.
    std::optional<QString> GameOfHost(const QString& tokenHash, QString& error) const;

    /// A new game with the host's seat; all or nothing.
    bool Create(const StoredGame& game, QString& error);

    /// Begins a change of a game: locks it (any other server's change of it waits until this one
    /// ends) and reads what is new since its first `knownInputs` inputs. When held, the change
    /// ends with one of the three below, or with Release.
    GameLock Lock(const QString& id, int knownInputs, GameNews& news, QString& error);
    /// Ends a change without changing anything; nothing when no change is open.
    void Release();
    /// Replaces the game's invite, not yet used, by a new one.
    bool RenewInvite(const QString& id, const QString& inviteHash, qint64 expires, QString& error);
    /// Gives seat 2 to the holder of the invite, once: false when it was taken meanwhile. The
    /// other servers are told (see OnNotice).
    bool TakeInvite(const QString& id, const QString& tokenHash, QString& error);
    /// One command of a seat: its input (when `input` is given), the seat's last sequence number
    /// and answer; all or nothing, and the other servers told when `tell`.
    bool Commit(const QString& id, int seat, qint64 seq, const std::optional<StoredInput>& input, int inputNumber,
                const QString& answer, bool tell, QString& error);

    /// Calls `heard` with a game that another server changed and told of.
    void OnNotice(std::function<void(const QString& game)> heard);

    /// How far each of the games is: its number of inputs and whether seat 2 is taken.
    struct Progress {
        int Inputs = 0;
        bool Joined = false;
    };
    std::vector<std::pair<QString, Progress>> Progresses(const std::vector<QString>& ids, QString& error) const;

private:
    /// The end of a change: committed when `ok`, else rolled back with `error` kept.
    bool Finish(bool ok, QString& error);
    /// Tells the other servers about the game when the change commits.
    bool Announce(const QString& id, QString& error);

    QString connection_;
    bool shared_ = false;
    bool open_ = false;  ///< a change (a transaction) is open
    std::function<void(const QString&)> heard_;
};
