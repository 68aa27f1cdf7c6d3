/// @file command_world.h A small world for the command tests: the Peninsula's towns, the
/// player as company 2 in Fotzingfors with one brand and money in every town.
#pragma once

#include <string>

#include "game/game_state.h"
#include "game/map_tables.h"

inline GameState CommandWorld()
{
    GameState s;
    s.GameActive = true;
    s.MapNumber = 1;
    for (int i = 0; i < kTowns; ++i) {
        s.TownName[i] = kTownNames[0][i];
        s.CompanyName[i] = "Company" + std::to_string(i);
        s.Demand[i] = 5000;
        s.Wages[i] = 1.0f;
        for (int b = 0; b < kBrands; ++b)
            s.BrandName[i][b] = "Brand" + std::to_string(i) + std::to_string(b);
    }
    s.CurrentCompany = 2;
    s.SelectedTown = 2;
    s.PlayerCompany = {2, -1};
    s.PlayerTown = {2, -1};
    s.BrandName[2] = {"Alpha", "Beta", "Gamma"};
    s.Quality[2][0] = 1.0f;
    s.CostFactor[2][0] = 2.0f;
    for (int t = 0; t < kTowns; ++t) {
        s.Account[2][t] = 50000.0L;
        s.Price[2][0][t] = 3.0f;
    }
    s.Capacity[2][0][2] = 1000;
    s.Stock[2][0][2] = 1000;
    s.Program.Rng.Seed(11);
    return s;
}
