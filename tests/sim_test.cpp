// tavrek-sim as a player or a bug report uses it: same seed, same game; bad arguments refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "sim_runner.h"
#include "temp_dir.h"

TEST(TavrekSim, TheSameSeedPlaysTheSameGame)
{
    TempDir a;
    TempDir b;
    const SimRun first = RunSim("--dir " + a.Str() + " --seed 1 --map 3 --months 120");
    const SimRun second = RunSim("--dir " + b.Str() + " --seed 1 --map 3 --months 120");
    const SimRun other = RunSim("--dir " + b.Str() + " --seed 2 --map 3 --months 120");
    ASSERT_EQ(first.Status, 0);
    EXPECT_EQ(first.Out, second.Out);
    EXPECT_NE(first.Out, other.Out);
    EXPECT_NE(first.Out.find("You take over the "), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(a / "TavrekNames.ini"));
}

TEST(TavrekSim, TwoPlayersAndNames)
{
    TempDir d;
    const SimRun run =
        RunSim("--dir " + d.Str() + " --seed 4 --map 1 --start 8 --start2 3 --name Anna --name2 Bert --months 2");
    ASSERT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out.rfind("Anna takes over the Fotzinger Beer-Brewery in Fotzingfors\n"
                            "Bert takes over the Lupolonia-Brewery in Wolfsburg\n",
                            0),
              0u)
        << run.Out;
    EXPECT_NE(run.Out.find("\n3   Anna "), std::string::npos) << run.Out;
}

TEST(TavrekSim, BadArgumentsAreRefusedWithoutTouchingFiles)
{
    TempDir d;
    const std::string dir = "--dir " + d.Str() + " ";
    for (const std::string& args : std::vector<std::string>{
             "--map 4", "--map 0", "--start 11", "--start2 -1", "--months -3", "--seed x", "--months 12x", "--bogus",
             "--map", "--seed -1", "--dir " + d.Str() + "/nope", "--load ''", "--save ''", "--commands ''",
             // Names the savegame cannot hold, as the new-game dialog refuses them.
             "--name 'Tab\there'", "--name \"$(printf 'Bell\\007')\"", "--name2 'Euro\u20ac ok, \u4e2d not'",
             "--name \"$(printf '\\033[31mred')\""}) {
        const SimRun run = RunSim(dir + args, true);
        EXPECT_EQ(run.Status, 2) << args;
        EXPECT_NE(run.Out.find("tavrek-sim: "), std::string::npos) << args;
        EXPECT_NE(run.Out.find("usage: tavrek-sim"), std::string::npos) << args;
        EXPECT_TRUE(std::filesystem::is_empty(d.Path())) << args;
        EXPECT_EQ(run.Out.find('\x1b'), std::string::npos) << args << ": the refusal prints no controls";
    }
    // What the savegame holds is taken.
    const SimRun euro = RunSim(dir + "--name 'M\u00fcller \u20ac' --months 0");
    EXPECT_EQ(euro.Status, 0);
    EXPECT_NE(euro.Out.find("M\u00fcller \u20ac"), std::string::npos) << euro.Out;
}

// The names file is anyone's to edit: names with escape sequences, bells and C1 controls reach
// the terminal as '?', while letters beyond ASCII stay.
TEST(TavrekSim, NamesFromTheNamesFileCannotSendEscapeSequences)
{
    TempDir d;
    WriteFile(d / "Tavrek!.ini", "[Options]\r\nInitialized=1\r\n[NAME]\r\nNAMEINI=1\r\n");
    // Saved in UTF-8, so that U+009B (a terminal's CSI) is a C1 control. Company 9 (town 8) is
    // the player's: its brand names the brewery taken over; the others are in the closing table.
    WriteFile(d / "TavrekNames.ini",
              "[MAP1]\r\nBREW9_1=\x1B[2J\x1B]0;pwned\x07Pils\r\nNAME1=M\u00FCller\x1B[31m\r\nNAME2=Csi\u009B"
              "6n\r\n");
    const SimRun run = RunSim("--dir " + d.Str() + " --seed 4 --map 1 --start 9 --months 1");
    ASSERT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out.find('\x1B'), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find('\x07'), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("\xC2\x9B"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("You take over the ?[2J?]0;pwned?Pils-Brewery in Melkerstiege"), std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("M\u00FCller?[31m"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("Csi?6n"), std::string::npos) << run.Out;
}

TEST(TavrekSim, HelpAndVersionAnswerAndPlayNothing)
{
    TempDir d;
    const std::string dir = "--dir " + d.Str() + " ";
    struct Case {
        std::string Args;
        std::string Starts;  ///< what standard output begins with
    };
    for (const Case& c : {Case{"--help", "usage: tavrek-sim"}, Case{"-h", "usage: tavrek-sim"},
                          Case{"--months 3 --help --bogus", "usage: tavrek-sim"},
                          Case{"--version", std::string("tavrek-sim ") + TAVREK_VERSION + "\n"}}) {
        const SimRun run = RunSim(dir + c.Args);
        EXPECT_EQ(run.Status, 0) << c.Args;
        EXPECT_EQ(run.Out.rfind(c.Starts, 0), 0u) << c.Args << ": " << run.Out;
        EXPECT_TRUE(std::filesystem::is_empty(d.Path())) << c.Args;
    }
    // The help names every option of the usage line.
    const SimRun help = RunSim("--help");
    for (const char* option :
         {"--dir",      "--seed",      "--map",    "--start", "--start2", "--name", "--name2",  "--expert",
          "--no-delay", "--no-events", "--reduce", "--share", "--months", "--save", "--load",   "--commands",
          "--history",  "--server",    "--ca",     "--host",  "--join",   "--help", "--version"})
        EXPECT_NE(help.Out.find(std::string("\n  ") + option + " "), std::string::npos) << option;
}

// Files named so that one output would replace another file of the run: refused before
// anything is played or written.
TEST(TavrekSim, FileNamesThatWouldOverwriteEachOtherAreRefused)
{
    TempDir d;
    const std::string at = d.Str() + "/";
    for (const std::string& args : std::vector<std::string>{
             "--save " + at + "x.tsg --history " + at + "x.tsg",
             "--save " + at + "x.tsg --history " + at + "x.tsg.history",
             "--save " + at + "x.tsg --history " + at + "./x.tsg.history",
             "--load " + at + "x.tsg --history " + at + "x.tsg",
             "--load " + at + "x.tsg --history " + at + "x.tsg.history",
             "--load " + at + "x.tsg --save " + at + "x.tsg.history",
             "--commands " + at + "c.txt --history " + at + "c.txt",
             "--commands " + at + "c.txt --save " + at + "c.txt",
             "--commands " + at + "c.txt.history --save " + at + "c.txt",
         }) {
        const SimRun run = RunSim("--dir " + d.Str() + " " + args, true);
        EXPECT_EQ(run.Status, 2) << args;
        EXPECT_NE(run.Out.find("names the same file as"), std::string::npos) << args << run.Out;
        EXPECT_TRUE(std::filesystem::is_empty(d.Path())) << args;
    }
    // Loading a game and saving it back to its own file is what --load and --save are for.
    ASSERT_EQ(RunSim("--dir " + d.Str() + " --seed 3 --months 1 --save " + at + "x.tsg").Status, 0);
    EXPECT_EQ(RunSim("--dir " + d.Str() + " --load " + at + "x.tsg --months 1 --save " + at + "x.tsg").Status, 0);
}

// A record that --load cannot use is dropped with a line on stderr; a record that --save cannot
// write fails the run after the savegame was written; a file at the record's name that is no
// record stays as it was.
TEST(TavrekSim, ARecordDroppedOrNotWrittenIsSaid)
{
    TempDir d;
    const std::string a = (d / "a.tsg").string();
    const std::string record = a + ".history";
    const std::string dir = "--dir " + d.Str() + " ";
    ASSERT_EQ(RunSim(dir + "--seed 3 --months 3 --save " + (d / "b.tsg").string()).Status, 0);
    ASSERT_EQ(RunSim(dir + "--seed 4 --months 2 --save " + a).Status, 0);
    const std::string good = ReadFile(record);
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* says;  ///< what the line on stderr names; empty: no line
    };
    const Case loads[] = {
        {"whole", [&] { WriteFile(record, good); }, ""},
        {"missing", [&] { std::filesystem::remove(record); }, ""},
        {"damaged", [&] { WriteFile(record, good.substr(0, good.size() / 2)); }, "cut off or changed"},
        {"another game's", [&] { WriteFile(record, ReadFile(d / "b.tsg.history")); }, "another game"},
        {"a folder", [&] { std::filesystem::create_directory(record); }, "cannot read"},
    };
    for (const Case& c : loads) {
        std::filesystem::remove_all(record);
        c.arrange();
        const SimRun run = RunSim(dir + "--load " + a + " --months 1", true);
        EXPECT_EQ(run.Status, 0) << c.what << run.Out;
        const auto line = run.Out.find("tavrek-sim: the history beside '" + a + "' was dropped (");
        if (*c.says) {
            ASSERT_NE(line, std::string::npos) << c.what << run.Out;
            EXPECT_NE(run.Out.find(c.says, line), std::string::npos) << c.what << run.Out;
        } else {
            EXPECT_EQ(run.Out.find("tavrek-sim:"), std::string::npos) << c.what << run.Out;
        }
    }

    const std::string notes = "my notes\n";
    const Case saves[] = {
        {"a file of the player's", [&] { WriteFile(record, notes); }, "is not a history file: it stays as it is"},
        {"a folder", [&] { std::filesystem::create_directory(record); }, "is not a history file"},
    };
    for (const Case& c : saves) {
        std::filesystem::remove_all(record);
        std::filesystem::remove(a);
        c.arrange();
        const SimRun run = RunSim(dir + "--seed 4 --months 2 --save " + a, true);
        EXPECT_EQ(run.Status, 1) << c.what << run.Out;
        EXPECT_NE(run.Out.find("tavrek-sim: the game was saved to '" + a + "', but not its history: "),
                  std::string::npos)
            << c.what << run.Out;
        EXPECT_NE(run.Out.find(c.says), std::string::npos) << c.what << run.Out;
        EXPECT_TRUE(std::filesystem::is_regular_file(a)) << c.what << ": the game is saved all the same";
        if (std::filesystem::is_regular_file(record)) {
            EXPECT_EQ(ReadFile(record), notes) << c.what;
        }
    }
}

TEST(TavrekSim, AdviseGivesEachHumanPlayersHintsAndChangesNothing)
{
    TempDir a;
    TempDir b;
    const std::string game = " --seed 4 --map 1 --start 8 --start2 3 --months 4";
    const SimRun plain = RunSim("--dir " + a.Str() + game);
    const SimRun advised = RunSim("--dir " + b.Str() + game + " --advise");
    ASSERT_EQ(advised.Status, 0);
    std::istringstream lines(advised.Out);
    std::string rest;
    std::map<std::pair<int, int>, int> perTurn;  // (month, player) -> hints
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("advice ", 0) != 0) {
            rest += line + "\n";
            continue;
        }
        int month = 0;
        int player = 0;
        int used = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "advice %d %d: %n", &month, &player, &used), 2) << line;
        EXPECT_GT(used, 0) << line;
        EXPECT_GT(line.size(), static_cast<size_t>(used)) << "a hint has a text: " << line;
        EXPECT_TRUE(player == 1 || player == 2) << line;
        EXPECT_TRUE(month >= 1 && month <= 4) << line;
        ++perTurn[{month, player}];
    }
    EXPECT_EQ(rest, plain.Out) << "the hints only read the game";
    EXPECT_TRUE(perTurn.count({1, 1}) && perTurn.count({1, 2})) << "both players get hints in this game";
    for (const auto& [turn, count] : perTurn)
        EXPECT_LE(count, 5) << turn.first << " " << turn.second;
}
