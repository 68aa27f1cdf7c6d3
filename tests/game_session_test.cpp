// The session the window and tavrek-sim share: the file a game belongs to, the actions that need
// a running game, the language kept in the settings file. No directory is changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands/game_session.h"
#include "persistence/settings.h"
#include "recording_frontend.h"
#include "temp_dir.h"

namespace {

struct SessionFixture : ::testing::Test {
    TempDir dir;
    RecordingFrontend frontend;
    GameSession session{frontend, dir.Str()};
    std::string File(const char* name) const { return (dir / name).string(); }
};

}  // namespace

TEST_F(SessionFixture, WithoutAGameEveryActionThatNeedsOneDoesNothing)
{
    for (int mode = kModeIdle; mode <= kModeStatistics; ++mode) {
        session.EnterMode(mode);
        EXPECT_EQ(session.Panel().CommandMode, kModeNone) << mode;
    }
    session.NextTurn();
    session.PressOk(PanelInputs{});
    EXPECT_EQ(session.State().MonthCount, 1);
    EXPECT_EQ(session.Save(), SaveStatus::NoGame);
    EXPECT_EQ(session.SaveAs(File("none.tsg")), SaveStatus::NoGame);
    EXPECT_FALSE(std::filesystem::exists(File("none.tsg")));
    EXPECT_TRUE(session.SaveFile().empty());
    EXPECT_TRUE(frontend.Messages.empty());
    EXPECT_TRUE(frontend.Sounds.empty());
    EXPECT_TRUE(session.MayClose(false)) << "nothing to lose";
}

TEST_F(SessionFixture, SaveWritesWhereTheGameCameFromAndANewGameAsksForAFile)
{
    session.State().Program.Rng.Seed(5);
    session.NewGame(NewGameSettings{});
    EXPECT_EQ(session.Panel().CommandMode, kModeIdle);
    EXPECT_EQ(session.Save(), SaveStatus::CannotOpen) << "no file yet: the window asks for one";

    session.State().MonthCount = 9;
    ASSERT_EQ(session.SaveAs(File("a.tsg")), SaveStatus::Saved);
    session.State().MonthCount = 3;
    ASSERT_EQ(session.SaveAs(File("b.tsg")), SaveStatus::Saved);
    ASSERT_TRUE(session.Open(File("a.tsg")));
    EXPECT_EQ(session.State().MonthCount, 9);
    EXPECT_EQ(session.SaveFile(), File("a.tsg"));
    session.State().MonthCount = 10;
    ASSERT_EQ(session.Save(), SaveStatus::Saved);

    GameSession reader(frontend, dir.Str());
    ASSERT_EQ(reader.Load(File("a.tsg")), LoadStatus::Loaded);
    EXPECT_EQ(reader.State().MonthCount, 10);
    ASSERT_EQ(reader.Load(File("b.tsg")), LoadStatus::Loaded);
    EXPECT_EQ(reader.State().MonthCount, 3) << "the other file kept its game";

    // A failed Open keeps the running game and its file, and says why.
    frontend.Messages.clear();
    std::ofstream(File("junk.tsg")) << "junk\n";
    EXPECT_FALSE(session.Open(File("junk.tsg")));
    EXPECT_EQ(session.SaveFile(), File("a.tsg"));
    EXPECT_EQ(session.State().MonthCount, 10);
    EXPECT_EQ(frontend.EnglishTexts(), std::vector<std::string>{"This file is not a valid savegame!"});

    // Writing elsewhere leaves the game's file as it is.
    ASSERT_TRUE(session.WriteTo(File("copy.tsg")).Game);
    EXPECT_EQ(session.SaveFile(), File("a.tsg"));

    session.NewGame(NewGameSettings{});
    EXPECT_TRUE(session.SaveFile().empty());
}

TEST_F(SessionFixture, TheLanguageIsKeptInTheSettingsFileOfTheGamesFolder)
{
    session.SwitchLanguage(Language::German);
    EXPECT_EQ(session.State().Program.Language, Language::German);
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kLanguage), "2");
    session.SwitchLanguage(Language::English);
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kLanguage), "1");
}

TEST_F(SessionFixture, AHintOpensItsCommandInItsTown)
{
    session.OpenCommand(CommandKind::ChangePrices, 4);
    EXPECT_EQ(session.Panel().CommandMode, kModeNone) << "no game, nothing opens";
    session.NewGame(NewGameSettings{});
    struct Case {
        CommandKind kind;
        int town;
        int32_t mode;
    };
    for (const Case& c :
         {Case{CommandKind::ChangePrices, 4, kModeChangePrices},
          Case{CommandKind::TransferMoney, 0, kModeTransferMoney}, Case{CommandKind::BuildDepot, 9, kModeBuildDepot},
          Case{CommandKind::ExtendBrewery, 2, kModeExtendBrewery},
          Case{CommandKind::TransportBeer, 7, kModeTransportBeer}, Case{CommandKind::DeleteOrder, 3, kModeDeleteOrder},
          Case{CommandKind::BuildBrewery, 5, kModeBuildBrewery}}) {
        session.OpenCommand(c.kind, c.town);
        EXPECT_EQ(session.State().SelectedTown, c.town);
        EXPECT_EQ(session.Panel().CommandMode, c.mode) << static_cast<int>(c.kind);
    }
    // Kinds without a mode, and towns off the map, change nothing.
    const int town = session.State().SelectedTown;
    for (const Case& c : {Case{CommandKind::NextTurn, 1, 0}, Case{CommandKind::SelectTown, 1, 0},
                          Case{CommandKind::ChangePrices, 10, 0}, Case{CommandKind::ChangePrices, -1, 0}}) {
        session.OpenCommand(c.kind, c.town);
        EXPECT_EQ(session.State().SelectedTown, town);
        EXPECT_EQ(session.Panel().CommandMode, kModeBuildBrewery);
    }
    EXPECT_EQ(session.State().MonthCount, 1) << "no turn ended";
}
