/// @file map_painter.h Draws a map picture in the style of a hand-coloured engraved map.
#pragma once

#include <QImage>
#include <QRect>
#include <array>

#include "game/map_tables.h"
#include "map_designs.h"
#include "paint_kit.h"

/// Where one map letters its towns: each town's name, in whole 1x map pixels.
using TownLabelRects = std::array<QRect, kTowns>;

/// Lays the towns out (the same for every scale) and paints the map at `scale` (1 or 2).
/// `labels` receives where each town's name is lettered.
QImage PaintMap(const MapDesign& design, const Faces& faces, int scale, TownLabelRects& labels);
