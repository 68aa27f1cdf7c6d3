/// @file map_tables.h The fixed tables of the three maps: towns, transport costs, start values
/// and the default company and brand names.
#pragma once

#include <array>
#include <cstdint>

#include "game/game_state.h"

inline constexpr int kMaps = 3;

/// Start values of a map: towns' demand and wages, brand 0's quality and cost factor per company.
struct MapStartTable {
    std::array<int32_t, kTowns> Demand;
    std::array<float, kTowns> Wages;
    std::array<float, kCompanies> Quality;
    std::array<float, kCompanies> CostFactor;
};

struct DefaultCompanyNames {
    const char* Company;
    std::array<const char*, kBrands> Brands;
};

/// Indexed [map - 1][town].
extern const std::array<std::array<const char*, kTowns>, kMaps> kTownNames;
/// Whole dollars per 100 litres, [map - 1][from][to]; symmetric with a zero diagonal.
extern const std::array<std::array<std::array<int32_t, kTowns>, kTowns>, kMaps> kTransportCosts;
/// Indexed [map - 1].
extern const std::array<MapStartTable, kMaps> kStartTables;
/// Indexed [map - 1][company].
extern const std::array<std::array<DefaultCompanyNames, kCompanies>, kMaps> kDefaultNames;

/// Dollars per 100 litres between two towns of the current map; 0 for the same town and for
/// anything out of range.
inline int32_t TransportCost(const GameState& s, int townA, int townB)
{
    if (s.MapNumber < 1 || s.MapNumber > kMaps || townA < 0 || townA >= kTowns || townB < 0 || townB >= kTowns)
        return 0;
    return kTransportCosts[s.MapNumber - 1][townA][townB];
}
