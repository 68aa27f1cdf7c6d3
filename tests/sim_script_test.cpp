// tavrek-sim --commands: whole games with scripted human play, a regression game whose outcome
// must not drift, and scripts refused before the game starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim_runner.h"
#include "temp_dir.h"

namespace {

const std::filesystem::path kGames = std::filesystem::path(TAVREK_TEST_DATA).parent_path() / "games";

struct TableRow {
    std::string Company;
    double Value = 0;
};

// The closing table of a run: number, company, value, share, capacity, sales.
std::vector<TableRow> FinalTable(const std::string& out)
{
    std::vector<TableRow> rows;
    const size_t start = out.rfind("no  company");
    std::istringstream lines(out.substr(start == std::string::npos ? out.size() : start));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.size() >= 6)
            rows.push_back({w[1], std::stod(w[w.size() - 4])});
    }
    return rows;
}

}  // namespace

// To renew the pinned output after an intended change of the game:
//   tavrek-sim --dir "$(mktemp -d)" --seed 2024 --map 1 --start 3 --months 40
//     --commands tests/games/brewer_takes_the_lead.txt > tests/games/brewer_takes_the_lead.out
// (one command line)
TEST(SimScript, TheBrewerTakesTheLead)
{
    TempDir dir;
    const SimRun run = RunSim("--dir " + dir.Str() + " --seed 2024 --map 1 --start 3 --months 40 --commands " +
                              (kGames / "brewer_takes_the_lead.txt").string());
    ASSERT_EQ(run.Status, 0) << run.Out;

    // The player builds, extends, ships, transfers, sets prices, keeps standing orders and buys
    // a brand; every one of those commands goes through.
    for (const char* refusal : {"Not enough", "not enough", "Please select", "No one offers", "already have"})
        EXPECT_EQ(run.Out.find(refusal), std::string::npos) << refusal;
    EXPECT_NE(run.Out.find("> 25 1 order money 2 2 100\nInvalid amount!\n> 26 1 transport 0 3 500\n"),
              std::string::npos)
        << "the one deliberate refusal, and the panel closed with Cancel";
    EXPECT_NE(run.Out.find("Do you want to buy it for  75300 $ ?\nanswer: no\n"), std::string::npos);
    EXPECT_NE(run.Out.find("Do you want to buy it for  73300 $ ?\nanswer: yes\n"), std::string::npos);

    const std::vector<TableRow> table = FinalTable(run.Out);
    ASSERT_EQ(table.size(), 10u) << run.Out;
    EXPECT_EQ(table[2].Company, "Wittig");
    for (size_t c = 0; c < table.size(); ++c) {
        if (c != 2) {
            EXPECT_GT(table[2].Value, 2 * table[c].Value) << "well ahead of " << table[c].Company;
        }
    }

    // The whole game, as played, must not drift.
    EXPECT_EQ(run.Out, ReadFile(kGames / "brewer_takes_the_lead.out"));
}

TEST(SimScript, EachPlayerActsInTheirOwnTurn)
{
    TempDir dir;
    WriteFile(dir / "two.txt",
              "# player 2's line comes first in the file but runs in player 2's turn\n"
              "1 2 transfer 5 100\n"
              "\n"
              "1 1 transfer 5 200\n"
              "2 1 select 4\n"
              "1 1 select 7\n"
              "3 2 depot\n");
    const SimRun run = RunSim("--dir " + dir.Str() +
                              " --seed 4 --map 1 --start 3 --start2 9 --no-events --months 2 "
                              "--commands " +
                              (dir / "two.txt").string());
    ASSERT_EQ(run.Status, 0) << run.Out;
    const size_t p1 = run.Out.find("> 1 1 transfer 5 200\n> 1 1 select 7\n> 1 2 transfer 5 100\n> 2 1 select 4\n");
    EXPECT_NE(p1, std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("> 3 2 depot"), std::string::npos) << "month 3 is never reached";
}

TEST(SimScript, ScriptFaultsNameTheLineAndStopBeforeTheGame)
{
    struct Case {
        const char* line;
        const char* reason;
    };
    const Case cases[] = {
        {"0 1 depot", "month"},
        {"x 1 depot", "month"},
        {"3 3 depot", "player must be 1 or 2"},
        {"3", "player must be 1 or 2"},
        {"3 1", "action is missing"},
        {"3 1 bulid-brewery 0", "unknown action 'bulid-brewery'"},
        {"3 1 build-brewery 3", "BRAND must be from 0 to 2"},
        {"3 1 select 10", "TOWN must be from 0 to 9"},
        {"3 1 extend 0", "usage: extend BRAND COUNT"},
        {"3 1 depot now", "usage: depot"},
        {"3 1 new-brand maybe", "yes or no"},
        {"3 1 prices 1 2", "usage: prices P1 P2 P3"},
        {"3 1 transport 0 10 5", "TOWN must be from 0 to 9"},
        {"3 1 order beer 0 1 5", "BRAND must be from 0 to 2"},
        {"3 1 delete-order 11 yes", "NUMBER must be from 1 to 10"},
        {"3 1 delete-order 1", "usage: delete-order NUMBER yes|no"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::filesystem::path script = dir / "script.txt";
        WriteFile(script, std::string("# a comment\n1 1 depot\n\n") + c.line + "\n");
        const std::filesystem::path game = dir / "game";
        std::filesystem::create_directory(game);
        const SimRun run = RunSim("--dir " + game.string() + " --months 3 --commands " + script.string(), true);
        EXPECT_EQ(run.Status, 2) << c.line;
        EXPECT_NE(run.Out.find(script.string() + ":4: "), std::string::npos) << c.line << "\n" << run.Out;
        EXPECT_NE(run.Out.find(c.reason), std::string::npos) << c.line << "\n" << run.Out;
        EXPECT_EQ(run.Out.find("take over"), std::string::npos) << "the game has not started";
        EXPECT_TRUE(std::filesystem::is_empty(game)) << c.line;
    }
    TempDir dir;
    const SimRun missing = RunSim("--dir " + dir.Str() + " --commands " + (dir / "nope.txt").string(), true);
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Out.find("cannot read the commands file"), std::string::npos) << missing.Out;
}
