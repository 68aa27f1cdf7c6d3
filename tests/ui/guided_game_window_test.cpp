/// @file guided_game_window_test.cpp Game > Guided Game: the guided world played with the
/// window's own controls, each step ticked off in the box beside the window, the month report
/// read from the box, the same game as tavrek-sim's; leaving the guide keeps the game; a new game
/// ends the guide; both languages.
#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <filesystem>
#include <fstream>

#include "commands/guided_game.h"
#include "commands/logistics.h"
#include "commands/order_commands.h"
#include "game/map_tables.h"
#include "sim_runner.h"
#include "tools/tavrek_sim/sim_script.h"
#include "ui/guide_box.h"
#include "ui/history_window.h"
#include "window_fixture.h"

namespace {

const std::filesystem::path kScript =
    std::filesystem::path(TAVREK_HELP_DIR).parent_path().parent_path() / "tests" / "games" / "guided_game.txt";

std::string Heading(const GuideBox& box) { return box.Heading()->text().toStdString(); }

}  // namespace

class GuidedWindowTest : public WindowTest {
protected:
    GuideMenu& Guide() { return *form_->findChild<GuideMenu*>(); }

    // One scripted action as a player does it: a click on the town, or the command's button or
    // menu entry, its lists and fields, OK.
    void Act(const ScriptAction& a)
    {
        TForm1& form = *form_;
        const Command& d = a.Do;
        const GameState& s = form.State();
        if (d.Kind == CommandKind::SelectTown) {
            const TownRect& r = kTownHitRects[s.MapNumber - 1][d.Town];
            ClickAt((r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2);
            return;
        }
        const int c = s.CurrentCompany;
        const int t = s.SelectedTown;
        switch (d.Kind) {
        case CommandKind::ExtendBrewery:
            Press(form.Button2);
            Choose(form.ListBox1, QString::fromStdString(s.BrandName[c][d.Brand]));
            Type(form.Edit1, QString::fromStdString(d.Amount));
            break;
        case CommandKind::BuildDepot:
            Press(form.Button3);
            break;
        case CommandKind::ChangePrices:
            Press(form.Button6);
            Type(form.Edit2, QString::fromStdString(d.Prices[0]));
            break;
        case CommandKind::TransportBeer:
            Press(form.Button4);
            form.ListBox3->setCurrentRow(d.Brand);
            Choose(form.ListBox4, QString::fromStdString(TransportDestinationEntry(s, t, d.Town)));
            Type(form.Edit5, QString::fromStdString(d.Amount));
            break;
        case CommandKind::TransferMoney:
            Press(form.Button5);
            Choose(form.ListBox4, QString::fromStdString(s.TownName[d.Town]));
            Type(form.Edit5, QString::fromStdString(d.Amount));
            break;
        case CommandKind::NewOrder:
            form.Menu(MenuEntry::New2)->trigger();
            Choose(form.ListBox6, QString::fromStdString(OrderBeerEntry(s, c, d.Brand)));
            Choose(form.ListBox5, QString::fromStdString(s.TownName[d.FromTown]));
            Choose(form.ListBox4, QString::fromStdString(s.TownName[d.Town]));
            Type(form.Edit5, QString::fromStdString(d.Amount));
            break;
        default:
            FAIL() << "the guided script has no " << a.Text;
        }
        Press(form.Button9);
        EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle) << a.Text << " was refused";
    }
};

TEST_F(GuidedWindowTest, PlayedWithTheWindowsControlsEveryStepIsTickedOffAndTheGameIsTavrekSims)
{
    SimScript script;
    std::string error;
    ASSERT_TRUE(script.Load(kScript.string(), error)) << error;
    TForm1& form = Open();
    QAction* entry = Guide().Entry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "&Guided Game");
    EXPECT_TRUE(entry->isEnabled()) << "on the start screen too";
    entry->trigger();
    GuideBox* box = Guide().Box();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_TRUE(form.State().GameActive);
    EXPECT_EQ(form.State().TownName[form.State().SelectedTown], "Fotzingfors");

    // Each action of the script through the window; the box moves on exactly when its step is done.
    std::vector<std::string> headings = {Heading(*box)};
    for (const ScriptAction& action : script.Actions()) {
        Act(action);
        box->Refresh();
        if (Heading(*box) != headings.back())
            headings.push_back(Heading(*box));
    }
    EXPECT_FALSE(box->ReportButton()->isVisible()) << "no report before the month is closed";
    Press(form.Button8);
    box->Refresh();
    headings.push_back(Heading(*box));
    ASSERT_EQ(box->Progress().Step, GuidedStep::ReadReport);
    ASSERT_TRUE(box->ReportButton()->isVisible());
    Press(box->ReportButton());
    const HistoryDialog* report = form.findChild<HistoryMenu*>()->Dialog();
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->isVisible());
    EXPECT_EQ(report->Tabs()->currentIndex(), HistoryDialog::Report);
    box->Refresh();
    headings.push_back(Heading(*box));
    EXPECT_EQ(box->Progress().Step, GuidedStep::Done);
    EXPECT_EQ(box->LeaveButton()->text(), "&Close");
    EXPECT_EQ(box->StepList()->text().count(QString::fromUtf8("\u2713")), kGuidedSteps);

    std::vector<std::string> expected;
    for (int i = 0; i <= kGuidedSteps; ++i)
        expected.push_back("<b>" + GuidedStepText(form.State(), static_cast<GuidedStep>(i), Language::English).Title +
                           "</b>");
    EXPECT_EQ(headings, expected);

    // tavrek-sim's guided game with the same script is this very game.
    const auto simDir = dir_ / "sim";
    std::filesystem::create_directory(simDir);
    const SimRun run = RunSim("--dir " + simDir.string() + " --guided --months 1 --commands " + kScript.string() +
                              " --save " + (simDir / "guided.tsg").string());
    ASSERT_EQ(run.Status, 0) << run.Out;
    form.SaveGameFile(QString::fromStdString((dir_ / "window.tsg").string()));
    auto bytes = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(bytes(dir_ / "window.tsg"), bytes(simDir / "guided.tsg"));
}

TEST_F(GuidedWindowTest, LeavingTheGuideKeepsTheGameAndANewGameEndsIt)
{
    TForm1& form = Open();
    Guide().Entry()->trigger();
    GuideBox* box = Guide().Box();
    ASSERT_NE(box, nullptr);
    // Two clicks in quick succession: the guide looks after each, and the first step is seen
    // done though the town selected at the end is another.
    ScriptAction select;
    select.Do.Kind = CommandKind::SelectTown;
    select.Do.Town = kGuidedNeighbourTown;
    Act(select);
    select.Do.Town = kGuidedHomeTown;
    Act(select);
    QApplication::processEvents();
    EXPECT_EQ(box->Progress().Step, GuidedStep::SetPrice);
    const GameData before = form.State();

    Press(box->LeaveButton());
    EXPECT_FALSE(box->isVisible());
    EXPECT_FALSE(box->Following());
    EXPECT_TRUE(static_cast<const GameData&>(form.State()) == before) << "leaving the guide changes nothing";
    Press(form.Button8);
    EXPECT_EQ(form.State().MonthCount, 2) << "the game goes on";
    box->Refresh();
    EXPECT_EQ(box->Progress().Step, GuidedStep::SetPrice) << "the guide follows no more";

    // Started again, then replaced by New: the box says so and follows no more.
    Guide().Entry()->trigger();
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->Following());
    EXPECT_EQ(form.State().MonthCount, 1) << "the guided world afresh";
    NewGameSettings other;
    other.Map = 2;
    form.StartNewGame(other);
    EXPECT_FALSE(box->Following());
    EXPECT_EQ(box->Body()->text().toStdString(), kGuideWords.GameGone.English);
    EXPECT_EQ(box->LeaveButton()->text(), "&Close");
    // A new game of the guided kind from New is no guided game either.
    Guide().Entry()->trigger();
    ASSERT_TRUE(box->Following());
    form.StartNewGame(GuidedGameSettings());
    EXPECT_FALSE(box->Following());
}

TEST_F(GuidedWindowTest, TheGuideSpeaksTheGamesLanguage)
{
    TForm1& form = Open();
    form.Menu(MenuEntry::Deutsch1)->trigger();
    EXPECT_EQ(Guide().Entry()->text().toStdString(), kGuideWords.Menu.German);
    Guide().Entry()->trigger();
    GuideBox* box = Guide().Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Heading(*box), "<b>Schritt 1 von 9: Eine Stadt wählen</b>");
    EXPECT_EQ(box->windowTitle().toStdString(), kGuideWords.Caption.German);
    EXPECT_NE(box->Body()->text().indexOf("Kha'Sar"), -1);
    form.Menu(MenuEntry::English1)->trigger();
    EXPECT_EQ(Heading(*box), "<b>Step 1 of 9: Select a town</b>");
    EXPECT_EQ(box->LeaveButton()->text().toStdString(), kGuideWords.Leave.English);
}

TEST_F(GuidedWindowTest, WithTheComfortsAChangedGameIsOfferedForSavingFirst)
{
    comforts_ = true;
    TForm1& form = OpenWithGame(1, 3);
    Press(form.Button8);  // the game has changed
    // "Save the running game?" Cancel: the player stays in the game.
    recorder_.ThreeWayAnswers = {YesNoCancel::Cancel};
    Guide().Entry()->trigger();
    ASSERT_FALSE(recorder_.Messages.empty());
    EXPECT_TRUE(recorder_.Messages.back().Question);
    EXPECT_EQ(form.State().MonthCount, 2);
    EXPECT_EQ(Guide().Box(), nullptr) << "no guide without its game";
    // No: the game is given up.
    recorder_.ThreeWayAnswers = {YesNoCancel::No};
    Guide().Entry()->trigger();
    EXPECT_EQ(form.State().MonthCount, 1) << "the guided world replaced it";
    ASSERT_NE(Guide().Box(), nullptr);
    EXPECT_TRUE(Guide().Box()->Following());
}
