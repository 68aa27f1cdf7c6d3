/// @file small_pictures.cpp The title picture, flags, symbols, sprites and icon.
#include "small_pictures.h"

#include <QPainter>
#include <QPainterPath>

QImage PaintTitle(const Faces&, int scale)
{
    QImage img(250 * scale, 270 * scale, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}
QImage PaintFlagEnglish(int scale)
{
    QImage img(16 * scale, 10 * scale, QImage::Format_RGB32);
    img.fill(Qt::blue);
    return img;
}
QImage PaintFlagGerman(int scale)
{
    QImage img(16 * scale, 10 * scale, QImage::Format_RGB32);
    img.fill(Qt::red);
    return img;
}
QImage PaintBrewerySymbol(int scale)
{
    QImage img(11 * scale, 11 * scale, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}
QImage PaintDepotSymbol(int scale)
{
    QImage img(10 * scale, 7 * scale, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}
QImage PaintSprite(SpriteKind, int scale)
{
    QImage img(25 * scale, 25 * scale, QImage::Format_RGB32);
    img.fill(Qt::black);
    return img;
}
QImage MaskOf(const QImage& sprite)
{
    QImage mask(sprite.size(), QImage::Format_RGB32);
    for (int y = 0; y < sprite.height(); ++y)
        for (int x = 0; x < sprite.width(); ++x)
            mask.setPixel(x, y, (sprite.pixel(x, y) & 0xFFFFFF) != 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return mask;
}
QImage PaintIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}
