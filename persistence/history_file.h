/// @file history_file.h The game's record beside its savegame: "NAME.tsg.history".
///
/// The savegame itself never changes; the record lives in a file of its own next to it. The file
/// is UTF-8 text, one item per LF line, numbers with "." and as many digits as give the value
/// back exactly. Version 4:
///
///     TAVREK-HISTORY 4
///     game <16 hex digits>              FNV-1a 64 of the savegame's bytes it belongs to
///     columns money_before money value revenue production transport interest supply sales
///     start new <random> <digest> <map> <two players> <expert> <delay> <events> <advanced>
///           <reduce> <start 1> <start 2> <share text>\t<name 1>\t<name 2>\t<40 names>
///       or start savegame <random> <digest> <savegame bytes>\t<40 names>
///     broken <why the inputs cannot play the game again>       (only then)
///     month <month> <digest, or -> <demand of all towns> [whole]
///     <a company's figures in the columns' order, or "=" when they are last month's>  (10 lines)
///     books <company> <spending but transport> <other changes>   a month seen whole ("whole"):
///     kinds <company> <kind> <dollars> ...                        each that is not zero; by kind
///                                                                 for the human players
///     do <month> <company> <command text>                      a command that ran
///     names <month> <company> <40 names>                       "Restore Names"
///     reopened <month> <company> <random> <digest> <40 names>  saved and opened again here
///     message <month> <company> <English>\t<German>\t<caption English>\t<caption German>
///     ended <winner> <human won 0|1> <points> <last player>     the game is over
///     places <demand of towns 1..10>                           the newest month's places:
///     litres <company> <brand> <town> <supply> <sales>         each that offered or sold beer
///     townspent <company> <spending of towns 1..10>            the newest month's, if whole
///     unsold <company> <brand> <town> <why: 1..4>              where a brand sold nothing
///     openbooks <company> <5 kinds> <other> <towns 1..10>      the month not yet closed
///     open <transport of the month not yet closed, companies 0..9> [whole]
///     end <16 hex digits>               FNV-1a 64 of every byte before this line
///
/// <random> and <digest> are 16 hex digits: the generator's state when the game was taken up and
/// MonthDigest of the game then (and of every closed month on its month line). The 40 names are
/// the ten companies' and then their brands', tab-separated. The market shares follow from the
/// litres and the demand. A company line may hold figures of columns this version does not know
/// (skipped) and lack some it knows (0). In texts a backslash, tab, LF and CR are written "\\",
/// "\t", "\n", "\r", and in the savegame every other byte outside printable ASCII as "\xHH".
///
/// The kinds are construction, extensions, depots, brands and transfer_fees; "whole" on the open
/// line says the month not yet closed was seen from its start. Version 3 (months without books,
/// the open month's transport as doubles) is still read, and so are versions 1 and 2 (2 with an
/// "ended" line): their months hold every place's
/// litres ("company <c> <money before> <money> <value> <share> <revenue> <production>
/// <transport> <interest> <supply: 30 litres> <sales: 30 litres>", ten lines after "month
/// <month> <demand of towns 1..10>"), of which the newest month's are kept, and no inputs.
///
/// Months rise strictly and lie before the savegame's month; messages and inputs lie in the
/// game's months (see HistoryBounds). A reader that finds anything else refuses the whole file; a
/// newer version number is refused as such.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/game_history.h"
#include "game/text.h"
#include "persistence/savegame.h"

/// The version the writer writes, and the newest the reader takes.
inline constexpr int32_t kHistoryFormatVersion = 4;
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

/// What a record's head says: the savegame it belongs to and its version.
struct RecordHead {
    uint64_t Fingerprint = 0;
    int32_t Version = 0;
};

/// ParseHistory for any savegame when `fingerprint` is null (a record played again on its own),
/// telling what its head says in `head` when given.
HistoryLoad ParseHistoryRecord(std::string_view text, const uint64_t* fingerprint, int32_t monthCount, GameHistory& out,
                               RecordHead* head, std::string* reason = nullptr);

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
