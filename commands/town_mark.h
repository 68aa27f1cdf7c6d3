/// @file town_mark.h Where the map marks the selected town: a frame around its click rectangle
/// that keeps clear of every town's row of company symbols and of the animation's squares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/game_state.h"

/// A rectangle in map pixels: left, top, width, height.
struct MapRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const MapRect&) const = default;
};

/// Pixels between a town's click rectangle and the frame around it.
inline constexpr int kTownFrameMargin = 3;

/// The frame around the town on the map (1..3); the whole rectangle stays inside the map.
MapRect SelectedTownFrame(int map, int town);

/// A brewery the company has ordered that brews nothing yet (with "Delay building").
struct BreweryUnderConstruction {
    int Town = 0;
    int Brand = 0;
    int32_t OpeningMonth = 0;  ///< the month count of the first month it brews
    bool operator==(const BreweryUnderConstruction&) const = default;
};

/// The company's new breweries still in the construction pipeline, town by town.
std::vector<BreweryUnderConstruction> BreweriesUnderConstruction(const GameState& s, int company);

/// The opening month as the map letters it beside the faint symbol: the month's first three
/// letters in the language of the moment ("Apr", "Mär").
std::string OpeningMonthLabel(const GameState& s, int32_t month);

/// Where the frame is never drawn: every town's strip of company symbols and the square its
/// animation draws in and restores from the map picture.
std::vector<MapRect> TownFrameKeepsClear(int map);
