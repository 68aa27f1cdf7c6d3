/// @file month_record.cpp Filling the record of a closed month.
#include "engine/month_record.h"

#include <cmath>

#include "engine/end_of_game.h"
#include "engine/market.h"

namespace {

// Why each brand of the company that sold nothing did so, where it was offered; the market's own
// tests in the market's order. A brand without beer where it sold the month before is marked
// in `noStock`.
void RecordUnsold(const GameState& s, int c, const PerTown<float>& wages, const BrandTownTable<bool>& noStock,
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
        for (int t = 0; t < kTowns; ++t)
            if (noStock[b][t])
                unsold[b][t] = NothingSold::NoStock;
    }
}

}  // namespace

void RecordMonth(GameState& s, const PerCompanyTown<long double>& accountsBeforeMarket,
                 const PerTown<float>& wagesAtMarket)
{
    GameHistory& h = s.History;
    const bool detailed = h.OpenWhole;
    // A brand that sold somewhere the month before and has no beer there now, read from the
    // month before's places before they make way for this month's.
    std::array<BrandTownTable<bool>, kCompanies> noStock{};
    if (detailed && !h.Months.empty())
        for (const LitreCell& cell : h.NewestCells)
            if (cell.Sales > 0 && s.Quality[cell.Company][cell.Brand] != 0.0f &&
                s.Supply[cell.Company][cell.Brand][cell.Town] <= 0)
                noStock[cell.Company][cell.Brand][cell.Town] = true;
    MonthRecord& r = h.AddMonth(s.MonthCount);
    h.SetDemand(s.Demand);
    r.Detailed = detailed;
    const double totalDemand = TotalDemand(s);
    for (int c = 0; c < kCompanies; ++c) {
        CompanyMonth& m = r.Companies[c];
        double revenue = 0;
        long double production = 0, interest = 0, before = 0, after = 0;
        for (int b = 0; b < kBrands; ++b)
            for (int t = 0; t < kTowns; ++t) {
                // Revenue in double: the record is for reading, and this keeps the month end fast.
                // A place that sold nothing adds a zero, which leaves the sum as it is (it is never
                // -0): only the places that sold wait for one another.
                const double sold = static_cast<double>(s.Sales[c][b][t]) * static_cast<double>(s.Price[c][b][t]);
                if (sold != 0.0 || sold != sold)
                    revenue += sold;
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
        if (detailed) {
            const OpenBooks& open = h.Open[c];
            long double spent = 0;
            KindSpending kinds{r.Month, c, {}};
            bool anyKind = false;
            for (size_t k = 0; k < open.Spent.size(); ++k) {
                kinds.Spent[k] = static_cast<double>(open.Spent[k]);
                anyKind = anyKind || kinds.Spent[k] != 0;
                spent += open.Spent[k];
            }
            const CompanyBooks books{r.Month, c, static_cast<double>(spent), static_cast<double>(open.Other)};
            if (books.Spent != 0 || books.Other != 0)
                h.Books.push_back(books);
            // By kind only for the players at the machine: their month report names each.
            if (anyKind && IsHumanCompany(s, c))
                h.Kinds.push_back(kinds);
            for (int t = 0; t < kTowns; ++t)
                h.NewestTownSpent[c][t] = static_cast<double>(open.TownSpent[t]);
            RecordUnsold(s, c, wagesAtMarket, noStock[c], h.NewestUnsold[c]);
        }
    }
    // The next month starts here and is seen whole.
    h.OpenTransport.fill(0.0L);
    h.Open = {};
    h.OpenWhole = true;
}

void NoteMoneyOfOpenedGame(GameState& s)
{
    GameHistory& h = s.History;
    if (!h.OpenWhole || h.Months.empty())
        return;
    const MonthRecord& last = h.Months.back();
    if (last.Month != s.MonthCount - 1) {
        h.OpenWhole = false;
        return;
    }
    for (int c = 0; c < kCompanies; ++c) {
        const OpenBooks& open = h.Open[c];
        long double expected = last.Companies[c].Money;
        for (const long double spent : open.Spent)
            expected -= spent;
        expected -= h.OpenTransport[c];
        expected += open.Other;
        long double money = 0;
        for (int t = 0; t < kTowns; ++t)
            money += s.Account[c][t];
        if (std::fabs(money - expected) >= 0.005L)
            h.NoteOther(c, money - expected);
    }
}
