// The selected town's frame on the map: around the town's click rectangle, inside the map, and
// for every town of every map still plain to see where it keeps clear of the symbol strips and
// the animation squares.
#include <gtest/gtest.h>

#include "commands/town_mark.h"
#include "commands/town_selection.h"

namespace {

bool Inside(const MapRect& r, int x, int y) { return x >= r.X && x < r.X + r.Width && y >= r.Y && y < r.Y + r.Height; }

}  // namespace

TEST(TownMark, TheFrameSurroundsTheTownAndMostOfItShowsOnEveryMap)
{
    for (int map = 1; map <= kMaps; ++map) {
        const std::vector<MapRect> clear = TownFrameKeepsClear(map);
        ASSERT_EQ(clear.size(), 2u * kTowns);
        for (int town = 0; town < kTowns; ++town) {
            SCOPED_TRACE(testing::Message() << "map " << map << " town " << town);
            const TownRect& hit = kTownHitRects[map - 1][town];
            const MapRect frame = SelectedTownFrame(map, town);
            EXPECT_GE(frame.X, 0);
            EXPECT_GE(frame.Y, 0);
            EXPECT_LE(frame.X + frame.Width, 800);
            EXPECT_LE(frame.Y + frame.Height, 400);
            // The click rectangle lies inside the frame's two-pixel line.
            EXPECT_TRUE(Inside(frame, hit.XFrom - 2, hit.YFrom - 2) || frame.X == 0 || frame.Y == 0);
            EXPECT_TRUE(Inside(frame, hit.XTo + 2, hit.YTo + 2));
            // The line: two pixels inside the frame's edge, all round.
            int ring = 0;
            int shown = 0;
            for (int y = frame.Y; y < frame.Y + frame.Height; ++y)
                for (int x = frame.X; x < frame.X + frame.Width; ++x) {
                    const bool onLine = x < frame.X + 2 || y < frame.Y + 2 || x >= frame.X + frame.Width - 2 ||
                                        y >= frame.Y + frame.Height - 2;
                    if (!onLine)
                        continue;
                    ++ring;
                    bool kept = false;
                    for (const MapRect& c : clear)
                        kept = kept || Inside(c, x, y);
                    shown += !kept;
                }
            EXPECT_GT(shown * 2, ring) << shown << " of " << ring << " pixels";
        }
    }
    EXPECT_EQ(SelectedTownFrame(0, 1), MapRect{});
    EXPECT_EQ(SelectedTownFrame(1, kTowns), MapRect{});
    EXPECT_TRUE(TownFrameKeepsClear(4).empty());
}

TEST(TownMark, BreweriesUnderConstructionOpenWhenTheirStageArrives)
{
    GameState s;
    s.MonthCount = 5;
    s.ConstructionPipeline[2][1][3][2] = 1000;  // ordered this month: three turns away
    s.ConstructionPipeline[2][2][6][0] = 1000;  // arrives at the start of the next turn
    s.Capacity[2][0][4] = 1000;                 // an extension of a brewing brewery
    s.ConstructionPipeline[2][0][4][0] = 500;
    s.ConstructionPipeline[3][0][1][1] = 1000;  // another company's
    EXPECT_EQ(BreweriesUnderConstruction(s, 2), (std::vector<BreweryUnderConstruction>{{3, 1, 8}, {6, 2, 6}}));
    EXPECT_TRUE(BreweriesUnderConstruction(s, 1).empty());
    EXPECT_TRUE(BreweriesUnderConstruction(s, -1).empty());

    EXPECT_EQ(OpeningMonthLabel(s, 8), "Aug");
    EXPECT_EQ(OpeningMonthLabel(s, 13), "Jan");
    s.Program.Language = Language::German;
    EXPECT_EQ(OpeningMonthLabel(s, 3), "Mär");
    EXPECT_EQ(OpeningMonthLabel(s, 5), "Mai");
}
