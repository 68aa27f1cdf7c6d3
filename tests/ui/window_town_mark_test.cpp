/// @file window_town_mark_test.cpp The frame around the selected town in the back buffer: drawn
/// where it may be, never over a symbol strip or an animation square, gone with the map under it
/// when another town is chosen.
#include <QImage>

#include "commands/town_mark.h"
#include "game/map_places.h"
#include "game/map_tables.h"
#include "ui/town_mark_painter.h"
#include "window_fixture.h"
#include "session_door.h"

namespace {

bool Inside(const MapRect& r, int x, int y) { return x >= r.X && x < r.X + r.Width && y >= r.Y && y < r.Y + r.Height; }

}  // namespace

TEST_F(WindowTest, TheSelectedTownIsFramedAndTheFrameMovesWithTheChoice)
{
    TForm1& form = OpenWithGame(1, 2);
    GameState& s = WritableState(form.Session());
    // Symbols in every town, so that the strips hold something the frame must leave alone.
    for (int t = 0; t < kTowns; ++t) {
        s.Capacity[s.CurrentCompany][0][t] = 1000;
        s.HasDepot[s.CurrentCompany][t] = true;
    }
    form.Surface()->grab();
    const QImage first = form.BackBuffer().copy();
    const int ratio = qRound(first.devicePixelRatio());
    const int a = s.SelectedTown;
    const int b = 9;
    const TownRect& r = kTownHitRects[0][b];
    ClickAt((r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2);
    ASSERT_EQ(s.SelectedTown, b);
    form.Surface()->grab();
    const QImage second = form.BackBuffer().copy();

    const std::vector<MapRect> clear = TownFrameKeepsClear(1);
    auto kept = [&clear](int x, int y) {
        for (const MapRect& c : clear)
            if (Inside(c, x, y))
                return true;
        return false;
    };
    const MapRect frameA = SelectedTownFrame(1, a);
    const MapRect frameB = SelectedTownFrame(1, b);
    int framedA = 0;
    int framedB = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 790; ++x) {
            const QColor one = first.pixelColor(x * ratio, y * ratio);
            const QColor two = second.pixelColor(x * ratio, y * ratio);
            if (kept(x, y) || (!Inside(frameA, x, y) && !Inside(frameB, x, y))) {
                // The strips, the animation squares and the rest of the map stay as they were.
                ASSERT_EQ(one, two) << x << "," << y;
                continue;
            }
            framedA += one == kTownFrameColour && Inside(frameA, x, y);
            framedB += two == kTownFrameColour && Inside(frameB, x, y);
            // The old frame is gone: the second picture has no frame colour there.
            if (Inside(frameA, x, y) && !Inside(frameB, x, y)) {
                EXPECT_NE(two, kTownFrameColour) << x << "," << y;
            }
        }
    EXPECT_GT(framedA, frameA.Width + frameA.Height);
    EXPECT_GT(framedB, frameB.Width + frameB.Height);

    // The statistics view covers the map: no frame is drawn under it.
    form.Menu(MenuEntry::StatisticDialog1)->trigger();
    form.Surface()->grab();
    const QImage covered = form.BackBuffer().copy();
    int framedUnder = 0;
    for (int y = frameB.Y; y < frameB.Y + frameB.Height; ++y)
        for (int x = frameB.X; x < frameB.X + frameB.Width; ++x)
            framedUnder += covered.pixelColor(x * ratio, y * ratio) == kTownFrameColour;
    EXPECT_EQ(framedUnder, 0);
}

TEST_F(WindowTest, ABreweryUnderConstructionShowsFaintlyWithItsMonth)
{
    TForm1& form = OpenWithGame(1, 2);
    GameState& s = WritableState(form.Session());
    const int me = s.CurrentCompany;
    const int town = (me + 3) % kTowns;
    form.Surface()->grab();
    const QImage before = form.BackBuffer().copy();
    const int ratio = qRound(before.devicePixelRatio());
    s.ConstructionPipeline[me][0][town][2] = 1000;
    form.Redraw();
    form.Surface()->grab();
    const QImage planned = form.BackBuffer().copy();
    const MapPoint base = kMarkerBases[0][town];
    // The symbol's slot and the month under it changed, faintly: no pixel as black as a
    // brewery's own symbol.
    const QRect slot(QPoint(base.X, base.Y) * ratio, QSize(11, 11) * ratio);
    const QRect month(QPoint(base.X - 4, base.Y + 11) * ratio, QSize(19, 9) * ratio);
    EXPECT_NE(planned.copy(slot), before.copy(slot));
    EXPECT_NE(planned.copy(month), before.copy(month));
    for (int y = slot.top(); y <= slot.bottom(); ++y)
        for (int x = slot.left(); x <= slot.right(); ++x)
            EXPECT_GT(qGray(planned.pixel(x, y)), 60) << x << "," << y;
    // Once it brews, the real symbol stands there instead.
    s.ConstructionPipeline[me][0][town][2] = 0;
    s.Capacity[me][0][town] = 1000;
    form.Redraw();
    form.Surface()->grab();
    EXPECT_NE(form.BackBuffer().copy(month), planned.copy(month));
    EXPECT_EQ(form.BackBuffer().copy(month), before.copy(month)) << "no month under a brewing brewery";
}
