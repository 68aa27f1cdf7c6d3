/// @file world_generation.h A new world from the new-game dialog's choices.
#pragma once

#include <string>

#include "game/frontend.h"
#include "game/game_state.h"

/// Characters of a typed player name that the game keeps.
inline constexpr size_t kTypedNameLength = 59;
/// Characters of the winning-share field that count.
inline constexpr size_t kShareFieldLength = 3;
/// The winning share the dialog offers.
inline constexpr const char* kDefaultShareText = "60";

/// What the new-game dialog hands over.
struct NewGameSettings {
    int32_t Map = 1;  ///< 1..3
    bool TwoPlayer = false;
    bool Expert = false;
    bool DelayBuilding = true;
    bool Events = true;
    bool AdvancedOptions = false;
    bool ReduceCapacities = false;
    std::string WinningShareText = kDefaultShareText;  ///< at most kShareFieldLength characters
    std::string Player1Name;  ///< at most kTypedNameLength characters; empty keeps the file's name
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
