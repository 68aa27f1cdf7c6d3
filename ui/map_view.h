/// @file map_view.h Drawing the map: the map picture or the start screen, and the moving
/// company's brewery and depot symbols.
#pragma once

#include <QPainter>
#include <QPoint>
#include <array>

#include "commands/panel_mode.h"
#include "game/game_state.h"
#include "game/map_places.h"
#include "ui/pictures.h"

/// The map picture of the running game, or the start screen's title and flags. Draws nothing
/// while the statistics view covers the map.
void PaintMap(QPainter& p, PictureSet& pictures, const GameState& s, PanelMode commandMode);

/// One brewery symbol per brand slot with capacity in a town, then the depot symbol.
void DrawCompanyMarkers(QPainter& p, PictureSet& pictures, const GameState& s);
