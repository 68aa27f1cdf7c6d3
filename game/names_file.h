/// @file names_file.h The player-editable file of company and brand names, "TavrekNames.ini",
/// and the town names of the current map.
#pragma once

#include "game/frontend.h"
#include "game/game_state.h"

inline constexpr const char* kNamesFileName = "TavrekNames.ini";
inline constexpr const char* kSettingsFileName = "Tavrek!.ini";

/// Writes all 120 default names of the three maps and marks them written in the settings file.
void WriteDefaultNames(const GameState& s);

/// Makes sure the defaults were written once, then reads the current map's company and brand
/// names (missing keys give empty names, each name at most 29 characters).
void LoadNames(GameState& s);

/// Reloads every company and brand name from the names file, then sets the map's town names.
void SetMapNames(GameState& s);

/// "Restore Names": asks first; on "Yes" writes the defaults again and reloads them.
/// Returns whether the names were restored.
bool RestoreNames(GameState& s, Frontend& frontend);
