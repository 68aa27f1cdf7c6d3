// The settings file: defaults, the on/off rule, the first start and the migration from the
// older game's files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "persistence/settings.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// A program directory and a Windows directory of an older installation.
struct Dirs {
    TempDir program;
    TempDir windows;
    std::string Program() const { return program.Str(); }
    std::optional<std::string> Legacy() const { return windows.Str(); }
};

}  // namespace

TEST(Settings, TheFirstStartCreatesTheFileWithDefaults)
{
    Dirs d;
    const StartupSettings first = ReadStartupSettings(d.Program(), d.Legacy());
    EXPECT_EQ(first.Language, Language::English);
    EXPECT_TRUE(first.SoundOn);
    EXPECT_FALSE(first.AutosaveOnExit);
    EXPECT_EQ(ReadFile(d.program / "Tavrek!.ini"), "[Options]\r\nInitialized=1\r\n");

    // Every key's default while the file does not hold it.
    using namespace settings;
    EXPECT_EQ(ReadSetting(d.Program(), kPlayer1), "");
    EXPECT_EQ(ReadSetting(d.Program(), kPlayer2), "");
    EXPECT_EQ(ReadSetting(d.Program(), kHighscoreHolder[2]), "");
    EXPECT_EQ(ReadSettingInt(d.Program(), kHighscorePoints[0]), 0);
    EXPECT_EQ(ReadSetting(d.Program(), kNamesWritten), "0");
    EXPECT_EQ(ReadSettingInt(d.Program(), kLanguage), 1);

    // From then on the language is read, and no migration runs again.
    WriteSetting(d.Program(), kLanguage, "2");
    WriteFile(d.windows / "Tavrek!.ini", "[Name]\r\nPlayer1=Old\r\n");
    const StartupSettings second = ReadStartupSettings(d.Program(), d.Legacy());
    EXPECT_EQ(second.Language, Language::German);
    EXPECT_EQ(ReadSetting(d.Program(), kPlayer1), "");

    // Deleting "Initialized" runs the first start again, in English.
    WriteSetting(d.Program(), kInitialized, "0");
    const StartupSettings again = ReadStartupSettings(d.Program(), d.Legacy());
    EXPECT_EQ(again.Language, Language::English);
    EXPECT_EQ(ReadSetting(d.Program(), kPlayer1), "Old");
    EXPECT_EQ(ReadSetting(d.Program(), kInitialized), "1");
}

TEST(Settings, AnOptionIsOffExactlyWhenItStartsWithZero)
{
    struct Case {
        const char* File;
        bool Sound;
        bool Autosave;
    };
    const std::vector<Case> cases = {
        {"", true, false},  // missing keys: the defaults
        {"Sound=0\r\nAutosave=1\r\n", false, true},
        {"Sound=0abc\r\nAutosave=01\r\n", false, false},
        {"Sound=\r\nAutosave=\r\n", true, true},  // present but empty: on
        {"Sound=no\r\nAutosave=yes\r\n", true, true},
        {"Sound=  0\r\nAutosave= 7\r\n", false, true},  // values are trimmed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        TempDir dir;
        WriteFile(dir / "Tavrek!.ini", std::string("[Options]\r\nInitialized=1\r\n") + c.File);
        const StartupSettings s = ReadStartupSettings(dir.Str(), std::nullopt);
        EXPECT_EQ(s.SoundOn, c.Sound);
        EXPECT_EQ(s.AutosaveOnExit, c.Autosave);
    }
    EXPECT_TRUE(IsOn("1"));
    EXPECT_TRUE(IsOn(""));
    EXPECT_FALSE(IsOn("0"));

    TempDir dir;
    ASSERT_TRUE(WriteOnOff(dir.Str(), settings::kSound, false));
    ASSERT_TRUE(WriteOnOff(dir.Str(), settings::kAutosave, true));
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kSound), "0");
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kAutosave), "1");
}

TEST(Settings, TheEnglishLegacyFileIsCopiedKeyByKey)
{
    Dirs d;
    // Sections match without regard to case, so "NAME" and "Name" are one section.
    WriteFile(d.windows / "Tavrek!.ini",
              "[Name]\r\nPlayer1=Anna\r\nPlayer2=\r\nNAMEINI=1\r\n[Options]\r\nSound=0\r\nAutosave=1\r\n"
              "Language=2\r\n[High]\r\nmap1=Anna from Truestone\r\nmap3=Bert from X\r\nPoints1=321\r\n"
              "Points3=12\r\n");
    // The German file would say otherwise; it is not looked at.
    WriteFile(d.windows / "Tavrik!.ini", "[Namen]\r\nSpieler1=Doris\r\n[High]\r\nmap2=Doris aus Y\r\n");
    const StartupSettings s = ReadStartupSettings(d.Program(), d.Legacy());
    EXPECT_EQ(s.Language, Language::English) << "the language is not migrated";
    EXPECT_FALSE(s.SoundOn);
    EXPECT_TRUE(s.AutosaveOnExit);
    using namespace settings;
    EXPECT_EQ(ReadSetting(d.Program(), kPlayer1), "Anna");
    EXPECT_EQ(ReadSetting(d.Program(), kHighscoreHolder[0]), "Anna from Truestone");
    EXPECT_EQ(ReadSetting(d.Program(), kHighscoreHolder[2]), "Bert from X");
    EXPECT_EQ(ReadSettingInt(d.Program(), kHighscorePoints[0]), 321);
    EXPECT_EQ(ReadSettingInt(d.Program(), kHighscorePoints[2]), 12);
    EXPECT_EQ(ReadSetting(d.Program(), kNamesWritten), "1");
    EXPECT_EQ(ReadFile(d.program / "Tavrek!.ini"),
              "[Name]\r\nPlayer1=Anna\r\nNAMEINI=1\r\n\r\n[Options]\r\nSound=0\r\nAutosave=1\r\nInitialized=1\r\n"
              "\r\n[High]\r\nmap1=Anna from Truestone\r\nmap3=Bert from X\r\nPoints1=321\r\nPoints3=12\r\n")
        << "empty and missing values are not written, nor the language";
}

TEST(Settings, TheGermanLegacyFileGivesItsKeysEnglishNames)
{
    Dirs d;
    // Older installations spelt the file name as they liked.
    WriteFile(d.windows / "TAVRIK!.INI",
              "[Namen]\r\nSpieler1=Doris\r\nSpieler2=Emil\r\n[High]\r\nmap2=Doris aus Y\r\nPunkte1=5\r\n"
              "Punkte2=77\r\nPoints3=999\r\n[Options]\r\nSound=0\r\n");
    const StartupSettings s = ReadStartupSettings(d.Program(), d.Legacy());
    EXPECT_TRUE(s.SoundOn) << "the German file's options are not migrated";
    using namespace settings;
    EXPECT_EQ(ReadSetting(d.Program(), kPlayer1), "Doris");
    EXPECT_EQ(ReadSetting(d.Program(), kPlayer2), "Emil");
    EXPECT_EQ(ReadSetting(d.Program(), kHighscoreHolder[1]), "Doris aus Y");
    EXPECT_EQ(ReadSettingInt(d.Program(), kHighscorePoints[0]), 5);
    EXPECT_EQ(ReadSettingInt(d.Program(), kHighscorePoints[1]), 77);
    EXPECT_EQ(ReadSettingInt(d.Program(), kHighscorePoints[2]), 0) << "only the German point keys are copied";

    // An English file without a first player's name does not count.
    Dirs e;
    WriteFile(e.windows / "tavrek!.ini", "[Name]\r\nPlayer2=Zed\r\n");
    WriteFile(e.windows / "Tavrik!.ini", "[Namen]\r\nSpieler1=Doris\r\n");
    InitialiseSettings(e.Program(), e.Legacy());
    EXPECT_EQ(ReadSetting(e.Program(), kPlayer1), "Doris");
    EXPECT_EQ(ReadSetting(e.Program(), kPlayer2), "");
}

TEST(Settings, WithoutALegacyDirectoryOnlyTheMarkIsWritten)
{
    Dirs d;
    WriteFile(d.windows / "Tavrek!.ini", "[Name]\r\nPlayer1=Anna\r\n");
    InitialiseSettings(d.Program(), std::nullopt);
    EXPECT_EQ(ReadFile(d.program / "Tavrek!.ini"), "[Options]\r\nInitialized=1\r\n");

    TempDir home;
    EXPECT_FALSE(LegacySettingsDirectory(home.Str()));
    EXPECT_FALSE(LegacySettingsDirectory(""));
    fs::create_directories(home / ".wine" / "drive_c" / "windows");
    EXPECT_EQ(LegacySettingsDirectory(home.Str()), (home / ".wine" / "drive_c" / "windows").string());
}

TEST(Settings, NamesThatCannotBeStoredDoNotBreakTheFile)
{
    TempDir dir;
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kPlayer2, "Bert"));
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kPlayer1, "Zoë\r\n[Options]\r\nSound=0 ✓"));
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kPlayer1), "Zoë  [Options]  Sound=0 ?");
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kPlayer2), "Bert");
    EXPECT_TRUE(ReadOnOff(dir.Str(), settings::kSound)) << "no option was smuggled in";
    EXPECT_EQ(ReadFile(dir / "Tavrek!.ini"), "[Name]\r\nPlayer2=Bert\r\nPlayer1=Zo\xEB  [Options]  Sound=0 ?\r\n");

    // A name longer than the reader's buffer keeps 29 characters.
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kPlayer1, std::string(40, 'n')));
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kPlayer1), std::string(29, 'n'));
}

// A settings file an editor saved in UTF-8 with a byte-order mark keeps its language at the
// next start, and after the options were written again.
TEST(Settings, AFileSavedWithAByteOrderMarkKeepsItsLanguage)
{
    Dirs d;
    WriteFile(d.program / "Tavrek!.ini", "\xEF\xBB\xBF[Options]\nInitialized=1\nLanguage=2\nSound=0\n");
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        const StartupSettings read = ReadStartupSettings(d.Program(), d.Legacy());
        EXPECT_EQ(read.Language, Language::German);
        EXPECT_FALSE(read.SoundOn);
        ASSERT_TRUE(WriteOnOff(d.Program(), settings::kAutosave, true));
    }
}

// Whether options and names can be kept, for the folders a player may start the game in. Root
// may write anything, so the look happens as an ordinary user.
TEST(Settings, AFolderThatKeepsNothingIsTold)
{
    const auto perms = [](const fs::path& path, fs::perms p) { fs::permissions(path, p, fs::perm_options::replace); };
    const fs::perms readOnlyFolder = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec;
    const fs::perms writableFile = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                   fs::perms::group_write | fs::perms::others_read | fs::perms::others_write;
    const fs::perms readOnlyFile = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    struct Case {
        const char* What;
        bool FolderWritable;
        std::optional<fs::perms> Settings;  ///< the settings file, when there is one
        std::optional<fs::perms> Names;     ///< the names file, when there is one
        bool Kept;
    };
    const Case cases[] = {
        {"a writable folder without files", true, std::nullopt, std::nullopt, true},
        {"a writable folder with both files", true, writableFile, writableFile, true},
        {"a write-protected folder without files", false, std::nullopt, std::nullopt, false},
        {"a write-protected folder with both files writable", false, writableFile, writableFile, true},
        {"a write-protected folder without the names file", false, writableFile, std::nullopt, false},
        {"a write-protected settings file", true, readOnlyFile, writableFile, false},
        {"a write-protected names file", true, writableFile, readOnlyFile, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        TempDir dir;
        if (c.Settings) {
            WriteFile(dir / "Tavrek!.ini", "[Options]\r\nInitialized=1\r\n");
            perms(dir / "Tavrek!.ini", *c.Settings);
        }
        if (c.Names) {
            WriteFile(dir / "TavrekNames.ini", "[MAP1]\r\nNAME1=Kromberger\r\n");
            perms(dir / "TavrekNames.ini", *c.Names);
        }
        perms(dir.Path(), c.FolderWritable ? fs::perms::all : readOnlyFolder);
        const std::string answer = AsNobody([&]() -> std::string {
            return CanKeepSettingsAndNames(dir.Str()) == c.Kept ? "" : "the look says the opposite";
        });
        EXPECT_EQ(answer, "");
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            left.push_back(entry.path().filename().string());
        EXPECT_EQ(left.size(), size_t{c.Settings.has_value()} + size_t{c.Names.has_value()}) << "no scratch file left";
    }
    const LocalText notice = CannotKeepSettingsText("/games/tavrek");
    EXPECT_EQ(notice.English, "The game folder /games/tavrek cannot be written: settings and names will not be kept.");
    EXPECT_EQ(notice.German,
              "In den Spielordner /games/tavrek kann nicht geschrieben werden: Einstellungen und Namen werden nicht "
              "gespeichert.");
}
