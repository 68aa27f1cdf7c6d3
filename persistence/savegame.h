/// @file savegame.h Savegames (".tsg"): writing a running game, reading one back, and the close
/// of the window with a game running.
///
/// A savegame is Windows-1252 text, one value per CR LF line, in a fixed order. Money is held as
/// the whole number trunc((v + 12746) x 13) and production costs as trunc(v x 10). A file is read
/// completely into a fresh game and checked before it replaces the running one, and a file is
/// written beside its target and renamed over it, so neither a damaged file nor a failed write
/// loses a game. Every field has the range the rules can play with: a file outside them is not a
/// valid savegame, and the writer holds each value within its range, so whatever the game writes
/// it reads back.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "game/frontend.h"
#include "game/game_state.h"

/// The file the window's close writes when "Autosave On Exit" is on: a bare name, so it lands in
/// the process's current directory.
inline constexpr const char* kAutosaveFileName = "Autosave.tsg";

/// How far a savegame goes; older and shorter files are read with defaults for the rest.
enum class SavegameLayout {
    Older,         ///< ends after the production table: one player, map 1, no orders
    WithoutShare,  ///< ends before the winning share and "Reduce capacities": 60 and off
    Complete,      ///< every value
};

/// What a savegame holds, read and checked.
struct SavegameContent {
    /// Every game value of the file. The company names hold only the saved players' names; the
    /// town, brand and other company names come from the names file when the game is applied.
    GameState Game;
    SavegameLayout Layout = SavegameLayout::Complete;
    std::string PlayerName;                    ///< the moving player's name
    bool HasPlayerNames = false;               ///< both players' names were saved (two players)
    std::array<std::string, 2> PlayerNames{};  ///< names of PlayerCompany[0] and [1]
};

/// The savegame text of a game (Windows-1252, CR LF). Changes nothing.
std::string SavegameText(const GameState& s);

/// Reads and checks a savegame's text without touching anything else. On failure returns
/// nothing and, when `reason` is given, says where and why (English, one line).
std::optional<SavegameContent> ParseSavegame(std::string_view text, std::string* reason = nullptr);

/// Replaces the running game by a checked savegame: the names of its map from the names file,
/// then the saved players' names. The program's own values (random generator, program
/// directory, language, best-opponent option) stay as they were. `GameActive` becomes true.
void ApplySavegame(GameState& s, const SavegameContent& content);

/// Outcome of reading a savegame file.
enum class LoadStatus {
    Loaded,        ///< the game was replaced
    CannotOpen,    ///< the file could not be opened or read
    NotASavegame,  ///< the file was read but is not a valid savegame
};

/// Reads a savegame file and, if it is valid, replaces the running game with it. Anything but a
/// regular file (a pipe, a device, a directory) cannot be opened and is never waited on. Shows
/// nothing; `reason` (when given) says what went wrong. On any failure the game is untouched.
LoadStatus LoadGameFile(GameState& s, const std::string& path, std::string* reason = nullptr);

/// Reads a savegame file's bytes (at most a megabyte) without checking them: `Loaded` when they
/// were read. Anything but a regular file cannot be opened and is never waited on.
LoadStatus ReadSavegameFile(const std::string& path, std::string& text, std::string* reason = nullptr);

/// ParseSavegame of the bytes read from `path`, with the file's name in `reason`.
std::optional<SavegameContent> ParseSavegameOf(const std::string& path, std::string_view text,
                                               std::string* reason = nullptr);

/// What "Open" shows after loading ended with `status`: why not, or the loaded game's status
/// line, title and map. Returns whether a game was loaded.
bool ShowOpened(GameState& s, LoadStatus status, Frontend& frontend);

/// "Open" after the file dialog: loads the file, or shows why not ("Cannot open file!" or "not
/// a valid savegame") and keeps the running game. On success writes the status line, sets the
/// title of the current language and redraws; the window then switches its panel to mode 1.
/// Returns whether a game was loaded.
bool OpenGame(GameState& s, const std::string& path, Frontend& frontend);

/// Outcome of writing a savegame file.
enum class SaveStatus {
    Saved,        ///< the file holds the game
    NoGame,       ///< "Save" without a running game: nothing was written
    CannotOpen,   ///< the file cannot be opened for writing (no such directory, write-protected, not a
                  ///< regular file, empty name): nothing was touched; the window shows the save dialog
    WriteFailed,  ///< the file was opened but writing it failed (disk full...): the old file is intact
};

/// Why a file could not be opened for saving, in the player's terms.
enum class SaveProblem {
    None,
    NoFileName,            ///< no file chosen yet: the save dialog simply asks for one
    NoFolder,              ///< the folder does not exist
    NotAFile,              ///< a pipe, a device or a folder stands where the file belongs
    FileWriteProtected,    ///< the file may not be written (its permissions)
    FileLocked,            ///< the file is locked against any change (immutable or append-only)
    FolderWriteProtected,  ///< the folder takes no new file
    ReadOnlyDisk,          ///< the drive is mounted read-only
    DiskFull,              ///< no room for a new file
    Other,                 ///< anything else (links in a circle, ...)
};

/// The one line that says why a file cannot be opened for saving, with the file's name.
LocalText CannotOpenForSavingText(const std::string& path, SaveProblem problem);

/// The result of a save (it was a plain bool before). Tests as true exactly when the game was
/// saved, so `if (SaveGame(...))` and `if (!WriteSavegameFile(...))` read as before; a caller that
/// keeps it in a `bool` converts it explicitly. `Status` tells the two failures apart: the window
/// shows the save dialog on `CannotOpen`, while `WriteFailed` has already been reported.
struct SaveResult {
    SaveStatus Status = SaveStatus::Saved;
    SaveProblem Problem = SaveProblem::None;  ///< why, with `CannotOpen`
    explicit operator bool() const { return Status == SaveStatus::Saved; }
};

/// Writes the game to `path` safely: symbolic links are followed (a dangling one creates its
/// target); only a regular file that could be opened for writing, or no file yet, is replaced.
/// The game goes into a new file of a unique name in the same directory, created exclusively,
/// flushed to disk, then renamed over the old one, so two saves at once each leave a whole game
/// and a failure leaves the old file as it was. Where the folder takes no new file, a writable
/// savegame already there is rewritten in place instead (see platform::RewriteInPlace for what
/// that risks). `reason` (when given) says why not. Shows nothing.
SaveResult WriteSavegameFile(const GameState& s, const std::string& path, std::string* reason = nullptr);

/// Writes `bytes` to `path` with the same care as a savegame (see WriteSavegameFile): the files
/// we keep beside a savegame use it too.
SaveResult WriteFileSafely(const std::string& path, const std::string& bytes, std::string* reason = nullptr);

/// A file written in full and flushed to disk beside its target, not yet in its place: the two
/// halves of WriteFileSafely, for files that must replace their targets in a chosen order.
struct StagedFile {
    std::string Target;   ///< the file it replaces, links followed
    std::string Scratch;  ///< the written scratch file; empty where the folder takes none
    std::string Bytes;    ///< kept only for the rewrite in place
};

/// Checks `path` as WriteFileSafely does and writes `bytes` into a scratch file beside it.
/// Where the folder takes no new file but the file may be written, succeeds with no scratch
/// file: CommitFile then rewrites it in place.
SaveResult StageFile(const std::string& path, std::string bytes, StagedFile& out, std::string* reason = nullptr);
/// Puts a staged file in its place. The scratch file is gone afterwards, whatever happened.
SaveResult CommitFile(StagedFile& file, std::string* reason = nullptr);
/// Removes a staged file that will not be put in place.
void DiscardFile(StagedFile& file);
/// Flushes the folder holding `path` to disk, so that names made or changed in it last.
void SyncFolderOf(const std::string& path);

/// "Save": does nothing without a running game (`NoGame`); otherwise writes the file. A file that
/// cannot be opened for writing gives `CannotOpen` and says why in one line (nothing when no file
/// was chosen yet): the window then offers the save dialog ("Save as"). A write that fails after
/// opening tells the player ("Cannot save file!") and gives `WriteFailed`.
SaveResult SaveGame(const GameState& s, const std::string& path, Frontend& frontend);
/// What SaveGame tells the player after a save to `path` ended with `result`.
void ShowSaveResult(const std::string& path, const SaveResult& result, Frontend& frontend);
