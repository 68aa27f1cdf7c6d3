/// @file market.cpp The market: demand split by attractiveness, then the month's books.
#include "engine/market.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Rows: distance of quality from the town's wage level (row 0 closest). Columns: price
// relative to three times the quality (column 9 cheapest).
constexpr int32_t kAttractivenessTable[7][10] = {
    {2, 6, 10, 15, 25, 40, 70, 100, 160, 200}, {1, 4, 8, 12, 19, 30, 50, 80, 110, 180},
    {1, 3, 6, 9, 14, 23, 35, 55, 90, 150},     {0, 2, 5, 7, 12, 19, 28, 43, 65, 110},
    {0, 1, 3, 5, 9, 13, 20, 32, 48, 80},       {0, 0, 2, 4, 7, 10, 15, 22, 38, 54},
    {0, 0, 1, 2, 5, 7, 12, 18, 28, 39},
};

// A town whose remaining demand is this small is finished.
constexpr int32_t kDemandLeftOver = 10;

}  // namespace

int32_t Attractiveness(float qualityGap, float priceRatio)
{
    const double d = std::fabs(static_cast<double>(qualityGap));
    const double r = priceRatio;
    if (d >= 0.35 || r > 1.2)
        return 0;
    // A NaN ratio (a price against no quality) fails every bound below: it weighs nothing.
    if (r != r)
        return 0;
    const int row = d < 0.05 ? 0 : d < 0.10 ? 1 : d < 0.15 ? 2 : d < 0.20 ? 3 : d < 0.25 ? 4 : d < 0.30 ? 5 : 6;
    const int column = r > 1.1   ? 0
                       : r > 1.0 ? 1
                       : r > 0.9 ? 2
                       : r > 0.8 ? 3
                       : r > 0.7 ? 4
                       : r > 0.6 ? 5
                       : r > 0.5 ? 6
                       : r > 0.4 ? 7
                       : r > 0.3 ? 8
                                 : 9;
    return kAttractivenessTable[row][column];
}

float QualityGap(float quality, float wages) { return static_cast<float>(static_cast<long double>(quality) - wages); }

int32_t BrandWeight(float quality, float wages, float price)
{
    const float ratio = static_cast<float>(static_cast<long double>(price) / (3.0L * quality));
    return Attractiveness(QualityGap(quality, wages), ratio);
}

namespace {

/// The market of one town. The forecast runs the same steps on a copy.
void RunTownMarket(GameData& s, int t)
{
    for (int c = 0; c < kCompanies; ++c)
        for (int b = 0; b < kBrands; ++b) {
            s.Supply[c][b][t] = s.Stock[c][b][t];
            s.Sales[c][b][t] = 0;
        }
    int32_t remaining = s.Demand[t];
    for (;;) {
        int32_t sold = 0;
        int32_t total = 0;
        std::array<std::array<int32_t, kBrands>, kCompanies> weight{};
        for (int c = 0; c < kCompanies; ++c)
            for (int b = 0; b < kBrands; ++b) {
                if (s.Stock[c][b][t] <= 0)
                    continue;
                weight[c][b] = BrandWeight(s.Quality[c][b], s.Wages[t], s.Price[c][b][t]);
                total += weight[c][b];
            }
        for (int c = 0; c < kCompanies; ++c)
            for (int b = 0; b < kBrands; ++b) {
                if (weight[c][b] <= 0)
                    continue;
                const double share = static_cast<double>(weight[c][b]) / total * remaining;
                int32_t& stock = s.Stock[c][b][t];
                int32_t& sales = s.Sales[c][b][t];
                if (stock <= share) {
                    sales += stock;
                    sold += stock;
                    stock = 0;
                } else {
                    sales = static_cast<int32_t>(sales + share);
                    stock = static_cast<int32_t>(stock - share);
                    sold = static_cast<int32_t>(sold + share);
                }
            }
        remaining -= sold;
        if (!(remaining > kDemandLeftOver && total != 0))
            break;
    }
}

}  // namespace

void RunMarket(GameState& s)
{
    for (int t = 0; t < kTowns; ++t)
        RunTownMarket(s, t);
}

int32_t ForecastSales(const GameData& s, int company, int brand, int town, float price)
{
    if (company < 0 || company >= kCompanies || brand < 0 || brand >= kBrands || town < 0 || town >= kTowns)
        return 0;
    return ForecastSalesWithStock(s, company, brand, town, price, s.Stock[company][brand][town]);
}

int32_t ForecastSalesWithStock(const GameData& s, int company, int brand, int town, float price, int32_t stock)
{
    if (company < 0 || company >= kCompanies || brand < 0 || brand >= kBrands || town < 0 || town >= kTowns ||
        s.Quality[company][brand] == 0.0f)
        return 0;
    GameData copy = s;
    for (int c = 0; c < kCompanies; ++c)
        for (int b = 0; b < kBrands; ++b)
            copy.Stock[c][b][town] = s.Supply[c][b][town];
    copy.Stock[company][brand][town] = stock;
    copy.Price[company][brand][town] = price;
    RunTownMarket(copy, town);
    return copy.Sales[company][brand][town];
}

namespace {

float CentsToPrice(int64_t cents) { return static_cast<float>(static_cast<long double>(cents) / 100.0L); }

}  // namespace

BrandForecast ForecastBrand(const GameData& s, int company, int brand, int town, float price)
{
    BrandForecast f;
    if (company < 0 || company >= kCompanies || brand < 0 || brand >= kBrands || town < 0 || town >= kTowns ||
        s.Quality[company][brand] == 0.0f)
        return f;
    f.Stock = s.Stock[company][brand][town];
    f.Sold = ForecastSales(s, company, brand, town, price);
    f.Revenue = static_cast<long double>(f.Sold) * price;
    // The market never sells more than the town's demand, so that much and one litre more is
    // a stock that cannot run out.
    const int32_t unlimited =
        std::max<int32_t>(s.Demand[town], 0) + (s.Demand[town] < std::numeric_limits<int32_t>::max() ? 1 : 0);
    f.Demand = ForecastSalesWithStock(s, company, brand, town, price, unlimited);
    if (f.Stock <= 0)
        return f;

    // The price reaches the market only through the brand's weight, and the weight never grows
    // with the price (every row of the table falls from the cheap to the dear side; above 1.2
    // times three times the quality it is 0 and nothing sells). So the cents fall into at most
    // ten runs of equal weight, each selling the same; one dry run per run is exact. What the
    // brand sells is not assumed to fall with its weight: every run is tried.
    const float quality = s.Quality[company][brand];
    const float wages = s.Wages[town];
    auto weightAt = [&](int64_t cents) { return BrandWeight(quality, wages, CentsToPrice(cents)); };
    // A bound above which the weight is 0: doubled until reached, capped where a float no
    // longer tells cents apart anyway.
    constexpr int64_t kCentsCap = int64_t{1} << 40;
    int64_t top = 1;
    while (top < kCentsCap && weightAt(top) > 0)
        top *= 2;
    int64_t low = 0;
    while (low <= top) {
        const int32_t weight = weightAt(low);
        if (weight <= 0)
            break;
        // The highest cent in [low, top] with at least this weight (the weight falls with the price).
        int64_t lo = low;
        int64_t hi = top;
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo + 1) / 2;
            if (weightAt(mid) >= weight)
                lo = mid;
            else
                hi = mid - 1;
        }
        const int32_t sold = ForecastSales(s, company, brand, town, CentsToPrice(lo));
        if (sold >= f.Stock)
            f.AllSoldUpToCents = lo;
        if (sold > 0)
            f.AnySoldUpToCents = lo;
        low = lo + 1;
    }
    return f;
}

void SettleMonth(GameState& s)
{
    for (int c = 0; c < kCompanies; ++c) {
        for (int t = 0; t < kTowns; ++t) {
            long double account = s.Account[c][t];
            for (int b = 0; b < kBrands; ++b) {
                const long double cost =
                    static_cast<long double>(s.Capacity[c][b][t]) * s.Wages[t] * s.CostFactor[c][b];
                s.ProductionCost[c][b][t] = cost;
                account -= cost;
                account += static_cast<long double>(s.Sales[c][b][t]) * s.Price[c][b][t];
                if (s.HasDepot[c][t])
                    s.Stock[c][b][t] = AddLitres(s.Stock[c][b][t], s.Capacity[c][b][t]);
                else
                    s.Stock[c][b][t] = s.Capacity[c][b][t];
            }
            if (account < 0)
                account = account * 1.15L;  // a month's interest on the town's debt
            s.Account[c][t] = account;
        }
        // The wage level of the town with this company's number drifts by -2..+2 cents.
        const int32_t step = s.Program.Rng.Random(5) - 2;
        s.Wages[c] = static_cast<float>(s.Wages[c] + 0.01L * step);
    }
}
