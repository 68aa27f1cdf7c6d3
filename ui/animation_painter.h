/// @file animation_painter.h Paints one map-animation tick onto the window's back buffer: masks
/// with AND, sprites with OR, map restores as plain copies.
///
/// Use from the window's Timer1 handler:
///   `PaintAnimationTick(backBuffer_, animation_.Step(s.MapNumber), pictures_); update();`
/// All rectangles are logical; pictures and back buffer may carry any device pixel ratio
/// (the "@2x" pictures at scale 2).
#pragma once

#include <QImage>

#include <array>

#include "commands/map_animation.h"

/// The pictures a tick draws from, by picture number: [0] the current map, [10..13] the
/// sprites, [15..18] their masks. Missing pictures are skipped.
using AnimationPictureSet = std::array<QImage, 19>;

/// Draws the tick's operations in order onto the back buffer. The buffer should be
/// QImage::Format_RGB32 (or premultiplied ARGB32) so the raster operations apply.
void PaintAnimationTick(QImage& backBuffer, const AnimationTick& tick, const AnimationPictureSet& pictures);
