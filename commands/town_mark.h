/// @file town_mark.h Where the map marks the selected town: a frame around its click rectangle
/// that keeps clear of every town's row of company symbols and of the animation's squares.
#pragma once

#include <vector>

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

/// Where the frame is never drawn: every town's strip of company symbols and the square its
/// animation draws in and restores from the map picture.
std::vector<MapRect> TownFrameKeepsClear(int map);
