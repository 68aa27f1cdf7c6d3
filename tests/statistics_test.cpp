// Market shares, the statistics view's tables and their sort, the best opponent and the
// highscore list.
#include <gtest/gtest.h>

#include <algorithm>

#include "commands/command_panel.h"
#include "commands/panel_content.h"
#include "commands/statistics.h"
#include "persistence/settings.h"
#include "small_world.h"
#include "temp_dir.h"

namespace {

using Row = StatisticsGridRow;
const Row kEmpty{};

// Ten towns of 1000 litres; company 1 brews and sells, company 3 only has a depot, company 4
// brews without selling.
GameState ShareWorld(int language)
{
    GameState s = TenNamedCompanies(1);
    s.Program.Language = LanguageFromNumber(language);
    s.Capacity[1][0][0] = 1500;
    s.Capacity[1][1][5] = 500;
    s.Sales[1][0][0] = 2000;
    s.Sales[1][1][5] = 500;
    s.Account[1][0] = 1000.0L;
    s.HasDepot[3][2] = true;
    s.Capacity[4][2][9] = 1000;
    return s;
}

TEST(MarketShares, OneRowPerCompanyWithCapacityInCompanyOrder)
{
    const MarketShareGrid grid = ComputeMarketShareGrid(ShareWorld(1));
    EXPECT_EQ(grid[0], (Row{"Company", "Sales", "Production", "Market Share", "Company Value"}));
    // Two breweries, 500 litres beyond the first thousand: 1000 + 2 * 15000 + 500 * 11 dollars.
    EXPECT_EQ(grid[1], (Row{"Company1", "2500", "2000", " 25%", "   36500 Dollar"}));
    EXPECT_EQ(grid[2], (Row{"Company4", "0", "1000", "  0%", "   15000 Dollar"}));
    for (int r = 3; r < kMarketShareRows; ++r)
        EXPECT_EQ(grid[r], kEmpty) << "row " << r;

    const MarketShareGrid german = ComputeMarketShareGrid(ShareWorld(2));
    EXPECT_EQ(german[0], (Row{"Firma", "Verkauf", "Produktion", "Marktanteil", "Firmenwert"}));
    EXPECT_EQ(german[1], grid[1]);
}

TEST(MarketShares, TheTableIsPartOfThePanelOnlyDuringAGame)
{
    GameState s = ShareWorld(1);
    const PanelContent content = ComputePanelContent(s, PanelMode::MarketShares);
    ASSERT_EQ(content.MarketShares.size(), static_cast<size_t>(kMarketShareRows));
    EXPECT_EQ(content.MarketShares[1][0], "Company1");
    s.GameActive = false;
    EXPECT_TRUE(ComputePanelContent(s, PanelMode::MarketShares).MarketShares.empty());
}

TEST(MarketShares, NoDemandGivesNoShareInsteadOfADivisionByZero)
{
    GameState s = ShareWorld(1);
    s.Demand.fill(0);
    EXPECT_EQ(ComputeMarketShareGrid(s)[1][3], "  0%");
    EXPECT_EQ(ComputeBestOpponent(s).Own.Share, " 0.0%");
}

// Company 0 and company 1 in Town0 and Town1 with three brands each.
GameState TableWorld()
{
    GameState s = TenNamedCompanies(1);
    s.BrandName[0] = {"Pils", "Alt", "Kölsch"};
    s.BrandName[1] = {"Bock", "Ale", "Pils"};
    s.Capacity[0][0][0] = 1000;
    s.Capacity[0][1][0] = 500;
    s.Supply[0][2][0] = 300;
    s.Capacity[1][0][0] = 500;
    s.Sales[1][1][0] = 20;
    s.Capacity[1][2][0] = 1000;
    s.Capacity[0][0][1] = 700;
    return s;
}

TEST(StatisticsView, RefreshTakesCompanyTownBrandOrder)
{
    const GameState s = TableWorld();
    StatisticsTable table;
    RefreshStatisticsTable(s, table);
    EXPECT_EQ(table[0], (StatisticsRecord{"Town0", "Company0", "Pils", 1000, 0, 0}));
    EXPECT_EQ(table[1 * 30 + 0 * 3 + 1], (StatisticsRecord{"Town0", "Company1", "Ale", 0, 0, 20}));
    EXPECT_EQ(table[0 * 30 + 1 * 3 + 0], (StatisticsRecord{"Town1", "Company0", "Pils", 700, 0, 0}));
    EXPECT_EQ(table[299].Town, "Town9");
    EXPECT_EQ(table[299].Company, "Company9");
}

TEST(StatisticsView, TownsTabListsTheTownsRecordsWithAnyFigure)
{
    const GameState s = TableWorld();
    StatisticsTable table;
    RefreshStatisticsTable(s, table);
    const StatisticsGrid byCompany = FillStatisticsGrid(s, table, StatisticsTab::Towns, 0, kSortByName);
    const std::vector<Row> expected = {{"Company0", "Pils", "1000", "0", "0"},  {"Company0", "Alt", "500", "0", "0"},
                                       {"Company0", "Kölsch", "0", "300", "0"}, {"Company1", "Bock", "500", "0", "0"},
                                       {"Company1", "Ale", "0", "0", "20"},     {"Company1", "Pils", "1000", "0", "0"}};
    for (size_t r = 0; r < kStatisticsDataRows; ++r)
        EXPECT_EQ(byCompany[r], r < expected.size() ? expected[r] : kEmpty) << "row " << r;

    // A town where nobody has anything shows empty rows only.
    const StatisticsGrid empty = FillStatisticsGrid(s, table, StatisticsTab::Towns, 7, kSortByName);
    EXPECT_TRUE(std::all_of(empty.begin(), empty.end(), [](const Row& r) { return r == kEmpty; }));
    // No choice made: nothing matches.
    const StatisticsGrid none = FillStatisticsGrid(s, table, StatisticsTab::Towns, -1, kSortByName);
    EXPECT_EQ(none[0], kEmpty);
}

TEST(StatisticsView, CompaniesTabListsTheCompanysTowns)
{
    const GameState s = TableWorld();
    StatisticsTable table;
    RefreshStatisticsTable(s, table);
    const StatisticsGrid grid = FillStatisticsGrid(s, table, StatisticsTab::Companies, 0, kSortByCapacity);
    EXPECT_EQ(grid[0], (Row{"Town0", "Pils", "1000", "0", "0"}));
    EXPECT_EQ(grid[1], (Row{"Town1", "Pils", "700", "0", "0"}));
    EXPECT_EQ(grid[2], (Row{"Town0", "Alt", "500", "0", "0"}));
    EXPECT_EQ(grid[3], (Row{"Town0", "Kölsch", "0", "300", "0"}));
    EXPECT_EQ(grid[4], kEmpty);
}

TEST(StatisticsView, EqualKeysKeepTheOrderOfTheSortBefore)
{
    const GameState s = TableWorld();
    StatisticsTable table;
    RefreshStatisticsTable(s, table);
    // By brand first, then by capacity: the equal capacities stay in brand order.
    FillStatisticsGrid(s, table, StatisticsTab::Towns, 0, kSortByBrand);
    const StatisticsGrid grid = FillStatisticsGrid(s, table, StatisticsTab::Towns, 0, kSortByCapacity);
    const std::vector<Row> expected = {{"Company0", "Pils", "1000", "0", "0"}, {"Company1", "Pils", "1000", "0", "0"},
                                       {"Company0", "Alt", "500", "0", "0"},   {"Company1", "Bock", "500", "0", "0"},
                                       {"Company1", "Ale", "0", "0", "20"},    {"Company0", "Kölsch", "0", "300", "0"}};
    for (size_t r = 0; r < expected.size(); ++r)
        EXPECT_EQ(grid[r], expected[r]) << "row " << r;

    // Straight from the refresh, equal capacities keep company order instead.
    RefreshStatisticsTable(s, table);
    const StatisticsGrid fresh = FillStatisticsGrid(s, table, StatisticsTab::Towns, 0, kSortByCapacity);
    EXPECT_EQ(fresh[4], (Row{"Company0", "Kölsch", "0", "300", "0"}));
    EXPECT_EQ(fresh[5], (Row{"Company1", "Ale", "0", "0", "20"}));
}

TEST(StatisticsView, DescendingFiguresAndTheCompaniesTabSortSharesTheTable)
{
    const GameState s = TableWorld();
    StatisticsTable table;
    RefreshStatisticsTable(s, table);
    EXPECT_EQ(FillStatisticsGrid(s, table, StatisticsTab::Towns, 0, kSortBySupply)[0][1], "Kölsch");
    EXPECT_EQ(FillStatisticsGrid(s, table, StatisticsTab::Towns, 0, kSortBySales)[0][1], "Ale");
    // Sorting on the other tab reorders the same snapshot: town name, Town0 before Town1,
    // and within Town0 the order of the sales sort above.
    FillStatisticsGrid(s, table, StatisticsTab::Companies, 0, kSortByName);
    EXPECT_EQ(table[0].Brand, "Ale");
    EXPECT_EQ(table[0].Town, "Town0");
    EXPECT_EQ(table[29].Town, "Town0");
    EXPECT_EQ(table[30].Town, "Town1");
}

TEST(StatisticsView, NamesCompareByTheirWindows1252Codes)
{
    GameState s = TenNamedCompanies(1);
    // "Zwickel" < "alt" (upper case first) < "bock" < "bockbier" (prefix first) < "Öko" (0xD6).
    s.BrandName[0] = {"Öko", "bockbier", "alt"};
    s.BrandName[1] = {"bock", "Zwickel", ""};
    for (int b = 0; b < kBrands; ++b) {
        s.Capacity[0][b][0] = 100;
        s.Capacity[1][b][0] = 100;
    }
    StatisticsTable table;
    RefreshStatisticsTable(s, table);
    const StatisticsGrid grid = FillStatisticsGrid(s, table, StatisticsTab::Towns, 0, kSortByBrand);
    std::vector<std::string> brands;
    for (const Row& r : grid)
        if (r != kEmpty)
            brands.push_back(r[1]);
    EXPECT_EQ(brands, (std::vector<std::string>{"", "Zwickel", "alt", "bock", "bockbier", "Öko"}));
}

TEST(StatisticsView, TextsInBothLanguages)
{
    const StatisticsViewTexts en = StatisticsTexts(Language::English);
    const StatisticsViewTexts de = StatisticsTexts(Language::German);
    EXPECT_EQ(en.TabCaptions[1], "Companies");
    EXPECT_EQ(de.TabCaptions[0], "Städte");
    EXPECT_EQ(de.TownsSortKeys[2], "Kapazität");
    EXPECT_EQ(en.CompaniesSortKeys[0], "Town");
    EXPECT_EQ(de.CompaniesHeading, (Row{"Stadt", "Marke", "Kapazität", "Angebot", "Verkauf"}));
    EXPECT_EQ(de.SortLabel, "sortieren nach");
}

// Ten towns of 1000 litres: a sale of 100 litres is a 1 % share.
GameState OpponentWorld()
{
    GameState s = TenNamedCompanies(1);
    s.CurrentCompany = 2;
    s.Quality[2][0] = 1.0f;
    s.Quality[2][1] = 1.1f;
    s.Capacity[2][0][2] = 1000;
    s.Capacity[2][1][2] = 500;
    s.Capacity[2][1][3] = 500;
    s.HasDepot[2][2] = true;
    s.Sales[2][0][2] = 800;
    return s;
}

TEST(BestOpponent, TheLowestNumberedOfTheBestOthersWinsATie)
{
    GameState s = OpponentWorld();
    s.Quality[5][0] = 1.0f;
    s.Capacity[5][0][5] = 2000;
    s.Sales[5][0][5] = 450;
    s.Quality[7][0] = 1.0f;
    s.Capacity[7][0][7] = 3000;
    s.Sales[7][0][7] = 450;
    s.Sales[2][0][2] = 5000;  // the player's own higher share does not count
    const BestOpponentView view = ComputeBestOpponent(s);
    EXPECT_EQ(view.Own.Company, 2);
    EXPECT_EQ(view.Own.Name, "Company2");
    EXPECT_EQ(view.Own.Brands, "2");
    EXPECT_EQ(view.Own.Breweries, "3");
    EXPECT_EQ(view.Own.Depots, "1");
    EXPECT_EQ(view.Own.Capacity, "2000 l");
    EXPECT_EQ(view.Own.Sales, "5000 l");
    EXPECT_EQ(view.Own.Share, "50.0%");
    EXPECT_EQ(view.Best.Company, 5);
    EXPECT_EQ(view.Best.Name, "Company5");
    EXPECT_EQ(view.Best.Capacity, "2000 l");
    EXPECT_EQ(view.Best.Sales, "450 l");
    EXPECT_EQ(view.Best.Share, " 4.5%");
}

TEST(BestOpponent, NoSalesElsewhereNamesCompanyZeroWithNothing)
{
    GameState s = OpponentWorld();
    s.Capacity[0][0][0] = 4000;  // brews, but sold nothing
    s.Quality[0][0] = 1.0f;
    s.HasDepot[0][1] = true;
    const BestOpponentView view = ComputeBestOpponent(s);
    EXPECT_EQ(view.Best.Company, 0);
    EXPECT_EQ(view.Best.Brands, "1");
    EXPECT_EQ(view.Best.Breweries, "1");
    EXPECT_EQ(view.Best.Depots, "1");
    EXPECT_EQ(view.Best.Capacity, "0 l");
    EXPECT_EQ(view.Best.Sales, "0 l");
    EXPECT_EQ(view.Best.Share, " 0.0%");

    // Also when company 0 is the player's own and nobody else sold anything.
    s.CurrentCompany = 0;
    s.Sales[2][0][2] = 0;
    const BestOpponentView own = ComputeBestOpponent(s);
    EXPECT_EQ(own.Best.Company, 0);
    EXPECT_EQ(own.Best.Sales, "0 l");
    EXPECT_EQ(own.Own.Capacity, "4000 l");
}

TEST(BestOpponent, CaptionsInBothLanguages)
{
    GameState s = OpponentWorld();
    EXPECT_EQ(ComputeBestOpponent(s).Caption, "Best Opponent");
    EXPECT_EQ(ComputeBestOpponent(s).Labels[7], "Shares");
    s.Program.Language = Language::German;
    const BestOpponentView de = ComputeBestOpponent(s);
    EXPECT_EQ(de.Caption, "Zwischenstand");
    EXPECT_EQ(de.Labels[1], "Bester Konkurrent:");
    EXPECT_EQ(de.Labels[6], "Verkäufe");
}

TEST(Highscores, LinesInBothLanguagesWithEmptyEntries)
{
    const HighscoreView en = HighscoreTexts({"Anna from Alderney", "", ""}, {1234, 0, 0}, Language::English);
    EXPECT_EQ(en.Caption, "Highscore");
    EXPECT_EQ(en.Labels, (std::array<std::string, 3>{"Peninsula:", "Islands:", "Continental:"}));
    EXPECT_EQ(en.Lines, (std::array<std::string, 3>{"Anna from Alderney  1234 Points", "  0 Points", "  0 Points"}));
    const HighscoreView de = HighscoreTexts({"", "Bernd aus Berg", ""}, {0, 77, 0}, Language::German);
    EXPECT_EQ(de.Caption, "Highscore");
    EXPECT_EQ(de.Labels, (std::array<std::string, 3>{"Halbinsel:", "Inseln:", "Festland:"}));
    EXPECT_EQ(de.Lines, (std::array<std::string, 3>{"  0 Punkte", "Bernd aus Berg  77 Punkte", "  0 Punkte"}));
}

TEST(Highscores, ReadFromTheSettingsFile)
{
    TempDir dir;
    EXPECT_EQ(ReadHighscores(dir.Str(), Language::English).Lines[2], "  0 Points") << "no settings file";
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kHighscoreHolder[2], "Jörg from Kemnitz"));
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kHighscorePoints[2], "512"));
    const HighscoreView view = ReadHighscores(dir.Str(), Language::German);
    EXPECT_EQ(view.Lines[0], "  0 Punkte");
    EXPECT_EQ(view.Lines[2], "Jörg from Kemnitz  512 Punkte");
}

}  // namespace
