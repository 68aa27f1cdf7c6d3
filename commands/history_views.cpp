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

// The spending kinds' labels in SpendingKind's order, English and German.
constexpr const char* kSpendingLabels[kSpendingKinds][2] = {{"New breweries", "Neue Brauereien"},
                                                            {"Brewery extensions", "Erweiterungen"},
                                                            {"Depots", "Lagerhäuser"},
                                                            {"New brands", "Neue Marken"},
                                                            {"Transfer fees (5 %)", "Überweisungsverluste (5 %)"},
                                                            {"Transport", "Transporte"}};

// Why a brand sold nothing in a town, in the words of the market's rules.
std::string UnsoldLine(const GameState& s, int c, int b, int t, NothingSold why, Language language)
{
    const bool german = language == Language::German;
    const char* town = s.TownName[t].c_str();
    const char* brand = s.BrandName[c][b].c_str();
    const double quality = s.Quality[c][b];
    switch (why) {
    case NothingSold::NoStock:
        return Format(german ? "%s: %s verkaufte nichts: kein Bier vorrätig (im Vormonat verkauft)"
                             : "%s: %s sold nothing: no beer on hand (it sold there the month before)",
                      town, brand);
    case NothingSold::PriceTooHigh:
        return Format(german ? "%s: %s verkaufte nichts: Preis über der Grenze für Qualität %.2f (bis %.2f $)"
                             : "%s: %s sold nothing: price above the limit for quality %.2f (up to %.2f $)",
                      town, brand, quality, 3.6 * quality);
    case NothingSold::OffTaste:
        return Format(german ? "%s: %s verkaufte nichts: Qualität %.2f liegt zu weit vom Lohnniveau der Stadt"
                             : "%s: %s sold nothing: quality %.2f lies too far from the town's wage level",
                      town, brand, quality);
    case NothingSold::DemandMet:
        return Format(german ? "%s: %s verkaufte nichts: kein Bedarf mehr, die anderen deckten die %d l der Stadt"
                             : "%s: %s sold nothing: no demand left, the others met the town's %d l",
                      town, brand, s.History.NewestDemand[t]);
    case NothingSold::No:
        break;
    }
    return {};
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

MonthReport ComputeMonthReport(const GameState& s, int company, Language language, std::optional<int32_t> month)
{
    MonthReport report;
    const bool german = language == Language::German;
    const GameHistory& h = s.History;
    const MonthRecord* chosen = h.Months.empty() ? nullptr : month ? h.FindMonth(*month) : &h.Months.back();
    if (company < 0 || company >= kCompanies || !chosen) {
        report.Title = german ? "Monatsbericht" : "Month report";
        report.EmptyText = german ? "Noch ist kein Monat abgeschlossen." : "No month has been closed yet.";
        return report;
    }
    const MonthRecord& r = *chosen;
    const bool newest = &r == &h.Months.back();
    const CompanyMonth& m = r.Companies[company];
    const CompanyBooks books = h.BooksOf(r.Month, company);
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
    const MonthRecord* previous = h.FindMonth(r.Month - 1);
    const auto add = [&](const char* english, const char* germanLabel, double amount, ReportAmount::Role part) {
        report.Books.push_back({german ? germanLabel : english, Dollars(amount), part});
    };
    if (r.Detailed) {
        if (previous)
            add("Money after last month", "Geld nach dem Vormonat", previous->Companies[company].Money,
                ReportAmount::Balance);
        else
            // The game's first month: what the company started with, as the month's books give it.
            add("Money at the start of the month", "Geld zu Monatsbeginn",
                m.MoneyBefore + h.TotalSpending(r, company) - books.Other, ReportAmount::Balance);
        for (int k = 0; k < kSpendingKinds; ++k)
            if (const double spent = h.SpentOn(r, company, static_cast<SpendingKind>(k)); spent != 0)
                add(kSpendingLabels[k][0], kSpendingLabels[k][1], -spent, ReportAmount::Change);
        if (books.Other != 0)
            add("Events and other changes", "Ereignisse und anderes", books.Other, ReportAmount::Change);
    } else {
        // A month the game was opened in: only its transport is known.
        report.Books.push_back({german ? "Ausgaben nicht erfasst (Spiel im Monat geladen)"
                                       : "Spending not recorded (game opened this month)",
                                "", ReportAmount::Note});
        add("Transport costs in the month", "Transportkosten im Monat", -m.Transport, ReportAmount::Note);
    }
    add("Money before the market", "Geld vor dem Markt", m.MoneyBefore, ReportAmount::Balance);
    add("Income from sales", "Einnahmen aus Verkäufen", m.Revenue, ReportAmount::Change);
    add("Production costs", "Produktionskosten", -m.Production, ReportAmount::Change);
    add("Interest on debts", "Zinsen auf Schulden", -m.Interest, ReportAmount::Change);
    add("Money after the month", "Geld nach dem Monat", m.Money, ReportAmount::Balance);
    add("Company value", "Firmenwert", m.Value, ReportAmount::Note);
    report.Books.push_back(
        {german ? "Marktanteil" : "Market share", Format("%.2f %%", static_cast<double>(m.Share)), ReportAmount::Note});

    report.TownSpendingHeading = german ? "Ausgaben nach Städten" : "Spending by town";
    report.UnsoldHeading = german ? "Nichts verkauft" : "Sold nothing";
    // Town by town and place by place only for the newest month.
    if (r.Detailed && newest) {
        for (int t = 0; t < kTowns; ++t)
            if (s.History.NewestTownSpent[company][t] != 0)
                report.TownSpending.push_back(
                    {s.TownName[t], Dollars(-s.History.NewestTownSpent[company][t]), ReportAmount::Note});
        for (int t = 0; t < kTowns; ++t)
            for (int b = 0; b < kBrands; ++b)
                if (s.History.NewestUnsold[company][b][t] != NothingSold::No)
                    report.Unsold.push_back(
                        UnsoldLine(s, company, b, t, s.History.NewestUnsold[company][b][t], language));
    }

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
    std::array<float, kBrands> prices{};
    for (int b = 0; b < kBrands; ++b)
        prices[b] = static_cast<float>(ReadPriceField(priceFields[b]));
    // The brands compete with each other at the prices typed for them.
    const GameData market = OwnBrandsAsOnHand(s, c, t, prices);
    for (int b = 0; b < kBrands; ++b) {
        if (!BrandExists(s, c, b))
            continue;
        const float price = prices[b];
        const BrandForecast f = ForecastBrand(market, c, b, t, price);
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

GameData OwnBrandsAsOnHand(const GameState& s, int company, int town, const std::array<float, kBrands>& prices)
{
    GameData market = s;
    if (company < 0 || company >= kCompanies || town < 0 || town >= kTowns)
        return market;
    for (int b = 0; b < kBrands; ++b) {
        market.Supply[company][b][town] = s.Stock[company][b][town];
        market.Price[company][b][town] = prices[b];
    }
    return market;
}

TownForecast ComputeTownForecast(const GameState& s, Language language)
{
    TownForecast forecast;
    const bool german = language == Language::German;
    forecast.Title = german ? "Vorschau" : "Forecast";
    forecast.Note = german ? "Markt dieses Monats mit den heutigen Löhnen: Ihre Marken zu ihren Preisen mit dem "
                             "Bier auf Lager, alle anderen Anbieter wie im letzten Monat. Baut, transportiert oder "
                             "ändert die Konkurrenz etwas, oder ändern sich die Löhne, verkauft sich anders."
                           : "This month's market with today's wages: your brands at their prices with the beer on "
                             "hand, every other seller as it offered last month. When a rival builds, transports or "
                             "changes its prices, or the wages move, the month sells differently.";
    forecast.Headings = german ? std::array<std::string, 8>{"Marke",   "Preis",  "Bedarf",    "Vorrat",
                                                            "Verkauf", "Umsatz", "Alles bis", "Etwas bis"}
                               : std::array<std::string, 8>{"Brand", "Price",   "Demand",    "Stock",
                                                            "Sells", "Revenue", "All up to", "Any up to"};
    const int c = s.CurrentCompany;
    const int t = s.SelectedTown;
    if (!s.GameActive || c < 0 || c >= kCompanies || t < 0 || t >= kTowns) {
        forecast.EmptyText = german ? "Kein Spiel läuft." : "No game is running.";
        return forecast;
    }
    forecast.Title = Format(german ? "Vorschau für %s, %s" : "Forecast for %s, %s", s.TownName[t].c_str(),
                            RecordMonthName(s.MonthCount, language).c_str());
    auto limit = [&](const std::optional<int64_t>& cents) {
        return cents ? Dollars(static_cast<double>(*cents) / 100.0) : std::string(german ? "kein Preis" : "no price");
    };
    std::array<float, kBrands> prices{};
    for (int b = 0; b < kBrands; ++b)
        prices[b] = s.Price[c][b][t];
    const GameData market = OwnBrandsAsOnHand(s, c, t, prices);
    for (int b = 0; b < kBrands; ++b) {
        if (!BrandExists(s, c, b))
            continue;
        TownForecastRow row;
        row.Brand = b;
        row.Figures = ForecastBrand(market, c, b, t, prices[b]);
        const BrandForecast& f = row.Figures;
        row.Cells = {s.BrandName[c][b],
                     Format("%.2f $", static_cast<double>(prices[b])),
                     Format("%d l", f.Demand),
                     Format("%d l", f.Stock),
                     Format("%d l", f.Sold),
                     Dollars(static_cast<double>(f.Revenue)),
                     f.Stock > 0 ? limit(f.AllSoldUpToCents) : std::string("-"),
                     f.Stock > 0 ? limit(f.AnySoldUpToCents) : std::string("-")};
        forecast.Rows.push_back(std::move(row));
    }
    if (forecast.Rows.empty())
        forecast.EmptyText = german ? "Sie haben keine Marke." : "You have no brand.";
    int brands = 0;
    int64_t offered = 0;
    int64_t sold = 0;
    for (int k = 0; k < kCompanies; ++k)
        for (int b = 0; b < kBrands; ++b)
            if (k != c && s.Supply[k][b][t] > 0) {
                ++brands;
                offered += s.Supply[k][b][t];
                sold += s.Sales[k][b][t];
            }
    // In the first month no market has been held: the forecast knows of no other seller,
    // and says so rather than let an empty town look like a promise.
    if (s.MonthCount <= 1) {
        forecast.Others = Format(german ? "%s trinkt %d l im Monat. Noch gab es keinen Markt: Die Vorschau kennt "
                                          "keine anderen Anbieter."
                                        : "%s drinks %d l a month. No market has been held yet: the forecast knows "
                                          "of no other seller.",
                                 s.TownName[t].c_str(), s.Demand[t]);
        return forecast;
    }
    forecast.Others = Format(german ? "%s trinkt %d l im Monat. Die anderen Anbieter im letzten Monat: Marken %d, "
                                      "angeboten %lld l, verkauft %lld l."
                                    : "%s drinks %d l a month. The other sellers last month: brands %d, offered "
                                      "%lld l, sold %lld l.",
                             s.TownName[t].c_str(), s.Demand[t], brands, static_cast<long long>(offered),
                             static_cast<long long>(sold));
    return forecast;
}
