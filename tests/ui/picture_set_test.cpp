/// @file picture_set_test.cpp Every picture the window draws is in the resources at both
/// ratios, at its logical size, and is loaded once per window and ratio.
#include <QImage>

#include <gtest/gtest.h>

#include "commands/map_animation.h"
#include "ui/animation_painter.h"
#include "ui/pictures.h"

TEST(PictureSet, EveryPictureTheWindowNamesLoadsAtItsLogicalSizeOnBothRatios)
{
    struct Case {
        std::string name;
        int width;
        int height;
    };
    std::vector<Case> cases = {{"map1", 800, 400},  {"map2", 800, 400}, {"map3", 800, 400},  {"title", 250, 270},
                               {"brewery", 11, 11}, {"depot", 10, 7},   {"flag_en", 16, 10}, {"flag_de", 16, 10}};
    for (int sprite = kSpriteDepot; sprite <= kSpriteMoney; ++sprite)
        for (const int number : {sprite, sprite + kMaskOffset})
            cases.push_back({AnimationPictureName(number), kSpriteSize, kSpriteSize});
    PictureSet pictures;
    for (const qreal ratio : {1.0, 2.0})
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name + " at " + std::to_string(ratio));
            const QPixmap& p = pictures.Get(c.name, ratio);
            ASSERT_FALSE(p.isNull());
            EXPECT_EQ(p.devicePixelRatio(), ratio);
            EXPECT_EQ(p.deviceIndependentSize().toSize(), QSize(c.width, c.height));
        }
    EXPECT_TRUE(pictures.Get("no such picture", 1.0).isNull());
    // Loaded once: the same picture object on the next call.
    EXPECT_EQ(&pictures.Get("map2", 2.0), &pictures.Get("map2", 2.0));
    EXPECT_EQ(MapPictureName(3), "map3");
    EXPECT_EQ(MapPictureName(0), "map1");
}

TEST(PictureSet, TheTitleAndSymbolsLetTheMapShowThroughTheirWhite)
{
    PictureSet pictures;
    for (const char* name : {"title", "brewery", "depot"}) {
        const QImage image = pictures.Get(name, 1.0).toImage();
        EXPECT_TRUE(image.hasAlphaChannel()) << name;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << name << ": the corner is white on the file";
    }
    EXPECT_EQ(qAlpha(pictures.Get("map1", 1.0).toImage().pixel(0, 0)), 255);
}
