/// @file month_record.cpp Filling the record of a closed month.
#include "engine/month_record.h"

#include <cmath>
#include <vector>

#include "engine/end_of_game.h"
#include "engine/market.h"

namespace {

// Why each brand of the company that sold nothing did so, where it was offered or had sold the
// month before; the market's own tests in the market's order.
void RecordUnsold(const GameState& s, const std::vector<LitreCell>& previous, int c, const PerTown<float>& wages,
                  BrandTownTable<NothingSold>& unsold)
{
    for (int b = 0; b < kBrands; ++b) {
        const float quality = s.Quality[c][b];
        if (quality == 0.0f)
            continue;
        for (int t = 0; t < kTowns; ++t) {
            if (s.Sales[c][b][t] != 0 || s.Supply[c][b][t] <= 0)
                continue;
            if (!(std::fabs(static_cast<double>(QualityGap(quality, wages[t]))) < 0.35))
                unsold[b][t] = NothingSold::OffTaste;
            else if (BrandWeight(quality, wages[t], s.Price[c][b][t]) == 0)
                unsold[b][t] = NothingSold::PriceTooHigh;
            else
                unsold[b][t] = NothingSold::DemandMet;
        }
    }
    for (const LitreCell& cell : previous)
        if (cell.Company == c && cell.Sales > 0 && s.Quality[c][cell.Brand] != 0.0f &&
            s.Supply[c][cell.Brand][cell.Town] <= 0)
            unsold[cell.Brand][cell.Town] = NothingSold::NoStock;
}

}  // namespace

void RecordMonth(GameState& s, const PerCompanyTown<long double>& accountsBeforeMarket,
                 const PerTown<float>& wagesAtMarket)
{
    GameHistory& h = s.History;
    // The month before's places, for a brand that sold there and has no beer now.
    const std::vector<LitreCell> previous = h.Months.empty() ? std::vector<LitreCell>{} : h.NewestCells;
    MonthRecord& r = h.AddMonth(s.MonthCount);
    h.SetDemand(s.Demand);
    r.Detailed = h.OpenWhole;
    const double totalDemand = TotalDemand(s);
    for (int c = 0; c < kCompanies; ++c) {
        CompanyMonth& m = r.Companies[c];
        double revenue = 0;
        long double production = 0, interest = 0, before = 0, after = 0;
        for (int b = 0; b < kBrands; ++b)
            for (int t = 0; t < kTowns; ++t) {
                // Revenue in double: the record is for reading, and this keeps the month end fast.
                revenue += static_cast<double>(s.Sales[c][b][t]) * static_cast<double>(s.Price[c][b][t]);
                // The place, and the company's totals of the month.
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
        m.Share = ShareOfDemand(m.Sales, totalDemand);
        if (r.Detailed) {
            const OpenBooks& open = h.Open[c];
            long double spent = 0;
            for (size_t k = 0; k < open.Spent.size(); ++k) {
                h.NewestSpent[c][k] = static_cast<double>(open.Spent[k]);
                spent += open.Spent[k];
            }
            m.Spent = static_cast<double>(spent);
            for (int t = 0; t < kTowns; ++t)
                h.NewestTownSpent[c][t] = static_cast<double>(open.TownSpent[t]);
            m.Other = static_cast<double>(open.Other);
            RecordUnsold(s, previous, c, wagesAtMarket, h.NewestUnsold[c]);
        }
    }
    // The next month starts here and is seen whole.
    h.OpenTransport.fill(0.0L);
    h.Open = {};
    h.OpenWhole = true;
}
