/// @file ini_file_test.cpp Profile-style INI access: lookup, editing in place and safe writing.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "child_process.h"
#include "platform/ini_file.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using platform::IniDocument;

// ---------------------------------------------------------------------------------------------
// In memory

TEST(IniDocument, MatchesSectionsAndKeysWithoutRegardToCaseAndTrims)
{
    const IniDocument doc = IniDocument::Parse(
        "[Options]\r\n"
        "Sound=1\r\n"
        "  autoSAVE \t=\t 0  \r\n"
        "\r\n"
        "[ Name ]\n"  // LF only and blanks inside the brackets
        "player1 =  Anna Lena \n"
        "Player2=\n");
    EXPECT_EQ(doc.Get("options", "SOUND"), "1");
    EXPECT_EQ(doc.Get("OPTIONS", "Autosave"), "0");
    EXPECT_EQ(doc.Get("NAME", "Player1"), "Anna Lena");
    EXPECT_EQ(doc.Get("Name", "PLAYER2"), "");  // present but empty is not missing
    EXPECT_EQ(doc.Get(" Name ", " Player1 "), "Anna Lena");
}

TEST(IniDocument, MissingSectionOrKeyGivesNothing)
{
    const IniDocument doc = IniDocument::Parse(
        "Loose=before any section\r\n"
        "[Options]\r\n"
        "Sound=1\r\n"
        "[High]\r\n"
        "Points1=7\r\n");
    EXPECT_FALSE(doc.Get("Name", "Player1"));
    EXPECT_FALSE(doc.Get("Options", "Points1"));  // belongs to the next section
    EXPECT_FALSE(doc.Get("High", "Sound"));
    EXPECT_FALSE(doc.Get("", "Loose"));
    EXPECT_FALSE(IniDocument::Parse("").Get("Options", "Sound"));
    EXPECT_FALSE(IniDocument().Get("Options", "Sound"));
}

TEST(IniDocument, FirstKeyOfFirstSectionWins)
{
    const IniDocument doc =
        IniDocument::Parse("[MAP1]\nNAME1=first\nname1=second\n[map1]\nNAME1=third\nNAME2=only later\n");
    EXPECT_EQ(doc.Get("MAP1", "NAME1"), "first");
    EXPECT_FALSE(doc.Get("MAP1", "NAME2"));  // a repeated section is not looked at
}

TEST(IniDocument, GarbageIsSkippedWhenReading)
{
    const std::string garbage =
        "just words\r\n"
        "=no key\r\n"
        "[unclosed\r\n"
        "; Sound=0\r\n"
        "\x01\xFF\xFE binary\r\n";
    const IniDocument doc = IniDocument::Parse("[Options]\r\n" + garbage + "Sound=1\r\nKey=a=b\r\n");
    EXPECT_EQ(doc.Get("Options", "Sound"), "1");
    EXPECT_EQ(doc.Get("Options", "Key"), "a=b");  // only the first '=' separates
    EXPECT_FALSE(doc.Get("unclosed", "Sound"));
}

TEST(IniDocument, ValuesAreWindows1252OnDisk)
{
    IniDocument doc = IniDocument::Parse("[MAP3]\r\nBREW4_3=Herby\xB4s Herb\r\n");
    EXPECT_EQ(doc.Get("MAP3", "BREW4_3"), "Herby\u00B4s Herb");

    doc.Set("MAP3", "NAME4", "M\u00F6chten \u20AC");
    doc.Set("MAP3", "NAME5", "Bier \u4E2D");  // 1252 has no such character
    EXPECT_EQ(doc.Serialize(),
              "[MAP3]\r\nBREW4_3=Herby\xB4s Herb\r\nNAME4=M\xF6"
              "chten \x80\r\nNAME5=Bier ?\r\n");
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Get("map3", "name4"), "M\u00F6chten \u20AC");
}

TEST(IniDocument, EmbeddedNulAndHugeLinesDoNotHurt)
{
    const std::string huge(1 << 20, 'x');
    const std::string bytes = std::string("[A]\r\nK=ab\0cd\r\nL", 15) + huge + "\r\nM=" + huge + "\r\n";
    IniDocument doc = IniDocument::Parse(bytes);
    EXPECT_EQ(doc.Get("A", "K"), "ab");  // a NUL ends the text, as in a C buffer
    EXPECT_EQ(doc.Get("A", "M"), huge);
    EXPECT_EQ(doc.Serialize(), bytes);
    doc.Set("A", "K", "new");
    EXPECT_EQ(doc.Get("A", "M"), huge);
}

// Files as a player's editor saves them: UTF-8 with or without a byte-order mark, line feeds
// only; and the game's own Windows-1252 files, which must read exactly as before.
TEST(IniDocument, FilesAsEditorsSaveThemRead)
{
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        const char* What;
        std::string Bytes;
        std::string Name1;  ///< [MAP1] NAME1
        std::string Name2;  ///< [MAP1] NAME2
    };
    const Case cases[] = {
        {"1252", "[MAP1]\r\nNAME1=M\xFCller\r\nNAME2=Bier \x80\r\n", "M\u00FCller", "Bier \u20AC"},
        {"UTF-8", "[MAP1]\nNAME1=M\u00FCller\nNAME2=Bier \u20AC\n", "M\u00FCller", "Bier \u20AC"},
        {"UTF-8 with a mark", bom + "[MAP1]\nNAME1=M\u00FCller\nNAME2=Bier \u20AC\n", "M\u00FCller", "Bier \u20AC"},
        {"ASCII with a mark", bom + "[MAP1]\r\nNAME1=Kromberger\r\nNAME2=Shepherd\r\n", "Kromberger", "Shepherd"},
        {"UTF-8 beyond 1252", bom + "[MAP1]\nNAME1=\u4E2D\u6587\u540D\u5B57\nNAME2=Zo\u00EB\n",
         "\u4E2D\u6587\u540D\u5B57", "Zo\u00EB"},
        // A mark before text that is no UTF-8 after all: the text is 1252, the mark is dropped.
        {"1252 with a mark", bom + "[MAP1]\r\nNAME1=M\xFCller\r\nNAME2=Gr\xFC\xDF\r\n", "M\u00FCller",
         "Gr\u00FC\u00DF"},
        // Saved twice with a mark, or once read as 1252 and saved again in UTF-8: no mark stays.
        {"two marks", bom + bom + "[MAP1]\nNAME1=M\u00FCller\nNAME2=x\n", "M\u00FCller", "x"},
        {"a mark saved as letters", bom + "\u00EF\u00BB\u00BF[MAP1]\nNAME1=M\u00FCller\nNAME2=x\n", "M\u00FCller", "x"},
        // 1252 letters that happen to be valid UTF-8 are read as UTF-8: "Ã¼" was "ü" all along.
        {"1252 that forms UTF-8", "[MAP1]\r\nNAME1=M\xC3\xBCller\r\nNAME2=x\r\n", "M\u00FCller", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const IniDocument doc = IniDocument::Parse(c.Bytes);
        EXPECT_EQ(doc.Get("MAP1", "NAME1"), c.Name1);
        EXPECT_EQ(doc.Get("map1", "name2"), c.Name2);
        // Written back in 1252, the file reads the same, and a key set in it reads back.
        IniDocument changed = doc;
        changed.Set("MAP1", "NAME3", "Wittig");
        const IniDocument reread = IniDocument::Parse(changed.Serialize());
        EXPECT_EQ(reread.Get("MAP1", "NAME3"), "Wittig");
        EXPECT_EQ(reread.Get("MAP1", "NAME2"), c.Name2);
    }
}

// ---------------------------------------------------------------------------------------------
// Editing in memory

TEST(IniDocumentSet, ReplacesInPlaceAndKeepsEveryOtherLineByteForByte)
{
    const std::string before =
        "; written by hand\r\n"
        "[Options]\r\n"
        "Sound = 1\r\n"
        "garbage without equals \x01\xFF\r\n"
        "  LANGUAGE\t= 2 \r\n"
        "Autosave=0\r\n"
        "\r\n"
        "[Name]\r\n"
        "Player1=Anna\r\n";
    IniDocument doc = IniDocument::Parse(before);
    doc.Set("options", "Language", "1");
    const std::string expected =
        "; written by hand\r\n"
        "[Options]\r\n"
        "Sound = 1\r\n"
        "garbage without equals \x01\xFF\r\n"
        "LANGUAGE=1\r\n"  // the file's spelling of the key is kept
        "Autosave=0\r\n"
        "\r\n"
        "[Name]\r\n"
        "Player1=Anna\r\n";
    EXPECT_EQ(doc.Serialize(), expected);
}

TEST(IniDocumentSet, AddsMissingKeyAfterTheSectionsLastKey)
{
    IniDocument doc = IniDocument::Parse("[Options]\r\nSound=1\r\n; note\r\n\r\n[Name]\r\nPlayer1=Anna\r\n");
    doc.Set("OPTIONS", "Autosave", "0");
    doc.Set("Name", "Player2", "Bert");
    EXPECT_EQ(doc.Serialize(),
              "[Options]\r\nSound=1\r\nAutosave=0\r\n; note\r\n\r\n"
              "[Name]\r\nPlayer1=Anna\r\nPlayer2=Bert\r\n");

    IniDocument empty = IniDocument::Parse("[High]\r\n; nothing yet\r\n[Name]\r\n");
    empty.Set("High", "Points1", "5");
    EXPECT_EQ(empty.Serialize(), "[High]\r\nPoints1=5\r\n; nothing yet\r\n[Name]\r\n");
}

TEST(IniDocumentSet, AppendsMissingSectionAtTheEnd)
{
    IniDocument fresh;
    fresh.Set("Options", "Initialized", "1");
    EXPECT_EQ(fresh.Serialize(), "[Options]\r\nInitialized=1\r\n");

    IniDocument doc = IniDocument::Parse("[Options]\nSound=1");  // LF only, no final line end
    doc.Set("NAME", "NAMEINI", "1");
    EXPECT_EQ(doc.Serialize(), "[Options]\r\nSound=1\r\n\r\n[NAME]\r\nNAMEINI=1\r\n");
    EXPECT_EQ(doc.Get("name", "nameini"), "1");
    EXPECT_EQ(doc.Get("Options", "Sound"), "1");
}

TEST(IniDocumentSet, LineBreaksCannotBreakTheFile)
{
    IniDocument doc = IniDocument::Parse("[Name]\r\nPlayer1=Anna\r\n");
    doc.Set("Name", "Player2", "Evil\r\n[Options]\r\nSound=0");
    doc.Set("Name", "Play\ner3", "x\ny");
    EXPECT_EQ(doc.Serialize(), "[Name]\r\nPlayer1=Anna\r\nPlayer2=Evil  [Options]  Sound=0\r\nPlay er3=x y\r\n");
    EXPECT_FALSE(doc.Get("Options", "Sound"));
    EXPECT_EQ(doc.Get("Name", "Play er3"), "x y");
    EXPECT_EQ(doc.Get("Name", "Play\ner3"), "x y");  // looked up the way it was stored
}

TEST(IniDocumentSet, RefusesNamesThatCouldNotBeReadBack)
{
    struct Case {
        const char* Section;
        const char* Key;
    };
    const Case refused[] = {
        {"", "Key"}, {"  ", "Key"}, {"Sec", ""}, {"Sec", " \t"}, {"A]B", "Key"}, {"Sec", "a=b"}, {"Sec", "[x"},
    };
    for (const Case& c : refused) {
        EXPECT_FALSE(IniDocument::CanSet(c.Section, c.Key)) << c.Section << "/" << c.Key;
        IniDocument doc = IniDocument::Parse("[Sec]\r\nKey=1\r\n");
        doc.Set(c.Section, c.Key, "]=[");
        EXPECT_EQ(doc.Serialize(), "[Sec]\r\nKey=1\r\n") << c.Section << "/" << c.Key;
    }
    EXPECT_TRUE(IniDocument::CanSet("MAP1", "BREW10_3"));
    EXPECT_TRUE(IniDocument::CanSet("[MAP1", "x]"));
}

// ---------------------------------------------------------------------------------------------
// Files on disk

class IniFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ =
            fs::temp_directory_path() / ("tavrek_ini_" + std::string(info->name()) + "_" + std::to_string(counter++) +
                                         "_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::remove_all(dir_);
        ASSERT_TRUE(fs::create_directories(dir_));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    /// Every entry in the test directory, to show that nothing was left behind.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

TEST_F(IniFileOnDisk, MissingFileSectionOrKeyGivesTheDefault)
{
    const std::string missing = Path("Tavrek!.ini");
    EXPECT_EQ(platform::ReadProfileString(missing, "Options", "Initialized", "0", 30), "0");
    EXPECT_EQ(platform::ReadProfileInt(missing, "Options", "Language", 1), 1);

    const std::string file = Path("present.ini");
    WriteFile(file, "[Options]\r\nSound=1\r\n");
    EXPECT_EQ(platform::ReadProfileString(file, "Name", "Player1", "nobody", 30), "nobody");
    EXPECT_EQ(platform::ReadProfileString(file, "Options", "Autosave", "0", 30), "0");
    EXPECT_EQ(platform::ReadProfileInt(file, "High", "Points1", -3), -3);
    EXPECT_EQ(platform::ReadProfileString(file, "OPTIONS", "sound", "0", 30), "1");

    // A directory where the file should be reads as missing too.
    EXPECT_EQ(platform::ReadProfileString(dir_.string(), "Options", "Sound", "d", 30), "d");
    EXPECT_EQ(platform::ReadProfileInt(dir_.string(), "Options", "Sound", 9), 9);
}

TEST_F(IniFileOnDisk, StringIsCutToBufferSizeLessOneCharacter)
{
    const std::string file = Path("TavrekNames.ini");
    const std::string forty = "Sabba Sabba Premium Sabba Sabba Export X";  // 40 characters
    // 28 ASCII characters and "ö" (one byte on disk, two in UTF-8) make 29 characters.
    const std::string a28(28, 'a');
    WriteFile(file, "[MAP1]\r\nNAME1=" + forty + "\r\nNAME2=" + a28 +
                        "\xF6"
                        "bc\r\n");
    EXPECT_EQ(platform::ReadProfileString(file, "MAP1", "NAME1", "", 30), forty.substr(0, 29));
    EXPECT_EQ(platform::ReadProfileString(file, "MAP1", "NAME2", "", 30), a28 + "\u00F6");
    EXPECT_EQ(platform::ReadProfileString(file, "MAP1", "NAME1", "", 1), "");
    EXPECT_EQ(platform::ReadProfileString(file, "MAP1", "NAME1", "", 0), "");
    // The default is cut the same way, by characters.
    EXPECT_EQ(platform::ReadProfileString(file, "MAP1", "NAME9", "\u00E4\u00F6\u00FC\u20AC", 3), "\u00E4\u00F6");
}

TEST_F(IniFileOnDisk, IntegerParsing)
{
    struct Case {
        const char* Value;
        int32_t Expected;
    };
    const Case cases[] = {
        {"12", 12},
        {"-5", -5},
        {"+8", 8},
        {"12abc", 12},
        {"abc", 0},
        {"", 42},  // present but empty reads as the default, as the platform does
        {" 7 ", 7},
        {"- 5", 0},
        {"007", 7},
        {"1.9", 1},
        {"2147483647", 2147483647},
        {"2147483648", std::numeric_limits<int32_t>::max()},
        {"99999999999999999999999", std::numeric_limits<int32_t>::max()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"-99999999999999999999999", std::numeric_limits<int32_t>::min()},
    };
    std::string bytes = "[High]\r\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        bytes += "Points" + std::to_string(i) + "=" + cases[i].Value + "\r\n";
    const std::string file = Path("ints.ini");
    WriteFile(file, bytes);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(platform::ReadProfileInt(file, "high", "POINTS" + std::to_string(i), 42), cases[i].Expected)
            << "value \"" << cases[i].Value << "\"";
    EXPECT_EQ(platform::ReadProfileInt(file, "High", "Missing", 42), 42);
}

TEST_F(IniFileOnDisk, WritingCreatesFileAndSectionsWithCrLf)
{
    const std::string file = Path("Tavrek!.ini");
    ASSERT_TRUE(platform::WriteProfileString(file, "Options", "Initialized", "1"));
    EXPECT_EQ(ReadFile(file), "[Options]\r\nInitialized=1\r\n");

    ASSERT_TRUE(platform::WriteProfileString(file, "Name", "Player1", "Herby\u00B4s Herb"));
    ASSERT_TRUE(platform::WriteProfileString(file, "options", "Sound", "0"));
    ASSERT_TRUE(platform::WriteProfileString(file, "NAME", "player1", "M\u00F6chten \u20AC"));
    EXPECT_EQ(ReadFile(file),
              "[Options]\r\nInitialized=1\r\nSound=0\r\n\r\n"
              "[Name]\r\nPlayer1=M\xF6"
              "chten \x80\r\n");
    EXPECT_EQ(platform::ReadProfileString(file, "name", "PLAYER1", "", 30), "M\u00F6chten \u20AC");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Tavrek!.ini"});  // no temporary file left
}

TEST_F(IniFileOnDisk, WritingKeepsHandEditedLinesAsTheyWere)
{
    const std::string file = Path("TavrekNames.ini");
    const std::string before =
        "; my own names\r\n"
        "[MAP3]\r\n"
        "  brew4_3 = Herby\xB4s Herb  \r\n"
        "this line is junk\r\n"
        "NAME4=Barney\r\n"
        "[MAP1]\r\n"
        "NAME1=Kromberger\r\n";
    WriteFile(file, before);
    ASSERT_TRUE(platform::WriteProfileString(file, "map3", "NAME4", "Barney & Sons"));
    std::string expected = before;
    expected.replace(expected.find("NAME4=Barney"), 12, "NAME4=Barney & Sons");
    EXPECT_EQ(ReadFile(file), expected);
    EXPECT_EQ(platform::ReadProfileString(file, "MAP3", "BREW4_3", "", 30), "Herby\u00B4s Herb");

    // Writing what is already there leaves the file alone.
    ASSERT_TRUE(platform::WriteProfileString(file, "MAP1", "NAME1", "Kromberger"));
    EXPECT_EQ(ReadFile(file), expected);
}

TEST_F(IniFileOnDisk, UnwritableTargetsFailQuietlyAndLeaveNothing)
{
    // A path inside a directory that does not exist.
    const std::string nowhere = Path("no/such/dir/Tavrek!.ini");
    EXPECT_FALSE(platform::WriteProfileString(nowhere, "Options", "Sound", "1"));
    EXPECT_FALSE(fs::exists(dir_ / "no"));

    // A directory where the file should be: untouched, and no temporary file beside it.
    const fs::path asDir = dir_ / "Tavrek!.ini";
    fs::create_directory(asDir);
    WriteFile((asDir / "inside").string(), "keep");
    EXPECT_FALSE(platform::WriteProfileString(asDir.string(), "Options", "Sound", "1"));
    EXPECT_TRUE(fs::is_directory(asDir));
    EXPECT_EQ(ReadFile((asDir / "inside").string()), "keep");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Tavrek!.ini"});

    // A name that cannot be read back is refused before the file is touched.
    const std::string file = Path("names.ini");
    EXPECT_FALSE(platform::WriteProfileString(file, "MAP1", "a=b", "x"));
    EXPECT_FALSE(platform::WriteProfileString(file, "", "NAME1", "x"));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(platform::WriteProfileString("", "MAP1", "NAME1", "x"));
}

TEST_F(IniFileOnDisk, RewrittenFileKeepsItsPermissions)
{
    const std::string file = Path("Tavrek!.ini");
    WriteFile(file, "[Options]\r\nSound=1\r\n");
    const fs::perms mine = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(file, mine, fs::perm_options::replace);
    ASSERT_TRUE(platform::WriteProfileString(file, "Options", "Sound", "0"));
    EXPECT_EQ(ReadFile(file), "[Options]\r\nSound=0\r\n");
    EXPECT_EQ(fs::status(file).permissions(), mine);
}

TEST_F(IniFileOnDisk, LinkedFileStaysLinked)
{
    const std::string real = Path("real.ini");
    const std::string link = Path("Tavrek!.ini");
    WriteFile(real, "[Options]\r\nSound=1\r\n");
    std::error_code ec;
    fs::create_symlink("real.ini", link, ec);
    if (ec)
        GTEST_SKIP() << "no symbolic links here: " << ec.message();
    ASSERT_TRUE(platform::WriteProfileString(link, "Options", "Sound", "0"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(real), "[Options]\r\nSound=0\r\n");
}

TEST_F(IniFileOnDisk, ADanglingLinkCreatesTheFileItNames)
{
    const std::string link = Path("Tavrek!.ini");
    fs::create_directory(Path("elsewhere"));
    std::error_code ec;
    fs::create_symlink("elsewhere/settings.ini", link, ec);
    if (ec)
        GTEST_SKIP() << "no symbolic links here: " << ec.message();
    ASSERT_TRUE(platform::WriteProfileString(link, "Options", "Sound", "0"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(Path("elsewhere/settings.ini")), "[Options]\r\nSound=0\r\n");
}

TEST_F(IniFileOnDisk, ManyKeysChangeInOneRewriteAndAFilesOwnScratchNameSurvives)
{
    const std::string file = Path("TavrekNames.ini");
    WriteFile(file + ".~tmp0", "mine");
    ASSERT_TRUE(platform::UpdateIniFile(file, [](platform::IniDocument& doc) {
        doc.Set("MAP1", "NAME1", "Anna");
        doc.Set("MAP1", "NAME2", "Bert");
        doc.Set("MAP2", "NAME1", "Cleo");
    }));
    EXPECT_EQ(ReadFile(file), "[MAP1]\r\nNAME1=Anna\r\nNAME2=Bert\r\n\r\n[MAP2]\r\nNAME1=Cleo\r\n");
    EXPECT_EQ(ReadFile(file + ".~tmp0"), "mine");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Path("")))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names.size(), 2u) << "no scratch file left over";
}

// A settings file an editor saved in UTF-8 with a mark keeps its first section, and the next
// write puts it back in Windows-1252 without the mark.
TEST_F(IniFileOnDisk, AnEditorsUtf8FileIsWrittenBackIn1252)
{
    const std::string file = Path("Tavrek!.ini");
    WriteFile(file, "\xEF\xBB\xBF[Options]\nInitialized=1\nLanguage=2\n\n[Name]\nPlayer1=J\u00FCrgen\n");
    EXPECT_EQ(platform::ReadProfileInt(file, "Options", "Language", 1), 2);
    ASSERT_TRUE(platform::WriteProfileString(file, "Options", "Sound", "0"));
    EXPECT_EQ(ReadFile(file),
              "[Options]\r\nInitialized=1\r\nLanguage=2\r\nSound=0\r\n\r\n[Name]\r\nPlayer1=J\xFCrgen\r\n");
    EXPECT_EQ(platform::ReadProfileString(file, "Name", "Player1", "", 30), "J\u00FCrgen");
    EXPECT_EQ(platform::ReadProfileInt(file, "Options", "Language", 1), 2);
}

// A write-protected folder holding a writable settings file: the file is rewritten in place,
// since no scratch file can be made beside it. Root would pass the folder's protection, so the
// writes run as an ordinary user.
TEST_F(IniFileOnDisk, AWritableFileInAWriteProtectedFolderIsRewrittenInPlace)
{
    const std::string file = Path("Tavrek!.ini");
    const std::string old = "; mine\r\n[Options]\r\nSound=1\r\nAutosave=0\r\n";
    WriteFile(file, old);
    fs::permissions(file, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec);
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    EXPECT_CHILD_FINE(AsNobody([&]() -> std::string {
        // Shorter, then longer than before: the file ends where the new text ends.
        if (!platform::WriteProfileString(file, "Options", "Autosave", ""))
            return "the shorter rewrite failed";
        if (!platform::WriteProfileString(file, "Name", "Player1", "Anna Lisa M\u00FCller-Brandt"))
            return "the longer rewrite failed";
        // A missing file in that folder cannot be made.
        if (platform::WriteProfileString(Path("TavrekNames.ini"), "MAP1", "NAME1", "x"))
            return "a new file was made in a write-protected folder";
        return "";
    }));
    EXPECT_EQ(ReadFile(file),
              "; mine\r\n[Options]\r\nSound=1\r\nAutosave=\r\n\r\n[Name]\r\nPlayer1=Anna Lisa M\xFCller-Brandt\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Tavrek!.ini"}) << "no scratch file left over";

    // A rewrite that needs more room than it gets fails before it changes a byte.
    const std::string before = ReadFile(file);
    EXPECT_CHILD_FINE(AsNobody([&]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small{};
        small.rlim_cur = small.rlim_max = static_cast<rlim_t>(before.size() + 10);
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0)
            return "SKIP: cannot limit the file size";
        if (platform::WriteProfileString(file, "Name", "Player2", std::string(200, 'b')))
            return "a write beyond the room it had was reported as done";
        return "";
    }));
    EXPECT_EQ(ReadFile(file), before);
}

// Two programs writing keys of one file at the same time: each read-change-write happens whole,
// so no key is lost.
TEST_F(IniFileOnDisk, ProgramsWritingAtTheSameTimeKeepEachOthersKeys)
{
    const std::string file = Path("Tavrek!.ini");
    constexpr int kKeys = 40;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        bool ok = true;
        for (int k = 0; k < kKeys; ++k)
            ok = platform::WriteProfileString(file, "Child", "Key" + std::to_string(k), "c") && ok;
        ::_exit(ok ? 0 : 1);
    }
    bool ok = true;
    for (int k = 0; k < kKeys; ++k)
        ok = platform::WriteProfileString(file, "Parent", "Key" + std::to_string(k), "p") && ok;
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const platform::IniDocument doc = platform::ReadIniFile(file);
    for (int k = 0; k < kKeys; ++k) {
        EXPECT_EQ(doc.Get("Parent", "Key" + std::to_string(k)), std::optional<std::string>("p")) << k;
        EXPECT_EQ(doc.Get("Child", "Key" + std::to_string(k)), std::optional<std::string>("c")) << k;
    }
}

TEST(PathIn, JoinsDirectoryAndName)
{
    EXPECT_EQ(platform::PathIn("/games/tavrek", "Tavrek!.ini"), "/games/tavrek/Tavrek!.ini");
    EXPECT_EQ(platform::PathIn("/games/tavrek/", "Tavrek!.ini"), "/games/tavrek/Tavrek!.ini");
    EXPECT_EQ(platform::PathIn("", "TavrekNames.ini"), "TavrekNames.ini");
}

}  // namespace
