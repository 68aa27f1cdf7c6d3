#include <gtest/gtest.h>

#include "commands/new_game_setup.h"
#include "game/map_tables.h"
#include "game/names_file.h"
#include "game/world_generation.h"
#include "persistence/savegame.h"
#include "persistence/settings.h"
#include "platform/ini_file.h"
#include "recording_frontend.h"
#include "temp_dir.h"

namespace {

struct SetupFixture : ::testing::Test {
    TempDir dir;
    GameState s;
    RecordingFrontend frontend;
    SetupFixture()
    {
        s.Program.ProgramDirectory = dir.Str();
        s.Program.Rng.Seed(17);
    }
    std::string NamesPath() const { return (dir / kNamesFileName).string(); }

    /// A game on the Islands a few commands into its first month, player 1 named Anna.
    void StartIslandGame()
    {
        NewGameSettings settings;
        settings.Map = 2;
        settings.Player1Start = 4;  // town 3
        settings.Player1Name = "Anna";
        GenerateWorld(s, settings, frontend);
        s.Account[3][3] += 1234.5L;
        s.SelectedTown = 7;
        s.MonthCount = 5;
    }
};

}  // namespace

TEST_F(SetupFixture, ListsHoldARandomEntryAndTheTenTownsOfEachMapInTheLanguage)
{
    struct Case {
        int language;
        const char* random;
    };
    for (const Case c : {Case{1, "Random Town"}, Case{2, "Zufällig"}}) {
        s.Program.Language = LanguageFromNumber(c.language);
        const NewGameSetup setup = PrepareNewGameSetup(s);
        for (int map = 1; map <= kMaps; ++map) {
            const auto& list = setup.StartTowns[map - 1];
            EXPECT_EQ(list[0], c.random) << "map " << map;
            for (int t = 0; t < kTowns; ++t)
                EXPECT_EQ(list[t + 1], kTownNames[map - 1][t]) << "map " << map << " town " << t;
        }
    }
    // The three maps' lists differ: each holds its own map's towns.
    EXPECT_NE(PrepareNewGameSetup(s).StartTowns[0][1], PrepareNewGameSetup(s).StartTowns[1][1]);
}

TEST_F(SetupFixture, NamesComeFromTheSettingsFileCutTo29Characters)
{
    EXPECT_EQ(PrepareNewGameSetup(s).Player1Name, "");
    EXPECT_EQ(PrepareNewGameSetup(s).Player2Name, "");

    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kPlayer1, "Jürgen"));
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kPlayer2, std::string(40, 'b')));
    const NewGameSetup setup = PrepareNewGameSetup(s);
    EXPECT_EQ(setup.Player1Name, "Jürgen");
    EXPECT_EQ(setup.Player2Name, std::string(29, 'b'));
}

TEST_F(SetupFixture, ARunningGameStaysEqualInEveryFieldEvenAfterTheNamesFileWasEdited)
{
    StartIslandGame();
    ASSERT_EQ(s.CompanyName[3], "Anna");
    // The player edits the names file while the game runs.
    platform::WriteProfileString(NamesPath(), "MAP2", "NAME6", "Edited Brewers");
    platform::WriteProfileString(NamesPath(), "MAP2", "BREW6_1", "Edited Ale");
    platform::WriteProfileString(NamesPath(), "MAP2", "NAME4", "Not the player");

    const GameState before = s;
    const NewGameSetup setup = PrepareNewGameSetup(s);

    EXPECT_TRUE(static_cast<const GameData&>(s) == static_cast<const GameData&>(before));
    EXPECT_EQ(s.CompanyName[3], "Anna");
    EXPECT_EQ(s.CompanyName[5], before.CompanyName[5]);
    EXPECT_EQ(s.Program.Rng.State(), before.Program.Rng.State());
    EXPECT_EQ(s.Program.ProgramDirectory, before.Program.ProgramDirectory);
    EXPECT_EQ(s.Program.Language, before.Program.Language);
    EXPECT_EQ(SavegameText(s), SavegameText(before));
    // The lists are those of all three maps all the same.
    EXPECT_EQ(setup.StartTowns[1][4], kTownNames[1][3]);
    EXPECT_EQ(setup.StartTowns[2][1], kTownNames[2][0]);
}

TEST_F(SetupFixture, WithoutAGameTheStateStaysAndTheNamesFileIsWritten)
{
    const GameState before = s;
    const NewGameSetup setup = PrepareNewGameSetup(s);
    EXPECT_TRUE(static_cast<const GameData&>(s) == static_cast<const GameData&>(before));
    EXPECT_EQ(platform::ReadProfileString(NamesPath(), "MAP3", "NAME1", "?", 30), kDefaultNames[2][0].Company);
    EXPECT_EQ(setup.StartTowns[2][10], kTownNames[2][9]);
}
