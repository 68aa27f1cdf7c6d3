/// @file small_world.h A hand-built world for tests: ten named towns and companies, nobody
/// owns anything, every town buys 1000 litres at a wage level of 1.0.
#pragma once

#include <string>

#include "game/game_state.h"

inline GameState TenNamedCompanies(int map)
{
    GameState s;
    s.GameActive = true;
    s.MapNumber = map;
    for (int i = 0; i < kTowns; ++i) {
        s.TownName[i] = "Town" + std::to_string(i);
        s.CompanyName[i] = "Company" + std::to_string(i);
        s.Demand[i] = 1000;
        s.Wages[i] = 1.0f;
    }
    return s;
}
