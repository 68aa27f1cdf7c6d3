/// @file window_game_test.cpp Twelve months played through the window's own controls end in the
/// same savegame as the same game played by tavrek-sim: the window adds no rule of its own.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <fstream>
#include <sstream>

#include "commands/logistics.h"
#include "commands/order_commands.h"
#include "game/map_tables.h"
#include "sim_runner.h"
#include "tools/tavrek_sim/sim_script.h"
#include "window_fixture.h"

namespace {

// A year in Fotzingfors with every kind of command, refusals included.
constexpr const char* kScript = R"(1 1 prices 3.50 - -
1 1 extend 0 10
1 1 depot
2 1 order money 2 1 500
2 1 transfer 1 3000
2 1 select 1
2 1 build-brewery 0
3 1 select 2
3 1 transport 0 1 500
4 1 new-brand yes
5 1 delete-order 1 yes
6 1 order 0 2 1 300
7 1 extend 0 abc
8 1 extend 0 3
9 1 transfer 4 -
10 1 select 0
10 1 depot
11 1 new-brand no
12 1 prices 4 - -
)";

QListWidgetItem* StartingWith(QListWidget* list, const std::string& start)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().startsWith(QString::fromStdString(start)))
            return list->item(i);
    return nullptr;
}

}  // namespace

class WindowGameTest : public WindowTest {
protected:
    // One scripted action, done as a player does it: click, button or menu, lists, fields, OK.
    void Act(TForm1& form, const ScriptAction& a)
    {
        using Kind = CommandKind;
        const Command& d = a.Do;
        const GameState& s = form.State();
        if (d.Kind == Kind::SelectTown) {
            const TownRect& r = kTownHitRects[s.MapNumber - 1][d.Town];
            ClickAt((r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2);
            return;
        }
        auto choose = [](QListWidget* list, QListWidgetItem* item) {
            list->clearSelection();
            if (item)
                list->setCurrentItem(item);
        };
        auto exact = [](QListWidget* list, const std::string& text) {
            const auto items = list->findItems(QString::fromStdString(text), Qt::MatchExactly);
            return items.isEmpty() ? nullptr : items.front();
        };
        const int c = s.CurrentCompany;
        const int t = s.SelectedTown;
        switch (d.Kind) {
        case Kind::BuildBrewery:
            Press(form.Button1);
            choose(form.ListBox1, exact(form.ListBox1, s.BrandName[c][d.Brand]));
            break;
        case Kind::ExtendBrewery:
            Press(form.Button2);
            choose(form.ListBox1, exact(form.ListBox1, s.BrandName[c][d.Brand]));
            Type(form.Edit1, QString::fromStdString(d.Amount));
            break;
        case Kind::BuildDepot:
            Press(form.Button3);
            break;
        case Kind::NewBrand:
            Press(form.Button7);
            break;
        case Kind::ChangePrices:
            Press(form.Button6);
            Type(form.Edit2, QString::fromStdString(d.Prices[0]));
            Type(form.Edit3, QString::fromStdString(d.Prices[1]));
            Type(form.Edit4, QString::fromStdString(d.Prices[2]));
            break;
        case Kind::TransportBeer:
            Press(form.Button4);
            choose(form.ListBox3, StartingWith(form.ListBox3, Format("%d. ", d.Brand + 1)));
            choose(form.ListBox4, exact(form.ListBox4, TransportDestinationEntry(s, t, d.Town)));
            Type(form.Edit5, QString::fromStdString(d.Amount));
            break;
        case Kind::TransferMoney:
            Press(form.Button5);
            choose(form.ListBox4, exact(form.ListBox4, s.TownName[d.Town]));
            Type(form.Edit5, QString::fromStdString(d.Amount));
            break;
        case Kind::NewOrder:
            form.Menu(MenuEntry::New2)->trigger();
            choose(form.ListBox6, exact(form.ListBox6, d.Brand == kMoneyGoods ? std::string(kOrderMoneyEntry)
                                                                              : OrderBeerEntry(s, c, d.Brand)));
            choose(form.ListBox5, exact(form.ListBox5, s.TownName[d.FromTown]));
            choose(form.ListBox4, exact(form.ListBox4, s.TownName[d.Town]));
            Type(form.Edit5, QString::fromStdString(d.Amount));
            break;
        case Kind::DeleteOrder:
            form.Menu(MenuEntry::Delete1)->trigger();
            choose(form.ListBox2, StartingWith(form.ListBox2, Format("%d.:", d.Order)));
            break;
        default:
            FAIL() << "unexpected action " << a.Text;
        }
        if (d.Answer)
            recorder_.Answers = {*d.Answer};
        Press(form.Button9);
        recorder_.Answers.clear();
        if (form.Panel().CommandMode != PanelMode::Idle)
            Press(form.Button10);  // a refusal that keeps the panel open: the player gives up
    }
};

TEST_F(WindowGameTest, TwelveMonthsThroughTheWindowSaveTheSameGameAsTavrekSim)
{
    const auto scriptPath = dir_ / "year.txt";
    std::ofstream(scriptPath) << kScript;
    SimScript script;
    std::string error;
    ASSERT_TRUE(script.Load(scriptPath.string(), error)) << error;

    // The same game headless, in its own program directory.
    const auto simDir = dir_ / "sim";
    std::filesystem::create_directories(simDir);
    const auto simSave = dir_ / "sim.tsg";
    const SimRun run = RunSim("--dir " + simDir.string() + " --seed 2024 --map 1 --start 3 --months 12 --commands " +
                              scriptPath.string() + " --save " + simSave.string());
    ASSERT_EQ(run.Status, 0) << run.Out;

    TForm1& form = Open();
    form.Session().SetSeed(2024);
    NewGameSettings settings;
    settings.Map = 1;
    settings.Player1Start = 3;
    form.StartNewGame(settings);
    int actions = 0;
    for (int month = 0; month < 12; ++month) {
        for (const ScriptAction& a : script.Actions())
            if (a.Month == form.State().MonthCount && a.Player == 1) {
                Act(form, a);
                ++actions;
            }
        Press(form.Button8);  // Next Turn
    }
    EXPECT_EQ(actions, 19);
    EXPECT_EQ(form.State().MonthCount, 13);

    const QString windowSave = QString::fromStdString((dir_ / "window.tsg").string());
    saveFile_ = windowSave;
    form.Menu(MenuEntry::Saveas1)->trigger();
    const std::string expected = ReadFile(simSave);
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(ReadFile(windowSave.toStdString()) == expected) << "the window's game went another way";
    EXPECT_GT(recorder_.Messages.size(), 1u);  // refusals and the year's news were shown

    // The record the window kept beside its savegame plays the game again, headless, to the
    // same savegame bytes.
    const auto replayed = dir_ / "replayed.tsg";
    const SimRun replay = RunSim("--replay " + windowSave.toStdString() + ".history --save " + replayed.string());
    ASSERT_EQ(replay.Status, 0) << replay.Out;
    EXPECT_TRUE(ReadFile(replayed) == expected) << "the replay of the window's record went another way";
}
