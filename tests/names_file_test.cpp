#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <fstream>

#include "game/map_tables.h"
#include "game/names_file.h"
#include "platform/cp1252.h"
#include "platform/ini_file.h"
#include "child_process.h"
#include "recording_frontend.h"
#include "temp_dir.h"

namespace {

struct NamesFixture : ::testing::Test {
    TempDir dir;
    GameState s;
    std::string NamesPath() const { return (dir / "TavrekNames.ini").string(); }
    std::string SettingsPath() const { return (dir / "Tavrek!.ini").string(); }
    NamesFixture() { s.Program.ProgramDirectory = dir.Str(); }
};

}  // namespace

TEST_F(NamesFixture, FirstLoadWritesTheDefaultsOfAllThreeMaps)
{
    s.MapNumber = 2;
    SetMapNames(s);
    EXPECT_EQ(platform::ReadProfileString(SettingsPath(), "NAME", "NAMEINI", "", 30), "1");
    for (int map = 1; map <= kMaps; ++map)
        for (int c = 0; c < kCompanies; ++c) {
            const std::string section = "MAP" + std::to_string(map);
            EXPECT_EQ(platform::ReadProfileString(NamesPath(), section, "NAME" + std::to_string(c + 1), "?", 30),
                      kDefaultNames[map - 1][c].Company);
            EXPECT_EQ(platform::ReadProfileString(NamesPath(), section, "BREW" + std::to_string(c + 1) + "_3", "?", 30),
                      kDefaultNames[map - 1][c].Brands[2]);
        }
    EXPECT_EQ(s.CompanyName[0], "Moriati");
    EXPECT_EQ(s.BrandName[9][1], "Castle Hill No.2");
    EXPECT_EQ(s.TownName[5], "Wrong Island");
    // "Herby´s Herb" holds a 1252 character: it survives the file in both directions.
    s.MapNumber = 3;
    SetMapNames(s);
    EXPECT_EQ(s.BrandName[3][2], "Herby´s Herb");
}

TEST_F(NamesFixture, EditedNamesLoadCutToTwentyNineCharacters)
{
    s.MapNumber = 1;
    SetMapNames(s);
    platform::WriteProfileString(NamesPath(), "MAP1", "NAME4", std::string(40, 'x'));
    platform::WriteProfileString(NamesPath(), "map1", "brew4_1", "Ölbräu");
    SetMapNames(s);
    EXPECT_EQ(s.CompanyName[3], std::string(29, 'x'));
    EXPECT_EQ(s.BrandName[3][0], "Ölbräu");
    EXPECT_EQ(s.CompanyName[4], "Seasick II.") << "other entries stay";
}

TEST_F(NamesFixture, DeletedNamesFileLoadsEmptyUntilRestored)
{
    s.MapNumber = 1;
    SetMapNames(s);
    std::filesystem::remove(NamesPath());
    SetMapNames(s);
    for (int c = 0; c < kCompanies; ++c)
        EXPECT_EQ(s.CompanyName[c], "");
    EXPECT_EQ(s.TownName[0], "Truestone");

    RecordingFrontend no;
    EXPECT_FALSE(RestoreNames(s, no));
    EXPECT_EQ(s.CompanyName[0], "");
    ASSERT_EQ(no.Messages.size(), 1u);
    EXPECT_TRUE(no.Messages[0].Question);
    EXPECT_EQ(no.Messages[0].Text.German, "Möchten Sie wirklich alle Namen zurücksetzen?");
    EXPECT_EQ(no.Messages[0].Caption.English, "The TAVREK! War");

    RecordingFrontend yes;
    yes.Answers = {true};
    s.CompanyName[0] = "Player";
    EXPECT_TRUE(RestoreNames(s, yes));
    EXPECT_EQ(s.CompanyName[0], "Kromberger") << "without a game nobody's name is kept";
    EXPECT_EQ(s.BrandName[9][2], "Donestani");
}

TEST_F(NamesFixture, RestoringInARunningGameKeepsThePlayersNamesAndShowsTheStatusLine)
{
    struct Case {
        bool twoPlayer;
        int player2;
    };
    for (const Case c : {Case{false, -1}, Case{true, 6}}) {
        SCOPED_TRACE(c.twoPlayer ? "two players" : "one player");
        s.MapNumber = 1;
        SetMapNames(s);
        s.GameActive = true;
        s.TwoPlayer = c.twoPlayer;
        s.PlayerCompany = {2, c.player2};
        s.CurrentCompany = 2;
        s.SelectedTown = 4;
        s.CompanyName[2] = "Alice Brewster";
        if (c.twoPlayer)
            s.CompanyName[6] = "Bob";
        // Hand edits the restore puts right again.
        platform::WriteProfileString(NamesPath(), "MAP1", "NAME4", "Edited");
        platform::WriteProfileString(NamesPath(), "MAP1", "BREW3_1", "Edited Ale");
        s.CompanyName[3] = "Edited";

        RecordingFrontend yes;
        yes.Answers = {true};
        EXPECT_TRUE(RestoreNames(s, yes));
        EXPECT_EQ(s.CompanyName[2], "Alice Brewster");
        EXPECT_EQ(s.CompanyName[6], c.twoPlayer ? "Bob" : kDefaultNames[0][6].Company);
        EXPECT_EQ(s.CompanyName[3], kDefaultNames[0][3].Company);
        EXPECT_EQ(s.BrandName[2][0], kDefaultNames[0][2].Brands[0]) << "brand names come from the file";
        EXPECT_EQ(platform::ReadProfileString(NamesPath(), "MAP1", "NAME4", "?", 30), kDefaultNames[0][3].Company);
        ASSERT_EQ(yes.StatusLines.size(), 1u);
        EXPECT_EQ(yes.StatusLines[0].English.rfind("Alice Brewster in ", 0), 0u) << yes.StatusLines[0].English;
    }
}

TEST_F(NamesFixture, AMarkerOfZeroWritesTheDefaultsOverEdits)
{
    s.MapNumber = 1;
    SetMapNames(s);
    platform::WriteProfileString(NamesPath(), "MAP1", "NAME1", "Edited");
    platform::WriteProfileString(NamesPath(), "MAP1", "EXTRA", "kept");
    SetMapNames(s);
    EXPECT_EQ(s.CompanyName[0], "Edited");
    platform::WriteProfileString(SettingsPath(), "NAME", "NAMEINI", "0 again");
    SetMapNames(s);
    EXPECT_EQ(s.CompanyName[0], "Kromberger");
    EXPECT_EQ(platform::ReadProfileString(NamesPath(), "MAP1", "EXTRA", "", 30), "kept");
}

TEST_F(NamesFixture, AMissingDirectoryGivesTheDefaultNames)
{
    s.Program.ProgramDirectory = (dir / "missing" / "deeper").string();
    s.MapNumber = 3;
    SetMapNames(s);
    EXPECT_EQ(s.CompanyName[0], "Count Hawkhill");
    EXPECT_EQ(s.BrandName[9][2], "Drink Fishy");
    EXPECT_EQ(s.TownName[0], "Eagleburg");
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

// A game folder the player cannot write: the names file cannot be made, yet every company and
// brand has its name ("You take over the Almhofer-Brewery in Melkerstiege"). A names file that
// is there but write-protected gives its own names and the defaults for the rest; "Restore
// Names" brings the defaults into the game even where it cannot write them. Root may write
// anything, so the game runs as an ordinary user.
TEST_F(NamesFixture, AFolderThatCannotBeWrittenStillHasItsNames)
{
    const auto readOnly = [](const std::filesystem::path& path, bool folder) {
        using std::filesystem::perms;
        std::filesystem::permissions(path, folder ? perms::owner_all | perms::group_read | perms::group_exec |
                                                        perms::others_read | perms::others_exec
                                                  : perms::owner_read | perms::group_read | perms::others_read);
    };
    readOnly(dir.Path(), true);
    EXPECT_CHILD_FINE(AsNobody([&]() -> std::string {
        for (int map = 1; map <= kMaps; ++map) {
            s.MapNumber = map;
            SetMapNames(s);
            for (int c = 0; c < kCompanies; ++c) {
                if (s.CompanyName[c] != kDefaultNames[map - 1][c].Company)
                    return "map " + std::to_string(map) + ": company " + std::to_string(c) + " is '" +
                           s.CompanyName[c] + "'";
                for (int b = 0; b < kBrands; ++b)
                    if (s.BrandName[c][b] != kDefaultNames[map - 1][c].Brands[b])
                        return "map " + std::to_string(map) + ": a brand of company " + std::to_string(c) + " is '" +
                               s.BrandName[c][b] + "'";
            }
        }
        return "";
    }));
    EXPECT_FALSE(std::filesystem::exists(NamesPath()));

    // The player's own names file, write-protected, with a few names edited.
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
    WriteFile(NamesPath(), "[MAP1]\r\nNAME1=Edited\r\nBREW1_1=Edited Ale\r\n");
    readOnly(NamesPath(), false);
    readOnly(dir.Path(), true);
    EXPECT_CHILD_FINE(AsNobody([&]() -> std::string {
        s.MapNumber = 1;
        SetMapNames(s);
        if (s.CompanyName[0] != "Edited" || s.BrandName[0][0] != "Edited Ale")
            return "the file's own names were not taken: '" + s.CompanyName[0] + "'";
        if (s.CompanyName[8] != "Almhofer" || s.BrandName[0][1] != "Moonrivers")
            return "names the file does not hold are not the defaults: '" + s.CompanyName[8] + "'";
        RecordingFrontend yes;
        yes.Answers = {true};
        if (!RestoreNames(s, yes))
            return "Restore Names did nothing";
        if (s.CompanyName[0] != "Kromberger" || s.BrandName[0][0] != "Truestoner")
            return "Restore Names left '" + s.CompanyName[0] + "'";
        return "";
    }));
    EXPECT_EQ(ReadFile(NamesPath()), "[MAP1]\r\nNAME1=Edited\r\nBREW1_1=Edited Ale\r\n");
}

// Edit Names hands the file to the player's editor, which saves UTF-8, often with a mark in
// front: the first section's names stay, and letters beyond ASCII read as they were typed.
TEST_F(NamesFixture, ANamesFileSavedByAnEditorInUtf8KeepsItsNames)
{
    s.MapNumber = 1;
    SetMapNames(s);
    // As the editor saves it: the whole file in UTF-8 with a mark, line feeds only, three names
    // changed.
    std::string text = Cp1252ToUtf8(ReadFile(NamesPath()));
    const auto change = [&text](const std::string& from, const std::string& to) {
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    };
    change("NAME1=Kromberger", "NAME1=M\u00FCller");
    change("BREW1_1=Truestoner", "BREW1_1=Kr\u00F6nchen Br\u00E4u");
    change("NAME2=Shepherd", "NAME2=\u4E2D\u6587\u540D\u5B57");
    std::string editorFile = "\xEF\xBB\xBF";
    for (const char c : text)
        if (c != '\r')
            editorFile += c;
    WriteFile(NamesPath(), editorFile);
    SetMapNames(s);
    EXPECT_EQ(s.CompanyName[0], "M\u00FCller");
    EXPECT_EQ(s.BrandName[0][0], "Kr\u00F6nchen Br\u00E4u");
    EXPECT_EQ(s.CompanyName[1], "\u4E2D\u6587\u540D\u5B57");
    EXPECT_EQ(s.BrandName[0][1], "Moonrivers") << "the rest of the first section";
    EXPECT_EQ(s.CompanyName[9], "Chrut'Shov");
    s.MapNumber = 3;
    SetMapNames(s);
    EXPECT_EQ(s.BrandName[3][2], "Herby\u00B4s Herb");
}

TEST_F(NamesFixture, TheMarkerFollowsOnlyNamesThatWereWritten)
{
    // A folder where the names file belongs: the names cannot be written, so the settings file
    // must not claim they were.
    std::filesystem::create_directory(NamesPath());
    EXPECT_FALSE(WriteDefaultNames(s));
    EXPECT_EQ(platform::ReadProfileString(SettingsPath(), "NAME", "NAMEINI", "absent", 30), "absent");
    std::filesystem::remove(NamesPath());
    EXPECT_TRUE(WriteDefaultNames(s));
    EXPECT_EQ(platform::ReadProfileString(SettingsPath(), "NAME", "NAMEINI", "absent", 30), "1");
}

// Two games started together in a fresh folder both find the names unwritten and write them:
// every one of the 120 keys must be there afterwards, however the two interleave.
TEST(NamesFileRace, TwoProgramsStartingTogetherLeaveEveryName)
{
    for (int round = 0; round < 5; ++round) {
        TempDir dir;
        const std::string sim = std::string(TAVREK_SIM_PATH) + " --dir " + dir.Str() + " --months 1";
        const std::string both = "(" + sim + " --seed 1 >/dev/null & " + sim + " --seed 2 >/dev/null; wait)";
        ASSERT_EQ(std::system(both.c_str()), 0);
        const platform::IniDocument names = platform::ReadIniFile((dir / "TavrekNames.ini").string());
        int keys = 0;
        for (int map = 1; map <= 3; ++map)
            for (int c = 1; c <= kCompanies; ++c) {
                const std::string section = "MAP" + std::to_string(map);
                keys += names.Get(section, "NAME" + std::to_string(c)).has_value();
                for (int b = 1; b <= kBrands; ++b)
                    keys += names.Get(section, "BREW" + std::to_string(c) + "_" + std::to_string(b)).has_value();
            }
        EXPECT_EQ(keys, 120) << "round " << round;
        EXPECT_EQ(platform::ReadProfileString((dir / "Tavrek!.ini").string(), "NAME", "NAMEINI", "", 30), "1");
    }
}
