/// @file new_game_setup.h What the new-game dialog shows when it opens: the last player names and
/// the start-town lists of the three maps.
#pragma once

#include <array>
#include <string>

#include "game/game_state.h"
#include "game/map_tables.h"

/// Entries of a start-town list: entry 0 a random town, entry k town k - 1.
inline constexpr int kStartTownEntries = kTowns + 1;

/// The dialog's contents at opening.
struct NewGameSetup {
    std::string Player1Name;  ///< the last name of player 1 in the settings file, at most 29 characters
    std::string Player2Name;  ///< the same for player 2
    /// The start-town lists of maps 1..3 ([map - 1]), in the current language.
    std::array<std::array<std::string, kStartTownEntries>, kMaps> StartTowns{};
};

/// Gathers the dialog's contents. A running game stays exactly as it is: opening the dialog and
/// cancelling it must not rename anybody. Draws nothing.
NewGameSetup PrepareNewGameSetup(const GameState& s);
