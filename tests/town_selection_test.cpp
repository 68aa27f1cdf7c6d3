// Choosing a town on the map: the click rectangles of the three maps and the mouse click.
#include <gtest/gtest.h>

#include "commands/town_selection.h"
#include "game/map_places.h"
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
        PanelState panel{PanelMode::TransportBeer};
        RecordingFrontend f;
        ClickMap(s, panel, f, MouseButton::Left, false, c.x, c.y);
        EXPECT_EQ(s.SelectedTown, 1);
        EXPECT_EQ(f.Sounds, std::vector<int>{c.sound}) << c.demand;
        EXPECT_EQ(panel.CommandMode, PanelMode::TransportBeer) << "a left click keeps the open command";
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
        PanelState panel{PanelMode::BuildDepot};
        RecordingFrontend f;
        ClickMap(s, panel, f, right ? MouseButton::Right : MouseButton::Left, !right, 700, 380);
        EXPECT_EQ(s.SelectedTown, 2) << "nothing hit: the town stays";
        EXPECT_EQ(panel.CommandMode, PanelMode::TownInformation);
        EXPECT_TRUE(f.Sounds.empty());
        EXPECT_EQ(f.StatusLines.size(), 1u);
    }
    GameState s = CommandWorld();
    s.GameActive = false;
    PanelState panel{PanelMode::None};
    RecordingFrontend f;
    ClickMap(s, panel, f, MouseButton::Right, false, 100, 220);
    EXPECT_EQ(s.SelectedTown, 2);
    EXPECT_EQ(panel.CommandMode, PanelMode::None);
    EXPECT_TRUE(f.StatusLines.empty());
    EXPECT_EQ(f.Redraws, 1) << "the panel band is redrawn all the same";
}

TEST(TownAt, EveryTownsSymbolStripChoosesThatTownOnEveryMap)
{
    // Some strips lie beside their town's rectangle (Seaside and Fotzingfors on the Peninsula):
    // a click on any of a town's symbols chooses that town all the same.
    int outside = 0;
    for (int map = 1; map <= kMaps; ++map)
        for (int town = 0; town < kTowns; ++town) {
            const MapPoint base = kMarkerBases[map - 1][town];
            std::vector<std::pair<int, int>> symbols;
            for (int b = 0; b < kBrands; ++b)
                symbols.emplace_back(base.X + kBreweryMarkerStep * b + 2, base.Y + 2);
            symbols.emplace_back(base.X + kDepotMarkerOffset.X + 2, base.Y + kDepotMarkerOffset.Y + 2);
            symbols.emplace_back(base.X, base.Y);
            symbols.emplace_back(base.X + kMarkerStripWidth - 1, base.Y + kMarkerStripHeight - 1);
            for (const auto& [x, y] : symbols) {
                EXPECT_EQ(TownAt(map, x, y, -1), town) << "map " << map << " town " << town << " at " << x << "," << y;
                outside += TownHitTest(map, x, y, -1) < 0;
            }
            // The town's own rectangle still chooses it.
            const TownRect& r = kTownHitRects[map - 1][town];
            EXPECT_EQ(TownAt(map, (r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2, -1), town);
        }
    EXPECT_GT(outside, 0) << "some symbols lie outside the rectangles: the strips add something";
    for (int map = 1; map <= kMaps; ++map)
        EXPECT_EQ(TownAt(map, 700, 380, 7), 7) << "the sea chooses nothing";
    EXPECT_EQ(TownAt(4, 100, 220, 7), 7) << "no such map";

    // On the Peninsula, a click on Seaside's symbols in the window's click chooses Seaside.
    GameState s = CommandWorld();
    PanelState panel{PanelMode::Idle};
    RecordingFrontend f;
    const MapPoint seaside = kMarkerBases[0][3];
    const int depotX = seaside.X + kDepotMarkerOffset.X + 2;
    const int depotY = seaside.Y + kDepotMarkerOffset.Y + 2;
    ASSERT_LT(TownHitTest(1, depotX, depotY, -1), 0) << "Seaside's depot lies beside its rectangle";
    ClickMap(s, panel, f, MouseButton::Left, false, depotX, depotY);
    EXPECT_EQ(s.SelectedTown, 3);
}

TEST(StepSelectedTown, PageDownAndUpChooseTheNextTownAsALeftClickOnItWould)
{
    struct Case {
        PanelMode mode;
        int from;
        int step;
        int to;  // -1: nothing happens
    };
    const Case cases[] = {
        {PanelMode::Idle, 2, 1, 3},           {PanelMode::Idle, 9, 1, 0},         {PanelMode::Idle, 0, -1, 9},
        {PanelMode::TransportBeer, 4, -1, 3}, {PanelMode::ChangePrices, 1, 1, 2}, {PanelMode::TownInformation, 5, 1, 6},
        {PanelMode::MarketShares, 2, 1, -1},  {PanelMode::NewOrder, 2, 1, -1},    {PanelMode::Statistics, 2, 1, -1},
        {PanelMode::GameOver, 2, 1, -1},      {PanelMode::None, 2, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " from " << c.from << " step " << c.step);
        GameState keyed = CommandWorld();
        keyed.SelectedTown = c.from;
        PanelState keyedPanel{c.mode};
        RecordingFrontend keys;
        StepSelectedTown(keyed, keyedPanel, keys, c.step);
        if (c.to < 0) {
            EXPECT_EQ(keyed.SelectedTown, c.from);
            EXPECT_TRUE(keys.Sounds.empty());
            EXPECT_EQ(keys.Redraws, 0);
            continue;
        }
        // The same as a left click in the middle of the town.
        GameState clicked = CommandWorld();
        clicked.SelectedTown = c.from;
        PanelState clickedPanel{c.mode};
        RecordingFrontend mouse;
        const TownRect& r = kTownHitRects[0][c.to];
        ClickMap(clicked, clickedPanel, mouse, MouseButton::Left, false, (r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2);
        EXPECT_EQ(keyed.SelectedTown, c.to);
        EXPECT_EQ(clicked.SelectedTown, c.to);
        EXPECT_EQ(keys.Sounds, mouse.Sounds);
        EXPECT_EQ(keys.StatusLines, mouse.StatusLines);
        EXPECT_EQ(keys.Captions, mouse.Captions);
        EXPECT_EQ(keys.Redraws, mouse.Redraws);
        EXPECT_EQ(keyedPanel.CommandMode, c.mode);
    }
}
