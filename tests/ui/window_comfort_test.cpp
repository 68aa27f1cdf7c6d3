/// @file window_comfort_test.cpp What the window adds for a comfortable game, through its real
/// controls: nothing typed or played is lost by a slip, a clear end of the game, the title with
/// the game's file, the menus a game needs closed without one.
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
        EXPECT_EQ(form.Panel().CommandMode, kModeTransferMoney);
    }
    // A click on a town chooses it: the command starts afresh there.
    const QPoint tomsville = TownCentre(1, 1);
    ClickAt(tomsville.x(), tomsville.y());
    EXPECT_EQ(form.State().SelectedTown, 1);
    EXPECT_EQ(form.Edit5->text(), "");
    EXPECT_TRUE(form.ListBox4->selectedItems().isEmpty());
    // A right click on the sea still opens the town information, as it always did.
    ClickAt(700, 380, Qt::RightButton);
    EXPECT_EQ(form.Panel().CommandMode, kModeTownInformation);
}

TEST_F(WindowTest, NewOpenAndExitOfferToSaveAChangedGame)
{
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
    TForm1& form = OpenWithGame(1, 2);
    GameState& s = form.State();
    const int me = s.CurrentCompany;
    const std::string name = s.CompanyName[me];
    saveFile_ = QString::fromStdString((dir_ / "before.tsg").string());
    form.Menu(MenuEntry::Saveas1)->trigger();
    s.Account[me].fill(-1e9L);  // bankrupt at the end of this turn
    Press(form.Button8);
    EXPECT_EQ(form.Panel().CommandMode, kModeGameOver);
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
    EXPECT_EQ(form.Panel().CommandMode, kModeGameOver);

    // Escape is no "Open Game"; the button is.
    openFile_ = saveFile_;
    QTest::keyClick(form.Surface(), Qt::Key_Escape);
    EXPECT_EQ(form.Panel().CommandMode, kModeGameOver);
    // Open Game loads a saved one, which runs again.
    recorder_.ThreeWayAnswers = {YesNoCancel::No};
    Press(form.Button10);
    EXPECT_EQ(form.Panel().CommandMode, kModeIdle);
    EXPECT_TRUE(form.Button8->isVisible());
    EXPECT_EQ(form.State().CompanyName[form.State().CurrentCompany], name);
    EXPECT_EQ(form.State().MonthCount, 1);
    EXPECT_GT(form.State().Account[me][me], 0.0L);
}

TEST_F(WindowTest, SmallFrictionsOwnRowsSingleChoicesAndTheStatisticsMemory)
{
    TForm1& form = OpenWithGame(1, 2);
    GameState& s = form.State();
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
