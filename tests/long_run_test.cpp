// Whole games played headless for fifty years: nothing overflows, no brewery shrinks below
// nothing, no account stops being a number; and a recorded game keeps its outcome.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/end_of_game.h"
#include "engine/turn.h"
#include "game/game_state.h"
#include "game/world_generation.h"
#include "recording_frontend.h"
#include "sim_runner.h"
#include "temp_dir.h"

namespace {

// The first thing wrong with the state, or an empty text.
std::string Fault(const GameState& s)
{
    for (int c = 0; c < kCompanies; ++c) {
        if (!std::isfinite(CompanyValue(s, c)))
            return "value of company " + std::to_string(c);
        for (int t = 0; t < kTowns; ++t) {
            if (!std::isfinite(s.Account[c][t]))
                return "account of company " + std::to_string(c) + " in town " + std::to_string(t);
            for (int b = 0; b < kBrands; ++b) {
                if (s.Capacity[c][b][t] < 0)
                    return "capacity of company " + std::to_string(c) + " brand " + std::to_string(b);
                if (!std::isfinite(s.ProductionCost[c][b][t]) || !std::isfinite(s.Price[c][b][t]))
                    return "cost or price of company " + std::to_string(c) + " brand " + std::to_string(b);
            }
        }
        for (int b = 0; b < kBrands; ++b)
            if (!std::isfinite(s.Quality[c][b]) || !std::isfinite(s.CostFactor[c][b]))
                return "brand " + std::to_string(b) + " of company " + std::to_string(c);
    }
    return {};
}

int64_t ComputerCapacity(const GameState& s)
{
    int64_t total = 0;
    for (int c = 0; c < kCompanies; ++c)
        if (!IsHumanCompany(s, c))
            for (int b = 0; b < kBrands; ++b)
                for (int t = 0; t < kTowns; ++t)
                    total += s.Capacity[c][b][t];
    return total;
}

}  // namespace

TEST(LongRun, SixHundredMonthsOnEveryMapStayInBounds)
{
    TempDir dir;
    int64_t largestComputerCapacity = 0;
    int endedGames = 0;
    for (int map = 1; map <= 3; ++map)
        for (bool expert : {false, true})
            for (uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
                GameState s;
                s.Program.ProgramDirectory = dir.Str();
                s.Program.Rng.Seed(seed);
                NewGameSettings settings;
                settings.Map = map;
                settings.Expert = expert;
                settings.TwoPlayer = seed == 5;
                // Nobody can win at 100 %: the computer companies trade until they fail.
                settings.AdvancedOptions = seed == 4;
                settings.WinningShareText = "100";
                RecordingFrontend f;
                GenerateWorld(s, settings, f);
                std::string fault;
                for (int month = 0; month < 600 && fault.empty(); ++month) {
                    for (int press = s.TwoPlayer ? 2 : 1; press > 0; --press)
                        NextTurn(s, f);
                    fault = Fault(s);
                    if (!fault.empty())
                        fault += " after month " + std::to_string(month + 1);
                    largestComputerCapacity = std::max(largestComputerCapacity, ComputerCapacity(s));
                }
                EXPECT_EQ(fault, "") << "map " << map << " expert " << expert << " seed " << seed;
                for (const auto& m : f.Messages)
                    if (m.Caption.English == "VICTORY!" || m.Text.English.rfind("You lose", 0) == 0)
                        ++endedGames;
            }
    // The computer companies do grow, and some games are decided within the fifty years.
    EXPECT_GT(largestComputerCapacity, 100000);
    EXPECT_GT(endedGames, 0);
}

TEST(LongRun, ARecordedGameKeepsItsOutcome)
{
    TempDir dir;
    const SimRun normal = RunSim("--dir " + dir.Str() + " --seed 7 --map 1 --months 240");
    ASSERT_EQ(normal.Status, 0);
    EXPECT_NE(normal.Out.find("Bankruptcy!: Kromberger's company has been liquidated!\n"), std::string::npos);
    EXPECT_NE(normal.Out.find("Inheritance!: A Beer-Fan from "), std::string::npos);
    EXPECT_NE(normal.Out.find("\nYou lose, Jonssen won the game!\n"), std::string::npos) << normal.Out;
    // The game goes on with empty companies until the last month: the human's company still
    // collects what the events bring.
    EXPECT_NE(normal.Out.find("\n4   Jonssen                                  0.00    0.00%"), std::string::npos);

    const SimRun expert = RunSim("--dir " + dir.Str() + " --seed 7 --map 1 --months 240 --expert");
    ASSERT_EQ(expert.Status, 0);
    EXPECT_NE(expert.Out.find("\nYou lose, Seasick II. won the game!\n"), std::string::npos) << expert.Out;
}
