/// @file window_details_test.cpp What a player sees around the rules: the picture behind the
/// first box of a new game and of a hand-over, the amount field of a full order book, the grids'
/// rows, the window's icon.
#include <QAction>
#include <QHeaderView>
#include <QIcon>
#include <QRadioButton>
#include <QTableWidget>

#include "game/map_tables.h"
#include "window_fixture.h"
#include "session_door.h"

namespace {

/// The back buffer and the status line at the moment the first box appears.
struct FirstBox {
    bool Seen = false;
    QImage Picture;
    QString Status;
    bool LanguageChoiceShown = false;
};

void WatchFirstBox(RecordingFrontend& recorder, TForm1& form, FirstBox& box)
{
    recorder.OnBox = [&recorder, &form, &box] {
        if (box.Seen)
            return;
        box.Seen = true;
        box.Picture = form.BackBuffer().copy();
        box.Status = form.StatusText();
        box.LanguageChoiceShown = form.RadioButton1->isVisible() || form.RadioButton2->isVisible();
        recorder.OnBox = nullptr;
    };
}

/// The window painted afresh from the state as it is now.
QImage PaintedNow(TForm1& form)
{
    form.Surface()->grab();
    return form.BackBuffer().copy();
}

}  // namespace

TEST_F(WindowTest, TheFirstBoxOfANewGameAppearsOverTheNewGamesMap)
{
    // The first game, started from the start screen: no language choice over its map.
    TForm1& form = Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    FirstBox first;
    WatchFirstBox(recorder_, form, first);
    form.Session().SetSeed(7);
    form.StartNewGame(NewGameSettings{});
    ASSERT_TRUE(first.Seen);
    EXPECT_FALSE(first.LanguageChoiceShown);
    const QImage firstGame = PaintedNow(form);
    EXPECT_TRUE(first.Picture == firstGame) << "the take-over shows over the start screen";
    recorder_.Messages.clear();

    FirstBox box;
    WatchFirstBox(recorder_, form, box);
    NewGameSettings settings;
    settings.Map = 3;
    settings.Player1Start = 7;  // town 6
    settings.Player1Name = "Carla";
    form.StartNewGame(settings);

    ASSERT_TRUE(box.Seen);
    EXPECT_NE(recorder_.Messages.at(0).Text.English.find("take over"), std::string::npos);
    const QImage newGame = PaintedNow(form);
    EXPECT_NE(newGame, firstGame) << "the two games' maps differ";
    EXPECT_TRUE(box.Picture == newGame) << "the take-over shows over the previous game's map";
    EXPECT_TRUE(box.Status.startsWith("Carla in " + QString(kTownNames[2][6]))) << box.Status.toStdString();
}

TEST_F(WindowTest, PlayerTwosFirstBoxAppearsOverPlayerTwosMarkers)
{
    TForm1& form = Open();
    NewGameSettings settings;
    settings.Map = 1;
    settings.TwoPlayer = true;
    settings.Player1Start = 1;   // town 0
    settings.Player2Start = 10;  // town 9
    settings.Player1Name = "Alice";
    settings.Player2Name = "Bob";
    // No event: the first box of player 2's turn is the best-opponent dialog, and nothing
    // changes the markers after it.
    settings.Events = false;
    form.Session().SetSeed(11);
    form.StartNewGame(settings);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QImage playerOne = PaintedNow(form);

    FirstBox box;
    WatchFirstBox(recorder_, form, box);
    recorder_.BestOpponentDialogs = 0;
    Press(form.Button8);

    ASSERT_TRUE(box.Seen);
    EXPECT_EQ(recorder_.BestOpponentDialogs, 1);
    EXPECT_EQ(form.State().CurrentCompany, form.State().PlayerCompany[1]);
    const QImage playerTwo = PaintedNow(form);
    EXPECT_NE(playerTwo, playerOne) << "the two players' markers differ";
    EXPECT_TRUE(box.Picture == playerTwo) << "player 2's dialog shows over player 1's markers";
    EXPECT_TRUE(box.Status.startsWith("Bob in ")) << box.Status.toStdString();
}

TEST_F(WindowTest, AFullOrderBookKeepsTheAmountFieldAsItWas)
{
    TForm1& form = OpenWithGame(1);
    GameState& s = WritableState(form.Session());
    for (StandingOrderSlot& slot : s.StandingOrder[s.CurrentCompany])
        slot = {kOrderMoney, 0, 1, 100};

    Press(form.Button4);  // Transport Beer empties the amount on entering
    EXPECT_EQ(form.Edit5->text(), "");
    Type(form.Edit5, "750");
    Press(form.Button10);
    recorder_.Messages.clear();
    form.Menu(MenuEntry::New2)->trigger();
    ASSERT_EQ(recorder_.Messages.size(), 1u);
    EXPECT_EQ(recorder_.Messages[0].Text.English, "No further standing order possible!");
    EXPECT_TRUE(form.Edit5->isVisible());
    EXPECT_EQ(form.Edit5->text(), "750") << "nothing is filled while every slot is in use";

    // With a slot free again the panel is filled as usual: the amount starts empty.
    Press(form.Button10);
    s.StandingOrder[s.CurrentCompany][3].Kind = kOrderEmpty;
    form.Menu(MenuEntry::New2)->trigger();
    EXPECT_EQ(form.Edit5->text(), "");
    EXPECT_GT(form.ListBox6->count(), 0);
}

TEST_F(WindowTest, EveryGridHasRowsOfSixteenPixelsAndNoHighlightedCell)
{
    TForm1& form = OpenWithGame(2);
    form.Menu(MenuEntry::StatisticDialog1)->trigger();
    struct Grid {
        const char* name;
        QTableWidget* grid;
        int rows;
    };
    for (const Grid g : {Grid{"StringGrid1", form.StringGrid1, 30}, Grid{"StringGrid2", form.StringGrid2, 10},
                         Grid{"StringGrid3", form.StringGrid3, 30}, Grid{"StringGrid4", form.StringGrid4, 30}}) {
        SCOPED_TRACE(g.name);
        ASSERT_EQ(g.grid->rowCount(), g.rows);
        for (int r = 0; r < g.rows; ++r)
            ASSERT_EQ(g.grid->rowHeight(r), 16) << "row " << r;
        EXPECT_EQ(g.grid->horizontalHeader()->height(), 16);
        EXPECT_EQ(g.grid->selectionMode(), QAbstractItemView::NoSelection);
        EXPECT_FALSE(g.grid->horizontalHeader()->highlightSections());
        EXPECT_EQ(g.grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
}

TEST_F(WindowTest, TheWindowCarriesTheGamesIcon)
{
    TForm1& form = Open();
    const QIcon icon = form.windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : {16, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}
