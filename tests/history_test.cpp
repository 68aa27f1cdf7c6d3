// The record of a game: filled by the month end with the month's own books, its messages, its
// size over a long game; the price forecast and the town forecast against the market they
// forecast; tavrek-sim's CSV.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "command_world.h"
#include "commands/history_views.h"
#include "commands/logistics.h"
#include "engine/end_of_game.h"
#include "engine/market.h"
#include "engine/standing_orders.h"
#include "engine/turn.h"
#include "game/world_generation.h"
#include "recording_frontend.h"
#include "sim_runner.h"
#include "small_world.h"
#include "temp_dir.h"

namespace {

GameState SeededGame(const TempDir& dir, uint32_t seed, int map, bool nobodyWins = false)
{
    GameState s;
    s.Program.ProgramDirectory = dir.Str();
    s.Program.ShowBestOpponent = false;
    s.Program.Rng.Seed(seed);
    NewGameSettings settings;
    settings.Map = map;
    // Nothing may touch the books between the month end and the check below.
    settings.Events = false;
    settings.DelayBuilding = false;
    if (nobodyWins) {
        settings.AdvancedOptions = true;
        settings.WinningShareText = "100";
    }
    RecordingFrontend f;
    GenerateWorld(s, settings, f);
    return s;
}

long double Money(const GameState& s, int c)
{
    long double sum = 0;
    for (int t = 0; t < kTowns; ++t)
        sum += s.Account[c][t];
    return sum;
}

}  // namespace

TEST(History, EachClosedMonthHoldsTheMonthsOwnBooks)
{
    TempDir dir;
    GameState s = SeededGame(dir, 7, 2);
    RecordingFrontend f;
    for (int month = 1; month <= 36; ++month) {
        NextTurn(s, f);
        ASSERT_EQ(s.History.Months.size(), static_cast<size_t>(month));
        const MonthRecord& r = s.History.Months.back();
        EXPECT_EQ(r.Month, month);
        EXPECT_EQ(s.History.NewestDemand, s.Demand);
        EXPECT_EQ(r.TotalDemand, static_cast<int64_t>(TotalDemand(s)));
        for (const LitreCell& cell : s.History.CellsOf(r))
            EXPECT_TRUE(cell.Supply != 0 || cell.Sales != 0) << "an empty place is not kept";
        for (int c = 0; c < kCompanies; ++c) {
            const CompanyMonth& m = r.Companies[c];
            const CompanyLitres litres = s.History.Litres(r, c);
            EXPECT_EQ(litres.Sales, s.Sales[c]) << month << " " << c;
            EXPECT_EQ(litres.Supply, s.Supply[c]) << month << " " << c;
            EXPECT_EQ(m.Money, static_cast<double>(Money(s, c))) << month << " " << c;
            EXPECT_EQ(m.Value, static_cast<double>(CompanyValue(s, c))) << month << " " << c;
            EXPECT_EQ(m.Share, MarketShare(s, c)) << month << " " << c;
            long double revenue = 0, production = 0;
            for (int b = 0; b < kBrands; ++b)
                for (int t = 0; t < kTowns; ++t) {
                    revenue += static_cast<long double>(s.Sales[c][b][t]) * s.Price[c][b][t];
                    production += s.ProductionCost[c][b][t];
                }
            EXPECT_NEAR(m.Revenue, static_cast<double>(revenue), 1e-12 * static_cast<double>(revenue));
            EXPECT_EQ(m.Production, static_cast<double>(production));
            EXPECT_GE(m.Interest, 0.0);
            // The books balance: what the market found, less production, plus sales, less interest.
            const double balance = m.MoneyBefore - m.Production + m.Revenue - m.Interest;
            EXPECT_NEAR(balance, m.Money, 1e-6 * (1.0 + std::fabs(m.Money))) << month << " " << c;
        }
    }
    EXPECT_EQ(s.History.Messages.size(), 1u) << "only the take-over at the start";
}

TEST(History, PlacesOfAMonthStayInOrderAndEmptyOnesGo)
{
    GameHistory h;
    h.AddMonth(1);
    h.SetLitres(0, 0, 0, 5, 5);
    h.AddMonth(2);
    struct Step {
        int company, brand, town;
        int32_t supply, sales;
    };
    // Out of order, one place set twice, one emptied again, and places outside the tables.
    for (const Step& p :
         {Step{3, 2, 9, 10, 1}, Step{3, 0, 4, 20, 2}, Step{1, 1, 1, 30, 3}, Step{3, 0, 4, 21, 0}, Step{1, 1, 1, 0, 0},
          Step{9, 0, 0, 0, 7}, Step{10, 0, 0, 1, 1}, Step{0, 3, 0, 1, 1}, Step{0, 0, -1, 1, 1}})
        h.SetLitres(p.company, p.brand, p.town, p.supply, p.sales);
    const std::vector<LitreCell> expected = {{3, 0, 4, 21, 0}, {3, 2, 9, 10, 1}, {9, 0, 0, 0, 7}};
    const auto cells = h.CellsOf(h.Months.back());
    EXPECT_EQ(std::vector<LitreCell>(cells.begin(), cells.end()), expected);
    const CompanyLitres three = h.Litres(h.Months.back(), 3);
    EXPECT_EQ(three.Supply[0][4], 21);
    EXPECT_EQ(three.Sales[2][9], 1);
    EXPECT_EQ(three.TotalSupply, 31);
    EXPECT_EQ(three.TotalSales, 1);
    EXPECT_EQ(h.Months.back().Companies[3].Supply, 31) << "the month's totals follow its places";
    EXPECT_EQ(h.Months.back().Companies[1].Sales, 0);
    const CompanyLitres older = h.Litres(h.Months.front(), 0);
    EXPECT_EQ(older.TotalSales, 5) << "an older month keeps its totals";
    EXPECT_EQ(older.Supply[0][0], 0) << "but only the newest month its places";
    h.DropNewestMonth();
    EXPECT_TRUE(h.NewestCells.empty());
    EXPECT_EQ(h.Litres(h.Months.back(), 0).TotalSupply, 5);
}

TEST(History, InterestAndTransportOfTheMonthAreBooked)
{
    GameState s = CommandWorld();
    s.Program.ShowBestOpponent = false;
    RecordingFrontend f;
    // A standing order's transport: 250 litres Fotzingfors to Seaside, whole dollars (30).
    s.StandingOrder[2][0] = {0, 2, 3, 250};
    ExecuteStandingOrders(s, f);
    // The player's own transport of the rest, 12 dollars per 100 litres.
    ASSERT_EQ(TransportBeer(s, f, "1. Alpha, 750 l", "Seaside, 12 Dollar/100l", "750"), PanelNext::Idle);
    // A debt in town 7: 15 % interest after the month.
    s.Account[2][7] = -1000.0L;
    NextTurn(s, f);
    ASSERT_EQ(s.History.Months.size(), 1u);
    const CompanyMonth& m = s.History.Months[0].Companies[2];
    EXPECT_DOUBLE_EQ(m.Transport, 30.0 + 90.0);
    EXPECT_DOUBLE_EQ(m.Interest, 150.0);
    EXPECT_EQ(s.History.Months[0].Companies[3].Transport, 0.0);
    // The next month starts its own transport count: the standing order ran again at its start.
    EXPECT_EQ(s.History.OpenTransport[2], 30.0L);
}

TEST(History, MessagesOfTheTurnEngineAreKeptWithMonthAndPlayer)
{
    GameState s = TenNamedCompanies(1);
    s.CurrentCompany = s.SelectedTown = 2;
    s.PlayerCompany = {2, -1};
    s.Program.ShowBestOpponent = false;
    s.MonthCount = 14;
    s.Account[5][0] = -3.0L;
    RecordingFrontend f;
    NextTurn(s, f);
    ASSERT_EQ(f.EnglishTexts(), (std::vector<std::string>{"Company5's company has been liquidated!"}))
        << "still shown as a box";
    ASSERT_EQ(s.History.Messages.size(), 1u);
    const RecordedMessage& m = s.History.Messages[0];
    EXPECT_EQ(m.Month, 14);
    EXPECT_EQ(m.Company, 2);
    EXPECT_EQ(m.Text, f.Messages[0].Text);
    EXPECT_EQ(m.Caption.German, "Bankrott!");
    // Refusals of the player's own commands are no news of the month.
    ASSERT_EQ(TransportBeer(s, f, std::nullopt, "", "1"), PanelNext::Stay);
    EXPECT_EQ(s.History.Messages.size(), 1u);
}

TEST(History, SixHundredMonthsStaySmall)
{
    TempDir dir;
    GameState s = SeededGame(dir, 3, 1, true);
    RecordingFrontend f;
    for (int month = 0; month < 600 && s.History.Months.size() == static_cast<size_t>(month); ++month)
        NextTurn(s, f);
    ASSERT_EQ(s.History.Months.size(), 600u) << "nobody wins this game early";
    const size_t bytes = s.History.MemoryBytes();
    std::printf("record of 600 months: %zu bytes in memory (%zu messages)\n", bytes, s.History.Messages.size());
    EXPECT_LE(bytes, 4u << 20);
}

TEST(Forecast, EqualsTheMarketWhenTheOffersStayAsTheyWere)
{
    TempDir dir;
    for (const int town : {0, 4, 9}) {
        GameState s = SeededGame(dir, 11, 1);
        RecordingFrontend f;
        for (int i = 0; i < 5; ++i)
            NextTurn(s, f);
        // A rival brand with a depot and the player's own second brand compete in the town.
        const int c = s.CurrentCompany;
        s.Quality[c][1] = s.Wages[town];
        s.Stock[c][1][town] = 700;
        s.Stock[c][0][town] = 900;
        for (const float price : {0.5f, 1.0f, 2.25f, 2.4f, 3.0f, 3.3f, 3.6f, 4.0f, 0.0f, 9999.99f}) {
            GameState next = s;
            const GameState before = s;
            const int32_t forecast = ForecastSales(s, c, 0, town, price);
            EXPECT_TRUE(static_cast<const GameData&>(s) == before) << "the forecast changes nothing";
            // The month after with the offers unchanged: last month's litres, this brand's own stock.
            for (int k = 0; k < kCompanies; ++k)
                for (int b = 0; b < kBrands; ++b)
                    if (!(k == c && b == 0))
                        next.Stock[k][b][town] = s.Supply[k][b][town];
            next.Price[c][0][town] = price;
            RunMarket(next);
            EXPECT_EQ(forecast, next.Sales[c][0][town]) << "town " << town << " price " << price;

            // The town forecast: both brands of the player's at their prices with the beer on
            // hand, against the month that sells that beer.
            GameState priced = s;
            priced.SelectedTown = town;
            priced.Price[c][0][town] = price;
            const TownForecast town_forecast = ComputeTownForecast(priced, Language::English);
            GameState month = priced;
            for (int k = 0; k < kCompanies; ++k)
                for (int b = 0; b < kBrands; ++b)
                    if (k != c)
                        month.Stock[k][b][town] = s.Supply[k][b][town];
            RunMarket(month);
            ASSERT_EQ(town_forecast.Rows.size(), 2u);
            for (const TownForecastRow& row : town_forecast.Rows)
                EXPECT_EQ(row.Figures.Sold, month.Sales[c][row.Brand][town])
                    << "town " << town << " price " << price << " brand " << row.Brand;
        }
    }
}

TEST(Forecast, AlonePriceDecidesAndAnEmptySlotSellsNothing)
{
    GameState s = TenNamedCompanies(1);
    s.Quality[2][0] = 1.0f;
    s.Stock[2][0][3] = 800;
    struct Case {
        float price;
        int32_t sold;
    };
    // Alone in the town (demand 1000): every price up to 3.6 times the quality sells all 800.
    for (const Case c : {Case{2.0f, 800}, Case{3.6f, 800}, Case{3.61f, 0}, Case{4.0f, 0}})
        EXPECT_EQ(ForecastSales(s, 2, 0, 3, c.price), c.sold) << c.price;
    EXPECT_EQ(ForecastSales(s, 2, 1, 3, 1.0f), 0) << "no brand in slot 2";
    EXPECT_EQ(ForecastSales(s, 2, 0, 10, 1.0f), 0) << "no such town";
}

namespace {

// The month's real market of a copy, with the brand at `price` and `stock` litres.
int32_t RealSales(const GameState& s, int c, int b, int t, int64_t cents, int32_t stock)
{
    GameState month = s;
    month.Price[c][b][t] = static_cast<float>(static_cast<long double>(cents) / 100.0L);
    month.Stock[c][b][t] = stock;
    RunMarket(month);
    return month.Sales[c][b][t];
}

struct Rival {
    int company;
    int brand;
    float quality;
    float price;
    int32_t stock;
};
struct ForecastCase {
    const char* name;
    float quality;
    float wages;
    int32_t demand;
    int32_t stock;
    std::vector<Rival> rivals;
};

// Towns of one brand of the player's against rivals that offer what they offered at the last
// market.
const std::vector<ForecastCase>& ForecastCases()
{
    static const std::vector<ForecastCase> cases = {
        {"alone, stock below demand", 1.0f, 1.0f, 1000, 800, {}},
        {"alone, stock above demand", 1.0f, 1.0f, 1000, 1500, {}},
        {"a cheap rival", 1.0f, 1.05f, 1000, 600, {{4, 0, 1.0f, 2.0f, 2000}}},
        {"three rivals, several rounds",
         1.2f,
         1.1f,
         5000,
         1900,
         {{4, 0, 1.1f, 1.5f, 900}, {5, 1, 0.9f, 2.5f, 3000}, {7, 2, 1.3f, 3.0f, 400}}},
        {"quality far from the wages", 1.5f, 1.0f, 1000, 500, {}},
        {"no stock", 1.0f, 1.0f, 1000, 0, {{4, 0, 1.0f, 2.0f, 2000}}},
        {"a rival with all the demand to itself", 0.8f, 1.0f, 300, 400, {{4, 0, 1.0f, 0.5f, 5000}}},
    };
    return cases;
}

// The case's town in a world of ten companies: the player (company `c`) with brand 0 there.
GameState ForecastWorld(const ForecastCase& k, int c, int t)
{
    GameState s = TenNamedCompanies(1);
    s.Demand[t] = k.demand;
    s.Wages[t] = k.wages;
    s.Quality[c][0] = k.quality;
    s.Stock[c][0][t] = k.stock;
    for (const Rival& r : k.rivals) {
        s.Quality[r.company][r.brand] = r.quality;
        s.Price[r.company][r.brand][t] = r.price;
        s.Stock[r.company][r.brand][t] = r.stock;
        s.Supply[r.company][r.brand][t] = r.stock;
    }
    return s;
}

}  // namespace

TEST(Forecast, FindsWhatTheMonthSellsAndTheHighestPricesThatSell)
{
    const int c = 2;
    const int t = 3;
    for (const ForecastCase& k : ForecastCases()) {
        const GameState s = ForecastWorld(k, c, t);
        for (const int64_t cents : {0, 50, 150, 230, 300, 360, 361, 450}) {
            const float price = static_cast<float>(static_cast<long double>(cents) / 100.0L);
            const GameState before = s;
            const BrandForecast f = ForecastBrand(s, c, 0, t, price);
            EXPECT_TRUE(static_cast<const GameData&>(s) == before) << "the forecast changes nothing";
            EXPECT_EQ(f.Stock, k.stock);
            EXPECT_EQ(f.Sold, RealSales(s, c, 0, t, cents, k.stock)) << k.name << " at " << cents;
            EXPECT_EQ(f.Revenue, static_cast<long double>(f.Sold) * price) << k.name;
            EXPECT_EQ(f.Demand, RealSales(s, c, 0, t, cents, k.demand + 1)) << k.name << " at " << cents;
            EXPECT_GE(f.Demand, f.Sold) << k.name;
        }
        const BrandForecast f = ForecastBrand(s, c, 0, t, 1.0f);
        // Every cent up to well past the last weight: the limits are the highest that do it.
        const int64_t last = static_cast<int64_t>(k.quality * 400.0f);
        std::optional<int64_t> all;
        std::optional<int64_t> any;
        for (int64_t cents = 0; cents <= last; ++cents) {
            const int32_t sold = RealSales(s, c, 0, t, cents, k.stock);
            if (k.stock > 0 && sold >= k.stock)
                all = cents;
            if (sold > 0)
                any = cents;
        }
        EXPECT_EQ(f.AllSoldUpToCents, all) << k.name;
        EXPECT_EQ(f.AnySoldUpToCents, any) << k.name;
        if (f.AllSoldUpToCents) {
            EXPECT_EQ(RealSales(s, c, 0, t, *f.AllSoldUpToCents, k.stock), k.stock) << k.name;
            EXPECT_LT(RealSales(s, c, 0, t, *f.AllSoldUpToCents + 1, k.stock), k.stock) << k.name << ": a cent more";
        }
        if (f.AnySoldUpToCents) {
            EXPECT_GT(RealSales(s, c, 0, t, *f.AnySoldUpToCents, k.stock), 0) << k.name;
            EXPECT_EQ(RealSales(s, c, 0, t, *f.AnySoldUpToCents + 1, k.stock), 0) << k.name << ": a cent more";
        }
    }
    // The plain cases, worked out by hand: alone, everything sells up to 1.2 times three times
    // the quality; above the demand never all; a quality 0.5 from the wages sells nothing.
    GameState s = TenNamedCompanies(1);
    s.Quality[c][0] = 1.0f;
    s.Stock[c][0][t] = 800;
    EXPECT_EQ(ForecastBrand(s, c, 0, t, 2.0f).AllSoldUpToCents, 360);
    EXPECT_EQ(ForecastBrand(s, c, 0, t, 2.0f).AnySoldUpToCents, 360);
    EXPECT_EQ(ForecastBrand(s, c, 0, t, 2.0f).Demand, 1000);
    s.Stock[c][0][t] = 1500;
    EXPECT_EQ(ForecastBrand(s, c, 0, t, 2.0f).AllSoldUpToCents, std::nullopt);
    EXPECT_EQ(ForecastBrand(s, c, 0, t, 2.0f).Sold, 1000);
    s.Quality[c][0] = 1.5f;
    EXPECT_EQ(ForecastBrand(s, c, 0, t, 2.0f).AnySoldUpToCents, std::nullopt);
}

TEST(Forecast, TheTownForecastIsTheMonthsMarketForEachOfThePlayersBrands)
{
    // The player's second brand in the town: none, one that competes with beer on hand that last
    // month's market never saw, one without stock.
    struct Second {
        const char* name;
        float quality;
        float price;
        int32_t stock;
        int32_t lastSupply;
    };
    const std::vector<std::optional<Second>> seconds = {std::nullopt,
                                                        Second{"a second brand with new stock", 1.1f, 2.0f, 700, 0},
                                                        Second{"a second brand sold out", 0.9f, 1.0f, 0, 400}};
    const int c = 2;
    const int t = 3;
    for (const ForecastCase& k : ForecastCases())
        for (const std::optional<Second>& second : seconds)
            for (const int64_t cents : {150, 300, 361}) {
                const std::string what = std::string(k.name) + (second ? std::string(", ") + second->name : "") +
                                         " at " + std::to_string(cents);
                GameState s = ForecastWorld(k, c, t);
                s.CurrentCompany = c;
                s.SelectedTown = t;
                s.Price[c][0][t] = static_cast<float>(static_cast<long double>(cents) / 100.0L);
                if (second) {
                    s.Quality[c][1] = second->quality;
                    s.Price[c][1][t] = second->price;
                    s.Stock[c][1][t] = second->stock;
                    s.Supply[c][1][t] = second->lastSupply;
                }
                const GameState before = s;
                const TownForecast f = ComputeTownForecast(s, Language::English);
                EXPECT_TRUE(static_cast<const GameData&>(s) == before) << "the forecast changes nothing";
                // The month's real market, every brand at once.
                GameState month = s;
                RunMarket(month);
                ASSERT_EQ(f.Rows.size(), second ? 2u : 1u) << what;
                for (const TownForecastRow& row : f.Rows) {
                    const int b = row.Brand;
                    const BrandForecast& r = row.Figures;
                    const int64_t price = std::llround(static_cast<double>(s.Price[c][b][t]) * 100.0);
                    EXPECT_EQ(r.Stock, s.Stock[c][b][t]) << what;
                    EXPECT_EQ(r.Sold, month.Sales[c][b][t]) << what << " brand " << b;
                    EXPECT_EQ(r.Revenue, static_cast<long double>(month.Sales[c][b][t]) * s.Price[c][b][t]) << what;
                    EXPECT_EQ(r.Demand, RealSales(s, c, b, t, price, k.demand + 1)) << what << " brand " << b;
                    if (r.AllSoldUpToCents) {
                        EXPECT_EQ(RealSales(s, c, b, t, *r.AllSoldUpToCents, r.Stock), r.Stock) << what;
                        EXPECT_LT(RealSales(s, c, b, t, *r.AllSoldUpToCents + 1, r.Stock), r.Stock) << what;
                    }
                    if (r.AnySoldUpToCents) {
                        EXPECT_GT(RealSales(s, c, b, t, *r.AnySoldUpToCents, r.Stock), 0) << what;
                        EXPECT_EQ(RealSales(s, c, b, t, *r.AnySoldUpToCents + 1, r.Stock), 0) << what;
                    } else {
                        EXPECT_EQ(r.Sold, 0) << what;
                    }
                }
            }
}

TEST(History, TavrekSimWritesTheRecordAsCsv)
{
    TempDir dir;
    const std::string csv = (dir / "game.csv").string();
    const SimRun run = RunSim("--dir " + dir.Str() + " --seed 5 --map 2 --months 3 --history " + csv);
    ASSERT_EQ(run.Status, 0);
    std::ifstream in(csv);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 1u + 3 * kCompanies);
    EXPECT_EQ(lines[0].rfind("month,year,month_of_year,company,name,", 0), 0u);
    EXPECT_EQ(lines[1].rfind("1,1750,1,1,\"", 0), 0u) << lines[1];
    EXPECT_EQ(lines[30].rfind("3,1750,3,10,\"", 0), 0u) << lines[30];
    // Sales never exceed what was offered or wanted.
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> cells;
        std::stringstream row(lines[i].substr(lines[i].rfind('"') + 2));
        for (std::string cell; std::getline(row, cell, ',');)
            cells.push_back(cell);
        ASSERT_EQ(cells.size(), 13u) << lines[i] << ": the litres, then spending and other at the end";
        EXPECT_LE(std::stoll(cells[9]), std::stoll(cells[8])) << lines[i];
        EXPECT_LE(std::stoll(cells[9]), std::stoll(cells[10])) << lines[i];
    }
    EXPECT_NE(RunSim("--history \"\"").Status, 0) << "an empty file name is refused";
}
