/// @file window_comfort_test.cpp What the window adds for a comfortable game, through its real
/// controls: nothing typed or played is lost by a slip, a clear end of the game, the title with
/// the game's file, the menus a game needs closed without one; with the option "Comforts" off,
/// the game's own flow in both languages.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QTableWidget>
#include <QScreen>
#include <QTimer>
#include <QListWidget>
#include <QPushButton>

#include "commands/statistics.h"
#include "game/map_tables.h"
#include "ui/high.h"
#include "ui/info.h"
#include "ui/zwischen.h"
#include "ui/history_window.h"
#include "window_fixture.h"
#include "session_door.h"

namespace {

QPoint TownCentre(int map, int town)
{
    const TownRect& r = kTownHitRects[map - 1][town];
    return {(r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2};
}

}  // namespace

TEST_F(WindowTest, AClickOnTheSeaOrThePanelKeepsWhatWasTypedAndATownClickRefills)
{
    TForm1& form = OpenWithGame(1, 2);
    Press(form.Button5);  // Transfer Money
    Type(form.Edit5, "1234");
    Choose(form.ListBox4, "Seaside");
    for (const QPoint at : {QPoint(700, 380), QPoint(20, 410), QPoint(700, 20)}) {
        ClickAt(at.x(), at.y());
        EXPECT_EQ(form.Edit5->text(), "1234") << at.x() << "," << at.y();
        ASSERT_EQ(form.ListBox4->selectedItems().size(), 1);
        EXPECT_EQ(form.ListBox4->selectedItems().front()->text(), "Seaside");
        EXPECT_EQ(form.Panel().CommandMode, PanelMode::TransferMoney);
    }
    // A click on a town chooses it: the command starts afresh there.
    const QPoint tomsville = TownCentre(1, 1);
    ClickAt(tomsville.x(), tomsville.y());
    EXPECT_EQ(form.State().SelectedTown, 1);
    EXPECT_EQ(form.Edit5->text(), "");
    EXPECT_TRUE(form.ListBox4->selectedItems().isEmpty());
    // A right click on the sea still opens the town information, as it always did.
    ClickAt(700, 380, Qt::RightButton);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::TownInformation);
}

TEST_F(WindowTest, NewOpenAndExitOfferToSaveAChangedGame)
{
    comforts_ = true;
    TForm1& form = OpenWithGame(1);
    int newDialogs = 0;
    form.RunNewGameDialog = [&newDialogs](TNGDialog&) {
        ++newDialogs;
        return false;
    };
    // Unchanged: no question.
    recorder_.Messages.clear();
    form.Menu(MenuEntry::New1)->trigger();
    EXPECT_EQ(newDialogs, 1);
    EXPECT_TRUE(recorder_.Messages.empty());

    Press(form.Button8);
    ASSERT_EQ(form.State().MonthCount, 2);
    recorder_.Messages.clear();
    // Cancel: neither the dialog nor the file dialog comes.
    recorder_.ThreeWayAnswers = {YesNoCancel::Cancel};
    form.Menu(MenuEntry::New1)->trigger();
    EXPECT_EQ(newDialogs, 1);
    ASSERT_EQ(recorder_.Messages.size(), 1u);
    EXPECT_EQ(recorder_.Messages[0].Text, (LocalText{"Save the running game?", "Das laufende Spiel speichern?"}));
    // Yes with the save dialog cancelled: the game stays and Open goes no further.
    recorder_.ThreeWayAnswers = {YesNoCancel::Yes};
    saveFile_.clear();
    openFile_ = "never.tsg";
    form.Menu(MenuEntry::Open1)->trigger();
    EXPECT_EQ(form.State().MonthCount, 2);
    // Yes with a file: saved, then the setup dialog.
    recorder_.ThreeWayAnswers = {YesNoCancel::Yes};
    saveFile_ = QString::fromStdString((dir_ / "year.tsg").string());
    form.Menu(MenuEntry::New1)->trigger();
    EXPECT_EQ(newDialogs, 2);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "year.tsg"));
    EXPECT_EQ(form.windowTitle(), "year.tsg - The TAVREK! War");

    // Exit with autosave off: Cancel keeps the window, No closes without saving.
    form.Menu(MenuEntry::FastExit1)->setChecked(true);
    if (form.AutosaveOnExit())
        form.Menu(MenuEntry::FastExit1)->trigger();
    ASSERT_FALSE(form.AutosaveOnExit());
    Press(form.Button8);
    recorder_.ThreeWayAnswers = {YesNoCancel::Cancel};
    form.Menu(MenuEntry::Exit1)->trigger();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.State().GameActive);
    recorder_.ThreeWayAnswers = {YesNoCancel::No};
    form.Menu(MenuEntry::Exit1)->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(recorder_.EnglishTexts().back(), "Save the running game?");
}

TEST_F(WindowTest, TheTitleNamesTheOpenedGamesFile)
{
    comforts_ = true;
    TForm1& form = OpenWithGame(2);
    saveFile_ = QString::fromStdString((dir_ / "Islands.tsg").string());
    form.Menu(MenuEntry::Saveas1)->trigger();
    EXPECT_EQ(form.windowTitle(), "Islands.tsg - The TAVREK! War");
    form.Menu(MenuEntry::Deutsch1)->trigger();
    EXPECT_EQ(form.windowTitle(), "Islands.tsg - TAVRIK! - Das Spiel");
    TForm1& again = Open();
    openFile_ = saveFile_;
    again.Menu(MenuEntry::Open1)->trigger();
    EXPECT_TRUE(again.windowTitle().startsWith("Islands.tsg - "));
}

TEST_F(WindowTest, MenusThatNeedAGameAreClosedOnTheStartScreenAndAfterTheEnd)
{
    TForm1& form = Open();
    const MenuEntry needGame[] = {MenuEntry::Save1,           MenuEntry::Saveas1,        MenuEntry::New2,
                                  MenuEntry::Delete1,         MenuEntry::DisplayChange1, MenuEntry::MarketShares1,
                                  MenuEntry::StatisticDialog1};
    for (const MenuEntry entry : needGame)
        EXPECT_FALSE(form.Menu(entry)->isEnabled()) << static_cast<int>(entry);
    for (const MenuEntry entry : {MenuEntry::New1, MenuEntry::Open1, MenuEntry::Highscore1, MenuEntry::Contents1})
        EXPECT_TRUE(form.Menu(entry)->isEnabled()) << static_cast<int>(entry);
    const HistoryDialog::Page views[] = {HistoryDialog::Report, HistoryDialog::Charts, HistoryDialog::Messages};
    for (const HistoryDialog::Page view : views)
        EXPECT_FALSE(form.findChild<HistoryMenu*>()->Entry(view)->isEnabled()) << view;
    TForm1& game = OpenWithGame(1);
    for (const MenuEntry entry : needGame)
        EXPECT_TRUE(game.Menu(entry)->isEnabled()) << static_cast<int>(entry);
    for (const HistoryDialog::Page view : views)
        EXPECT_TRUE(game.findChild<HistoryMenu*>()->Entry(view)->isEnabled()) << view;
}

TEST_F(WindowTest, AfterTheEndThePanelSaysSoAndOffersNewAndOpenInBothLanguages)
{
    comforts_ = true;
    TForm1& form = OpenWithGame(1, 2);
    GameState& s = WritableState(form.Session());
    const int me = s.CurrentCompany;
    const std::string name = s.CompanyName[me];
    saveFile_ = QString::fromStdString((dir_ / "before.tsg").string());
    form.Menu(MenuEntry::Saveas1)->trigger();
    s.Account[me].fill(-1e9L);  // bankrupt at the end of this turn
    Press(form.Button8);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::GameOver);
    for (QPushButton* b : {form.Button1, form.Button2, form.Button3, form.Button4, form.Button5, form.Button6,
                           form.Button7, form.Button8, form.Button11})
        EXPECT_FALSE(b->isVisible()) << b->text().toStdString();
    EXPECT_EQ(form.Button9->text(), "New Game");
    EXPECT_EQ(form.Button10->text(), "Open Game");
    for (const MenuEntry entry : {MenuEntry::New2, MenuEntry::MarketShares1, MenuEntry::StatisticDialog1})
        EXPECT_FALSE(form.Menu(entry)->isEnabled());
    EXPECT_TRUE(form.Menu(MenuEntry::Save1)->isEnabled());
    form.Menu(MenuEntry::Deutsch1)->trigger();
    EXPECT_EQ(form.Button9->text(), "Neues Spiel");
    EXPECT_EQ(form.Button10->text(), "Spiel öffnen");
    form.Menu(MenuEntry::English1)->trigger();

    // No month passes any more, by key or by click on the map.
    const int month = s.MonthCount;
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(form.Surface(), Qt::Key_N);
    ClickAt(100, 220, Qt::RightButton);
    EXPECT_EQ(s.MonthCount, month);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::GameOver);

    // Escape is no "Open Game"; the button is.
    openFile_ = saveFile_;
    QTest::keyClick(form.Surface(), Qt::Key_Escape);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::GameOver);
    // Open Game loads a saved one, which runs again.
    recorder_.ThreeWayAnswers = {YesNoCancel::No};
    Press(form.Button10);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);
    EXPECT_TRUE(form.Button8->isVisible());
    EXPECT_EQ(form.State().CompanyName[form.State().CurrentCompany], name);
    EXPECT_EQ(form.State().MonthCount, 1);
    EXPECT_GT(form.State().Account[me][me], 0.0L);
}

TEST_F(WindowTest, SmallFrictionsOwnRowsSingleChoicesAndTheStatisticsMemory)
{
    comforts_ = true;
    TForm1& form = OpenWithGame(1, 2);
    GameState& s = WritableState(form.Session());
    const int me = s.CurrentCompany;
    const QString own = QString::fromStdString(s.CompanyName[me]);

    // The own row of the market shares stands out, and only it.
    form.Menu(MenuEntry::MarketShares1)->trigger();
    int marked = 0;
    for (int r = 0; r < form.StringGrid2->rowCount(); ++r) {
        const QTableWidgetItem* item = form.StringGrid2->item(r, 0);
        const bool mine = item && item->text() == own;
        EXPECT_EQ(item && item->background().color() == kOwnRowColour, mine) << r;
        marked += mine;
    }
    EXPECT_EQ(marked, 1);
    Press(form.Button10);

    // A list with one entry has it chosen: Extend Brewery at home offers the one brand.
    s.SelectedTown = me;
    Press(form.Button2);
    ASSERT_EQ(form.ListBox1->count(), 1);
    EXPECT_EQ(form.ListBox1->selectedItems().size(), 1);
    Press(form.Button10);

    // The statistics view opens on the selected town and the own company...
    s.SelectedTown = 4;
    form.Menu(MenuEntry::StatisticDialog1)->trigger();
    EXPECT_EQ(form.ComboBox1->currentIndex(), 4);
    EXPECT_EQ(form.ComboBox3->currentIndex(), me);
    // ... sorts on a click on a column's heading ...
    QTest::mouseClick(form.StringGrid3->horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(form.StringGrid3->horizontalHeader()->sectionViewportPosition(kSortBySales) + 10, 8));
    EXPECT_EQ(form.ComboBox2->currentIndex(), kSortBySales);
    // ... and keeps what the player chose while the program runs.
    form.ComboBox3->setCurrentIndex(7);
    form.ComboBox3Change();
    form.ComboBox4->setCurrentIndex(kSortByCapacity);
    form.ComboBox4Change();
    Press(form.Button9);
    s.SelectedTown = 1;
    form.Menu(MenuEntry::StatisticDialog1)->trigger();
    EXPECT_EQ(form.ComboBox1->currentIndex(), 1) << "the town follows the selection until one is chosen";
    EXPECT_EQ(form.ComboBox2->currentIndex(), kSortBySales);
    EXPECT_EQ(form.ComboBox3->currentIndex(), 7);
    EXPECT_EQ(form.ComboBox4->currentIndex(), kSortByCapacity);
    // The own company's rows in the town's grid stand out.
    s.Capacity[me][0][1] = 3000;
    form.ComboBox1->setCurrentIndex(1);
    form.ComboBox1Change();
    bool ownShown = false;
    for (int r = 0; r < form.StringGrid3->rowCount(); ++r) {
        const QTableWidgetItem* item = form.StringGrid3->item(r, 0);
        if (item && item->text() == own) {
            ownShown = true;
            EXPECT_EQ(item->background().color(), kOwnRowColour);
        } else if (item) {
            EXPECT_NE(item->background().color(), kOwnRowColour) << r;
        }
    }
    EXPECT_TRUE(ownShown);
}

TEST_F(WindowTest, TheInfoShowsWhereTheGameKeepsItsFilesAndDialogsCentreOnTheGame)
{
    comforts_ = true;
    TForm1& form = OpenWithGame(1);
    form.Menu(MenuEntry::Info1)->trigger();
    auto* info = form.findChild<TInfoDialog*>();
    ASSERT_NE(info, nullptr);
    const QString whole = info->Label2->toolTip();
    for (const char* file : {"Tavrek!.ini", "TavrekNames.ini", "Autosave.tsg"})
        EXPECT_TRUE(whole.contains(QDir(QString::fromStdString(dir_.Str())).absoluteFilePath(file))) << file;
    EXPECT_TRUE(info->Label2->text().contains("Autosave:"));
    EXPECT_LE(info->Label2->geometry().right(), info->Bevel1->geometry().right());
    EXPECT_LE(info->Label2->geometry().bottom(), info->Bevel1->geometry().bottom());
    info->hide();

    form.move(300, 200);
    QApplication::processEvents();
    for (QDialog* dialog : std::initializer_list<QDialog*>{form.BestOpponentDialog(), form.HighscoreDialog()}) {
        QPoint centre;
        QTimer::singleShot(0, dialog, [dialog, &centre] {
            centre = dialog->frameGeometry().center();
            dialog->accept();
        });
        if (dialog == form.BestOpponentDialog())
            form.BestOpponentDialog()->ShowFor(form.State());
        else
            form.HighscoreDialog()->ShowFor(form.State().Program.ProgramDirectory, Language::English);
        // Within a few pixels of the game's middle (frames round), far from the screen's.
        EXPECT_LE((centre - form.frameGeometry().center()).manhattanLength(), 8) << dialog->objectName().toStdString();
        EXPECT_GT((centre - form.screen()->availableGeometry().center()).manhattanLength(), 100);
    }
}

TEST_F(WindowTest, WithComfortsOffTheGameGoesItsOwnWayAndWithThemOnTheComfortsHold)
{
    for (const Language language : {Language::English, Language::German})
        for (const bool on : {false, true}) {
            const bool german = language == Language::German;
            SCOPED_TRACE(std::string(on ? "comforts on, " : "comforts off, ") + (german ? "German" : "English"));
            WriteOnOff(dir_.Str(), settings::kComforts, on);
            TForm1& form = OpenWithGame(1, 2);
            EXPECT_EQ(form.ComfortsOption()->isChecked(), on);
            if (german)
                form.Menu(MenuEntry::Deutsch1)->trigger();
            EXPECT_EQ(form.ComfortsOption()->text(), german ? "Komfort" : "Comforts");
            GameState& s = WritableState(form.Session());
            const int me = s.CurrentCompany;
            auto asked = [this, language] {
                return recorder_.Messages.empty() ? std::string() : recorder_.Messages.back().Text.In(language);
            };
            const std::string saveQuestion = german ? "Das laufende Spiel speichern?" : "Save the running game?";
            const std::string leaveQuestion =
                german ? "Wollen Sie das Spiel wirklich beenden?" : "Do you really want to leave this game?";

            // The hints name their keys, or say what the game always said; N ends the month
            // only with the comforts, Alt+N always.
            const QString hint = QString::fromStdString(kButtonTexts[0].Hint.In(language));
            EXPECT_EQ(form.Button1->toolTip(), on ? hint + " (Alt+B)" : hint);
            form.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
            QTest::keyClick(form.Surface(), Qt::Key_N);
            EXPECT_EQ(s.MonthCount, on ? 2 : 1);
            QTest::keyClick(form.Surface(), Qt::Key_N, Qt::AltModifier);
            EXPECT_TRUE(QTest::qWaitFor([&] { return s.MonthCount == (on ? 3 : 2); }, 2000));

            // A list with one entry: chosen, or left to the player, and OK asks for a choice.
            s.SelectedTown = me;
            Press(form.Button2);  // Extend Brewery: the one brand
            ASSERT_EQ(form.ListBox1->count(), 1);
            EXPECT_EQ(form.ListBox1->selectedItems().size(), on ? 1 : 0);
            if (!on) {
                recorder_.Messages.clear();
                Type(form.Edit1, "1");
                Press(form.Button9);
                EXPECT_EQ(asked(),
                          german ? "Bitte wählen Sie eine Marke." : "Please select a brand to build a brewery.");
                EXPECT_EQ(form.Panel().CommandMode, PanelMode::ExtendBrewery);
            }
            Press(form.Button10);

            // The statistics view: the selected town, own company and kept choices, or item 0
            // and sort key 0 every time; a heading's click sorts in both.
            s.SelectedTown = 4;
            form.Menu(MenuEntry::StatisticDialog1)->trigger();
            EXPECT_EQ(form.ComboBox1->currentIndex(), on ? 4 : 0);
            EXPECT_EQ(form.ComboBox3->currentIndex(), on ? me : 0);
            QTest::mouseClick(
                form.StringGrid3->horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier,
                QPoint(form.StringGrid3->horizontalHeader()->sectionViewportPosition(kSortBySales) + 10, 8));
            EXPECT_EQ(form.ComboBox2->currentIndex(), kSortBySales);
            Press(form.Button9);
            form.Menu(MenuEntry::StatisticDialog1)->trigger();
            EXPECT_EQ(form.ComboBox2->currentIndex(), on ? kSortBySales : 0);
            EXPECT_EQ(form.ComboBox1->currentIndex(), on ? 4 : 0);
            Press(form.Button9);

            // The Info dialog: over the game's window, or in the screen's middle.
            form.move(300, 200);
            QApplication::processEvents();
            form.Menu(MenuEntry::Info1)->trigger();
            auto* info = form.findChild<TInfoDialog*>();
            ASSERT_NE(info, nullptr);
            const QPoint centre = info->frameGeometry().center();
            const QPoint expected = on ? form.frameGeometry().center() : form.screen()->availableGeometry().center();
            EXPECT_LE((centre - expected).manhattanLength(), 8);
            info->hide();

            // The title: the savegame's name, "*" after a change; or the game's own caption.
            // (the month's close has set the English caption, in German too)
            const QString caption = form.windowTitle();
            EXPECT_EQ(caption, "The TAVREK! War");
            saveFile_ = QString::fromStdString((dir_ / "flow.tsg").string());
            form.Menu(MenuEntry::Saveas1)->trigger();
            EXPECT_EQ(form.windowTitle(), on ? "flow.tsg - " + caption : caption);
            Press(form.Button6);  // Change Prices
            Type(form.Edit2, "3.10");
            Press(form.Button9);
            ASSERT_TRUE(form.State().Price[me][0][4] == 3.10f);
            EXPECT_EQ(form.windowTitle(), on ? "flow.tsg* - " + caption : caption);

            // New and Open on the changed game: the save question, or straight to their dialogs.
            int newDialogs = 0;
            form.RunNewGameDialog = [&newDialogs](TNGDialog&) {
                ++newDialogs;
                return false;
            };
            recorder_.Messages.clear();
            recorder_.ThreeWayAnswers = {YesNoCancel::Cancel};
            form.Menu(MenuEntry::New1)->trigger();
            EXPECT_EQ(newDialogs, on ? 0 : 1);
            EXPECT_EQ(asked(), on ? saveQuestion : "");

            // Exit: the save question, or the game's own question.
            recorder_.Messages.clear();
            recorder_.ThreeWayAnswers = {YesNoCancel::Cancel};
            recorder_.Answers = {false};
            form.Menu(MenuEntry::Exit1)->trigger();
            EXPECT_TRUE(form.isVisible());
            EXPECT_EQ(asked(), on ? saveQuestion : leaveQuestion);

            // The only player's liquidation: the game-over panel, or the months run on.
            s.Account[me].fill(-1e9L);
            Press(form.Button8);
            EXPECT_EQ(form.Panel().CommandMode, on ? PanelMode::GameOver : PanelMode::Idle);
            EXPECT_EQ(form.Button8->isVisible(), !on);
        }
}
