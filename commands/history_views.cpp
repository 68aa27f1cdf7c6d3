/// @file history_views.cpp The month report, the message log and the price forecast's texts.
#include "commands/history_views.h"

#include <cmath>

#include "commands/amount_field.h"
#include "engine/market.h"
#include "game/status_line.h"

namespace {

const std::string& Pick(Language language, const std::string& english, const std::string& german)
{
    return language == Language::German ? german : english;
}

// + 0.0: a cost of nothing is "0.00 $", not "-0.00 $".
// Beyond a trillion, cents tell nothing and the figure would fill the report: significant digits.
std::string Dollars(double amount)
{
    if (std::fabs(amount) >= 1e12)
        return Format("%.6g $", amount);
    return Format("%.2f $", amount + 0.0);
}

}  // namespace

std::string RecordMonthName(int32_t month, Language language)
{
    // Wide enough for any month a file can hold, the lowest included.
    const int64_t sinceStart = static_cast<int64_t>(month) - 1;
    const int64_t index = (sinceStart % kMonths + kMonths) % kMonths;
    const int64_t year = 1750 + (sinceStart - index) / kMonths;
    return Format("%s %lld", kMonthNames[language == Language::German ? 1 : 0][index], static_cast<long long>(year));
}

MonthReport ComputeMonthReport(const GameState& s, int company, Language language)
{
    MonthReport report;
    const bool german = language == Language::German;
    if (company < 0 || company >= kCompanies || s.History.Months.empty()) {
        report.Title = german ? "Monatsbericht" : "Month report";
        report.EmptyText = german ? "Noch ist kein Monat abgeschlossen." : "No month has been closed yet.";
        return report;
    }
    const MonthRecord& r = s.History.Months.back();
    const CompanyMonth& m = r.Companies[company];
    const CompanyLitres litres = s.History.Litres(r, company);
    report.Empty = false;
    report.Title = Format(german ? "Bericht für %s: %s" : "Report for %s: %s",
                          RecordMonthName(r.Month, language).c_str(), s.CompanyName[company].c_str());
    report.Headings = german ? std::array<std::string, 5>{"Stadt", "Marke", "Angebot", "Verkauft", "Bedarf"}
                             : std::array<std::string, 5>{"Town", "Brand", "Offered", "Sold", "Demand"};
    for (int t = 0; t < kTowns; ++t)
        for (int b = 0; b < kBrands; ++b)
            if (litres.Supply[b][t] > 0 || litres.Sales[b][t] > 0)
                report.Sales.push_back({s.TownName[t], s.BrandName[company][b], Format("%d l", litres.Supply[b][t]),
                                        Format("%d l", litres.Sales[b][t]), Format("%d l", s.History.NewestDemand[t])});

    report.BooksHeading = german ? "Geld des Monats" : "The month's money";
    const MonthRecord* previous =
        s.History.Months.size() > 1 ? &s.History.Months[s.History.Months.size() - 2] : nullptr;
    if (previous)
        report.Books.push_back({german ? "Geld nach dem Vormonat" : "Money after last month",
                                Dollars(previous->Companies[company].Money)});
    report.Books.push_back({german ? "Geld vor dem Markt" : "Money before the market", Dollars(m.MoneyBefore)});
    report.Books.push_back({german ? "Einnahmen aus Verkäufen" : "Income from sales", Dollars(m.Revenue)});
    report.Books.push_back({german ? "Produktionskosten" : "Production costs", Dollars(-m.Production)});
    report.Books.push_back({german ? "Zinsen auf Schulden" : "Interest on debts", Dollars(-m.Interest)});
    report.Books.push_back({german ? "Geld nach dem Monat" : "Money after the month", Dollars(m.Money)});
    report.Books.push_back(
        {german ? "Transportkosten im Monat" : "Transport costs in the month", Dollars(-m.Transport)});
    report.Books.push_back({german ? "Firmenwert" : "Company value", Dollars(m.Value)});
    report.Books.push_back({german ? "Marktanteil" : "Market share", Format("%.2f %%", static_cast<double>(m.Share))});

    report.MessagesHeading = german ? "Meldungen des Monats" : "The month's messages";
    // The messages of the month's close and of the turn that follows it: each with its own
    // month, the same the message log gives it.
    for (const RecordedMessage& message : s.History.Messages)
        if (message.Company == company && (message.Month == r.Month || message.Month == r.Month + 1))
            report.Messages.push_back(RecordMonthName(message.Month, language) + ": " + message.Text.In(language));
    return report;
}

std::vector<std::size_t> MessageLogEntries(const GameHistory& history, std::optional<int> company)
{
    std::vector<std::size_t> entries;
    for (std::size_t i = history.Messages.size(); i-- > 0;)
        if (!company || history.Messages[i].Company == *company)
            entries.push_back(i);
    return entries;
}

std::string MessageLogLine(const GameState& s, const RecordedMessage& message, Language language)
{
    const std::string name =
        message.Company >= 0 && message.Company < kCompanies ? s.CompanyName[message.Company] : std::string("?");
    std::string text = message.Text.In(language);
    for (char& ch : text)
        if (ch == '\n' || ch == '\r' || ch == '\t')
            ch = ' ';
    return RecordMonthName(message.Month, language) + " - " + name + ": " + text;
}

std::vector<std::string> MessageLogLines(const GameState& s, std::optional<int> company, Language language)
{
    std::vector<std::string> lines;
    for (const std::size_t i : MessageLogEntries(s.History, company))
        lines.push_back(MessageLogLine(s, s.History.Messages[i], language));
    return lines;
}

PriceForecastTexts ComputePriceForecast(const GameState& s, const std::array<std::string, kBrands>& priceFields,
                                        Language language)
{
    PriceForecastTexts texts;
    texts.Note = Pick(language, "This month's market at today's wages", "Markt dieses Monats, heutige Löhne");
    const int c = s.CurrentCompany;
    const int t = s.SelectedTown;
    if (!s.GameActive || c < 0 || c >= kCompanies || t < 0 || t >= kTowns)
        return texts;
    const bool german = language == Language::German;
    auto limit = [&](const std::optional<int64_t>& cents) {
        return cents ? Dollars(static_cast<double>(*cents) / 100.0) : std::string(german ? "kein Preis" : "no price");
    };
    for (int b = 0; b < kBrands; ++b) {
        if (!BrandExists(s, c, b))
            continue;
        const float price = static_cast<float>(ReadPriceField(priceFields[b]));
        const BrandForecast f = ForecastBrand(s, c, b, t, price);
        texts.Rows[b] = Format("~%d l", f.Sold);
        texts.Details[b] =
            Format(german ? "%s zu %.2f $: verkauft %d von %d l (Bedarf %d l), %s; alles bis %s, etwas bis %s"
                          : "%s at %.2f $: sells %d of %d l (wants %d l), %s; all up to %s, some up to %s",
                   s.BrandName[c][b].c_str(), static_cast<double>(price), f.Sold, f.Stock, f.Demand,
                   Dollars(static_cast<double>(f.Revenue)).c_str(), limit(f.AllSoldUpToCents).c_str(),
                   limit(f.AnySoldUpToCents).c_str());
    }
    return texts;
}
