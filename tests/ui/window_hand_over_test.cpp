/// @file window_hand_over_test.cpp The hot-seat hand-over: in a two-player game a screen covers
/// map and panel between the turns until the next player clicks or presses a key, and only then
/// do that player's news appear; the option is on at first, kept in the settings file, and
/// changes nothing in a one-player game.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "persistence/settings.h"
#include "window_fixture.h"

namespace {

class HandOverTest : public WindowTest {
protected:
    TForm1& TwoPlayers()
    {
        TForm1& form = Open();
        form.State().Program.Rng.Seed(3);
        NewGameSettings settings;
        settings.TwoPlayer = true;
        settings.Player1Start = 1;
        settings.Player2Start = 6;
        settings.Player1Name = "Anna";
        settings.Player2Name = "Bob";
        form.StartNewGame(settings);
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        return form;
    }
};

}  // namespace

TEST_F(HandOverTest, TheCoverComesBeforeTheNextPlayersNewsAndGoesWithAKeyOrAClick)
{
    TForm1& form = TwoPlayers();
    EXPECT_FALSE(form.HandOverOption()->isChecked()) << "off until the players choose it";
    form.HandOverOption()->trigger();
    ASSERT_TRUE(form.HandOverOption()->isChecked());
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kHandOverScreen), "1");
    const int second = form.State().PlayerCompany[1];
    const std::string bob = form.State().CompanyName[second];

    struct Seen {
        bool shown = false;
        QString text;
        size_t messages = 0;
        int bestOpponents = 0;
        bool coversPanel = false;
    };
    for (const bool byKey : {true, false}) {
        Seen seen;
        // Wait as the real window does, and take the turn by key or click once it shows.
        form.WaitForHandOver = [&](HandOverCover& cover) {
            seen.shown = cover.isVisible();
            seen.text = cover.Text();
            seen.messages = recorder_.Messages.size();
            seen.bestOpponents = recorder_.BestOpponentDialogs;
            seen.coversPanel =
                cover.geometry().contains(form.Button8->geometry()) && cover.geometry().contains(QRect(0, 0, 790, 400));
            QTimer::singleShot(0, &cover, [&cover, byKey] {
                if (byKey)
                    QTest::keyClick(&cover, Qt::Key_N);  // N takes the turn; it ends nothing
                else
                    QTest::mouseClick(&cover, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
            });
            QTimer::singleShot(3000, &cover, [&cover] { cover.Take(); });
            cover.Wait();
        };
        recorder_.Messages.clear();
        recorder_.BestOpponentDialogs = 0;
        const int month = form.State().MonthCount;
        const int moving = form.State().CurrentCompany;
        Press(form.Button8);
        EXPECT_TRUE(seen.shown);
        EXPECT_TRUE(seen.coversPanel);
        EXPECT_FALSE(form.HandOverScreen()->isVisible());
        EXPECT_EQ(seen.bestOpponents, 0) << "the news come after the cover";
        EXPECT_EQ(recorder_.BestOpponentDialogs, 1);
        EXPECT_EQ(recorder_.HandOvers, byKey ? 1 : 2);
        if (moving == form.State().PlayerCompany[0]) {
            EXPECT_EQ(seen.text.toStdString(), "Player 2: " + bob + " \u2014 click or press a key to start your turn");
            EXPECT_EQ(form.State().MonthCount, month) << "the key that took the turn ended nothing";
        }
        EXPECT_EQ(seen.messages, 0u);
    }

    // German, and the option kept in the settings file.
    form.Menu(MenuEntry::Deutsch1)->trigger();
    QString german;
    form.WaitForHandOver = [&german](HandOverCover& cover) {
        german = cover.Text();
        cover.Take();
    };
    Press(form.Button8);
    EXPECT_TRUE(german.startsWith("Spieler 2: ")) << german.toStdString();
    EXPECT_TRUE(german.endsWith("zum Beginnen Ihres Zuges klicken oder eine Taste drücken"));
    form.HandOverOption()->trigger();
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kHandOverScreen), "0");
    bool shown = false;
    form.WaitForHandOver = [&shown](HandOverCover& cover) {
        shown = true;
        cover.Take();
    };
    Press(form.Button8);
    EXPECT_FALSE(shown) << "the option is off";
    EXPECT_EQ(recorder_.HandOvers, 4) << "the rules still hand over";
}

TEST_F(HandOverTest, AOnePlayerGameHasNoCover)
{
    TForm1& form = OpenWithGame(1);
    bool shown = false;
    form.WaitForHandOver = [&shown](HandOverCover& cover) {
        shown = true;
        cover.Take();
    };
    Press(form.Button8);
    Press(form.Button8);
    EXPECT_EQ(form.State().MonthCount, 3);
    EXPECT_FALSE(shown);
    EXPECT_EQ(recorder_.HandOvers, 0);
}
