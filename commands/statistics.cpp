/// @file statistics.cpp Market shares, the statistics view's tables, the best opponent and the
/// highscores.
#include "commands/statistics.h"

#include <utility>

#include "engine/end_of_game.h"
#include "game/text.h"
#include "persistence/settings.h"
#include "platform/cp1252.h"

namespace {

int64_t TotalCapacity(const GameState& s, int k) { return SumOfLitres(s.Capacity, k); }

long long AsLong(int64_t value) { return static_cast<long long>(value); }

// Names in the order of their Windows-1252 codes: each byte as an unsigned code, a prefix first.
bool NameAfter(const std::string& a, const std::string& b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x > y;
    }
    return a.size() > b.size();
}

}  // namespace

MarketShareGrid ComputeMarketShareGrid(const GameState& s)
{
    MarketShareGrid grid;  // empty strings; clang 14 crashes on "grid{}" for these string grids
    const bool german = s.Program.Language == Language::German;
    grid[0] = german ? StatisticsGridRow{"Firma", "Verkauf", "Produktion", "Marktanteil", "Firmenwert"}
                     : StatisticsGridRow{"Company", "Sales", "Production", "Market Share", "Company Value"};
    const double demand = TotalDemand(s);
    int row = 1;
    for (int k = 0; k < kCompanies; ++k) {
        const int64_t sales = TotalSales(s, k);
        const int64_t production = TotalCapacity(s, k);
        if (production <= 0)
            continue;
        const float share = ShareOfDemand(sales, demand);
        grid[row++] = {s.CompanyName[k], Format("%lld", AsLong(sales)), Format("%lld", AsLong(production)),
                       Format("%3.0f%%", static_cast<double>(share)), Format("%8.0Lf Dollar", CompanyValue(s, k))};
    }
    return grid;
}

void RefreshStatisticsTable(const GameState& s, StatisticsTable& table)
{
    for (int c = 0; c < kCompanies; ++c)
        for (int t = 0; t < kTowns; ++t)
            for (int b = 0; b < kBrands; ++b) {
                StatisticsRecord& r = table[c * kTowns * kBrands + t * kBrands + b];
                r.Town = s.TownName[t];
                r.Company = s.CompanyName[c];
                r.Brand = s.BrandName[c][b];
                r.Capacity = s.Capacity[c][b][t];
                r.Supply = s.Supply[c][b][t];
                r.Sales = s.Sales[c][b][t];
            }
}

void SortStatisticsTable(StatisticsTable& table, StatisticsTab tab, int key)
{
    if (key < kSortByName || key > kSortBySales)
        return;
    // The names as the sort sees them, moved along with their records.
    std::array<std::string, kStatisticsRecords> names;
    for (int i = 0; i < kStatisticsRecords; ++i) {
        const StatisticsRecord& r = table[i];
        if (key == kSortByName)
            names[i] = Utf8ToCp1252(tab == StatisticsTab::Towns ? r.Company : r.Town);
        else if (key == kSortByBrand)
            names[i] = Utf8ToCp1252(r.Brand);
    }
    const auto after = [&](int j) {
        const StatisticsRecord& a = table[j];
        const StatisticsRecord& b = table[j + 1];
        switch (key) {
        case kSortByCapacity:
            return a.Capacity < b.Capacity;
        case kSortBySupply:
            return a.Supply < b.Supply;
        case kSortBySales:
            return a.Sales < b.Sales;
        default:
            return NameAfter(names[j], names[j + 1]);
        }
    };
    for (int i = 0; i < kStatisticsRecords; ++i)
        for (int j = 0; j < kStatisticsRecords - 1 - i; ++j)
            if (after(j)) {
                std::swap(table[j], table[j + 1]);
                std::swap(names[j], names[j + 1]);
            }
}

StatisticsGrid FillStatisticsGrid(const GameState& s, StatisticsTable& table, StatisticsTab tab, int index, int key)
{
    SortStatisticsTable(table, tab, key);
    StatisticsGrid grid;  // empty strings, as above
    if (index < 0 || index >= kTowns)
        return grid;
    const bool towns = tab == StatisticsTab::Towns;
    const std::string& wanted = towns ? s.TownName[index] : s.CompanyName[index];
    int row = 0;
    for (const StatisticsRecord& r : table) {
        if (row >= kStatisticsDataRows)
            break;
        if ((towns ? r.Town : r.Company) != wanted)
            continue;
        if (r.Capacity <= 0 && r.Supply <= 0 && r.Sales <= 0)
            continue;
        grid[row++] = {towns ? r.Company : r.Town, r.Brand, Format("%d", r.Capacity), Format("%d", r.Supply),
                       Format("%d", r.Sales)};
    }
    return grid;
}

StatisticsChoice OpeningStatisticsChoice(const GameState& s, const StatisticsChoice& kept)
{
    StatisticsChoice opening{0, 0, 0, 0};
    if (!s.Program.Comforts)
        return opening;
    auto within = [](int index, int count) { return index >= 0 && index < count; };
    opening = kept;
    if (!within(opening.Town, kTowns))
        opening.Town = within(s.SelectedTown, kTowns) ? s.SelectedTown : 0;
    if (!within(opening.Company, kCompanies))
        opening.Company = within(s.CurrentCompany, kCompanies) ? s.CurrentCompany : 0;
    return opening;
}

StatisticsViewTexts StatisticsTexts(Language language)
{
    if (language == Language::German)
        return {{"Städte", "Firmen"},
                {"Stadt", "Firma"},
                "sortieren nach",
                {"Firma", "Marke", "Kapazität", "Angebot", "Verkauf"},
                {"Stadt", "Marke", "Kapazität", "Angebot", "Verkauf"},
                {"Firma", "Marke", "Kapazität", "Angebot", "Verkauf"},
                {"Stadt", "Marke", "Kapazität", "Angebot", "Verkauf"}};
    return {{"Towns", "Companies"},
            {"Town", "Company"},
            "sort by",
            {"Company", "Brand", "Capacity", "Supply", "Sales"},
            {"Town", "Brand", "Capacity", "Supply", "Sales"},
            {"Company", "Brand", "Capacity", "Supply", "Sales"},
            {"Town", "Brand", "Capacity", "Supply", "Sales"}};
}

namespace {

CompanyStanding Standing(const GameState& s, int k, int64_t capacity, int64_t sales, float share)
{
    int brands = 0;
    int breweries = 0;
    int depots = 0;
    for (int b = 0; b < kBrands; ++b) {
        if (s.Quality[k][b] > 0.0f)
            ++brands;
        for (int t = 0; t < kTowns; ++t)
            if (s.Capacity[k][b][t] > 0)
                ++breweries;
    }
    for (int t = 0; t < kTowns; ++t)
        if (s.HasDepot[k][t])
            ++depots;
    // The share field ends with a percent sign.
    return {k,
            s.CompanyName[k],
            Format("%d", brands),
            Format("%d", breweries),
            Format("%d", depots),
            Format("%lld l", AsLong(capacity)),
            Format("%lld l", AsLong(sales)),
            Format("%4.1f%%", static_cast<double>(share))};
}

}  // namespace

BestOpponentView ComputeBestOpponent(const GameState& s)
{
    const int c = s.CurrentCompany;
    const double demand = TotalDemand(s);
    int best = 0;
    float bestShare = 0.0f;
    int64_t bestCapacity = 0;
    int64_t bestSales = 0;
    for (int k = 0; k < kCompanies; ++k) {
        const int64_t sales = TotalSales(s, k);
        const float share = ShareOfDemand(sales, demand);
        if (k != c && share > bestShare) {
            best = k;
            bestShare = share;
            bestCapacity = TotalCapacity(s, k);
            bestSales = sales;
        }
    }
    BestOpponentView view;
    if (c >= 0 && c < kCompanies) {
        const int64_t ownSales = TotalSales(s, c);
        view.Own = Standing(s, c, TotalCapacity(s, c), ownSales, ShareOfDemand(ownSales, demand));
    }
    view.Best = Standing(s, best, bestCapacity, bestSales, bestShare);
    if (s.Program.Language == Language::German) {
        view.Caption = "Zwischenstand";
        view.Labels = {"Ihre Firma:", "Bester Konkurrent:", "Marken",   "Brauereien",
                       "Lager",       "Produktion",         "Verkäufe", "Anteil"};
    } else {
        view.Caption = "Best Opponent";
        view.Labels = {"Your Company:", "Best opponent:", "Brands", "Breweries",
                       "Depots",        "Capacity",       "Sales",  "Shares"};
    }
    return view;
}

HighscoreView HighscoreTexts(const std::array<std::string, 3>& holders, const std::array<int32_t, 3>& points,
                             Language language)
{
    const bool german = language == Language::German;
    HighscoreView view;
    view.Caption = "Highscore";
    view.Labels = german ? std::array<std::string, 3>{"Halbinsel:", "Inseln:", "Festland:"}
                         : std::array<std::string, 3>{"Peninsula:", "Islands:", "Continental:"};
    for (int m = 0; m < 3; ++m)
        view.Lines[m] = Format(german ? "%s  %d Punkte" : "%s  %d Points", holders[m].c_str(), points[m]);
    return view;
}

HighscoreView ReadHighscores(const std::string& programDirectory, Language language)
{
    std::array<std::string, 3> holders;
    std::array<int32_t, 3> points{};
    for (int m = 0; m < 3; ++m) {
        holders[m] = ReadSetting(programDirectory, settings::kHighscoreHolder[m]);
        points[m] = ReadSettingInt(programDirectory, settings::kHighscorePoints[m]);
    }
    return HighscoreTexts(holders, points, language);
}
