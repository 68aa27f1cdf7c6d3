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

/// The pictures a tick draws from, by the animation's picture numbers: the current map, the four
/// sprites and their masks. A picture left empty is skipped.
class AnimationPictureSet {
public:
    /// One of the nine numbers (kPictureMap, a sprite, a sprite + kMaskOffset); any other
    /// number is a programming error.
    QImage& operator[](int number);
    const QImage& operator[](int number) const;
    /// The picture of a number, or null for a number that names none.
    const QImage* Find(int number) const;

private:
    static int Slot(int number);
    std::array<QImage, 9> images_;
};

/// The picture name ("sprite_depot", "mask_money", ...) of a sprite or mask number.
const char* AnimationPictureName(int number);

/// Draws the tick's operations in order onto the back buffer. The buffer should be
/// QImage::Format_RGB32 (or premultiplied ARGB32) so the raster operations apply.
void PaintAnimationTick(QImage& backBuffer, const AnimationTick& tick, const AnimationPictureSet& pictures);
