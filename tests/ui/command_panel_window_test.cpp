/// @file command_panel_window_test.cpp The command panel through the window's real buttons,
/// lists and fields: modes, town clicks, commands with their message boxes, language switches.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QComboBox>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>

#include "commands/logistics.h"
#include "commands/order_commands.h"
#include "game/map_tables.h"
#include "persistence/savegame.h"
#include "persistence/settings.h"
#include "ui/newgame.h"
#include "window_fixture.h"
#include "session_door.h"

namespace {

QPoint Centre(int map, int town)
{
    const TownRect& r = kTownHitRects[map - 1][town];
    return {(r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2};
}

}  // namespace

TEST_F(WindowTest, ANewGameShowsTheCommandButtonsStatusLineAndEnglishCaption)
{
    TForm1& form = OpenWithGame(1, 3);
    EXPECT_TRUE(form.State().GameActive);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);
    for (QPushButton* b : {form.Button1, form.Button2, form.Button3, form.Button4, form.Button5, form.Button6,
                           form.Button7, form.Button8, form.Button11})
        EXPECT_TRUE(b->isVisible()) << b->text().toStdString();
    EXPECT_FALSE(form.Button9->isVisible());
    EXPECT_FALSE(form.RadioButton1->isVisible());
    EXPECT_EQ(form.StatusText().toStdString(),
              form.State().CompanyName[form.State().CurrentCompany] + " in Fotzingfors, January 1750");
    EXPECT_EQ(form.windowTitle(), "The TAVREK! War");
}

// The map clicks at every zoom: a layout pixel is a block of window pixels.
using ZoomedClickTest = ZoomedWindowTest;
INSTANTIATE_TEST_SUITE_P(Zooms, ZoomedClickTest, ::testing::ValuesIn(kZoomSteps));

TEST_P(ZoomedClickTest, EveryTownIsHitAtTheFourCornersOfItsRectangleOnEveryMap)
{
    const int zoom = GetParam();
    // The first and the last window pixel of a layout pixel.
    auto first = [zoom](int v) { return Zoomed(v, zoom); };
    auto last = [zoom](int v) { return Zoomed(v + 1, zoom) - 1; };
    for (int map = 1; map <= kMaps; ++map) {
        TForm1& form = OpenWithGame(map);
        ASSERT_EQ(form.Zoom(), zoom);
        for (int t = 0; t < kTowns; ++t) {
            const TownRect& r = kTownHitRects[map - 1][t];
            for (const QPoint corner : {QPoint(first(r.XFrom), first(r.YFrom)), QPoint(last(r.XTo), first(r.YFrom)),
                                        QPoint(first(r.XFrom), last(r.YTo)), QPoint(last(r.XTo), last(r.YTo))}) {
                WritableState(form.Session()).SelectedTown = (t + 1) % kTowns;
                ClickAtPixel(corner);
                EXPECT_EQ(form.State().SelectedTown, t) << "map " << map << " town " << t;
            }
            // One window pixel left of the rectangle hits nothing and keeps the town.
            ClickAtPixel(QPoint(first(r.XFrom) - 1, first(r.YFrom)));
            EXPECT_EQ(form.State().SelectedTown, t);
            EXPECT_NE(form.StatusText().indexOf(QString::fromUtf8(kTownNames[map - 1][t])), -1);
        }
    }
}

TEST_F(WindowTest, ATownClickPlaysItsSoundOnceAndKeepsTheOpenMode)
{
    TForm1& form = OpenWithGame(1, 1);
    form.Menu(MenuEntry::Deutsch1)->trigger();
    Press(form.Button4);  // Transport Beer
    recorder_.Sounds.clear();
    const QPoint tomsville = Centre(1, 1);
    WritableState(form.Session()).SelectedTown = 0;
    ClickAt(tomsville.x(), tomsville.y());
    EXPECT_EQ(form.State().SelectedTown, 1);
    ASSERT_EQ(recorder_.Sounds.size(), 1u);
    ClickAt(tomsville.x(), tomsville.y());
    EXPECT_EQ(recorder_.Sounds.size(), 1u);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::TransportBeer);
    // The caption is the English title after a click, whatever the language.
    EXPECT_EQ(form.windowTitle(), "The TAVREK! War");
    // The destinations are those of the new town: it is not among them.
    EXPECT_TRUE(form.ListBox4->findItems("Tomsville", Qt::MatchStartsWith).isEmpty());
    EXPECT_EQ(form.ListBox4->count(), kTowns - 1);
}

TEST_P(ZoomedClickTest, RightAndDoubleClickOpenTheTownInformation)
{
    TForm1& form = OpenWithGame(2);
    ASSERT_EQ(form.Zoom(), GetParam());
    ClickAt(700, 380, Qt::RightButton);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::TownInformation);
    EXPECT_EQ(form.Button9->text(), "S&ales");
    Press(form.Button10);
    // A right click on the empty panel band opens it as well.
    ClickAt(10, 420, Qt::RightButton);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::TownInformation);
    Press(form.Button10);
    const QPoint p = Centre(2, 5);
    DoubleClickAt(p.x(), p.y());
    EXPECT_EQ(form.State().SelectedTown, 5);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::TownInformation);
}

TEST_F(WindowTest, EveryModeShowsItsControlsAndCancelReturnsToTheButtons)
{
    TForm1& form = OpenWithGame(3);
    struct Entry {
        std::function<void()> Enter;
        PanelMode Mode;
        std::vector<QWidget*> Shown;
    };
    const std::vector<Entry> entries = {
        {[&] { Press(form.Button1); }, PanelMode::BuildBrewery, {form.ListBox1}},
        {[&] { Press(form.Button2); }, PanelMode::ExtendBrewery, {form.ListBox1, form.Edit1}},
        {[&] { Press(form.Button3); }, PanelMode::BuildDepot, {}},
        {[&] { Press(form.Button4); }, PanelMode::TransportBeer, {form.ListBox3, form.ListBox4, form.Edit5}},
        {[&] { Press(form.Button5); }, PanelMode::TransferMoney, {form.ListBox4, form.Edit5}},
        {[&] { Press(form.Button6); }, PanelMode::ChangePrices, {form.Edit2, form.Edit3, form.Edit4}},
        {[&] { Press(form.Button7); }, PanelMode::NewBrand, {}},
        {[&] { Press(form.Button11); }, PanelMode::TownInformation, {}},
        {[&] { form.Menu(MenuEntry::MarketShares1)->trigger(); }, PanelMode::MarketShares, {form.StringGrid2}},
        {[&] { form.Menu(MenuEntry::New2)->trigger(); },
         PanelMode::NewOrder,
         {form.ListBox4, form.ListBox5, form.ListBox6, form.Edit5}},
        {[&] { form.Menu(MenuEntry::DisplayChange1)->trigger(); }, PanelMode::ListOrders, {form.ListBox2}},
        {[&] { form.Menu(MenuEntry::Delete1)->trigger(); }, PanelMode::DeleteOrder, {form.ListBox2}},
        {[&] { form.Menu(MenuEntry::StatisticDialog1)->trigger(); }, PanelMode::Statistics, {form.PageControl1}},
    };
    const std::vector<QWidget*> extras = {form.ListBox1,    form.ListBox2,    form.ListBox3, form.ListBox4,
                                          form.ListBox5,    form.ListBox6,    form.Edit1,    form.Edit2,
                                          form.Edit3,       form.Edit4,       form.Edit5,    form.StringGrid1,
                                          form.StringGrid2, form.PageControl1};
    for (const Entry& e : entries) {
        e.Enter();
        EXPECT_EQ(form.Panel().CommandMode, e.Mode);
        EXPECT_TRUE(form.Button9->isVisible());
        EXPECT_TRUE(form.Button10->isVisible());
        EXPECT_FALSE(form.Button1->isVisible());
        EXPECT_EQ(form.Button8->isVisible(), false);
        for (QWidget* w : extras) {
            const bool expected = std::find(e.Shown.begin(), e.Shown.end(), w) != e.Shown.end();
            EXPECT_EQ(w->isVisible(), expected) << "mode " << e.Mode << " " << w->metaObject()->className();
        }
        Press(form.Button10);
        EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);
        for (QWidget* w : extras)
            EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(form.Button8->isVisible());
        EXPECT_EQ(form.Button9->text(), "OK");
    }
    // The town information and last month's sales toggle with OK.
    Press(form.Button11);
    Press(form.Button9);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::LastSales);
    EXPECT_TRUE(form.StringGrid1->isVisible());
    EXPECT_EQ(form.StringGrid1->horizontalHeaderItem(1)->text(), "Quality");
    Press(form.Button9);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::TownInformation);
    // Switching between two order modes through the menu swaps their lists.
    form.Menu(MenuEntry::New2)->trigger();
    form.Menu(MenuEntry::DisplayChange1)->trigger();
    EXPECT_TRUE(form.ListBox2->isVisible());
    EXPECT_FALSE(form.ListBox5->isVisible());
}

TEST_F(WindowTest, CommandsRunThroughOkWithTheirMessageBoxes)
{
    TForm1& form = OpenWithGame(1, 3, 11);
    GameState& s = WritableState(form.Session());
    const int c = s.CurrentCompany;
    const int home = s.SelectedTown;
    s.Account[c][home] = 200000;
    recorder_.Messages.clear();

    // Build Brewery with nothing selected: told so, the panel stays open.
    Press(form.Button1);
    Press(form.Button9);
    ASSERT_EQ(recorder_.Messages.size(), 1u);
    EXPECT_EQ(recorder_.Messages[0].Icon, MessageIcon::Warning);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::BuildBrewery);
    Press(form.Button10);

    // Extend Brewery: ten steps of 100 litres.
    const int32_t before = s.Capacity[c][0][home] + s.ConstructionPipeline[c][0][home][0] +
                           s.ConstructionPipeline[c][0][home][1] + s.ConstructionPipeline[c][0][home][2];
    Press(form.Button2);
    EXPECT_EQ(form.Edit1->text(), "1");
    Choose(form.ListBox1, QString::fromStdString(s.BrandName[c][0]));
    Type(form.Edit1, "10");
    Press(form.Button9);
    const int32_t after = s.Capacity[c][0][home] + s.ConstructionPipeline[c][0][home][0] +
                          s.ConstructionPipeline[c][0][home][1] + s.ConstructionPipeline[c][0][home][2];
    EXPECT_EQ(after - before, 1000);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);

    // Build Depot.
    Press(form.Button3);
    Press(form.Button9);
    EXPECT_TRUE(s.HasDepot[c][home]);

    // Change Prices: only the first four characters count.
    Press(form.Button6);
    Type(form.Edit2, "12.345");
    Press(form.Button9);
    EXPECT_FLOAT_EQ(s.Price[c][0][home], 12.3f);

    // Transfer Money to the first town of the list.
    Press(form.Button5);
    Choose(form.ListBox4, QString::fromStdString(s.TownName[(home + 1) % kTowns]));
    Type(form.Edit5, "1000");
    Press(form.Button9);
    EXPECT_EQ(s.Account[c][(home + 1) % kTowns] >= 950, true);

    // New Brand, answered No: nothing bought.
    recorder_.Messages.clear();
    recorder_.Answers = {false};
    Press(form.Button7);
    Press(form.Button9);
    EXPECT_FALSE(BrandExists(s, c, 1));

    // A standing order of money, then its deletion answered Yes.
    form.Menu(MenuEntry::New2)->trigger();
    Choose(form.ListBox6, kOrderMoneyEntry);
    Choose(form.ListBox5, QString::fromStdString(s.TownName[home]));
    Choose(form.ListBox4, QString::fromStdString(s.TownName[(home + 2) % kTowns]));
    Type(form.Edit5, "100");
    Press(form.Button9);
    EXPECT_EQ(s.StandingOrder[c][0].Kind, kOrderMoney);
    form.Menu(MenuEntry::Delete1)->trigger();
    EXPECT_EQ(form.Button9->text(), "Delete");
    ASSERT_EQ(form.ListBox2->count(), 1);
    form.ListBox2->setCurrentRow(0);
    recorder_.Messages.clear();
    recorder_.Answers = {true};
    Press(form.Button9);
    EXPECT_EQ(s.StandingOrder[c][0].Kind, kOrderEmpty);
    ASSERT_FALSE(recorder_.Messages.empty());
    EXPECT_TRUE(recorder_.Messages[0].Question);
    EXPECT_EQ(form.Button9->text(), "OK");
}

TEST_F(WindowTest, TransportBeerTakesTheSelectedBrandAndDestination)
{
    TForm1& form = OpenWithGame(1, 3, 5);
    GameState& s = WritableState(form.Session());
    const int c = s.CurrentCompany;
    const int home = s.SelectedTown;
    s.Stock[c][0][home] = 5000;
    s.Account[c][home] = 100000;
    const int to = (home + 3) % kTowns;
    Press(form.Button4);
    ASSERT_EQ(form.ListBox3->count(), 1);
    form.ListBox3->setCurrentRow(0);
    Choose(form.ListBox4, QString::fromStdString(TransportDestinationEntry(s, home, to)));
    Type(form.Edit5, "1200");
    Press(form.Button9);
    EXPECT_EQ(s.Stock[c][0][home], 3800);
    EXPECT_EQ(s.Stock[c][0][to], 1200);
    ASSERT_EQ(recorder_.Animations.size(), 1u);
    EXPECT_EQ(recorder_.Animations[0], (std::vector<int>{home, to, 3}));
}

TEST_F(WindowTest, ALanguageSwitchWithAModeOpenTranslatesAndKeepsTheInput)
{
    TForm1& form = OpenWithGame(1, 3);
    const GameState& s = form.State();
    Press(form.Button5);
    form.ListBox4->setCurrentRow(2);
    const QString chosen = form.ListBox4->currentItem()->text();
    Type(form.Edit5, "777");
    form.Menu(MenuEntry::Deutsch1)->trigger();
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::TransferMoney);
    EXPECT_EQ(form.Edit5->text(), "777");
    ASSERT_NE(form.ListBox4->currentItem(), nullptr);
    EXPECT_EQ(form.ListBox4->currentItem()->text(), chosen);
    EXPECT_EQ(form.Button10->text(), "Abbrechen");
    // A repaint keeps them too.
    form.Surface()->repaint();
    EXPECT_EQ(form.Edit5->text(), "777");
    EXPECT_TRUE(form.ListBox4->currentItem()->isSelected());
    Press(form.Button10);

    // The delete mode's button reads German after a switch.
    form.Menu(MenuEntry::Delete1)->trigger();
    form.Menu(MenuEntry::English1)->trigger();
    EXPECT_EQ(form.Button9->text(), "Delete");
    form.Menu(MenuEntry::Deutsch1)->trigger();
    EXPECT_EQ(form.Button9->text(), "Löschen");
    (void)s;
}

TEST_F(WindowTest, SaveAndOpenThroughTheMenu)
{
    TForm1& form = OpenWithGame(2, 4);
    const std::string path = (dir_ / "game.tsg").string();
    // "Save" without a file asks for one.
    saveFile_ = QString::fromStdString(path);
    form.Menu(MenuEntry::Save1)->trigger();
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(form.SaveFileName(), saveFile_);
    const std::string saved = ReadFile(path);

    // Play on, then open the saved game again: it replaces the running one.
    Press(form.Button8);
    EXPECT_EQ(form.State().MonthCount, 2);
    Press(form.Button1);
    openFile_ = QString::fromStdString(path);
    form.Menu(MenuEntry::Open1)->trigger();
    EXPECT_EQ(form.State().MonthCount, 1);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);
    // Save writes to the file chosen in the save dialog, not asking again.
    saveFile_.clear();
    form.Menu(MenuEntry::Save1)->trigger();
    EXPECT_EQ(ReadFile(path), saved);

    // A file that is no savegame is refused and the game stays.
    const std::string bad = (dir_ / "bad.tsg").string();
    std::ofstream(bad) << "not a game\n";
    Press(form.Button8);
    recorder_.Messages.clear();
    openFile_ = QString::fromStdString(bad);
    form.Menu(MenuEntry::Open1)->trigger();
    EXPECT_EQ(form.State().MonthCount, 2);
    // Open goes straight to its dialog, as the game always did; the refusal is a warning.
    ASSERT_EQ(recorder_.Messages.size(), 1u);
    EXPECT_EQ(recorder_.Messages[0].Icon, MessageIcon::Warning);

    // Cancelling the open dialog changes nothing.
    openFile_.clear();
    form.Menu(MenuEntry::Open1)->trigger();
    EXPECT_EQ(form.State().MonthCount, 2);
}

TEST_F(WindowTest, AFileThatCannotBeOpenedForWritingLeadsToTheSaveDialog)
{
    TForm1& form = OpenWithGame(1);
    const QString good = QString::fromStdString((dir_ / "game.tsg").string());
    std::vector<QString> answers = {QString::fromStdString((dir_ / "no-such-dir" / "game.tsg").string()), good};
    int asked = 0;
    form.ChooseSaveFile = [&] { return asked < static_cast<int>(answers.size()) ? answers[asked++] : QString(); };
    form.Menu(MenuEntry::Saveas1)->trigger();
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(recorder_.Messages.size(), 2u) << "the take-over, then why the file cannot be opened";
    EXPECT_EQ(recorder_.Messages[1].Text, CannotOpenForSavingText(answers[0].toStdString(), SaveProblem::NoFolder));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "game.tsg"));
    EXPECT_EQ(form.SaveFileName(), good);
}

TEST_F(WindowTest, NewThroughTheSetupDialogStartsTheChosenGameAndCancelKeepsTheRunningOne)
{
    TForm1& form = Open();
    form.RunNewGameDialog = [](TNGDialog& dialog) {
        dialog.show();
        QTest::mouseClick(dialog.RadioButton2, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));  // Islands
        dialog.ComboBox3->setCurrentIndex(5);                                                  // town 4
        dialog.OKBtn->click();
        return dialog.result() == QDialog::Accepted;
    };
    form.Menu(MenuEntry::New1)->trigger();
    EXPECT_TRUE(form.State().GameActive);
    EXPECT_EQ(form.State().MapNumber, 2);
    EXPECT_EQ(form.State().SelectedTown, 4);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);
    const int32_t month = form.State().MonthCount;
    Press(form.Button8);
    form.RunNewGameDialog = [](TNGDialog&) { return false; };
    form.Menu(MenuEntry::New1)->trigger();
    EXPECT_EQ(form.State().MonthCount, month + 1);
    EXPECT_EQ(form.State().MapNumber, 2);
}
