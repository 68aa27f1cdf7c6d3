/// @file map_places.h Where the map pictures put each town's company symbols and animation.
#pragma once

#include <array>

#include "game/map_tables.h"

/// A point in map pixels (the map picture's top-left corner is 0, 0).
struct MapPoint {
    int X;
    int Y;
};

/// Left end of a town's row of company symbols: up to three brewery symbols 11 pixels apart,
/// then the depot symbol at +35, +4. Indexed [map - 1][town].
extern const std::array<std::array<MapPoint, kTowns>, kMaps> kMarkerBases;
/// Top-left corner of a town's 25 x 25 animation sprite. Indexed [map - 1][town].
extern const std::array<std::array<MapPoint, kTowns>, kMaps> kAnimationAnchors;

/// Step between a town's brewery symbols, one per brand slot.
inline constexpr int kBreweryMarkerStep = 11;
/// The depot symbol's place from the left end of the strip.
inline constexpr MapPoint kDepotMarkerOffset{35, 4};

/// Width and height of the strip the symbols of one town may cover.
inline constexpr int kMarkerStripWidth = 46;
inline constexpr int kMarkerStripHeight = 11;
/// Side of the square an animation draws in and restores (the sprite plus its one-pixel slide).
inline constexpr int kAnimationAreaSide = 26;
