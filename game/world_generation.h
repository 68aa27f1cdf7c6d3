/// @file world_generation.h A new world from the new-game dialog's choices.
#pragma once

#include <string>

#include "game/frontend.h"
#include "game/game_state.h"

/// What the new-game dialog hands over.
struct NewGameSettings {
    int32_t Map = 1;  ///< 1..3
    bool TwoPlayer = false;
    bool Expert = false;
    bool DelayBuilding = true;
    bool Events = true;
    bool AdvancedOptions = false;
    bool ReduceCapacities = false;
    std::string WinningShareText = "60";  ///< at most 3 characters
    std::string Player1Name;              ///< at most 59 characters; empty keeps the file's name
    std::string Player2Name;
    int32_t Player1Start = 0;  ///< 0 a random town, k town k-1
    int32_t Player2Start = 0;
};

/// The winning share typed in the dialog: the number at its start, rounded down and kept
/// within 50..100.
int32_t WinningShareFromText(const std::string& text);

/// Builds the whole game from the settings: towns, ten companies, players, options, the first
/// month; announces the take-over and redraws.
void GenerateWorld(GameState& s, const NewGameSettings& settings, Frontend& frontend);
