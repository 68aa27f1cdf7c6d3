/// @file game_inputs.h What a game was made of: how it began and every input its players gave it,
/// in order, so that it can be played again to the same bytes. Kept in the game's record; the
/// session fills it, tavrek-sim --replay plays it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/new_game_settings.h"

inline constexpr int kHistoryCompanies = 10;  ///< every company of a game
inline constexpr int kHistoryTowns = 10;
inline constexpr int kHistoryBrands = 3;

/// Every company's and brand's name: what the names file gave a game, which its savegame does
/// not hold.
struct WorldNames {
    std::array<std::string, kHistoryCompanies> Company{};
    std::array<std::array<std::string, kHistoryBrands>, kHistoryCompanies> Brand{};

    bool operator==(const WorldNames&) const = default;
};

/// The moment a game was taken up: the generator's state then (it is the program's, never
/// saved), the digest of the game as it stood, and its names.
struct TakenUp {
    uint64_t Random = 0;
    uint64_t Digest = 0;  ///< MonthDigest of the game right then
    WorldNames Names;

    bool operator==(const TakenUp&) const = default;
};

enum class StartKind : uint8_t {
    Unknown,   ///< the record does not say (an older record): the game cannot be played again
    NewWorld,  ///< a new game from the new-game settings
    Savegame,  ///< opened from a savegame whose own inputs were not at hand
};

/// How a recorded game began.
struct GameStart {
    StartKind Kind = StartKind::Unknown;
    TakenUp At;                ///< the names are the names file's for a new world, the game's once opened
    NewGameSettings Settings;  ///< a new world's settings
    std::string Savegame;      ///< the bytes of the savegame it was opened from

    bool operator==(const GameStart&) const = default;
};

enum class InputKind : uint8_t {
    Command,   ///< a player's command that ran, in its text form
    Names,     ///< "Restore Names" gave the companies and brands these names
    Reopened,  ///< the game was saved and opened again here: its money as the savegame holds it
};

/// One input in the order it came.
struct RecordedInput {
    int32_t Month = 1;    ///< month count when it came
    int32_t Company = 0;  ///< the company on turn
    InputKind Kind = InputKind::Command;
    uint32_t Detail = 0;  ///< Names and Reopened: its entry in GameInputs::Details
    std::string Text;     ///< Command: the command's text form

    bool operator==(const RecordedInput&) const = default;
};

/// A game's inputs: its start, then everything that changed it from outside, in order.
struct GameInputs {
    GameStart Start;
    std::vector<RecordedInput> Entries;
    std::vector<TakenUp> Details;
    /// Why these inputs cannot play the game again (something changed it that the record cannot
    /// hold); empty while they can.
    std::string Broken;

    bool Replayable() const { return Start.Kind != StartKind::Unknown && Broken.empty(); }
    bool operator==(const GameInputs&) const = default;
};
