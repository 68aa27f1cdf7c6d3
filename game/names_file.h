/// @file names_file.h The player-editable file of company and brand names, "TavrekNames.ini",
/// and the town names of the current map.
#pragma once

#include "game/frontend.h"
#include "game/game_state.h"
#include "game/setting_keys.h"

inline constexpr const char* kNamesFileName = "TavrekNames.ini";

/// Writes all 120 default names of the three maps in one rewrite of the names file and, once that
/// succeeded, marks them written in the settings file. Returns whether both were written.
bool WriteDefaultNames(const GameState& s);

/// Writes the default names unless the settings file says they were written once. Returns
/// whether the names file holds them (false when they had to be written and could not be).
bool EnsureDefaultNames(const GameState& s);

/// Makes sure the defaults were written once, then reads the current map's company and brand
/// names (missing keys give empty names, each name at most 29 characters). Where the defaults
/// could not be written (a folder that cannot be written), every name the file does not hold is
/// the default: the game never goes without names.
void LoadNames(GameState& s);

/// Reloads every company and brand name from the names file, then sets the map's town names.
void SetMapNames(GameState& s);

/// "Restore Names": asks first; on "Yes" writes the defaults again and reloads them (where they
/// cannot be written, the game takes the defaults all the same). In a running
/// game the human players keep the company names they gave, and the status line shows the
/// names at once. Returns whether the names were restored.
bool RestoreNames(GameState& s, Frontend& frontend);
