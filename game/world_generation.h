/// @file world_generation.h A new world from the new-game dialog's choices.
#pragma once

#include <string>

#include "game/frontend.h"
#include "game/game_state.h"
#include "game/new_game_settings.h"

/// Characters of a typed player name that the game keeps.
inline constexpr size_t kTypedNameLength = 59;
/// Characters of the winning-share field that count.
inline constexpr size_t kShareFieldLength = 3;

/// The winning share typed in the dialog: the number at its start, rounded down and kept
/// within 50..100.
int32_t WinningShareFromText(const std::string& text);

/// The company and brand names a new world of the settings' map takes from the names file.
WorldNames NamesForNewWorld(const GameState& s, const NewGameSettings& settings);

/// Builds the whole game from the settings: towns, ten companies with the names file's names,
/// players, options, the first month; announces the take-over and redraws.
void GenerateWorld(GameState& s, const NewGameSettings& settings, Frontend& frontend);
/// The same with the names given (a game played again takes the names it was first made with).
void GenerateWorld(GameState& s, const NewGameSettings& settings, const WorldNames& names, Frontend& frontend);
