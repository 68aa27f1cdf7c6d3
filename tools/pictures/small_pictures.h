/// @file small_pictures.h The title picture, flags, company symbols, animation sprites and icon.
#pragma once

#include <QImage>

#include "paint_kit.h"

enum class SpriteKind { Depot, Brewery, Barrels, Money };

/// 250 x 270 times `scale`, white where the window shows through.
QImage PaintTitle(const Faces& faces, int scale);
/// 16 x 10 times `scale`.
QImage PaintFlagEnglish(int scale);
QImage PaintFlagGerman(int scale);
/// Brewery (11 x 11) and depot (10 x 7) symbols times `scale`: black on white, nothing else.
QImage PaintBrewerySymbol(int scale);
QImage PaintDepotSymbol(int scale);
/// 25 x 25 times `scale` on pure black.
QImage PaintSprite(SpriteKind kind, int scale);
/// Black wherever the sprite is not pure black, white elsewhere.
QImage MaskOf(const QImage& sprite);
/// The application icon, `size` pixels square, transparent around the tankard.
QImage PaintIcon(int size);
