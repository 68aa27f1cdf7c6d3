// tavrek-sim as a player or a bug report uses it: same seed, same game; bad arguments refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
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
    for (const std::string& args :
         std::vector<std::string>{"--map 4", "--map 0", "--start 11", "--start2 -1", "--months -3", "--seed x",
                                  "--months 12x", "--bogus", "--map", "--seed -1", "--dir " + d.Str() + "/nope",
                                  "--load ''", "--save ''", "--commands ''"}) {
        const SimRun run = RunSim(dir + args, true);
        EXPECT_EQ(run.Status, 2) << args;
        EXPECT_NE(run.Out.find("tavrek-sim: "), std::string::npos) << args;
        EXPECT_NE(run.Out.find("usage: tavrek-sim"), std::string::npos) << args;
        EXPECT_TRUE(std::filesystem::is_empty(d.Path())) << args;
    }
}
