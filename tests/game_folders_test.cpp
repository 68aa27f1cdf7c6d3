// Where the game keeps the player's files and finds its own: a game folder (the working
// directory or the program's own folder) keeps everything, an installed game uses the user's
// data directory and the install prefix; the first start's migration works in both.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "persistence/settings.h"
#include "persistence/game_folders.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Lays out the game's own files in a folder, as the build's game folder holds them.
void MakeGameFolder(const fs::path& dir)
{
    fs::create_directories(dir / "help");
    WriteFile(dir / "sound01.wav", "RIFF");
    WriteFile(dir / "help" / "index1.html", "<html></html>");
}

// A working directory, a program folder inside an install prefix, and a home.
struct Machine {
    TempDir root;
    fs::path Work() const { return root / "work"; }
    fs::path Bin() const { return root / "usr" / "bin"; }
    fs::path Home() const { return root / "home"; }
    Machine()
    {
        fs::create_directories(Work());
        fs::create_directories(Bin());
        fs::create_directories(root / "usr" / "share" / "tavrek");
        fs::create_directories(Home());
    }
    FolderClues Clues() const
    {
        return {Work().string(), Bin().string(), "../share/tavrek", std::nullopt, Home().string()};
    }
};

}  // namespace

TEST(GameFolders, AGameFolderHoldsTheFirstSoundAndTheEnglishHelpPage)
{
    struct Case {
        const char* Name;
        bool Sound;
        bool Help;
        bool SoundIsAFolder;
        bool Expected;
    };
    for (const Case& c : {Case{"both", true, true, false, true}, Case{"sound only", true, false, false, false},
                          Case{"help only", false, true, false, false}, Case{"neither", false, false, false, false},
                          Case{"a folder named like the sound", false, true, true, false}}) {
        TempDir d;
        if (c.Sound)
            WriteFile(d / "sound01.wav", "RIFF");
        if (c.SoundIsAFolder)
            fs::create_directory(d / "sound01.wav");
        if (c.Help) {
            fs::create_directory(d / "help");
            WriteFile(d / "help" / "index1.html", "<html></html>");
        }
        EXPECT_EQ(IsGameFolder(d.Str()), c.Expected) << c.Name;
    }
    EXPECT_FALSE(IsGameFolder(""));
    EXPECT_FALSE(IsGameFolder("/nonexistent/tavrek-folder"));
}

TEST(GameFolders, TheUserDataDirectoryFollowsTheXdgRules)
{
    struct Case {
        std::optional<std::string> Xdg;
        std::optional<std::string> Home;
        std::optional<std::string> Expected;
    };
    const std::vector<Case> cases = {
        {"/data", "/home/ida", "/data/tavrek"},
        {"/data/", "/home/ida", "/data/tavrek"},
        {std::nullopt, "/home/ida", "/home/ida/.local/share/tavrek"},
        {"", "/home/ida", "/home/ida/.local/share/tavrek"},               // empty: as if unset
        {"relative/data", "/home/ida", "/home/ida/.local/share/tavrek"},  // relative: ignored
        {"/data", std::nullopt, "/data/tavrek"},
        {std::nullopt, std::nullopt, std::nullopt},
        {"", "", std::nullopt},
        {std::nullopt, "home/ida", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UserDataDirectory(c.Xdg, c.Home), c.Expected)
            << c.Xdg.value_or("(unset)") << " " << c.Home.value_or("(unset)");
}

TEST(GameFolders, AGameFolderKeepsEverythingAndOtherwiseTheGameIsInstalled)
{
    struct Case {
        const char* Name;
        bool WorkIsGameFolder;
        bool BinIsGameFolder;
        bool StartedInTheInstall;    ///< the working directory is the install's data folder
        std::string ExpectedPlayer;  ///< "work", "bin" or "data"
        std::string ExpectedGame;    ///< "work", "bin" or "share"
    };
    for (const Case& c : {Case{"started inside a game folder", true, false, false, "work", "work"},
                          Case{"inside one game folder, the program in another", true, true, false, "work", "work"},
                          Case{"a game folder started from elsewhere", false, true, false, "bin", "bin"},
                          Case{"installed, started from a launcher", false, false, false, "data", "share"},
                          Case{"installed, started inside its data folder", false, false, true, "data", "share"}}) {
        Machine m;
        if (c.WorkIsGameFolder)
            MakeGameFolder(m.Work());
        if (c.BinIsGameFolder)
            MakeGameFolder(m.Bin());
        FolderClues clues = m.Clues();
        if (c.StartedInTheInstall) {
            MakeGameFolder(m.root / "usr" / "share" / "tavrek");
            clues.WorkingDirectory = (m.root / "usr" / "share" / "tavrek").string();
        }
        const auto where = [&](const std::string& name) {
            return name == "work"    ? m.Work().string()
                   : name == "bin"   ? m.Bin().string()
                   : name == "share" ? (m.root / "usr" / "share" / "tavrek").string()
                                     : (m.Home() / ".local" / "share" / "tavrek").string();
        };
        std::string why;
        const std::optional<GameFolders> folders = ChooseGameFolders(clues, why);
        ASSERT_TRUE(folders) << c.Name << ": " << why;
        EXPECT_EQ(folders->Data, where(c.ExpectedPlayer)) << c.Name;
        EXPECT_EQ(folders->Resources, where(c.ExpectedGame)) << c.Name;
        EXPECT_EQ(folders->Installed, c.ExpectedPlayer == "data") << c.Name;
    }
}

TEST(GameFolders, AnInstalledGameWithoutHomeOrXdgDataHomeSaysSo)
{
    Machine m;
    FolderClues clues = m.Clues();
    clues.Home.reset();
    std::string why;
    EXPECT_FALSE(ChooseGameFolders(clues, why));
    EXPECT_NE(why.find("XDG_DATA_HOME"), std::string::npos) << why;
    EXPECT_NE(why.find("HOME"), std::string::npos) << why;

    // An absolute install folder is taken as it is; XDG_DATA_HOME is enough without HOME.
    clues.XdgDataHome = (m.root / "xdg").string();
    clues.InstalledResources = "/opt/tavrek/share";
    const auto folders = ChooseGameFolders(clues, why);
    ASSERT_TRUE(folders);
    EXPECT_EQ(folders->Data, (m.root / "xdg" / "tavrek").string());
    EXPECT_EQ(folders->Resources, "/opt/tavrek/share");
}

TEST(GameFolders, ProgramsInTheGamesFolderFindTheInstallsDataFolder)
{
    // The install puts the programs in <prefix>/games, as Debian's games; the way to the data
    // folder compiled into them leads from there to <prefix>/share/tavrek. That folder holds the
    // game's files but is the system's: the player's files go to the user's data directory.
    TempDir root;
    const fs::path prefix = root / "usr";
    const fs::path programs = prefix / TAVREK_INSTALL_GAMESDIR;
    const fs::path share = prefix / "share" / "tavrek";
    fs::create_directories(programs);
    MakeGameFolder(share);
    fs::create_directories(root / "home");
    for (const fs::path& working : {root / "home", share, programs}) {
        const FolderClues clues{working.string(), programs.string(), TAVREK_INSTALLED_RESOURCES, std::nullopt,
                                (root / "home").string()};
        std::string why;
        const std::optional<GameFolders> folders = ChooseGameFolders(clues, why);
        ASSERT_TRUE(folders) << why;
        EXPECT_TRUE(folders->Installed) << working;
        EXPECT_EQ(folders->Resources, share.string()) << working;
        EXPECT_EQ(folders->Data, (root / "home" / ".local" / "share" / "tavrek").string()) << working;
    }
}

TEST(GameFolders, ThePlayerFolderIsMadeForItsOwnerOnly)
{
    TempDir d;
    std::string why;
    const GameFolders nested{(d / "a" / "b" / "tavrek").string(), "", true};
    ASSERT_TRUE(MakeDataFolder(nested, why)) << why;
    for (const fs::path& made : {d / "a", d / "a" / "b", d / "a" / "b" / "tavrek"}) {
        ASSERT_TRUE(fs::is_directory(made)) << made;
        EXPECT_EQ(fs::status(made).permissions() & fs::perms::all, fs::perms::owner_all) << made;
    }
    // A folder already there keeps its permissions; making it again is no fault.
    fs::permissions(d / "a" / "b" / "tavrek", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    EXPECT_TRUE(MakeDataFolder(nested, why));
    EXPECT_EQ(fs::status(d / "a" / "b" / "tavrek").permissions() & fs::perms::all,
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);

    // A file where a folder should be is a clear refusal naming the place.
    WriteFile(d / "file", "x");
    why.clear();
    EXPECT_FALSE(MakeDataFolder({(d / "file" / "tavrek").string(), "", true}, why));
    EXPECT_NE(why.find((d / "file").string()), std::string::npos) << why;
    EXPECT_FALSE(fs::exists(d / "file" / "tavrek"));
}

TEST(GameFolders, TheFirstStartMigratesTheOlderSettingsInBothCases)
{
    for (const bool installed : {false, true}) {
        Machine m;
        if (!installed)
            MakeGameFolder(m.Work());
        TempDir windows;
        WriteFile(windows / "Tavrek!.ini", "[Name]\r\nPlayer1=Old Brewer\r\n[Options]\r\nSound=0\r\n");

        std::string why;
        const auto folders = ChooseGameFolders(m.Clues(), why);
        ASSERT_TRUE(folders) << why;
        ASSERT_TRUE(MakeDataFolder(*folders, why)) << why;
        const StartupSettings startup = ReadStartupSettings(folders->Data, windows.Str());
        EXPECT_FALSE(startup.SoundOn) << installed;
        EXPECT_EQ(ReadSetting(folders->Data, settings::kPlayer1), "Old Brewer") << installed;

        const fs::path settingsFile = fs::path(folders->Data) / "Tavrek!.ini";
        EXPECT_TRUE(fs::exists(settingsFile)) << installed;
        // Installed, nothing lands where the game was started from.
        EXPECT_EQ(fs::exists(m.Work() / "Tavrek!.ini"), !installed);
        if (installed) {
            EXPECT_TRUE(fs::is_empty(m.Work()));
        }
    }
}
