/// @file window_save_names_test.cpp A save lands in the file the running game belongs to, and
/// the names file never renames the human players of a running game.
#include <QAction>
#include <QStatusBar>
#include <fstream>

#include "game/map_tables.h"
#include "persistence/savegame.h"
#include "platform/ini_file.h"
#include "ui/newgame.h"
#include "window_fixture.h"
#include "session_door.h"

namespace {

/// The month a savegame file holds; 0 when it does not load.
int32_t MonthIn(const std::filesystem::path& file, const std::string& programDirectory)
{
    GameState s;
    s.Program.ProgramDirectory = programDirectory;
    return LoadGameFile(s, file.string()) == LoadStatus::Loaded ? s.MonthCount : 0;
}

}  // namespace

TEST_F(WindowTest, SaveWritesToTheFileTheRunningGameCameFrom)
{
    TForm1& form = OpenWithGame(1);
    int saveDialogs = 0;
    form.ChooseSaveFile = [&] {
        ++saveDialogs;
        return saveFile_;
    };
    const std::filesystem::path a = dir_ / "a.tsg";
    const std::filesystem::path b = dir_ / "b.tsg";

    WritableState(form.Session()).MonthCount = 4;
    saveFile_ = QString::fromStdString(b.string());
    form.Menu(MenuEntry::Saveas1)->trigger();
    WritableState(form.Session()).MonthCount = 26;
    saveFile_ = QString::fromStdString(a.string());
    form.Menu(MenuEntry::Saveas1)->trigger();
    ASSERT_EQ(MonthIn(a, dir_.Str()), 26);
    ASSERT_EQ(MonthIn(b, dir_.Str()), 4);
    EXPECT_EQ(saveDialogs, 2);

    // Open B, play on, Save: B gets the month, A keeps its game.
    openFile_ = QString::fromStdString(b.string());
    form.Menu(MenuEntry::Open1)->trigger();
    ASSERT_EQ(form.State().MonthCount, 4);
    EXPECT_EQ(form.SaveFileName(), openFile_);
    WritableState(form.Session()).MonthCount = 5;
    form.Menu(MenuEntry::Save1)->trigger();
    EXPECT_EQ(saveDialogs, 2) << "Save knows its file";
    EXPECT_EQ(MonthIn(b, dir_.Str()), 5);
    EXPECT_EQ(MonthIn(a, dir_.Str()), 26);

    // A failed Open leaves the running game and its file as they were.
    std::ofstream(dir_ / "broken.tsg") << "not a game\n";
    for (const char* name : {"missing.tsg", "broken.tsg"}) {
        SCOPED_TRACE(name);
        recorder_.Messages.clear();
        openFile_ = QString::fromStdString((dir_ / name).string());
        form.Menu(MenuEntry::Open1)->trigger();
        EXPECT_EQ(recorder_.Messages.size(), 1u);
        EXPECT_EQ(form.State().MonthCount, 5);
        EXPECT_EQ(form.SaveFileName().toStdString(), b.string());
    }

    // A new game belongs to no file: its first Save asks for one, and cancelling writes nothing.
    form.StartNewGame(NewGameSettings{});
    EXPECT_TRUE(form.SaveFileName().isEmpty());
    saveFile_.clear();
    form.Menu(MenuEntry::Save1)->trigger();
    EXPECT_EQ(saveDialogs, 3);
    EXPECT_EQ(MonthIn(b, dir_.Str()), 5);
    EXPECT_EQ(MonthIn(a, dir_.Str()), 26);
}

TEST_F(WindowTest, CancellingTheNewGameDialogLeavesTheRunningGameEqualInEveryField)
{
    // A two-player game whose players typed their names, then the names file edited by hand.
    TForm1& form = Open();
    NewGameSettings settings;
    settings.Map = 2;
    settings.TwoPlayer = true;
    settings.Player1Start = 3;
    settings.Player2Start = 8;
    settings.Player1Name = "Alice Brewster";
    settings.Player2Name = "Bob";
    form.StartNewGame(settings);
    const std::string names = (dir_ / "TavrekNames.ini").string();
    for (int c = 1; c <= kCompanies; ++c)
        platform::WriteProfileString(names, "MAP2", "NAME" + std::to_string(c), "Hand edit");
    Press(form.Button8);  // player 2's turn

    const GameState before = form.State();
    const QString status = form.StatusText();
    form.RunNewGameDialog = [](TNGDialog& dialog) {
        dialog.show();
        dialog.CancelBtn->click();
        return dialog.result() == QDialog::Accepted;
    };
    form.Menu(MenuEntry::New1)->trigger();

    EXPECT_TRUE(static_cast<const GameData&>(form.State()) == static_cast<const GameData&>(before));
    EXPECT_EQ(SavegameText(form.State()), SavegameText(before));
    EXPECT_EQ(form.State().Program.Rng.State(), before.Program.Rng.State());
    EXPECT_EQ(form.StatusText(), status);
    EXPECT_EQ(form.State().CompanyName[before.PlayerCompany[0]], "Alice Brewster");
    EXPECT_EQ(form.State().CompanyName[before.PlayerCompany[1]], "Bob");
}

TEST_F(WindowTest, RestoreNamesKeepsThePlayersNameInTheGameTheStatusLineAndTheNextSave)
{
    TForm1& form = Open();
    NewGameSettings settings;
    settings.Map = 3;
    settings.Player1Start = 5;  // town 4
    settings.Player1Name = "Alice Brewster";
    form.StartNewGame(settings);
    const std::string names = (dir_ / "TavrekNames.ini").string();
    platform::WriteProfileString(names, "MAP3", "NAME1", "Hand edit");
    platform::WriteProfileString(names, "MAP3", "BREW5_1", "Hand brew");
    WritableState(form.Session()).CompanyName[0] = "Hand edit";
    WritableState(form.Session()).BrandName[4][0] = "Hand brew";
    WritableState(form.Session()).SelectedTown = 7;  // the status line shows a fresh town once rewritten

    recorder_.Answers = {true};
    form.Menu(MenuEntry::RestoreNames1)->trigger();

    const GameState& s = form.State();
    EXPECT_EQ(s.CompanyName[4], "Alice Brewster");
    EXPECT_EQ(s.CompanyName[0], kDefaultNames[2][0].Company);
    EXPECT_EQ(s.BrandName[4][0], kDefaultNames[2][4].Brands[0]);
    EXPECT_EQ(platform::ReadProfileString(names, "MAP3", "NAME1", "?", 30), kDefaultNames[2][0].Company);
    EXPECT_TRUE(form.StatusText().startsWith(QString("Alice Brewster in ") + kTownNames[2][7]))
        << form.StatusText().toStdString();

    // In the middle of a command, "Yes" keeps what the player typed; "No" changes nothing at all.
    Press(form.Button6);
    ASSERT_EQ(form.Panel().CommandMode, PanelMode::ChangePrices);
    for (const bool yes : {true, false}) {
        form.Edit2->setText("4.25");
        recorder_.Answers = {yes};
        form.Menu(MenuEntry::RestoreNames1)->trigger();
        EXPECT_EQ(form.Edit2->text(), "4.25") << yes;
        EXPECT_EQ(form.Panel().CommandMode, PanelMode::ChangePrices) << yes;
    }
    Press(form.Button10);

    saveFile_ = QString::fromStdString((dir_ / "after.tsg").string());
    form.Menu(MenuEntry::Saveas1)->trigger();
    GameState loaded;
    loaded.Program.ProgramDirectory = dir_.Str();
    ASSERT_EQ(LoadGameFile(loaded, (dir_ / "after.tsg").string()), LoadStatus::Loaded);
    EXPECT_EQ(loaded.CompanyName[4], "Alice Brewster");
}
