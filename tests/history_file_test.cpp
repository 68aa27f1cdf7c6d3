// The record beside a savegame: written and read back exactly; a damaged, foreign, newer or
// missing file is refused and costs the game nothing but its record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "commands/game_session.h"
#include "persistence/history_file.h"
#include "recording_frontend.h"
#include "temp_dir.h"

namespace {

constexpr uint64_t kGame = 0x0123456789abcdefull;

GameHistory SampleHistory()
{
    GameHistory h;
    for (int32_t month : {1, 2, 5}) {
        MonthRecord& r = h.Months.emplace_back();
        r.Month = month;
        r.Demand.fill(1000 * month);
        for (int c = 0; c < kHistoryCompanies; ++c) {
            CompanyMonth& m = r.Companies[c];
            m.Supply[c % 3][c] = 1000 + c;
            m.Sales[c % 3][c] = 500 + month;
            m.Sales[2][9] = std::numeric_limits<int32_t>::max();
            m.Revenue = 1234.5 * c + 0.1;
            m.Production = -0.0;
            m.Transport = 1.0 / 3.0;
            m.Interest = 1e300;
            m.MoneyBefore = -12746.0;
            m.Money = -1e-300;
            m.Value = 5e15 + month;
            m.Share = 100.0f / 3.0f;
        }
    }
    h.Messages.push_back(
        {1, 2, {"You take over the Alpha-Brewery in Fotzingfors", "Sie übernehmen die Alpha-Brauerei"}, {}});
    h.Messages.push_back({5, 7, {"tab\there, line\nbreak, back\\slash\r", "Ärger"}, {"Bankruptcy!", "Bankrott!"}});
    h.OpenTransport[3] = 42.25L;
    return h;
}

}  // namespace

TEST(HistoryFile, WrittenAndReadBackExactly)
{
    const GameHistory h = SampleHistory();
    const std::string text = HistoryText(h, kGame);
    EXPECT_EQ(text.rfind("TAVREK-HISTORY 1\ngame 0123456789abcdef\nmonth 1 ", 0), 0u);
    GameHistory back;
    std::string reason;
    ASSERT_EQ(ParseHistory(text, kGame, back, &reason), HistoryLoad::Loaded) << reason;
    EXPECT_TRUE(back == h);
    EXPECT_EQ(back.OpenTransport, h.OpenTransport);
    EXPECT_EQ(HistoryText(back, kGame), text);
    ASSERT_NE(back.FindMonth(5), nullptr);
    EXPECT_EQ(back.FindMonth(5)->Demand[0], 5000);
    EXPECT_EQ(back.FindMonth(3), nullptr);

    GameHistory empty;
    ASSERT_EQ(ParseHistory(HistoryText(GameHistory{}, 7), 7, empty), HistoryLoad::Loaded);
    EXPECT_TRUE(empty == GameHistory{});
}

TEST(HistoryFile, RefusesWhatIsNotAWholeRecordOfThisGame)
{
    const std::string good = HistoryText(SampleHistory(), kGame);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        const auto at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return t.replace(at, from.size(), to);
    };
    const auto resealed = [](std::string t) {
        t.resize(t.rfind("\nend ") + 1);
        return SealHistoryText(t);
    };
    struct Case {
        const char* what;
        std::string text;
        HistoryLoad expected;
    };
    const Case cases[] = {
        {"empty", "", HistoryLoad::Damaged},
        {"a savegame", "1\r\n2\r\n", HistoryLoad::Damaged},
        {"cut off", good.substr(0, good.size() / 2), HistoryLoad::Damaged},
        {"cut before the end line", good.substr(0, good.rfind("end ")), HistoryLoad::Damaged},
        {"one figure changed", replaced("month 2 ", "month 3 "), HistoryLoad::Damaged},
        {"a line more after the end", good + "month 9\n", HistoryLoad::Damaged},
        {"CR LF line ends",
         [&] {
             std::string t;
             for (char ch : good)
                 t += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
             return t;
         }(),
         HistoryLoad::Damaged},
        {"months not rising, sum right", resealed(replaced("month 5 ", "month 2 ")), HistoryLoad::Damaged},
        {"a company missing, sum right", resealed(replaced("company 9 ", "company 8 ")), HistoryLoad::Damaged},
        {"a money figure not a number, sum right", resealed(replaced("1e+300", "nan")), HistoryLoad::Damaged},
        {"a message with three texts, sum right", resealed(replaced("\tBankruptcy!", " Bankruptcy!")),
         HistoryLoad::Damaged},
        {"an unknown escape, sum right", resealed(replaced("back\\\\slash", "back\\qslash")), HistoryLoad::Damaged},
        {"no open month, sum right", resealed(good.substr(0, good.find("open "))), HistoryLoad::Damaged},
        {"unknown line, sum right", resealed(replaced("open ", "shut ")), HistoryLoad::Damaged},
        {"the game line changed by hand", replaced("game 0123456789abcdef", "game 0123456789abcdee"),
         HistoryLoad::Damaged},
        {"another game, sum right", resealed(replaced("game 0123456789abcdef", "game fedcba9876543210")),
         HistoryLoad::Foreign},
        {"newer version", replaced("TAVREK-HISTORY 1", "TAVREK-HISTORY 2"), HistoryLoad::Newer},
        {"version zero", resealed(replaced("TAVREK-HISTORY 1", "TAVREK-HISTORY 0")), HistoryLoad::Damaged},
    };
    for (const Case& c : cases) {
        GameHistory out = SampleHistory();
        out.Months.pop_back();
        const GameHistory before = out;
        std::string reason;
        EXPECT_EQ(ParseHistory(c.text, kGame, out, &reason), c.expected) << c.what;
        EXPECT_FALSE(reason.empty()) << c.what;
        EXPECT_TRUE(out == before) << c.what << ": a refused record leaves the one in hand alone";
    }
}

namespace {

struct SessionHistory : ::testing::Test {
    TempDir dir;
    RecordingFrontend frontend;
    std::string File(const char* name) const { return (dir / name).string(); }

    // A game of a few months, saved as `name`.
    GameHistory PlayAndSave(const char* name, uint32_t seed, int months)
    {
        GameSession session(frontend, dir.Str());
        session.State().Program.Rng.Seed(seed);
        session.State().Program.ShowBestOpponent = false;
        session.NewGame(NewGameSettings{});
        for (int m = 0; m < months; ++m)
            session.NextTurn();
        EXPECT_EQ(session.SaveAs(File(name)), SaveStatus::Saved);
        return session.History();
    }
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST_F(SessionHistory, SavedBesideTheGameAndOpenedWithIt)
{
    const GameHistory played = PlayAndSave("a.tsg", 3, 4);
    ASSERT_EQ(played.Months.size(), 4u);
    ASSERT_TRUE(std::filesystem::exists(File("a.tsg.history")));

    // The savegame is exactly what it is without a record.
    GameSession session(frontend, dir.Str());
    ASSERT_TRUE(session.Open(File("a.tsg")));
    EXPECT_EQ(ReadAll(File("a.tsg")), SavegameText(session.State()));
    EXPECT_EQ(session.LastHistoryLoad(), HistoryLoad::Loaded);
    EXPECT_TRUE(session.History() == played);

    // Playing on adds to it; Save writes both; tavrek-sim's Load reads both.
    session.NextTurn();
    ASSERT_EQ(session.Save(), SaveStatus::Saved);
    GameSession reader(frontend, dir.Str());
    ASSERT_EQ(reader.Load(File("a.tsg")), LoadStatus::Loaded);
    EXPECT_EQ(reader.History().Months.size(), 5u);
    EXPECT_TRUE(reader.History() == session.History());
}

TEST_F(SessionHistory, AnUnreadableRecordCostsOnlyTheRecord)
{
    PlayAndSave("a.tsg", 3, 2);
    PlayAndSave("b.tsg", 4, 3);
    const std::string good = ReadAll(File("a.tsg.history"));
    struct Case {
        const char* what;
        std::string sidecar;  // empty: no file
        HistoryLoad expected;
        const char* note;
    };
    std::string newer = good;
    newer.replace(0, 16, "TAVREK-HISTORY 9");
    const Case cases[] = {
        {"missing", "", HistoryLoad::Missing, "No history beside this game: the record starts now."},
        {"damaged", good.substr(0, good.size() - 30), HistoryLoad::Damaged,
         "The game's history file is damaged: the record starts now."},
        {"foreign", ReadAll(File("b.tsg.history")), HistoryLoad::Foreign,
         "The history file beside this game belongs to another game: the record starts now."},
        {"newer", newer, HistoryLoad::Newer, "The game's history file is from a newer version: the record starts now."},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(File("a.tsg.history"));
        if (!c.sidecar.empty())
            std::ofstream(File("a.tsg.history"), std::ios::binary) << c.sidecar;
        // The session holds another game's record when it opens this one: none of it may stay.
        GameSession session(frontend, dir.Str());
        ASSERT_EQ(session.Load(File("b.tsg")), LoadStatus::Loaded);
        ASSERT_FALSE(session.History().Months.empty());
        frontend.StatusLines.clear();
        ASSERT_TRUE(session.Open(File("a.tsg"))) << c.what;
        EXPECT_EQ(session.State().MonthCount, 3) << c.what << ": the game is loaded";
        EXPECT_EQ(session.LastHistoryLoad(), c.expected) << c.what;
        EXPECT_TRUE(session.History().Months.empty()) << c.what;
        EXPECT_TRUE(session.History().Messages.empty()) << c.what;
        // The status line keeps the game's own line; the note is the business history's.
        ASSERT_FALSE(frontend.StatusLines.empty()) << c.what;
        EXPECT_EQ(frontend.StatusLines.back().English,
                  session.State().CompanyName[session.State().CurrentCompany] + " in " +
                      session.State().TownName[session.State().SelectedTown] + ", March 1750")
            << c.what;
        const auto note = HistoryNote(session.LastHistoryLoad());
        ASSERT_TRUE(note) << c.what;
        EXPECT_EQ(note->English, c.note) << c.what;
        EXPECT_FALSE(note->German.empty()) << c.what;
        // The next month starts a record that belongs to this game.
        session.NextTurn();
        EXPECT_EQ(session.History().Months.size(), 1u) << c.what;
    }
}

TEST_F(SessionHistory, ARecordThatCannotBeWrittenStillSavesTheGame)
{
    std::filesystem::create_directory(File("a.tsg.history"));
    GameSession session(frontend, dir.Str());
    session.State().Program.Rng.Seed(3);
    session.NewGame(NewGameSettings{});
    session.NextTurn();
    frontend.StatusLines.clear();
    ASSERT_EQ(session.SaveAs(File("a.tsg")), SaveStatus::Saved);
    ASSERT_FALSE(frontend.StatusLines.empty());
    EXPECT_EQ(frontend.StatusLines.back().English, "The game was saved, but not its history.");
    GameSession reader(frontend, dir.Str());
    EXPECT_EQ(reader.Load(File("a.tsg")), LoadStatus::Loaded);
    EXPECT_EQ(reader.LastHistoryLoad(), HistoryLoad::Damaged) << "a folder is no record";
}
