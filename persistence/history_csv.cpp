/// @file history_csv.cpp Writing the record as CSV.
#include "persistence/history_csv.h"

#include <cstdint>

namespace {

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + '"';
}

}  // namespace

std::string HistoryCsv(const GameHistory& history, const PerCompany<std::string>& companyNames)
{
    std::string out =
        "month,year,month_of_year,company,name,money_before_market,money,value,share,revenue,"
        "production,transport,interest,supply,sales,demand,spending,other\n";
    for (const MonthRecord& r : history.Months) {
        const int64_t demand = r.TotalDemand;
        for (int c = 0; c < kCompanies; ++c) {
            const CompanyMonth& m = r.Companies[c];
            const int64_t supply = m.Supply, sales = m.Sales;
            out += Format("%d,%d,%d,%d,", r.Month, 1750 + (r.Month - 1) / kMonths, (r.Month - 1) % kMonths + 1, c + 1);
            out += Quoted(companyNames[c]);
            out +=
                Format(",%.2f,%.2f,%.2f,%.4f,%.2f,%.2f,%.2f,%.2f,%lld,%lld,%lld", m.MoneyBefore, m.Money, m.Value,
                       static_cast<double>(m.Share), m.Revenue, m.Production, m.Transport, m.Interest,
                       static_cast<long long>(supply), static_cast<long long>(sales), static_cast<long long>(demand));
            // A month whose spending was not seen whole (the game was opened during it) leaves
            // both empty rather than give figures that do not add up.
            out += r.Detailed ? Format(",%.2f,%.2f\n", history.TotalSpending(r, c) + 0.0,
                                       history.BooksOf(r.Month, c).Other + 0.0)
                              : std::string(",,\n");
        }
    }
    return out;
}
