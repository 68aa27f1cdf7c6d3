// The month's books add up: every dollar a company spent or gained before the market is in the
// record by kind and by town, so that money after last month - spending + other = money before
// the market, and + income - costs = money after the month, to the cent, over whole scripted
// games; the month report shows that chain, and why a brand sold nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command_world.h"
#include "commands/command.h"
#include "commands/game_session.h"
#include "commands/history_views.h"
#include "engine/turn.h"
#include "persistence/history_csv.h"
#include "recording_frontend.h"
#include "session_door.h"
#include "sim_runner.h"
#include "temp_dir.h"

namespace {

const std::filesystem::path kGames = std::filesystem::path(TAVREK_TEST_DATA).parent_path() / "games";

// A dollar figure is right when it is within half a cent.
constexpr double kCent = 0.005;

struct ScriptLine {
    int32_t Month;
    int Player;
    Command Do;
};

std::vector<ScriptLine> ParseScript(const std::string& text)
{
    std::vector<ScriptLine> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        ScriptLine l{};
        words >> l.Month >> l.Player;
        std::string rest;
        std::getline(words, rest);
        std::string error;
        EXPECT_TRUE(ParseCommand(rest, l.Do, error)) << line << ": " << error;
        lines.push_back(l);
    }
    return lines;
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ScriptedGame {
    const char* Name;
    uint32_t Seed;
    NewGameSettings Settings;
    int Rounds;
    std::string Script;
    std::string SimArgs;  ///< the same game as tavrek-sim plays it
};

NewGameSettings Settings(int start, int start2, bool events)
{
    NewGameSettings s;
    s.Map = 1;
    s.Player1Start = start;
    s.Player2Start = start2;
    s.TwoPlayer = start2 != 0;
    s.Events = events;
    return s;
}

std::vector<ScriptedGame> Games()
{
    return {
        {"the brewer takes the lead", 2024, Settings(3, 0, true), 40, ReadText(kGames / "brewer_takes_the_lead.txt"),
         "--seed 2024 --map 1 --start 3 --months 40"},
        {"each player in their own turn", 4, Settings(3, 9, false), 2,
         "1 2 transfer 5 100\n1 1 transfer 5 200\n2 1 select 4\n1 1 select 7\n3 2 depot\n",
         "--seed 4 --map 1 --start 3 --start2 9 --no-events --months 2"},
        // Two players spending on every kind from the first month, with events.
        {"two players spend on everything", 7, Settings(3, 9, true), 14,
         "1 1 depot\n1 1 extend 0 5\n1 1 transfer 4 3000\n1 1 transport 0 4 300\n"
         "1 2 depot\n1 2 extend 0 3\n1 2 transfer 4 2000\n"
         "2 1 order money 2 4 500\n2 1 order 0 2 4 200\n2 2 select 4\n2 2 prices 2.50 - -\n"
         "3 2 transport 0 4 100\n5 2 extend 0 3\n6 1 select 4\n6 1 depot\n",
         "--seed 7 --map 1 --start 3 --start2 9 --months 14"},
    };
}

bool IsHuman(const ScriptedGame& game, int company)
{
    return company == game.Settings.Player1Start - 1 ||
           (game.Settings.TwoPlayer && company == game.Settings.Player2Start - 1);
}

// One player's commands of the month as the script gives them, each mode left as it was found.
void PlayCommands(GameSession& session, const std::vector<ScriptLine>& script)
{
    const GameState& s = session.State();
    const int player = s.CurrentCompany == s.PlayerCompany[0] ? 1 : 2;
    for (const ScriptLine& line : script)
        if (line.Month == s.MonthCount && line.Player == player) {
            session.Execute(line.Do);
            if (line.Do.Kind != CommandKind::SelectTown && session.Panel().CommandMode != PanelMode::Idle)
                session.PressCancel();
        }
}

struct Played {
    GameHistory History;
    PerCompany<double> StartMoney{};
    PerCompany<std::string> Names;
    std::vector<MonthReport> Reports;  ///< each human's report of each closed month
    /// Each closed month's spending by the towns that paid, per company (the record keeps the
    /// newest month's).
    std::vector<std::array<std::array<double, kHistoryTowns>, kHistoryCompanies>> TownSpent;
};

Played Play(const ScriptedGame& game, const TempDir& dir)
{
    RecordingFrontend frontend;
    GameSession session(frontend, dir.Str());
    session.SetSeed(game.Seed);
    session.NewGame(game.Settings);
    Played played;
    for (int c = 0; c < kCompanies; ++c) {
        long double money = 0;
        for (int t = 0; t < kTowns; ++t)
            money += session.State().Account[c][t];
        played.StartMoney[c] = static_cast<double>(money);
    }
    const std::vector<ScriptLine> script = ParseScript(game.Script);
    for (int round = 0; round < game.Rounds; ++round) {
        const GameState& s = session.State();
        for (int press = 0; press < (s.TwoPlayer ? 2 : 1); ++press) {
            PlayCommands(session, script);
            session.NextTurn();
        }
        played.TownSpent.push_back(s.History.NewestTownSpent);
        for (const int human : s.PlayerCompany)
            if (human >= 0)
                played.Reports.push_back(ComputeMonthReport(s, human, Language::English));
    }
    played.History = session.History();
    played.Names = session.State().CompanyName;
    return played;
}

// What a company spent on one kind in the i-th closed month of a played game.
double SpentOn(const Played& played, size_t month, int company, SpendingKind kind)
{
    return played.History.SpentOn(played.History.Months[month], company, kind);
}

double Amount(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// The report's lines from one balance to the next add up to it; each printed figure is cut to
// the cent, so the sum may differ from the printed balance by half a cent per figure.
void ExpectReportAddsUp(const MonthReport& report, const std::string& where)
{
    std::optional<double> running;
    int figures = 0;
    int balances = 0;
    for (const ReportAmount& line : report.Books) {
        if (line.Part == ReportAmount::Change) {
            ASSERT_TRUE(running) << where << ": a change before any balance: " << line.Label;
            *running += Amount(line.Amount);
            ++figures;
        } else if (line.Part == ReportAmount::Balance) {
            if (running) {
                EXPECT_NEAR(*running, Amount(line.Amount), kCent * (figures + 1) + 1e-9) << where << ": " << line.Label;
            }
            running = Amount(line.Amount);
            figures = 1;
            ++balances;
        }
    }
    EXPECT_EQ(balances, 3) << where << ": the start, money before the market and money after";
}

}  // namespace

TEST(MonthBooks, EveryMonthOfTheScriptedGamesAddsUpToTheCent)
{
    for (const ScriptedGame& game : Games()) {
        TempDir dir;
        const Played played = Play(game, dir);
        const GameHistory& h = played.History;
        ASSERT_EQ(h.Months.size(), static_cast<size_t>(game.Rounds)) << game.Name;
        std::array<double, kSpendingKinds> spentByKind{};
        double other = 0;
        for (size_t i = 0; i < h.Months.size(); ++i) {
            const MonthRecord& r = h.Months[i];
            ASSERT_TRUE(r.Detailed) << game.Name << ": a game played from its start is seen whole";
            for (int c = 0; c < kCompanies; ++c) {
                const CompanyMonth& m = r.Companies[c];
                const std::string where = std::string(game.Name) + Format(", month %d, company %d", r.Month, c);
                const double before = i == 0 ? played.StartMoney[c] : h.Months[i - 1].Companies[c].Money;
                const double spent = h.TotalSpending(r, c);
                const double otherChanges = h.BooksOf(r.Month, c).Other;
                EXPECT_NEAR(before - spent + otherChanges, m.MoneyBefore, kCent) << where;
                EXPECT_NEAR(m.MoneyBefore + m.Revenue - m.Production - m.Interest, m.Money, kCent) << where;
                double byTown = 0;
                for (const double paid : played.TownSpent[i][c])
                    byTown += paid;
                EXPECT_NEAR(byTown, spent, kCent) << where << ": the towns paid it all";
                if (IsHuman(game, c)) {
                    double kinds = 0;
                    for (int k = 0; k < kSpendingKinds; ++k)
                        kinds += SpentOn(played, i, c, static_cast<SpendingKind>(k));
                    EXPECT_NEAR(kinds, spent, kCent) << where << ": the kinds add up to the spending";
                }
                if (c == 2) {
                    for (int k = 0; k < kSpendingKinds; ++k)
                        spentByKind[k] += SpentOn(played, i, c, static_cast<SpendingKind>(k));
                    other += otherChanges;
                }
            }
        }
        for (size_t i = 0; i < played.Reports.size(); ++i)
            ExpectReportAddsUp(played.Reports[i], std::string(game.Name) + Format(", report %d", static_cast<int>(i)));
        if (game.Seed == 2024) {
            // The brewer pays for every kind, and an event reached the player.
            for (int k = 0; k < kSpendingKinds; ++k)
                EXPECT_GT(spentByKind[k], 0.0) << game.Name << ": kind " << k;
            EXPECT_NE(other, 0.0) << game.Name;
        }
    }
}

TEST(MonthBooks, TheReportNamesEachKindOfTheFirstMonth)
{
    // The player's first month: a depot, an extension, a transfer and a transport in
    // Fotzingfors; the report's figures are the rules' own prices.
    TempDir dir;
    const Played played = Play(Games()[2], dir);
    const double spent = played.History.TotalSpending(played.History.Months[0], 2);
    EXPECT_NEAR(SpentOn(played, 0, 2, SpendingKind::TransferFees), 150.0, kCent) << "5 % of 3000 $";
    EXPECT_GT(SpentOn(played, 0, 2, SpendingKind::Transport), 0.0);
    EXPECT_GT(SpentOn(played, 0, 2, SpendingKind::Depots), 0.0);
    EXPECT_GT(SpentOn(played, 0, 2, SpendingKind::Extensions), 0.0);
    EXPECT_NEAR(played.TownSpent[0][2][2], spent, kCent) << "all of it paid in Fotzingfors";
    const MonthReport& report = played.Reports[0];
    std::vector<std::string> labels;
    for (const ReportAmount& line : report.Books)
        labels.push_back(line.Label);
    const std::vector<std::string> expected = {"Money at the start of the month",
                                               "Brewery extensions",
                                               "Depots",
                                               "Transfer fees (5 %)",
                                               "Transport",
                                               "Money before the market",
                                               "Income from sales",
                                               "Production costs",
                                               "Interest on debts",
                                               "Money after the month",
                                               "Company value",
                                               "Market share"};
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(report.Books[3].Amount, "-150.00 $");
    ASSERT_EQ(report.TownSpending.size(), 1u);
    EXPECT_EQ(report.TownSpending[0].Label, "Fotzingfors");
    EXPECT_EQ(report.TownSpending[0].Amount, Format("%.2f $", -spent));
}

namespace {

// Everything a month report shows, one line each, to compare two reports.
std::string ReportText(const MonthReport& r)
{
    std::string text = r.Title + "\n" + r.EmptyText + "\n";
    for (const ReportSalesRow& row : r.Sales)
        text += row.Town + "|" + row.Brand + "|" + row.Offered + "|" + row.Sold + "|" + row.Demand + "\n";
    for (const auto* lines : {&r.Books, &r.TownSpending})
        for (const ReportAmount& line : *lines)
            text += line.Label + "|" + line.Amount + "|" + std::to_string(static_cast<int>(line.Part)) + "\n";
    for (const auto* lines : {&r.Unsold, &r.Messages})
        for (const std::string& line : *lines)
            text += line + "\n";
    return text;
}

}  // namespace

TEST(MonthBooks, AGameOpenedAgainShowsTheSameReportForEveryMonth)
{
    // Saved between two months, and in the middle of one (the first player has built a depot,
    // the second has not moved yet): the game opened again shows the report of every month closed
    // before the save as the game that went on did, and the month that was open when it was saved
    // is seen whole, with the same spending. (A savegame keeps money to the cent, so the months
    // after the save may differ in their last cents.)
    struct Case {
        int Round;      ///< the round the game is saved in (0: the first)
        bool MidMonth;  ///< after the first player's Next Turn, rather than before the round
    };
    const ScriptedGame game = Games()[2];
    const std::vector<ScriptLine> script = ParseScript(game.Script);
    for (const Case c : {Case{1, false}, Case{5, true}, Case{9, false}}) {
        const std::string where = Format("saved in round %d%s", c.Round + 1, c.MidMonth ? " mid-month" : "");
        TempDir dir;
        RecordingFrontend frontend;
        GameSession played(frontend, dir.Str());
        played.SetSeed(game.Seed);
        played.NewGame(game.Settings);
        GameSession opened(frontend, dir.Str());
        std::vector<GameSession*> sessions = {&played};
        for (int round = 0; round < game.Rounds; ++round)
            for (int press = 0; press < 2; ++press) {
                if (round == c.Round && press == (c.MidMonth ? 1 : 0)) {
                    const std::string file = (dir / "kept.tsg").string();
                    ASSERT_EQ(played.SaveAs(file), SaveStatus::Saved) << where;
                    ASSERT_TRUE(opened.Open(file)) << where;
                    // The same chance from here on, so that both play the same months.
                    WritableState(opened).Program.Rng.SetState(played.State().Program.Rng.State());
                    sessions.push_back(&opened);
                }
                for (GameSession* session : sessions) {
                    PlayCommands(*session, script);
                    session->NextTurn();
                }
            }
        ASSERT_EQ(sessions.size(), 2u) << where;
        const GameHistory& h = played.History();
        ASSERT_EQ(opened.History().Months.size(), h.Months.size()) << where;
        const int32_t savedIn = c.Round + 1;
        int compared = 0;
        for (const MonthRecord& r : h.Months)
            for (const int human : played.State().PlayerCompany) {
                const MonthReport before = ComputeMonthReport(played.State(), human, Language::English, r.Month);
                const MonthReport after = ComputeMonthReport(opened.State(), human, Language::English, r.Month);
                const std::string month = where + Format(", month %d, company %d", r.Month, human);
                ASSERT_FALSE(after.Empty) << month;
                EXPECT_EQ(after.Books[0].Part, ReportAmount::Balance) << month << ": the books are known";
                ExpectReportAddsUp(after, month);
                if (r.Month < savedIn) {
                    EXPECT_EQ(ReportText(after), ReportText(before)) << month;
                    ++compared;
                } else if (r.Month == savedIn) {
                    // The spending of the month the game was saved in, as the first player left it.
                    for (int k = 0; k < kSpendingKinds; ++k)
                        EXPECT_EQ(opened.History().SpentOn(r, human, static_cast<SpendingKind>(k)),
                                  h.SpentOn(r, human, static_cast<SpendingKind>(k)))
                            << month << ", kind " << k;
                }
            }
        EXPECT_EQ(compared, 2 * c.Round) << where;
    }
}

TEST(MonthBooks, TheSimulatorsCsvAddsUpOnEveryRow)
{
    for (const ScriptedGame& game : Games()) {
        TempDir dir;
        const Played played = Play(game, dir);
        const std::filesystem::path script = dir / "script.txt";
        {
            std::ofstream out(script, std::ios::binary);
            out << game.Script;
        }
        const std::filesystem::path csv = dir / "history.csv";
        std::filesystem::create_directory(dir / "sim");
        const SimRun run = RunSim("--dir " + (dir / "sim").string() + " " + game.SimArgs + " --commands " +
                                  script.string() + " --history " + csv.string());
        ASSERT_EQ(run.Status, 0) << run.Out;
        const std::string text = ReadText(csv);
        EXPECT_EQ(text, HistoryCsv(played.History, played.Names)) << game.Name << ": the same game in and out";

        std::istringstream rows(text);
        std::string header;
        std::getline(rows, header);
        EXPECT_TRUE(header.ends_with(",demand,spending,other")) << header;
        std::array<double, kCompanies> money = played.StartMoney;
        int count = 0;
        for (std::string row; std::getline(rows, row); ++count) {
            std::vector<std::string> cells;
            // Names hold no comma here: a plain split serves.
            std::istringstream fields(row);
            for (std::string cell; std::getline(fields, cell, ',');)
                cells.push_back(cell);
            ASSERT_EQ(cells.size(), 18u) << row;
            const int c = std::atoi(cells[3].c_str()) - 1;
            ASSERT_TRUE(c >= 0 && c < kCompanies) << row;
            // Four figures each cut to the cent.
            EXPECT_NEAR(money[c] - Amount(cells[16]) + Amount(cells[17]), Amount(cells[5]), 4 * kCent + 1e-9)
                << game.Name << ": " << row;
            money[c] = Amount(cells[6]);
        }
        EXPECT_EQ(count, game.Rounds * kCompanies);
    }
}

TEST(MonthBooks, WhyABrandSoldNothing)
{
    struct Case {
        const char* name;
        void (*setup)(GameState&);
        NothingSold expected;
    };
    // Company 2 offers Alpha (quality 1.0) in Seaside (town 3) at wage level 1.0.
    const Case cases[] = {
        {"a price above 3.6 times the quality", [](GameState& s) { s.Price[2][0][3] = 3.61f; },
         NothingSold::PriceTooHigh},
        {"a quality 0.35 from the wages", [](GameState& s) { s.Wages[3] = 1.35f; }, NothingSold::OffTaste},
        {"too far and too dear: the quality is told",
         [](GameState& s) {
             s.Wages[3] = 0.6f;
             s.Price[2][0][3] = 9.0f;
         },
         NothingSold::OffTaste},
        {"a town of 20 l that a much cheaper brand serves",
         [](GameState& s) {
             // Weights 2 and 160: Alpha's share is a quarter litre, Beta sells 19 l, 1 l is left.
             s.Demand[3] = 20;
             s.Price[2][0][3] = 3.5f;
             s.Quality[2][1] = 1.0f;
             s.Price[2][1][3] = 1.0f;
             s.Stock[2][1][3] = 500;
         },
         NothingSold::DemandMet},
        {"a price that sells", [](GameState&) {}, NothingSold::No},
    };
    for (const Case& c : cases) {
        GameState s = CommandWorld();
        s.Program.ShowBestOpponent = false;
        s.History.OpenWhole = true;
        s.Stock[2][0][3] = 400;
        c.setup(s);
        RecordingFrontend f;
        NextTurn(s, f);
        ASSERT_EQ(s.History.Months.size(), 1u) << c.name;
        EXPECT_EQ(s.History.NewestUnsold[2][0][3], c.expected)
            << c.name << ": sold " << s.Sales[2][0][3] << " of " << s.Supply[2][0][3];
        EXPECT_EQ(s.History.NewestUnsold[2][0][2], NothingSold::No) << c.name << ": the home brewery sold";
        const MonthReport report = ComputeMonthReport(s, 2, Language::German);
        EXPECT_EQ(report.Unsold.size(), c.expected == NothingSold::No ? 0u : 1u) << c.name;
    }

    // Sold in Seaside in January; in February nothing was brought there.
    GameState s = CommandWorld();
    s.Program.ShowBestOpponent = false;
    s.History.OpenWhole = true;
    s.Stock[2][0][3] = 400;
    RecordingFrontend f;
    NextTurn(s, f);
    NextTurn(s, f);
    EXPECT_EQ(s.History.NewestUnsold[2][0][3], NothingSold::NoStock);
    for (const Language language : {Language::English, Language::German}) {
        const MonthReport report = ComputeMonthReport(s, 2, language);
        ASSERT_EQ(report.Unsold.size(), 1u);
        EXPECT_EQ(report.Unsold[0],
                  language == Language::English
                      ? "Seaside: Alpha sold nothing: no beer on hand (it sold there the month before)"
                      : "Seaside: Alpha verkaufte nichts: kein Bier vorrätig (im Vormonat verkauft)");
    }
    EXPECT_EQ(ComputeMonthReport(s, 2, Language::English).UnsoldHeading, "Sold nothing");
}

TEST(MonthBooks, AMonthTheGameWasOpenedInClaimsNoSpending)
{
    GameState s = CommandWorld();
    s.Program.ShowBestOpponent = false;
    RecordingFrontend f;
    // Opened during the month: what was spent before is not known.
    s.History.NoteSpending(2, 2, SpendingKind::Depots, 8000.0L);
    NextTurn(s, f);
    const MonthRecord& r = s.History.Months[0];
    EXPECT_FALSE(r.Detailed);
    EXPECT_EQ(s.History.TotalSpending(r, 2), 0.0);
    EXPECT_EQ(s.History.SpentOn(r, 2, SpendingKind::Depots), 0.0);
    const MonthReport report = ComputeMonthReport(s, 2, Language::English);
    EXPECT_EQ(report.Books[0].Label, "Spending not recorded (game opened this month)");
    EXPECT_TRUE(report.TownSpending.empty());
    EXPECT_NE(HistoryCsv(s.History, s.CompanyName).find(",50000,,\n"), std::string::npos)
        << "the CSV leaves spending and other empty";
    // The next month began in this sitting and is seen whole.
    NextTurn(s, f);
    EXPECT_TRUE(s.History.Months[1].Detailed);
}
