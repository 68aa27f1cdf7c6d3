/// @file game_files.h A savegame and its record as one pair on disk: written so that no
/// interruption separates them, read so that an interrupted save is finished or forgotten.
///
/// A save runs in this order, holding the folder's lock:
///   1. scratch files that an interrupted save left behind are removed;
///   2. the record, sealed with the fingerprint of the savegame about to be written, goes into
///      a scratch file beside its name and is flushed to disk with the folder;
///   3. the savegame goes into its scratch file, is flushed and renamed over the old savegame;
///   4. the record's scratch file is renamed over the old record.
/// Killed before step 3's rename, the old savegame and its old record still stand together.
/// Killed between the two renames, the new savegame stands beside the old record, and the new
/// record waits in its scratch file: the next open finds it there by the savegame's
/// fingerprint and puts it in its place. Two programs saving one file take turns at the lock,
/// so the last one's pair stands.
#pragma once

#include <optional>
#include <string>

#include "game/game_history.h"
#include "persistence/history_file.h"
#include "persistence/savegame.h"

/// How the record beside a saved game went.
enum class RecordSave {
    Saved,       ///< the record beside the savegame belongs to it
    NotARecord,  ///< a file that is no record holds the record's name: it was left as it is
    Failed,      ///< the record could not be written; an older record of the file was removed
};

/// The outcome of saving a game with its record.
struct PairSave {
    SaveResult Game;                         ///< the savegame
    RecordSave Record = RecordSave::Failed;  ///< the record, when the savegame was saved
    std::string RecordReason;                ///< why not, in English, unless Saved
};

/// Writes `savegameText` (of a game in month `monthCount`) to `path` and `history` beside it
/// (see the file's comment). `reason` tells why the savegame was not saved.
PairSave WriteGameAndRecord(const std::string& path, const std::string& savegameText, int32_t monthCount,
                            const GameHistory& history, std::string* reason = nullptr);

/// A savegame and its record as read from disk.
struct OpenedPair {
    LoadStatus Game = LoadStatus::CannotOpen;
    std::optional<SavegameContent> Content;     ///< the checked savegame, when Loaded
    std::string Text;                           ///< its bytes, when Loaded
    HistoryLoad Record = HistoryLoad::Missing;  ///< how its record was read
    std::string RecordReason;                   ///< why not, in English, unless Loaded
    GameHistory History;                        ///< the record, when Loaded
    bool Recovered = false;                     ///< it came from an interrupted save's scratch file
};

/// Reads the savegame at `path` and the record that belongs to it, holding the folder's lock:
/// a record left in a scratch file by an interrupted save is put in its place, and other
/// scratch files of the pair are removed. `reason` tells why the savegame was not loaded.
OpenedPair ReadGameAndRecord(const std::string& path, std::string* reason = nullptr);

/// Whether the file at a record's name may be replaced by a record: none yet, an empty file,
/// or a file that begins as a record does. Anything else is the player's and stays.
bool MayHoldRecord(const std::string& recordPath);
