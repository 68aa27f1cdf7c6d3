/// @file month_record.cpp Filling the record of a closed month.
#include "engine/month_record.h"

#include <algorithm>
#include <cmath>

#include "engine/end_of_game.h"
#include "engine/market.h"

namespace {

// Grows the record in large steps, a year's worth at the least: a long game adds a month at a
// time for thousands of months, and small steps would copy the whole record again and again.
void ReserveForGrowth(GameHistory& h)
{
    const std::size_t months = std::max<std::size_t>(h.Months.size() * 2, 120);
    h.Months.reserve(months);
    const std::size_t perMonth = h.Months.empty() ? 32 : h.Cells.size() / h.Months.size() + 1;
    h.Cells.reserve(std::max(h.Cells.capacity(), months * perMonth));
}

// Why each brand of the company that sold nothing did so, where it was offered or had sold the
// month before; the market's own tests in the market's order.
void RecordUnsold(const GameState& s, const MonthRecord* previous, int c, const PerTown<float>& wages, CompanyMonth& m)
{
    for (int b = 0; b < kBrands; ++b) {
        const float quality = s.Quality[c][b];
        if (quality == 0.0f)
            continue;
        for (int t = 0; t < kTowns; ++t) {
            if (s.Sales[c][b][t] != 0 || s.Supply[c][b][t] <= 0)
                continue;
            if (!(std::fabs(static_cast<double>(QualityGap(quality, wages[t]))) < 0.35))
                m.Unsold[b][t] = NothingSold::OffTaste;
            else if (BrandWeight(quality, wages[t], s.Price[c][b][t]) == 0)
                m.Unsold[b][t] = NothingSold::PriceTooHigh;
            else
                m.Unsold[b][t] = NothingSold::DemandMet;
        }
    }
    if (!previous)
        return;
    for (const LitreCell& cell : s.History.CellsOf(*previous))
        if (cell.Company == c && cell.Sales > 0 && s.Quality[c][cell.Brand] != 0.0f &&
            s.Supply[c][cell.Brand][cell.Town] <= 0)
            m.Unsold[cell.Brand][cell.Town] = NothingSold::NoStock;
}

}  // namespace

void RecordMonth(GameState& s, const PerCompanyTown<long double>& accountsBeforeMarket,
                 const PerTown<float>& wagesAtMarket)
{
    GameHistory& h = s.History;
    if (h.Months.size() == h.Months.capacity())
        ReserveForGrowth(h);
    MonthRecord& r = h.AddMonth(s.MonthCount);
    const MonthRecord* previous = h.Months.size() > 1 ? &h.Months[h.Months.size() - 2] : nullptr;
    r.Demand = s.Demand;
    r.Detailed = h.OpenWhole;
    const double totalDemand = TotalDemand(s);
    for (int c = 0; c < kCompanies; ++c) {
        CompanyMonth& m = r.Companies[c];
        double revenue = 0;
        long double production = 0, interest = 0, before = 0, after = 0;
        int64_t sold = 0;
        for (int b = 0; b < kBrands; ++b)
            for (int t = 0; t < kTowns; ++t) {
                // Revenue in double: the record is for reading, and this keeps the month end fast.
                revenue += static_cast<double>(s.Sales[c][b][t]) * static_cast<double>(s.Price[c][b][t]);
                sold += s.Sales[c][b][t];
                h.AppendLitres(c, b, t, s.Supply[c][b][t], s.Sales[c][b][t]);
                // Only a brewery costs anything; reading the extended cost of every empty slot is
                // most of the time this takes.
                if (s.Capacity[c][b][t] != 0)
                    production += s.ProductionCost[c][b][t];
            }
        for (int t = 0; t < kTowns; ++t) {
            // Interest was charged exactly where the books left a debt: the account before
            // interest, worked out in the books' own order, less the account after it.
            if (s.Account[c][t] < 0) {
                long double account = accountsBeforeMarket[c][t];
                for (int b = 0; b < kBrands; ++b) {
                    account -= s.ProductionCost[c][b][t];
                    account += static_cast<long double>(s.Sales[c][b][t]) * s.Price[c][b][t];
                }
                interest += account - s.Account[c][t];
            }
            before += accountsBeforeMarket[c][t];
            after += s.Account[c][t];
        }
        m.Revenue = revenue;
        m.Production = static_cast<double>(production);
        m.Interest = static_cast<double>(interest);
        m.Transport = static_cast<double>(s.History.OpenTransport[c]);
        m.MoneyBefore = static_cast<double>(before);
        m.Money = static_cast<double>(after);
        m.Value = static_cast<double>(CompanyValue(s, c));
        m.Share = ShareOfDemand(sold, totalDemand);
        if (r.Detailed) {
            const OpenBooks& open = h.Open[c];
            for (size_t k = 0; k < m.Spent.size(); ++k)
                m.Spent[k] = static_cast<double>(open.Spent[k]);
            for (int t = 0; t < kTowns; ++t)
                m.TownSpent[t] = static_cast<double>(open.TownSpent[t]);
            m.Other = static_cast<double>(open.Other);
            RecordUnsold(s, previous, c, wagesAtMarket, m);
        }
    }
    // The next month starts here and is seen whole.
    h.OpenTransport.fill(0.0L);
    h.Open = {};
    h.OpenWhole = true;
}
