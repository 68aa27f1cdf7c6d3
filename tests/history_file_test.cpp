// The record beside a savegame: written and read back exactly; a damaged, foreign, newer or
// missing file is refused and costs the game nothing but its record.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "commands/game_session.h"
#include "persistence/game_files.h"
#include "persistence/history_file.h"
#include "recording_frontend.h"
#include "sim_runner.h"
#include "temp_dir.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uint64_t kGame = 0x0123456789abcdefull;
constexpr int32_t kMonth = 6;  // the sample's savegame month: months 1, 2 and 5 are closed

GameHistory SampleHistory()
{
    GameHistory h;
    for (int32_t month : {1, 2, 5}) {
        MonthRecord& r = h.AddMonth(month);
        std::array<int32_t, kHistoryTowns> demand{};
        demand.fill(1000 * month);
        h.SetDemand(demand);
        for (int c = 0; c < kHistoryCompanies; ++c) {
            CompanyMonth& m = r.Companies[c];
            // Set out of order: the record keeps a month's places in order whatever the order given.
            h.SetLitres(c, 2, 9, 0, std::numeric_limits<int32_t>::max());
            h.SetLitres(c, c % 3, c, 1000 + c, 500 + month);
            m.Revenue = 1234.5 * c + 0.1;
            m.Production = -0.0;
            m.Transport = 1.0 / 3.0;
            m.Interest = 1e300;
            m.MoneyBefore = -12746.0;
            m.Money = -1e-300;
            m.Value = 5e15 + month;
            m.Share = ShareOfDemand(m.Sales, static_cast<double>(r.TotalDemand));
        }
    }
    // Company 4's books did not move from month 2 to month 5: one short line.
    h.SetLitres(4, 1, 4, 1004, 502);
    h.Months[2].Companies[4] = h.Months[1].Companies[4];
    h.Months[2].Companies[4].Share = ShareOfDemand(h.Months[2].Companies[4].Sales, 50000.0);
    // A game begun on map 2 by "Grüner Ödön", who chose a town, did two things and reopened it.
    GameInputs& in = h.Inputs;
    in.Start.Kind = StartKind::NewWorld;
    in.Start.At = TakenUp{0x0000000100000002ull, 0xfedcba9876543210ull, {}};
    in.Start.Settings.Map = 2;
    in.Start.Settings.Player1Name = "Gr\u00fcner \u00d6d\u00f6n\tx";
    in.Start.Settings.Player1Start = 4;
    in.Start.At.Names.Company[0] = "Count Hawkhill";
    in.Start.At.Names.Brand[9][2] = "Firewater";
    in.Entries.push_back({1, 3, InputKind::Command, 0, "select 4"});
    in.Entries.push_back({1, 3, InputKind::Command, 0, "next-turn"});
    in.Entries.push_back({2, 3, InputKind::Reopened, 0, ""});
    in.Details.push_back(TakenUp{42, 43, in.Start.At.Names});
    in.Entries.push_back({5, 3, InputKind::Names, 1, ""});
    in.Details.push_back(TakenUp{0, 0, {}});
    in.Entries.push_back({6, 3, InputKind::Command, 0, "prices 0 1.5 - -"});
    h.Messages.push_back(
        {1, 2, {"You take over the Alpha-Brewery in Fotzingfors", "Sie übernehmen die Alpha-Brauerei"}, {}});
    h.Messages.push_back({5, 7, {"tab\there, line\nbreak, back\\slash\r", "Ärger"}, {"Bankruptcy!", "Bankrott!"}});
    h.OpenTransport[3] = 42.25L;
    // Months 2 and 5 were seen whole: their books, a player's spending by kind, the newest
    // month's spending by town and why brands sold nothing, and the open month's books so far.
    h.Months[1].Detailed = true;
    h.Months[2].Detailed = true;
    h.Books.push_back({2, 3, 5045.5, -592.0});
    h.Books.push_back({2, 8, 0.1, 0});
    h.Kinds.push_back({2, 3, {0, 0, 5000, 0, 45.5}});
    h.Books.push_back({5, 0, 0, 1e-300});
    h.Kinds.push_back({5, 9, {1.0 / 3.0, 0, 0, 0, 0}});
    h.NewestTownSpent[3][4] = 17.25;
    h.NewestTownSpent[8][0] = -0.5;
    h.NewestUnsold[2][1][7] = NothingSold::PriceTooHigh;
    h.NewestUnsold[9][0][0] = NothingSold::NoStock;
    h.Open[3].Spent[1] = 0.1L;
    h.Open[3].Other = -5.0L / 3.0L;
    h.Open[3].TownSpent[3] = 0.1L;
    h.OpenWhole = true;
    return h;
}

// A record as the versions before wrote it: two months of every place's litres, a message, an
// end (version 2), without its "open" line and closing sum.
std::string OldRecord(int version, bool ended)
{
    std::string t = Format("TAVREK-HISTORY %d\ngame 0123456789abcdef\n", version);
    for (const int month : {1, 2}) {
        t += Format("month %d 1000 1000 1000 1000 1000 1000 1000 1000 1000 1000\n", month);
        for (int c = 0; c < kHistoryCompanies; ++c) {
            t += Format("company %d 10.5 20.25 30 0.5 5 6 7 8", c);
            for (int table = 0; table < 2; ++table)
                for (int place = 0; place < kHistoryBrands * kHistoryTowns; ++place)
                    t += place == c ? Format(" %d", (table == 0 ? 100 : 50) * (c + 1) * month) : std::string(" 0");
            t += '\n';
        }
    }
    t += "message 2 1 Theft!\tDiebstahl!\t\t\n";
    if (ended)
        t += "ended 3 0 0 -1\n";
    return t;
}

}  // namespace

TEST(HistoryFile, WrittenAndReadBackExactly)
{
    const GameHistory h = SampleHistory();
    const std::string text = HistoryText(h, kGame, kMonth);
    EXPECT_EQ(text.rfind("TAVREK-HISTORY 4\ngame 0123456789abcdef\ncolumns money_before money value revenue "
                         "production transport interest supply sales\nstart new 0000000100000002 fedcba9876543210 2 ",
                         0),
              0u);
    EXPECT_NE(text.find("\n=\n"), std::string::npos) << "a company whose books did not move";
    GameHistory back;
    std::string reason;
    ASSERT_EQ(ParseHistory(text, kGame, kMonth, back, &reason), HistoryLoad::Loaded) << reason;
    EXPECT_TRUE(back == h);
    EXPECT_EQ(back.OpenTransport, h.OpenTransport);
    EXPECT_TRUE(back.Open == h.Open) << "the open month's books to their last bit";
    EXPECT_TRUE(back.OpenWhole);
    EXPECT_EQ(HistoryText(back, kGame, kMonth), text);
    EXPECT_NE(text.find("\nkinds 3 depots 5000 transfer_fees 45.5\n"), std::string::npos) << "only kinds spent";
    EXPECT_EQ(back.SpentOn(*back.FindMonth(2), 3, SpendingKind::Depots), 5000.0);
    EXPECT_EQ(back.BooksOf(2, 3).Other, -592.0);
    EXPECT_EQ(back.BooksOf(1, 3).Spent, 0.0) << "a month not seen whole has no books";
    ASSERT_NE(back.FindMonth(5), nullptr);
    EXPECT_EQ(back.FindMonth(5)->TotalDemand, 50000);
    EXPECT_EQ(back.NewestDemand[0], 5000);
    EXPECT_EQ(back.Inputs.Entries.size(), 5u);
    EXPECT_EQ(back.Inputs.Start.Settings.Player1Name, "Gr\u00fcner \u00d6d\u00f6n\tx");
    EXPECT_EQ(back.FindMonth(3), nullptr);

    GameHistory empty;
    ASSERT_EQ(ParseHistory(HistoryText(GameHistory{}, 7, 1), 7, 1, empty), HistoryLoad::Loaded);
    EXPECT_TRUE(empty == GameHistory{});

    // A game that has ended keeps its end.
    for (const RecordedEnd end :
         {RecordedEnd{4, true, 1234, -1}, RecordedEnd{7, false, 0, -1}, RecordedEnd{-1, false, 0, 3}}) {
        GameHistory ended = h;
        ended.End = end;
        const std::string endedText = HistoryText(ended, kGame, kMonth);
        GameHistory endedBack;
        ASSERT_EQ(ParseHistory(endedText, kGame, kMonth, endedBack, &reason), HistoryLoad::Loaded) << reason;
        EXPECT_TRUE(endedBack == ended);
    }
}

TEST(HistoryFile, OlderRecordsAreReadWithTheirNewestPlacesAndNoInputs)
{
    for (const int version : {1, 2}) {
        const std::string text = SealHistoryText(OldRecord(version, version == 2) + "open 0 0 0 0 0 0 0 0 0 1.5\n");
        GameHistory h;
        RecordHead head;
        std::string reason;
        ASSERT_EQ(ParseHistoryRecord(text, &kGame, 3, h, &head, &reason), HistoryLoad::Loaded) << reason;
        EXPECT_EQ(head.Version, version);
        ASSERT_EQ(h.Months.size(), 2u);
        for (int c = 0; c < kHistoryCompanies; ++c)
            for (int month = 1; month <= 2; ++month) {
                const MonthRecord& r = h.Months[static_cast<size_t>(month - 1)];
                EXPECT_EQ(r.TotalDemand, 10000);
                EXPECT_EQ(r.Companies[c].Supply, 100 * (c + 1) * month);
                EXPECT_EQ(r.Companies[c].Sales, 50 * (c + 1) * month);
                EXPECT_EQ(r.Companies[c].Money, 20.25);
                EXPECT_EQ(r.Companies[c].Share, ShareOfDemand(50 * (c + 1) * month, 10000.0))
                    << "the share follows from the litres";
            }
        EXPECT_EQ(h.NewestCells.size(), 10u) << "the newest month keeps its places";
        EXPECT_EQ(h.NewestDemand[9], 1000);
        EXPECT_EQ(h.Litres(h.Months.back(), 3).Supply[0][3], 800);
        EXPECT_EQ(h.Litres(h.Months.front(), 3).Supply[0][3], 0);
        EXPECT_EQ(h.Inputs.Start.Kind, StartKind::Unknown);
        EXPECT_FALSE(h.Inputs.Replayable());
        EXPECT_EQ(h.End.has_value(), version == 2);
        EXPECT_EQ(h.OpenTransport[9], 1.5L);
        // Written again in the newest version, it reads back the same.
        GameHistory again;
        ASSERT_EQ(ParseHistory(HistoryText(h, kGame, 3), kGame, 3, again, &reason), HistoryLoad::Loaded) << reason;
        EXPECT_TRUE(again == h);
    }
}

TEST(HistoryFile, RefusesWhatIsNotAWholeRecordOfThisGame)
{
    const std::string good = HistoryText(SampleHistory(), kGame, kMonth);
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
        {"a company missing, sum right", resealed(replaced("\n=\n", "\n")), HistoryLoad::Damaged},
        {"a figure too many, sum right", resealed(replaced("\n=\n", "\n1 2 3 4 5 6 7 8 9 10\n")),
         HistoryLoad::Damaged},
        {"unchanged books in the first month, sum right",
         resealed(std::string(good).insert(good.find('\n', good.find("month 1 ")) + 1, "=\n")), HistoryLoad::Damaged},
        {"no columns line, sum right", resealed(replaced("columns ", "colums ")), HistoryLoad::Damaged},
        {"an input before the start, sum right",
         resealed(std::string(good).insert(good.find("start "), "do 1 3 next-turn\n")), HistoryLoad::Damaged},
        {"an input after the messages, sum right",
         resealed(std::string(good).insert(good.find("message ", good.find("message ") + 1), "do 6 3 next-turn\n")),
         HistoryLoad::Damaged},
        {"an input after the savegame's month, sum right", resealed(replaced("do 6 3 ", "do 7 3 ")),
         HistoryLoad::Damaged},
        {"inputs going back in time, sum right", resealed(replaced("do 6 3 ", "do 4 3 ")), HistoryLoad::Damaged},
        {"a start that is neither, sum right", resealed(replaced("start new ", "start old ")), HistoryLoad::Damaged},
        {"a start with a name missing, sum right", resealed(replaced("\tFirewater", "")), HistoryLoad::Damaged},
        {"a savegame start with a bad escape, sum right",
         resealed(replaced("start new 0000000100000002 fedcba9876543210 2 0 0 1 1 0 0 4 0 60\t",
                           "start savegame 0000000100000002 fedcba9876543210 \\x4\t")),
         HistoryLoad::Damaged},
        {"places that do not add up, sum right", resealed(replaced("litres 0 0 0 1000 505", "litres 0 0 0 1000 504")),
         HistoryLoad::Damaged},
        {"places out of order, sum right",
         resealed(std::string(good).insert(good.find("litres 0 2 9"), "litres 0 2 9 1 1\n")), HistoryLoad::Damaged},
        {"the towns' demand not the month's, sum right", resealed(replaced("places 5000 ", "places 5001 ")),
         HistoryLoad::Damaged},
        {"a money figure not a number, sum right", resealed(replaced("1e+300", "nan")), HistoryLoad::Damaged},
        {"books of a month not seen whole, sum right",
         resealed(std::string(good).insert(good.find("month 2 "), "books 1 5 5\n")), HistoryLoad::Damaged},
        {"books of nothing, sum right", resealed(replaced("books 8 0.1 0", "books 8 0 0")), HistoryLoad::Damaged},
        {"books out of order, sum right", resealed(replaced("books 8 ", "books 2 ")), HistoryLoad::Damaged},
        {"a kind nobody spends on, sum right", resealed(replaced("kinds 3 depots", "kinds 3 beer")),
         HistoryLoad::Damaged},
        {"a kind twice, sum right", resealed(replaced("kinds 3 depots 5000", "kinds 3 depots 5000 depots 1")),
         HistoryLoad::Damaged},
        {"a kind without dollars, sum right", resealed(replaced("transfer_fees 45.5", "transfer_fees")),
         HistoryLoad::Damaged},
        {"a kind of nothing, sum right", resealed(replaced("transfer_fees 45.5", "transfer_fees 0")),
         HistoryLoad::Damaged},
        {"a reason out of order, sum right", resealed(replaced("unsold 9 0 0 1", "unsold 1 0 0 1")),
         HistoryLoad::Damaged},
        {"a reason nobody gives, sum right", resealed(replaced("unsold 9 0 0 1", "unsold 9 0 0 5")),
         HistoryLoad::Damaged},
        {"towns' spending after the reasons, sum right",
         resealed(std::string(good).insert(good.find("openbooks "), "townspent 9 1 0 0 0 0 0 0 0 0 0\n")),
         HistoryLoad::Damaged},
        {"towns' spending with a town missing, sum right",
         resealed(replaced("townspent 3 0 0 0 0 17.25 0 0 0 0 0", "townspent 3 0 0 0 0 17.25 0 0 0 0")),
         HistoryLoad::Damaged},
        {"open books after the open line, sum right",
         resealed(good.substr(0, good.rfind("\nend ") + 1) + "openbooks 4 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"),
         HistoryLoad::Damaged},
        {"open books of nothing, sum right",
         resealed(std::string(good).insert(good.find("openbooks "), "openbooks 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n")),
         HistoryLoad::Damaged},
        {"the open month half whole, sum right", resealed(replaced(" whole\nend", " halfway\nend")),
         HistoryLoad::Damaged},
        {"a message with three texts, sum right", resealed(replaced("\tBankruptcy!", " Bankruptcy!")),
         HistoryLoad::Damaged},
        {"an unknown escape, sum right", resealed(replaced("back\\\\slash", "back\\qslash")), HistoryLoad::Damaged},
        {"no open month, sum right", resealed(good.substr(0, good.find("open "))), HistoryLoad::Damaged},
        {"unknown line, sum right", resealed(replaced("open ", "shut ")), HistoryLoad::Damaged},
        {"the game line changed by hand", replaced("game 0123456789abcdef", "game 0123456789abcdee"),
         HistoryLoad::Damaged},
        {"another game, sum right", resealed(replaced("game 0123456789abcdef", "game fedcba9876543210")),
         HistoryLoad::Foreign},
        {"newer version", replaced("TAVREK-HISTORY 4", "TAVREK-HISTORY 5"), HistoryLoad::Newer},
        {"an end in a version 1 record", resealed(OldRecord(1, false) + "ended 2 1 500 -1\nopen 0 0 0 0 0 0 0 0 0 0\n"),
         HistoryLoad::Damaged},
        {"an end nobody reached", resealed(std::string(good).insert(good.find("places "), "ended -1 0 0 -1\n")),
         HistoryLoad::Damaged},
        {"a winner beyond the companies", resealed(std::string(good).insert(good.find("places "), "ended 10 0 0 -1\n")),
         HistoryLoad::Damaged},
        {"a message after the end", resealed(std::string(good).insert(good.find("message "), "ended 2 1 9 -1\n")),
         HistoryLoad::Damaged},
        {"version zero", resealed(replaced("TAVREK-HISTORY 4", "TAVREK-HISTORY 0")), HistoryLoad::Damaged},
        // What the game could not have written by the savegame's month.
        {"the savegame's own month closed", resealed(replaced("month 5 ", "month 6 ")), HistoryLoad::Damaged},
        {"a month after the savegame's", resealed(replaced("month 5 ", "month 2000000000 ")), HistoryLoad::Damaged},
        {"a message in month 0", resealed(replaced("message 1 2 ", "message 0 2 ")), HistoryLoad::Damaged},
        {"a message in the lowest month", resealed(replaced("message 1 2 ", "message -2147483648 2 ")),
         HistoryLoad::Damaged},
        {"a message after the savegame's month", resealed(replaced("message 5 7 ", "message 7 7 ")),
         HistoryLoad::Damaged},
        {"a message text longer than a box", resealed(replaced("Bankruptcy!", std::string(5000, 'x'))),
         HistoryLoad::Damaged},
        {"more messages than six months show",
         [&] {
             std::string t = good;
             std::string many;
             for (size_t i = 0; i < HistoryBounds{kMonth}.MostMessages(); ++i)
                 many += "message 5 1 x\tx\t\t\n";
             t.insert(t.find("open "), many);
             return resealed(t);
         }(),
         HistoryLoad::Damaged},
    };
    for (const Case& c : cases) {
        GameHistory out = SampleHistory();
        out.DropNewestMonth();
        const GameHistory before = out;
        std::string reason;
        EXPECT_EQ(ParseHistory(c.text, kGame, kMonth, out, &reason), c.expected) << c.what;
        EXPECT_FALSE(reason.empty()) << c.what;
        EXPECT_TRUE(out == before) << c.what << ": a refused record leaves the one in hand alone";
    }
}

TEST(HistoryFile, TheWriterLeavesOutWhatTheReaderWouldRefuse)
{
    // A game opened at month 13 beside a record of 24 months, with messages beyond, too many of
    // them and one far too long: what is written for month 13 is read back, without the rest.
    GameHistory h;
    for (int32_t month = 1; month <= 24; ++month)
        h.AddMonth(month);
    h.AddMonth(13);  // months 1..24, then 13 again: the fault this guards
    h.Messages.push_back({0, 1, {"before the game", ""}, {}});
    h.Messages.push_back({-2147483647 - 1, 1, {"the lowest month", ""}, {}});
    for (int i = 0; i < 2000; ++i)
        h.Messages.push_back({12, i % 10, {Format("message %d", i), ""}, {}});
    // The byte limit falls inside an "ä".
    h.Messages.push_back({13, 3, {std::string(HistoryBounds::kLongestText - 1, 'x') + "\u00e4\u00e4", ""}, {}});
    h.Messages.push_back({14, 3, {"after the savegame", ""}, {}});

    GameHistory back;
    std::string reason;
    ASSERT_EQ(ParseHistory(HistoryText(h, kGame, 13), kGame, 13, back, &reason), HistoryLoad::Loaded) << reason;
    ASSERT_EQ(back.Months.size(), 12u);
    EXPECT_EQ(back.Months.back().Month, 12);
    const size_t most = HistoryBounds{13}.MostMessages();
    ASSERT_EQ(back.Messages.size(), most) << "the newest messages are kept";
    EXPECT_EQ(back.Messages.front().Text.English, Format("message %d", static_cast<int>(2000 - most + 1)));
    const std::string& cut = back.Messages.back().Text.English;
    EXPECT_EQ(cut, std::string(HistoryBounds::kLongestText - 1, 'x')) << "cut at a character's start";
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
        session.SetSeed(seed);
        session.SetShowBestOpponent(false);
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
    // The months come back as they were, with their details (spending and other changes, the
    // newest month's towns and why a brand sold nothing). The inputs go on from the saved ones,
    // noting the reopening.
    EXPECT_TRUE(played.Months.back().Detailed);
    EXPECT_TRUE(session.History().Months.back().Detailed);
    const auto sameBooks = [](GameHistory a, GameHistory b) {
        a.Inputs = {};
        b.Inputs = {};
        return a == b;
    };
    EXPECT_TRUE(sameBooks(session.History(), played));
    const GameInputs& inputs = session.History().Inputs;
    EXPECT_EQ(inputs.Start, played.Inputs.Start);
    ASSERT_EQ(inputs.Entries.size(), played.Inputs.Entries.size() + 1);
    EXPECT_EQ(inputs.Entries.back().Kind, InputKind::Reopened);
    EXPECT_EQ(inputs.Entries.back().Month, 5);

    // Playing on adds to it; Save writes both; tavrek-sim's Load reads both.
    session.NextTurn();
    ASSERT_EQ(session.Save(), SaveStatus::Saved);
    GameSession reader(frontend, dir.Str());
    ASSERT_EQ(reader.Load(File("a.tsg")), LoadStatus::Loaded);
    EXPECT_EQ(reader.History().Months.size(), 5u);
    EXPECT_TRUE(reader.History().Months.back().Detailed) << "the month opened at its start was seen whole";
    EXPECT_TRUE(sameBooks(reader.History(), session.History()));
    EXPECT_EQ(reader.History().Inputs.Entries.size(), inputs.Entries.size() + 1);
}

TEST_F(SessionHistory, AnOlderRecordIsShownAndTheInputsBeginWithTheSavegame)
{
    PlayAndSave("old.tsg", 4, 3);
    const std::string savegame = ReadAll(File("old.tsg"));
    std::string old = OldRecord(1, false);
    old.replace(old.find("0123456789abcdef"), 16,
                Format("%016llx", static_cast<unsigned long long>(SavegameFingerprint(savegame))));
    WriteFile(dir / "old.tsg.history", SealHistoryText(old + "open 0 0 0 0 0 0 0 0 0 0\n"));

    GameSession session(frontend, dir.Str());
    ASSERT_TRUE(session.Open(File("old.tsg")));
    EXPECT_EQ(session.LastHistoryLoad(), HistoryLoad::Loaded);
    EXPECT_EQ(session.History().Months.size(), 2u) << "the older record's months are shown";
    // Its game's inputs are not at hand: they begin with the savegame it was opened from.
    const GameInputs& inputs = session.History().Inputs;
    EXPECT_EQ(inputs.Start.Kind, StartKind::Savegame);
    EXPECT_EQ(inputs.Start.Savegame, savegame);
    EXPECT_TRUE(inputs.Entries.empty());
    session.NextTurn();
    ASSERT_EQ(session.Save(), SaveStatus::Saved);
    EXPECT_NE(ReadAll(File("old.tsg.history")).find("\nstart savegame "), std::string::npos);
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
    session.SetSeed(3);
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

TEST_F(SessionHistory, AFileThatIsNoRecordBesideTheSavegameStaysAndTheSaveSaysSo)
{
    // The player named a savegame "a.tsg.history"; an empty file holds nothing and may go.
    const std::string other = "1\r\n0\r\n3\r\n";
    struct Case {
        const char* what;
        std::string besides;
        bool kept;
    };
    for (const Case& c :
         {Case{"a savegame", other, true}, Case{"a text", "notes\n", true}, Case{"an empty file", "", false}}) {
        std::filesystem::remove(File("a.tsg"));
        WriteFile(File("a.tsg.history"), c.besides);
        GameSession session(frontend, dir.Str());
        session.SetSeed(3);
        session.NewGame(NewGameSettings{});
        session.NextTurn();
        frontend.Messages.clear();
        ASSERT_EQ(session.SaveAs(File("a.tsg")), SaveStatus::Saved) << c.what;
        EXPECT_EQ(ReadAll(File("a.tsg")), SavegameText(session.State())) << c.what << ": the game is saved";
        if (c.kept) {
            EXPECT_EQ(ReadAll(File("a.tsg.history")), c.besides) << c.what;
            EXPECT_EQ(session.LastRecordSave(), RecordSave::NotARecord) << c.what;
            ASSERT_EQ(frontend.Messages.size(), 1u) << c.what;
            EXPECT_EQ(frontend.Messages[0].Caption.English, "File Error");
            EXPECT_NE(frontend.Messages[0].Text.English.find("is not a history file and stays as it is"),
                      std::string::npos);
        } else {
            EXPECT_EQ(session.LastRecordSave(), RecordSave::Saved) << c.what;
            EXPECT_TRUE(frontend.Messages.empty()) << c.what;
        }
    }
}

TEST_F(SessionHistory, ARecordNotSavedOnTheWayOutIsToldInABox)
{
    std::filesystem::create_directory(File("a.tsg.history"));
    GameSession session(frontend, dir.Str());
    session.SetSeed(3);
    session.NewGame(NewGameSettings{});
    session.NextTurn();
    frontend.Messages.clear();
    session.SetLeaving(true);
    ASSERT_EQ(session.SaveAs(File("a.tsg")), SaveStatus::Saved);
    ASSERT_EQ(frontend.Messages.size(), 1u);
    EXPECT_EQ(frontend.Messages[0].Text.English, "The game was saved, but not its history.");
    // The autosave on closing tells it the same way.
    frontend.Messages.clear();
    std::filesystem::create_directory(session.AutosavePath() + ".history");
    session.SetAutosaveOnExit(true);
    EXPECT_TRUE(session.MayClose());
    ASSERT_EQ(frontend.Messages.size(), 1u);
    EXPECT_EQ(frontend.Messages[0].Text.English, "The game was saved, but not its history.");
}

namespace {

// The savegame and its record as the next open finds them: the record covers every closed month
// of the savegame, and every message lies in the game's months.
struct Found {
    int32_t Month = 0;  ///< the savegame's month; 0 without a savegame
    HistoryLoad Record = HistoryLoad::Missing;
    bool Recovered = false;
    bool Covers = false;  ///< the record holds months 1 .. Month-1, each once
};

Found OpenPair(const std::string& path)
{
    Found found;
    OpenedPair pair = ReadGameAndRecord(path);
    if (pair.Game != LoadStatus::Loaded)
        return found;
    found.Month = pair.Content->Game.MonthCount;
    found.Record = pair.Record;
    found.Recovered = pair.Recovered;
    found.Covers =
        pair.Record == HistoryLoad::Loaded && pair.History.Months.size() == static_cast<size_t>(found.Month - 1);
    for (size_t i = 0; found.Covers && i < pair.History.Months.size(); ++i)
        found.Covers = pair.History.Months[i].Month == static_cast<int32_t>(i + 1);
    for (const RecordedMessage& m : pair.History.Messages)
        found.Covers = found.Covers && m.Month >= 1 && m.Month <= found.Month;
    return found;
}

// The scratch files of the savegame "a.tsg" and its record.
std::vector<std::string> ScratchFiles(const TempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        if (entry.path().extension() == ".tmp" && entry.path().filename().string().rfind("a.tsg.", 0) == 0)
            names.push_back(entry.path().filename().string());
    return names;
}

bool HaveStrace() { return std::system("strace -V >/dev/null 2>&1") == 0; }

// Runs tavrek-sim, killed at the entry of its n-th rename (0: not killed).
void RunSimKilledAtRename(const std::string& args, int rename)
{
    const std::string sim = std::string(TAVREK_SIM_PATH) + " " + args + " >/dev/null 2>&1";
    const std::string command =
        rename == 0
            ? sim
            : "strace -f -o /dev/null -e inject=rename:signal=SIGKILL:when=" + std::to_string(rename) + " " + sim;
    (void)std::system(command.c_str());
}

}  // namespace

// A save killed at each of its renames: the next open finds a savegame with a record that
// covers all its months (the new record taken from its scratch file where the savegame was
// already in place), playing on works, and the next save leaves no scratch file.
TEST(RecordBesideSavegame, ASaveKilledAtEachRenameLeavesAWholePair)
{
    if (!HaveStrace())
        GTEST_SKIP() << "strace is not installed";
    struct Case {
        const char* what;
        const char* before;  ///< the run that makes the files first (the settings at least)
        const char* save;    ///< the run that is killed
        int rename;          ///< at which rename: 1 the savegame's, 2 the record's, 3 the CSV's
        int32_t month;       ///< the savegame's month the next open finds; 0: none
        bool recovered;      ///< the record came from the killed save's scratch file
    };
    const Case cases[] = {
        {"first save, at the savegame's rename", "--months 0", "--seed 5 --months 6 --save @a.tsg", 1, 0, false},
        {"first save, at the record's rename", "--months 0", "--seed 5 --months 6 --save @a.tsg", 2, 7, true},
        {"saved over, at the savegame's rename", "--seed 5 --months 6 --save @a.tsg",
         "--load @a.tsg --months 4 --save @a.tsg", 1, 7, false},
        {"saved over, at the record's rename", "--seed 5 --months 6 --save @a.tsg",
         "--load @a.tsg --months 4 --save @a.tsg", 2, 11, true},
        {"saved over, at the CSV's rename", "--seed 5 --months 6 --save @a.tsg",
         "--load @a.tsg --months 4 --save @a.tsg --history @a.csv", 3, 11, false},
        {"saved over, not killed", "--seed 5 --months 6 --save @a.tsg", "--load @a.tsg --months 4 --save @a.tsg", 0, 11,
         false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string file = (dir / "a.tsg").string();
        const auto sim = [&](std::string args) {
            // "@" stands for the test's folder.
            for (size_t at = args.find('@'); at != std::string::npos; at = args.find('@', at))
                args.replace(at, 1, dir.Str() + "/");
            return "--dir " + dir.Str() + " " + args;
        };
        RunSimKilledAtRename(sim(c.before), 0);
        RunSimKilledAtRename(sim(c.save), c.rename);

        const Found found = OpenPair(file);
        EXPECT_EQ(found.Month, c.month) << c.what;
        if (c.month > 0) {
            EXPECT_EQ(found.Record, HistoryLoad::Loaded) << c.what;
            EXPECT_TRUE(found.Covers) << c.what;
            EXPECT_EQ(found.Recovered, c.recovered) << c.what;
        }
        // The open removed what the killed save left behind.
        EXPECT_TRUE(ScratchFiles(dir).empty()) << c.what;

        // Playing on: a month more, saved; the pair is whole and nothing is left over.
        const SimRun on = RunSim(
            sim(c.month > 0 ? "--load @a.tsg --months 1 --save @a.tsg" : "--seed 5 --months 6 --save @a.tsg"), true);
        EXPECT_EQ(on.Status, 0) << c.what << on.Out;
        EXPECT_EQ(on.Out.find("dropped"), std::string::npos) << c.what << on.Out;
        const Found after = OpenPair(file);
        EXPECT_EQ(after.Month, c.month > 0 ? c.month + 1 : 7) << c.what;
        EXPECT_TRUE(after.Covers) << c.what;
        EXPECT_TRUE(ScratchFiles(dir).empty()) << c.what;
    }
}

// Killed at random moments of a long game's saves, and two programs saving one file at once:
// each time the next open finds a pair that belongs together.
TEST(RecordBesideSavegame, KilledAtRandomMomentsOrSavedTwiceAtOnceThePairStaysWhole)
{
    TempDir dir;
    const std::string file = (dir / "a.tsg").string();
    const std::string base = std::string(TAVREK_SIM_PATH) + " --dir " + dir.Str() + " ";
    ASSERT_EQ(RunSim("--dir " + dir.Str() + " --seed 9 --months 600 --save " + file).Status, 0);
    int32_t month = OpenPair(file).Month;
    ASSERT_GT(month, 500);

    std::mt19937 random(24);
    for (int round = 0; round < 12; ++round) {
        // A run of this game takes a few hundred milliseconds, most of them in its save.
        const int delayMs = std::uniform_int_distribution<int>(5, 400)(random);
        const std::string command = "timeout -s KILL " + Format("%d.%03d", delayMs / 1000, delayMs % 1000) + " " +
                                    base + "--load " + file + " --months 2 --save " + file + " >/dev/null 2>&1";
        (void)std::system(command.c_str());
        const Found found = OpenPair(file);
        EXPECT_TRUE(found.Month == month || found.Month == month + 2) << "killed after " << delayMs << " ms";
        EXPECT_TRUE(found.Covers) << "killed after " << delayMs << " ms";
        EXPECT_TRUE(ScratchFiles(dir).empty());
        month = found.Month;
    }

    for (int round = 0; round < 4; ++round) {
        const std::string one = base + "--load " + file + " --months 1 --save " + file + " >/dev/null 2>&1";
        const std::string two = base + "--load " + file + " --months 2 --save " + file + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(("(" + one + " & " + two + " & wait)").c_str()), 0);
        const Found found = OpenPair(file);
        // One may load what the other has just saved.
        EXPECT_TRUE(found.Month > month && found.Month <= month + 3) << found.Month;
        EXPECT_EQ(found.Record, HistoryLoad::Loaded);
        EXPECT_TRUE(found.Covers);
        EXPECT_FALSE(found.Recovered);
        EXPECT_TRUE(ScratchFiles(dir).empty());
        month = found.Month;
    }
}

// The window's Save (the session's, which the window's handlers call) killed at each of its
// renames: strace attaches to a child that holds a played game and then saves it.
TEST(RecordBesideSavegame, TheWindowsSaveKilledAtEachRenameLeavesAWholePair)
{
    if (!HaveStrace())
        GTEST_SKIP() << "strace is not installed";
    struct Case {
        int rename;
        int32_t month;
        bool recovered;
    };
    for (const Case c : {Case{1, 7, false}, Case{2, 11, true}}) {
        TempDir dir;
        const std::string file = (dir / "a.tsg").string();
        RecordingFrontend frontend;
        GameSession session(frontend, dir.Str());
        session.SetSeed(5);
        session.SetShowBestOpponent(false);
        session.NewGame(NewGameSettings{});
        for (int m = 0; m < 6; ++m)
            session.NextTurn();
        ASSERT_EQ(session.SaveAs(file), SaveStatus::Saved);
        for (int m = 0; m < 4; ++m)
            session.NextTurn();

        int go[2];
        ASSERT_EQ(::pipe(go), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(go[1]);
            char byte = 0;
            if (::read(go[0], &byte, 1) == 1)
                (void)session.Save();
            ::_exit(0);
        }
        ::close(go[0]);
        const std::string strace =
            "strace -q -o /dev/null -e inject=rename:signal=SIGKILL:when=" + std::to_string(c.rename) + " -p " +
            std::to_string(child) + " &";
        (void)std::system(strace.c_str());
        // The child saves only once strace holds it.
        bool traced = false;
        for (int wait = 0; wait < 500 && !traced; ++wait) {
            std::ifstream status("/proc/" + std::to_string(child) + "/status");
            for (std::string line; std::getline(status, line);)
                if (line.rfind("TracerPid:", 0) == 0)
                    traced = std::stoi(line.substr(10)) != 0;
            if (!traced)
                ::usleep(10000);
        }
        (void)!::write(go[1], "x", 1);
        ::close(go[1]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!traced)
            GTEST_SKIP() << "strace cannot attach here";
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << c.rename;

        const Found found = OpenPair(file);
        EXPECT_EQ(found.Month, c.month) << c.rename;
        EXPECT_EQ(found.Record, HistoryLoad::Loaded) << c.rename;
        EXPECT_TRUE(found.Covers) << c.rename;
        EXPECT_EQ(found.Recovered, c.recovered) << c.rename;
        EXPECT_TRUE(ScratchFiles(dir).empty()) << c.rename;
        // The game in hand is saved again over whatever the kill left.
        ASSERT_EQ(session.Save(), SaveStatus::Saved);
        EXPECT_EQ(OpenPair(file).Month, 11);
        EXPECT_TRUE(OpenPair(file).Covers);
        EXPECT_TRUE(ScratchFiles(dir).empty());
    }
}
