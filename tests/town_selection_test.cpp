// Choosing a town on the map: the click rectangles of the three maps and the mouse click.
#include <gtest/gtest.h>

#include "commands/town_selection.h"
#include "command_world.h"
#include "recording_frontend.h"

TEST(TownHitTest, RectanglesAreInclusive)
{
    EXPECT_EQ(TownHitTest(1, 100, 220, 5), 1);
    EXPECT_EQ(TownHitTest(1, 76, 206, 5), 1);
    EXPECT_EQ(TownHitTest(1, 161, 231, 5), 1);
    EXPECT_EQ(TownHitTest(1, 75, 206, 5), 5);
    EXPECT_EQ(TownHitTest(1, 162, 231, 5), 5);
    EXPECT_EQ(TownHitTest(2, 640, 363, 0), 9);
    EXPECT_EQ(TownHitTest(3, 6, 57, 4), 0);
    EXPECT_EQ(TownHitTest(3, 206, 143, 4), 3);
    for (int map = 1; map <= kMaps; ++map)
        EXPECT_EQ(TownHitTest(map, 700, 380, 7), 7) << map;
    EXPECT_EQ(TownHitTest(4, 100, 220, 7), 7) << "no such map";
}

TEST(TownHitTest, EveryTownHasItsOwnPlaceOnTheMap)
{
    for (int map = 0; map < kMaps; ++map)
        for (int a = 0; a < kTowns; ++a) {
            const TownRect& r = kTownHitRects[map][a];
            EXPECT_LE(r.XFrom, r.XTo);
            EXPECT_LE(r.YFrom, r.YTo);
            EXPECT_GE(r.XFrom, 0);
            EXPECT_GE(r.YFrom, 0);
            EXPECT_LT(r.XTo, 800);
            EXPECT_LT(r.YTo, 400);
            EXPECT_EQ(TownHitTest(map + 1, r.XFrom, r.YTo, -1), a);
            for (int b = a + 1; b < kTowns; ++b) {
                const TownRect& o = kTownHitRects[map][b];
                const bool apart = r.XTo < o.XFrom || o.XTo < r.XFrom || r.YTo < o.YFrom || o.YTo < r.YFrom;
                EXPECT_TRUE(apart) << "map " << map + 1 << ": towns " << a << " and " << b << " overlap";
            }
        }
}

TEST(ClickMap, SelectsTheTownWithASoundForItsThirst)
{
    struct Case {
        int x;
        int y;
        int32_t demand;
        int sound;
    };
    // Clicks on Tomsville (town 1) of the Peninsula with different demands.
    for (const Case& c :
         {Case{100, 220, 16001, 7}, Case{100, 220, 16000, 10}, Case{76, 206, 10000, 9}, Case{161, 231, 3000, 8}}) {
        GameState s = CommandWorld();
        s.Demand[1] = c.demand;
        PanelState panel{kModeTransportBeer};
        RecordingFrontend f;
        ClickMap(s, panel, f, MouseButton::Left, false, c.x, c.y);
        EXPECT_EQ(s.SelectedTown, 1);
        EXPECT_EQ(f.Sounds, std::vector<int>{c.sound}) << c.demand;
        EXPECT_EQ(panel.CommandMode, kModeTransportBeer) << "a left click keeps the open command";
        EXPECT_EQ(f.StatusLines.back().English, "Company2 in Tomsville, January 1750");
        EXPECT_EQ(f.Captions.back(), (LocalText{"The TAVREK! War", "The TAVREK! War"}));
        EXPECT_EQ(f.Redraws, 1);
        // The same town again: no sound.
        ClickMap(s, panel, f, MouseButton::Left, false, c.x, c.y);
        EXPECT_EQ(f.Sounds.size(), 1u);
    }
}

TEST(ClickMap, RightAndDoubleClicksOpenTheTownInformation)
{
    for (const bool right : {true, false}) {
        GameState s = CommandWorld();
        PanelState panel{kModeBuildDepot};
        RecordingFrontend f;
        ClickMap(s, panel, f, right ? MouseButton::Right : MouseButton::Left, !right, 700, 380);
        EXPECT_EQ(s.SelectedTown, 2) << "nothing hit: the town stays";
        EXPECT_EQ(panel.CommandMode, kModeTownInformation);
        EXPECT_TRUE(f.Sounds.empty());
        EXPECT_EQ(f.StatusLines.size(), 1u);
    }
    GameState s = CommandWorld();
    s.GameActive = false;
    PanelState panel{kModeNone};
    RecordingFrontend f;
    ClickMap(s, panel, f, MouseButton::Right, false, 100, 220);
    EXPECT_EQ(s.SelectedTown, 2);
    EXPECT_EQ(panel.CommandMode, kModeNone);
    EXPECT_TRUE(f.StatusLines.empty());
    EXPECT_EQ(f.Redraws, 1) << "the panel band is redrawn all the same";
}
