/// @file town_mark_painter.h The frame that marks the selected town on the map.
#pragma once

#include <QColor>
#include <QPainter>

#include "game/game_state.h"
#include "ui/pictures.h"

/// The frame's colour: the red of the map's own ink, strong enough to find at a glance.
inline const QColor kTownFrameColour(178, 34, 34);

/// Draws the frame around the selected town of the running game, never over a town's row of
/// company symbols. Drawn into the back buffer after the symbols; a repaint of the map under it
/// takes it away again.
void DrawSelectedTownFrame(QPainter& p, const GameState& s);

/// A faint brewery symbol in its slot for each of the moving company's breweries under
/// construction, with the month it opens lettered small under it.
void DrawBreweriesUnderConstruction(QPainter& p, PictureSet& pictures, const GameState& s);
