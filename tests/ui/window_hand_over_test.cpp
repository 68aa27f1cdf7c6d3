/// @file window_hand_over_test.cpp The hot-seat hand-over: in a two-player game a screen covers
/// map and panel between the turns until the next player clicks or presses a key, and only then
/// do that player's news appear; the option is on at first, kept in the settings file, and
/// changes nothing in a one-player game.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QKeyEvent>
#include <QTimer>
#include <functional>

#include "persistence/settings.h"
#include "window_fixture.h"

namespace {

class HandOverTest : public WindowTest {
protected:
    TForm1& TwoPlayers()
    {
        TForm1& form = Open();
        form.Session().SetSeed(3);
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
        // The panel hears again once the gesture that took the cover is over.
        QTest::qWait(HandOverCover::GestureMilliseconds() + 50);
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

namespace {

/// Counts the key presses and clicks that reach a widget.
class Arrivals : public QObject {
public:
    int Keys = 0;
    int Clicks = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            ++Keys;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            ++Clicks;
        return false;
    }
};

}  // namespace

// The key or click that takes the cover is one gesture: a second press of the key at once, its
// repeat, or the second click of a double click never reaches the panel; a moment later keys and
// clicks work again.
TEST_F(HandOverTest, TheRestOfTheGestureThatTookTheCoverNeverReachesThePanel)
{
    TForm1& form = TwoPlayers();
    if (!form.HandOverOption()->isChecked())
        form.HandOverOption()->trigger();
    Arrivals arrivals;
    form.Button8->installEventFilter(&arrivals);
    const int first = form.State().PlayerCompany[0];
    struct Case {
        const char* what;
        std::function<void(HandOverCover&)> take;  ///< the gesture that takes the cover
        std::function<void()> rest;                ///< what follows at once
        bool key;                                  ///< the rest is a key, not a click
    };
    const Case cases[] = {
        {"a key pressed twice", [](HandOverCover& cover) { QTest::keyClick(&cover, Qt::Key_N); },
         [&] { QTest::keyClick(form.Button8, Qt::Key_N); }, true},
        {"a held key's repeat", [](HandOverCover& cover) { QTest::keyPress(&cover, Qt::Key_Space); },
         [&] {
             QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
             QApplication::sendEvent(form.Button8, &repeat);
             QTest::keyRelease(form.Button8, Qt::Key_Space);
         },
         true},
        {"a double click",
         [](HandOverCover& cover) { QTest::mouseClick(&cover, Qt::LeftButton, Qt::NoModifier, QPoint(700, 450)); },
         [&] { QTest::mouseDClick(form.Button8, Qt::LeftButton); }, false},
    };
    for (const Case& c : cases) {
        // The first player ends the turn; the second takes the cover with the gesture.
        ASSERT_EQ(form.State().CurrentCompany, first) << c.what;
        form.WaitForHandOver = [&](HandOverCover& cover) {
            QTimer::singleShot(0, &cover, [&] { c.take(cover); });
            QTimer::singleShot(3000, &cover, [&cover] { cover.Take(); });
            cover.Wait();
        };
        form.Button8->click();
        const int second = form.State().CurrentCompany;
        ASSERT_NE(second, first) << c.what;
        const int month = form.State().MonthCount;
        arrivals.Keys = arrivals.Clicks = 0;
        c.rest();
        EXPECT_EQ(arrivals.Keys + arrivals.Clicks, 0) << c.what << ": the rest of the gesture is swallowed";
        EXPECT_EQ(form.State().CurrentCompany, second) << c.what << ": the second player's turn goes on";
        EXPECT_EQ(form.State().MonthCount, month) << c.what;

        // A moment later the panel hears again; the click ends the second player's turn.
        QTest::qWait(HandOverCover::GestureMilliseconds() + 50);
        form.WaitForHandOver = [](HandOverCover& cover) { cover.Take(); };
        if (c.key) {
            QTest::keyClick(form.Button8, Qt::Key_Space);
            EXPECT_GT(arrivals.Keys, 0) << c.what;
        } else {
            QTest::mouseClick(form.Button8, Qt::LeftButton);
            EXPECT_GT(arrivals.Clicks, 0) << c.what;
        }
        if (form.State().CurrentCompany != first)
            form.Button8->click();  // a key may leave the button unpressed: the turn ends by click
        EXPECT_EQ(form.State().MonthCount, month + 1) << c.what;
    }
}
