// tavrek-sim without --dir keeps the settings and names files where the window would: inside a
// game folder there, otherwise in the user's data directory, never in a folder it was merely
// started from.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "sim_runner.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// tavrek-sim started in `work` with the environment changed by `env` (env(1)'s arguments: NAME=VALUE,
// -u NAME); its standard output and error.
SimRun SimIn(const fs::path& work, const std::string& env, const std::string& args)
{
    const std::string command =
        "cd '" + work.string() + "' && env " + env + " " + TAVREK_SIM_PATH + " " + args + " 2>&1";
    SimRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer{};
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.Out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

bool IsEmptyFolder(const fs::path& dir) { return fs::is_directory(dir) && fs::is_empty(dir); }

}  // namespace

TEST(SimFolder, WithoutDirTheSettingsGoWhereTheWindowKeepsThem)
{
    TempDir root;
    const fs::path work = root / "work", home = root / "home", xdg = root / "xdg", game = root / "game";
    for (const fs::path& dir : {work, home, game / "help"})
        fs::create_directories(dir);
    WriteFile(game / "sound01.wav", "RIFF");
    WriteFile(game / "help" / "index1.html", "<html></html>");

    // Started from an ordinary folder: the user's data directory, made for its owner only.
    SimRun run = SimIn(work, "-u XDG_DATA_HOME HOME='" + home.string() + "'", "--seed 3 --months 1");
    ASSERT_EQ(run.Status, 0) << run.Out;
    const fs::path data = home / ".local" / "share" / "tavrek";
    EXPECT_TRUE(fs::is_regular_file(data / "Tavrek!.ini")) << run.Out;
    struct stat info {};
    ASSERT_EQ(::stat(data.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(IsEmptyFolder(work)) << "nothing is written where it was started";

    // XDG_DATA_HOME names the data directory.
    run = SimIn(work, "XDG_DATA_HOME='" + xdg.string() + "' HOME='" + home.string() + "'", "--seed 3 --months 1");
    ASSERT_EQ(run.Status, 0) << run.Out;
    EXPECT_TRUE(fs::is_regular_file(xdg / "tavrek" / "Tavrek!.ini")) << run.Out;
    EXPECT_TRUE(IsEmptyFolder(work));

    // Inside a game folder: everything stays there, as the game always did.
    const fs::path otherHome = root / "home2";
    fs::create_directories(otherHome);
    run = SimIn(game, "-u XDG_DATA_HOME HOME='" + otherHome.string() + "'", "--seed 3 --months 1");
    ASSERT_EQ(run.Status, 0) << run.Out;
    EXPECT_TRUE(fs::is_regular_file(game / "Tavrek!.ini")) << run.Out;
    EXPECT_TRUE(IsEmptyFolder(otherHome));

    // --dir still wins over both.
    const fs::path chosen = root / "chosen";
    fs::create_directories(chosen);
    run = SimIn(game, "-u XDG_DATA_HOME HOME='" + otherHome.string() + "'",
                "--dir '" + chosen.string() + "' --seed 3 --months 1");
    ASSERT_EQ(run.Status, 0) << run.Out;
    EXPECT_TRUE(fs::is_regular_file(chosen / "Tavrek!.ini")) << run.Out;
}

TEST(SimFolder, NoPlaceForTheSettingsIsAnErrorAndAnEmptyDirIsRefused)
{
    TempDir root;
    // Neither HOME nor XDG_DATA_HOME: nothing is played, and the reason is told.
    SimRun run = SimIn(root.Path(), "-u XDG_DATA_HOME -u HOME", "--seed 3 --months 1");
    EXPECT_EQ(run.Status, 1) << run.Out;
    EXPECT_NE(run.Out.find("XDG_DATA_HOME"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("company"), std::string::npos) << "no game was played: " << run.Out;
    EXPECT_TRUE(IsEmptyFolder(root.Path()));

    // An empty --dir is a bad argument, not "no --dir".
    run = SimIn(root.Path(), "-u XDG_DATA_HOME", "--dir '' --months 1");
    EXPECT_EQ(run.Status, 2) << run.Out;
    EXPECT_NE(run.Out.find("--dir"), std::string::npos) << run.Out;
}
