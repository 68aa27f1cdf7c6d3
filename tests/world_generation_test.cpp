#include <gtest/gtest.h>

#include <numeric>

#include "game/map_tables.h"
#include "game/world_generation.h"
#include "persistence/savegame.h"
#include "platform/ini_file.h"
#include "recording_frontend.h"
#include "temp_dir.h"

namespace {

struct World {
    TempDir dir;
    GameState state;
    RecordingFrontend frontend;

    explicit World(const NewGameSettings& settings, uint32_t seed = 1)
    {
        state.Program.ProgramDirectory = dir.Str();
        state.Program.Rng.Seed(seed);
        GenerateWorld(state, settings, frontend);
    }
};

NewGameSettings Settings(int map, int start1, int start2 = -1)
{
    NewGameSettings s;
    s.Map = map;
    s.Player1Start = start1;
    if (start2 >= 0) {
        s.TwoPlayer = true;
        s.Player2Start = start2;
    }
    return s;
}

}  // namespace

TEST(MapTables, TransportCostsAreSymmetricWithAZeroDiagonal)
{
    GameState s;
    for (int map = 1; map <= kMaps; ++map) {
        s.MapNumber = map;
        for (int a = 0; a < kTowns; ++a) {
            EXPECT_EQ(TransportCost(s, a, a), 0);
            for (int b = 0; b < kTowns; ++b) {
                EXPECT_EQ(TransportCost(s, a, b), TransportCost(s, b, a)) << map << ": " << a << "-" << b;
                if (a != b) {
                    EXPECT_GT(TransportCost(s, a, b), 0);
                }
            }
        }
    }
    s.MapNumber = 1;
    EXPECT_EQ(TransportCost(s, 2, 7), 27);
    s.MapNumber = 2;
    for (int t = 1; t < kTowns; ++t)
        if (t != 5) {
            EXPECT_EQ(TransportCost(s, 0, t), TransportCost(s, 5, t));
        }
    EXPECT_EQ(TransportCost(s, 0, 5), 50);
}

TEST(WorldGeneration, EveryCompanyStartsWithOneBreweryAtHome)
{
    const int totals[] = {114000, 61000, 144000};
    for (int map = 1; map <= kMaps; ++map) {
        World w(Settings(map, 1));
        const GameState& s = w.state;
        EXPECT_TRUE(s.GameActive);
        EXPECT_EQ(s.MonthCount, 1);
        EXPECT_EQ(std::accumulate(s.Demand.begin(), s.Demand.end(), 0), totals[map - 1]);
        EXPECT_EQ(s.TownName[0], kTownNames[map - 1][0]);
        EXPECT_EQ(s.CompanyName[3], kDefaultNames[map - 1][3].Company);
        for (int c = 0; c < kCompanies; ++c) {
            EXPECT_TRUE(BrandExists(s, c, 0));
            EXPECT_FALSE(BrandExists(s, c, 1));
            EXPECT_FALSE(BrandExists(s, c, 2));
            EXPECT_EQ(s.Quality[c][0], kStartTables[map - 1].Quality[c]);
            for (int t = 0; t < kTowns; ++t) {
                EXPECT_EQ(s.Capacity[c][0][t], t == c ? 1000 : 0);
                EXPECT_EQ(s.Stock[c][0][t], t == c ? 1000 : 0);
                EXPECT_EQ(s.Price[c][0][t], static_cast<float>(3.0L * s.Quality[c][0]));
                EXPECT_EQ(s.Account[c][t], t == c ? 20000.0L : 0.0L);
                EXPECT_FALSE(s.HasDepot[c][t]);
                EXPECT_EQ(s.StandingOrder[c][t].Kind, kOrderEmpty);
            }
        }
    }
    World w(Settings(1, 1));
    EXPECT_EQ(w.state.Price[0][0][4], 3.75f) << "quality 1.25 sells at 3.75";
}

TEST(WorldGeneration, ExpertComputerCompaniesStartRich)
{
    NewGameSettings settings = Settings(1, 1);
    settings.Expert = true;
    World w(settings);
    const GameState& s = w.state;
    EXPECT_EQ(s.Account[0][0], 20000.0L);
    for (int t = 0; t < kTowns; ++t)
        EXPECT_FALSE(s.HasDepot[0][t]);
    for (int c = 1; c < kCompanies; ++c) {
        EXPECT_EQ(s.Account[c][c], 150000.0L);
        for (int t = 0; t < kTowns; ++t)
            EXPECT_TRUE(s.HasDepot[c][t]);
    }
}

TEST(WorldGeneration, PlayersAndTheirTowns)
{
    {  // Anna picks town 7, Bert town 2: the lower company moves first, names follow players.
        NewGameSettings settings = Settings(1, 8, 3);
        settings.Player1Name = "Anna";
        settings.Player2Name = "Bert";
        World w(settings);
        const GameState& s = w.state;
        EXPECT_EQ(s.PlayerCompany[0], 2);
        EXPECT_EQ(s.PlayerCompany[1], 7);
        EXPECT_EQ(s.PlayerTown[0], 2);
        EXPECT_EQ(s.PlayerTown[1], 7);
        EXPECT_EQ(s.CurrentCompany, 2);
        EXPECT_EQ(s.SelectedTown, 2);
        EXPECT_EQ(s.CompanyName[2], "Anna");
        EXPECT_EQ(s.CompanyName[7], "Bert");
        ASSERT_EQ(w.frontend.Messages.size(), 2u);
        EXPECT_EQ(w.frontend.Messages[0].Text.English, "Anna takes over the Fotzinger Beer-Brewery in Fotzingfors");
        EXPECT_EQ(w.frontend.Messages[1].Text.German, "Bert übernimmt die Lupolonia-Brauerei in Wolfsburg");
        const std::string ini = (w.dir / "Tavrek!.ini").string();
        EXPECT_EQ(platform::ReadProfileString(ini, "Name", "Player1", "", 30), "Anna");
        EXPECT_EQ(platform::ReadProfileString(ini, "Name", "Player2", "", 30), "Bert");
    }
    {  // Both pick town 4: player 2 gets a random other company; the draws are the game's.
        GameRandom rng;
        rng.Seed(5);
        int expected = rng.Random(10);
        while (expected == 3)
            expected = rng.Random(10);
        World w(Settings(2, 4, 4), 5);
        EXPECT_EQ(w.state.PlayerCompany[0], std::min(3, expected));
        EXPECT_EQ(w.state.PlayerCompany[1], std::max(3, expected));
        EXPECT_EQ(w.state.Program.Rng.State(), rng.State());
    }
    {  // One player in a random town: one draw; the other player's entries are -1.
        GameRandom rng;
        rng.Seed(9);
        const int expected = rng.Random(10);
        World w(Settings(3, 0), 9);
        EXPECT_EQ(w.state.CurrentCompany, expected);
        EXPECT_EQ(w.state.SelectedTown, expected);
        EXPECT_EQ(w.state.PlayerCompany[1], -1);
        EXPECT_EQ(w.state.PlayerTown[1], -1);
        ASSERT_EQ(w.frontend.Messages.size(), 1u);
        EXPECT_EQ(w.frontend.Messages[0].Text.English.rfind("You take over the ", 0), 0u);
        EXPECT_EQ(w.frontend.StatusLines.back().English,
                  w.state.CompanyName[expected] + " in " + w.state.TownName[expected] + ", January 1750");
    }
}

// What a player sees is what is saved: a name that reached the game past the name fields (the
// command line, an older settings file) is kept as the settings file and the savegame hold it,
// control characters included.
TEST(WorldGeneration, PlayersNamesAreKeptAsTheFilesHoldThem)
{
    NewGameSettings settings = Settings(1, 8, 3);
    settings.Player1Name = "\u4E2D\u6587\u540D\u5B57";
    settings.Player2Name = "Zo\u00EB\x1B[31m\tBerg";
    World w(settings);
    const GameState& s = w.state;
    EXPECT_EQ(s.CompanyName[2], "????");
    EXPECT_EQ(s.CompanyName[7], "Zo\u00EB [31m Berg");
    const std::string ini = (w.dir / "Tavrek!.ini").string();
    EXPECT_EQ(platform::ReadProfileString(ini, "Name", "Player1", "", 30), s.CompanyName[2]);
    EXPECT_EQ(platform::ReadProfileString(ini, "Name", "Player2", "", 30), s.CompanyName[7]);

    GameState loaded;
    loaded.Program.ProgramDirectory = w.dir.Str();
    const auto content = ParseSavegame(SavegameText(s));
    ASSERT_TRUE(content);
    ApplySavegame(loaded, *content);
    EXPECT_EQ(loaded.CompanyName[2], s.CompanyName[2]);
    EXPECT_EQ(loaded.CompanyName[7], s.CompanyName[7]);
}

TEST(WorldGeneration, WinningShareText)
{
    struct Case {
        const char* text;
        bool advanced;
        double share;
    };
    const Case cases[] = {{"45", true, 50},  {"abc", true, 50},  {"100", true, 100}, {"75", true, 75},
                          {"99.", true, 99}, {"999", true, 100}, {"", true, 50},     {"-80", true, 50},
                          {"75", false, 60}, {"5000", true, 100}};
    for (const auto& c : cases) {
        NewGameSettings settings = Settings(1, 1);
        settings.AdvancedOptions = c.advanced;
        settings.ReduceCapacities = true;
        settings.WinningShareText = c.text;
        World w(settings);
        EXPECT_EQ(w.state.WinningShare, c.share) << '"' << c.text << '"';
        EXPECT_EQ(w.state.ReduceCapacities, c.advanced);
    }
}
