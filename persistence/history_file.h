/// @file history_file.h The game's record beside its savegame: "NAME.tsg.history".
///
/// The savegame itself never changes; the record lives in a file of its own next to it. The file
/// is UTF-8 text, one item per LF line, numbers with "." and as many digits as give the value
/// back exactly:
///
///     TAVREK-HISTORY 1                      format name and version (2 with an "ended" line)
///     game <16 hex digits>                  FNV-1a 64 of the savegame's bytes it belongs to
///     month <month> <demand of towns 1..10>
///     company <c> <money before market> <money> <value> <share> <revenue> <production>
///             <transport> <interest> <supply: 30 litres> <sales: 30 litres>   (10 lines, c = 0..9)
///     message <month> <company> <English>\t<German>\t<caption English>\t<caption German>
///     ended <winner> <human won 0|1> <points> <last player>   only in version 2: the game is over
///     open <transport of the month not yet closed, companies 0..9>
///     end <16 hex digits>                   FNV-1a 64 of every byte before this line
///
/// (the company line is one line; brands 0..2 in turn, towns fastest). In texts a backslash,
/// tab, LF and CR are written "\\", "\t", "\n", "\r". Months rise strictly and lie before the
/// savegame's month; messages lie in the game's months (see HistoryBounds). A reader that finds
/// anything else refuses the whole file; a newer version number is refused as such.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/game_history.h"
#include "game/text.h"
#include "persistence/savegame.h"

/// The newest version the reader takes. The writer writes 1 unless the game has ended, so a
/// running game's record stays readable by the versions before.
inline constexpr int32_t kHistoryFormatVersion = 2;
/// The record's file of a savegame: its name with ".history" added.
std::string HistoryFileName(const std::string& savegamePath);

/// FNV-1a 64 of a savegame's bytes: which game a record belongs to.
uint64_t SavegameFingerprint(std::string_view savegameBytes);

/// What a game whose savegame shows `monthCount` can have written in its record: months closed
/// before it, messages of its months, no more messages than its months can show, texts no
/// longer than a message box holds. The reader refuses anything beyond; the writer leaves it out.
struct HistoryBounds {
    int32_t MonthCount = 1;  ///< the savegame's month: closed months lie before it
    std::size_t MostMessages() const;
    static constexpr std::size_t kMessagesPerMonth = 128;  ///< far beyond a month's message boxes
    static constexpr std::size_t kMostMessages = 500000;   ///< whatever the month
    static constexpr std::size_t kLongestText = 4096;      ///< bytes of one text of a message
};

/// The record's file text for the game whose savegame has this fingerprint and month; what lies
/// beyond the bounds of that month is left out (see HistoryBounds).
std::string HistoryText(const GameHistory& history, uint64_t fingerprint, int32_t monthCount);

/// Adds the closing "end" line with the sum of `body` (every line before it).
std::string SealHistoryText(std::string body);

/// How reading a record went.
enum class HistoryLoad {
    Loaded,   ///< the record belongs to the game and was read whole
    Missing,  ///< no record beside the savegame (a game saved before records, or by another program)
    Damaged,  ///< the file cannot be read or is not a whole record
    Foreign,  ///< a whole record, but of another game (the savegame was replaced)
    Newer,    ///< written by a newer version of the game
};

/// Reads a record's text; `fingerprint` is the savegame's. Anything but `Loaded` leaves `out`
/// untouched. `reason` (when given) says what was wrong, in English.
/// A record that reaches beyond the bounds of the savegame's month is damaged.
HistoryLoad ParseHistory(std::string_view text, uint64_t fingerprint, int32_t monthCount, GameHistory& out,
                         std::string* reason = nullptr);

/// Reads the record beside the savegame at `savegamePath`, whose bytes have `fingerprint`, of
/// a game in month `monthCount`.
HistoryLoad LoadHistoryFile(const std::string& savegamePath, uint64_t fingerprint, int32_t monthCount, GameHistory& out,
                            std::string* reason = nullptr);

/// Writes the record alone beside the savegame with the savegame's own care (a benchmark's
/// figure; the game saves both with WriteGameAndRecord).
SaveResult SaveHistoryFile(const std::string& savegamePath, const GameHistory& history, uint64_t fingerprint,
                           int32_t monthCount, std::string* reason = nullptr);

/// Reads a plain file of at most `maxBytes`; nothing for a missing, unreadable, larger or
/// special file (never waits on a pipe).
std::optional<std::string> ReadPlainFile(const std::string& path, std::size_t maxBytes);

/// The status line's one-line note when the record was not read (nothing for Loaded and
/// Missing: a game without a record simply starts one).
std::optional<LocalText> HistoryNote(HistoryLoad result);
/// The note when the record could not be written beside a saved game.
LocalText HistoryNotSavedNote();
/// The note when a file that is no record holds the record's name, which the save left alone.
LocalText NotARecordNote(const std::string& recordPath);
