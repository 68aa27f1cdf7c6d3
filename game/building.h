/// @file building.h What building costs and brings, the same for the players and the computer
/// companies: a new brewery, an extension step and a depot in a town.
#pragma once

#include <cstdint>

#include "game/game_state.h"

inline constexpr int32_t kNewBreweryLitres = 1000;  ///< a new brewery's capacity per month
inline constexpr int32_t kStepLitres = 100;         ///< one extension step

/// Dollars for a new brewery of 1000 litres a month in the town.
inline long double BreweryCost(const GameData& s, int town) { return 3000.0L * s.Wages[town] + 15000.0L; }

/// Dollars per 100 litres a month of extension in the town.
inline long double ExtensionStepCost(const GameData& s, int town) { return 100.0L * s.Wages[town] + 1000.0L; }

/// Dollars for a depot in the town.
inline long double DepotCost(const GameData& s, int town) { return 500.0L * s.Wages[town] + 4500.0L; }
