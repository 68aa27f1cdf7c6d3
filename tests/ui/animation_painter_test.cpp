// The back buffer after animation ticks, pixel for pixel against the map and the sprite.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "commands/map_animation.h"
#include "ui/animation_painter.h"

namespace {

// A map with a different colour in every pixel, at a device pixel ratio.
QImage SyntheticMap(int ratio)
{
    QImage map(800 * ratio, 400 * ratio, QImage::Format_RGB32);
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < map.width(); ++x)
            map.setPixel(x, y, qRgb((x * 7) & 0xff, (y * 5) & 0xff, (x + y) & 0xff));
    map.setDevicePixelRatio(ratio);
    return map;
}

// A round sprite of many colours on black, and its mask: black where the sprite is.
void SyntheticSprite(int ratio, QImage& sprite, QImage& mask)
{
    const int n = kSpriteSize * ratio;
    sprite = QImage(n, n, QImage::Format_RGB32);
    mask = QImage(n, n, QImage::Format_RGB32);
    const double c = (n - 1) / 2.0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const bool inside = (x - c) * (x - c) + (y - c) * (y - c) <= c * c;
            sprite.setPixel(x, y, inside ? qRgb(40 + x * 4, 200 - y * 3, 90 + ((x * y) & 63)) : qRgb(0, 0, 0));
            mask.setPixel(x, y, inside ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    sprite.setDevicePixelRatio(ratio);
    mask.setDevicePixelRatio(ratio);
}

struct Scene {
    AnimationPictureSet Pictures;
    QImage Buffer;
};

Scene MakeScene(int ratio)
{
    Scene scene;
    scene.Pictures[kPictureMap] = SyntheticMap(ratio);
    SyntheticSprite(ratio, scene.Pictures[kSpriteDepot], scene.Pictures[kSpriteDepot + kMaskOffset]);
    scene.Buffer = scene.Pictures[kPictureMap].copy();
    scene.Buffer.setDevicePixelRatio(ratio);
    return scene;
}

// The source column a target column of a stretched row comes from: the target pixel's centre
// mapped into the source; a centre exactly on a border between two source pixels takes the
// left one (nearest-neighbour scaling without smoothing).
int SourceColumn(int targetColumn, int sourceWidth, int targetWidth)
{
    return ((2 * targetColumn + 1) * sourceWidth - 1) / (2 * targetWidth);
}

// Checks every pixel of the buffer: revealed rows are map AND mask OR sprite, the rest map.
void ExpectRevealed(const Scene& scene, int ratio, int x, int y, int rowsRevealed)
{
    const QImage& map = scene.Pictures[kPictureMap];
    const QImage& sprite = scene.Pictures[kSpriteDepot];
    const QImage& mask = scene.Pictures[kSpriteDepot + kMaskOffset];
    int wrong = 0;
    for (int dy = 0; dy < scene.Buffer.height(); ++dy)
        for (int dx = 0; dx < scene.Buffer.width(); ++dx) {
            QRgb expected = map.pixel(dx, dy);
            const int ly = dy / ratio;  // logical row
            const int s = 25 + y - ly;  // the tick that drew this row
            const int column = dx - x * ratio;
            if (s >= 0 && s < rowsRevealed && column >= 0 && column < kSpriteSize * ratio) {
                const int sx = SourceColumn(column, 24 * ratio, 25 * ratio);
                const int sy = (24 - s) * ratio + (dy - ly * ratio);
                expected = (expected & mask.pixel(sx, sy)) | sprite.pixel(sx, sy);
            }
            const QRgb got = scene.Buffer.pixel(dx, dy);
            if (got != expected && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << dx << ", " << dy << "): " << std::hex << got << " instead of "
                              << expected;
        }
    EXPECT_EQ(wrong, 0);
}

TEST(AnimationPainter, RevealTicksMatchMapMaskAndSprite)
{
    Scene scene = MakeScene(1);
    MapAnimation animation;
    ASSERT_TRUE(animation.Start(4, 0, kAnimDepotAppears));  // Peninsula town 4 at (368, 80)
    for (int i = 0; i < 13; ++i)
        PaintAnimationTick(scene.Buffer, animation.Step(1), scene.Pictures);
    ExpectRevealed(scene, 1, 368, 80, 13);
}

TEST(AnimationPainter, AtScaleTwoEachTickRevealsOneLogicalRow)
{
    Scene scene = MakeScene(2);
    MapAnimation animation;
    ASSERT_TRUE(animation.Start(2, 0, kAnimDepotAppears));  // Peninsula town 2 at (247, 186)
    for (int i = 0; i < 7; ++i)
        PaintAnimationTick(scene.Buffer, animation.Step(1), scene.Pictures);
    ExpectRevealed(scene, 2, 247, 186, 7);
}

TEST(AnimationPainter, TheEraseTickBringsTheMapBack)
{
    Scene scene = MakeScene(1);
    // Something drawn over the map near the sprite (a marker) goes too.
    {
        QPainter painter(&scene.Buffer);
        painter.fillRect(QRect(380, 90, 5, 5), Qt::red);
    }
    MapAnimation animation;
    ASSERT_TRUE(animation.Start(4, 0, kAnimDepotAppears));
    while (animation.Running())
        PaintAnimationTick(scene.Buffer, animation.Step(1), scene.Pictures);
    EXPECT_EQ(scene.Buffer, scene.Pictures[kPictureMap]);
}

}  // namespace
