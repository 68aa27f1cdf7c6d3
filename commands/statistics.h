/// @file statistics.h The comparisons between companies: the market-share table, the statistics
/// view's two tables with their sort, the best-opponent comparison and the highscore list. All
/// of them only read the game; the window shows what these functions return.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/game_state.h"

// --- market shares (panel mode 11) ---------------------------------------------------------

inline constexpr int kMarketShareRows = 11;  ///< heading row and one row per company
inline constexpr int kStatisticsColumns = 5;
using StatisticsGridRow = std::array<std::string, kStatisticsColumns>;
using MarketShareGrid = std::array<StatisticsGridRow, kMarketShareRows>;

/// StringGrid2: the heading, then every company with brewery capacity in company order (sales,
/// production, share of the total demand, company value); the rows below are empty. With no
/// demand at all the shares show as 0.
MarketShareGrid ComputeMarketShareGrid(const GameState& s);

// --- the statistics view (panel mode 15) -----------------------------------------------------

inline constexpr int kStatisticsRecords = kCompanies * kTowns * kBrands;
inline constexpr int kStatisticsDataRows = 30;  ///< rows below each grid's heading

/// One (company, town, brand slot) of the snapshot the statistics view shows.
struct StatisticsRecord {
    std::string Town;     ///< the town's name
    std::string Company;  ///< the company's name
    std::string Brand;    ///< the brand's name
    int32_t Capacity = 0;
    int32_t Supply = 0;  ///< offered at the last market
    int32_t Sales = 0;   ///< sold at the last market

    bool operator==(const StatisticsRecord&) const = default;
};

/// The snapshot: the window keeps one for the whole run. Its order is part of its state, since
/// every sort keeps the order of equal keys that the one before left.
using StatisticsTable = std::array<StatisticsRecord, kStatisticsRecords>;

/// The two tabs of the statistics view.
enum class StatisticsTab {
    Towns,      ///< TabSheet1: one town's companies and brands
    Companies,  ///< TabSheet2: one company's towns and brands
};

/// The sort keys as the tabs' sort lists number them. Key 0 is the company name on the Towns
/// tab and the town name on the Companies tab.
enum StatisticsSortKey : int {
    kSortByName = 0,      ///< ascending
    kSortByBrand = 1,     ///< ascending
    kSortByCapacity = 2,  ///< descending
    kSortBySupply = 3,    ///< descending
    kSortBySales = 4,     ///< descending
};

/// Takes a fresh snapshot: record c * 30 + t * 3 + b holds company c, town t, brand slot b.
void RefreshStatisticsTable(const GameState& s, StatisticsTable& table);

/// Bubble-sorts the whole table by a key, exchanging only neighbours that are strictly out of
/// order, so records with equal keys keep their order. Names compare by their Windows-1252
/// codes (upper case before lower case, accented letters after plain ones, a prefix first).
/// An unknown key leaves the table as it is.
void SortStatisticsTable(StatisticsTable& table, StatisticsTab tab, int key);

using StatisticsGrid = std::array<StatisticsGridRow, kStatisticsDataRows>;

/// Sorts the table by the key, then lists the records of one town (Towns tab: company, brand,
/// capacity, supply, sales) or of one company (Companies tab: town, brand, ...) that have
/// capacity, supply or sales, in table order; the remaining rows are empty. `index` is the
/// town or company chosen in the tab's first list; outside 0..9 nothing matches.
StatisticsGrid FillStatisticsGrid(const GameState& s, StatisticsTable& table, StatisticsTab tab, int index, int key);

/// What the statistics view's two tabs show: the chosen town and company and their sort keys.
struct StatisticsChoice {
    int Town = -1;  ///< -1: none chosen yet
    int TownSort = 0;
    int Company = -1;  ///< -1: none chosen yet
    int CompanySort = 0;
    bool operator==(const StatisticsChoice&) const = default;
};

/// Where the statistics view opens. As the game always had it, on the first town and the
/// first company, sorted by the first key; with the comforts on the player's last choices
/// (`kept`), and before any on the selected town and the player's own company.
StatisticsChoice OpeningStatisticsChoice(const GameState& s, const StatisticsChoice& kept);

/// The texts of the statistics view in a language.
struct StatisticsViewTexts {
    std::array<std::string, 2> TabCaptions;        ///< TabSheet1, TabSheet2
    std::array<std::string, 2> ChoiceLabels;       ///< Label1 (town), Label3 (company)
    std::string SortLabel;                         ///< Label2 and Label4
    std::array<std::string, 5> TownsSortKeys;      ///< ComboBox2, in key order
    std::array<std::string, 5> CompaniesSortKeys;  ///< ComboBox4, in key order
    StatisticsGridRow TownsHeading;                ///< StringGrid3 row 0
    StatisticsGridRow CompaniesHeading;            ///< StringGrid4 row 0
};
StatisticsViewTexts StatisticsTexts(Language language);

// --- the best opponent ---------------------------------------------------------------------

/// One row of the best-opponent dialog, already formatted.
struct CompanyStanding {
    int Company = 0;
    std::string Name;       ///< Edit1 / Edit2
    std::string Brands;     ///< brand slots in use (Edit3 / Edit4)
    std::string Breweries;  ///< brand and town pairs with capacity (Edit5 / Edit6)
    std::string Depots;     ///< towns with a depot (Edit7 / Edit8)
    std::string Capacity;   ///< "%d l" of all capacity (Edit9 / Edit10)
    std::string Sales;      ///< "%d l" of last month's sales (Edit11 / Edit12)
    std::string Share;      ///< share of the total demand, "%4.1f%" (Edit13 / Edit14)
};

struct BestOpponentView {
    CompanyStanding Own;   ///< the moving company
    CompanyStanding Best;  ///< the other company with the highest share
    std::string Caption;
    std::array<std::string, 8> Labels;  ///< Label1 ... Label8
};

/// The comparison for the moving company. The best opponent is the lowest-numbered other
/// company with the highest positive share; when no other company sold anything it is
/// company 0 (even when that is the player's own) with capacity, sales and share shown as 0.
BestOpponentView ComputeBestOpponent(const GameState& s);

// --- the highscores --------------------------------------------------------------------------

struct HighscoreView {
    std::string Caption;                ///< "Highscore" in both languages
    std::array<std::string, 3> Labels;  ///< the three maps' names
    std::array<std::string, 3> Lines;   ///< Edit1 ... Edit3: "%s  %d Points"
};

/// The highscore lines from the holders and points of maps 1 to 3.
HighscoreView HighscoreTexts(const std::array<std::string, 3>& holders, const std::array<int32_t, 3>& points,
                             Language language);

/// The same, read from the settings file in the program directory (an empty holder and 0
/// points where a map has no entry).
HighscoreView ReadHighscores(const std::string& programDirectory, Language language);
