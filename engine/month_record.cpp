/// @file month_record.cpp Filling the record of a closed month.
#include "engine/month_record.h"

#include "engine/end_of_game.h"

void RecordMonth(GameState& s, const PerCompanyTown<long double>& accountsBeforeMarket)
{
    GameHistory& h = s.History;
    MonthRecord& r = h.AddMonth(s.MonthCount);
    h.SetDemand(s.Demand);
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
    }
    s.History.OpenTransport.fill(0.0L);
}
