// What the month report, the message log, the price forecast and the town forecast show, in both
// languages.
#include <gtest/gtest.h>

#include <algorithm>

#include <limits>

#include "command_world.h"
#include "commands/history_views.h"
#include "engine/market.h"
#include "engine/turn.h"
#include "recording_frontend.h"

namespace {

GameState TwoMonthsPlayed()
{
    GameState s = CommandWorld();
    s.Program.ShowBestOpponent = false;
    s.History.OpenWhole = true;  // recorded from the game's start, as a new game is
    s.Account[5][0] = -3.0L;     // company 5 is liquidated at the first month end
    RecordingFrontend f;
    NextTurn(s, f);
    s.Price[2][0][2] = 2.0f;
    NextTurn(s, f);
    return s;
}

}  // namespace

TEST(MonthReport, LastMonthsMarketBooksAndMessagesOfTheCompanyOnTurn)
{
    const GameState s = TwoMonthsPlayed();
    const MonthReport en = ComputeMonthReport(s, 2, Language::English);
    ASSERT_FALSE(en.Empty);
    EXPECT_EQ(en.Title, "Report for February 1750: Company2");
    ASSERT_EQ(en.Sales.size(), 1u) << "one brand offered in one town";
    const CompanyMonth& m = s.History.Months.back().Companies[2];
    EXPECT_EQ(en.Sales[0].Town, "Fotzingfors");
    EXPECT_EQ(en.Sales[0].Brand, "Alpha");
    EXPECT_EQ(en.Sales[0].Offered, "1000 l");
    EXPECT_EQ(en.Sales[0].Sold, Format("%d l", s.History.Litres(s.History.Months.back(), 2).Sales[0][2]));
    EXPECT_EQ(en.Sales[0].Demand, "5000 l");
    ASSERT_GE(en.Books.size(), 6u);
    EXPECT_EQ(en.Books[0].Label, "Money after last month");
    EXPECT_EQ(en.Books[2].Amount, Format("%.2f $", m.Revenue));
    EXPECT_EQ(en.Messages, std::vector<std::string>{}) << "the liquidation was in January";

    const MonthReport january = [&] {
        GameState first = CommandWorld();
        first.Program.ShowBestOpponent = false;
        first.History.OpenWhole = true;
        first.Account[5][0] = -3.0L;
        RecordingFrontend f;
        NextTurn(first, f);
        // The liquidated company's debt went with it: a change of its money before the market.
        EXPECT_EQ(first.History.BooksOf(1, 5).Other, 3.0);
        return ComputeMonthReport(first, 2, Language::German);
    }();
    EXPECT_EQ(january.Title, "Bericht für Januar 1750: Company2");
    EXPECT_EQ(january.Messages, std::vector<std::string>{"Januar 1750: Company5's Firma ist Pleite!"});
    EXPECT_EQ(january.Books[0].Label, "Geld zu Monatsbeginn") << "no month before the first";
    EXPECT_EQ(january.Books[1].Label, "Geld vor dem Markt") << "nothing spent";

    const MonthReport none = ComputeMonthReport(CommandWorld(), 2, Language::German);
    EXPECT_TRUE(none.Empty);
    EXPECT_EQ(none.EmptyText, "Noch ist kein Monat abgeschlossen.");
}

TEST(MonthReport, HugeFiguresAreShortNotHundredsOfDigits)
{
    GameState s = TwoMonthsPlayed();
    CompanyMonth& m = s.History.Months.back().Companies[2];
    struct Case {
        double money;
        const char* shown;
    };
    for (const Case& c : {Case{999999999999.994, "999999999999.99 $"}, Case{1e12, "1e+12 $"},
                          Case{-123456789012345.0, "-1.23457e+14 $"}, Case{1e300, "1e+300 $"},
                          Case{-1.7976931348623157e308, "-1.79769e+308 $"}}) {
        m.Money = c.money;
        const MonthReport report = ComputeMonthReport(s, 2, Language::English);
        const auto it = std::find_if(report.Books.begin(), report.Books.end(),
                                     [](const ReportAmount& a) { return a.Label == "Money after the month"; });
        ASSERT_NE(it, report.Books.end());
        EXPECT_EQ(it->Amount, c.shown) << c.money;
    }
}

TEST(MessageLog, NewestFirstAndFilteredByCompany)
{
    GameState s = CommandWorld();
    s.History.Messages = {
        {1, 2, {"first", "erste"}, {}}, {3, 4, {"two\nlines", "zwei"}, {}}, {14, 2, {"third", "dritte"}, {}}};
    using V = std::vector<std::string>;
    EXPECT_EQ(
        MessageLogLines(s, std::nullopt, Language::English),
        (V{"February 1751 - Company2: third", "March 1750 - Company4: two lines", "January 1750 - Company2: first"}));
    EXPECT_EQ(MessageLogLines(s, 2, Language::German),
              (V{"Februar 1751 - Company2: dritte", "Januar 1750 - Company2: erste"}));
    EXPECT_TRUE(MessageLogLines(s, 7, Language::English).empty());
}

TEST(MonthReport, AMessageHasTheSameMonthInTheReportAndInTheLog)
{
    // The report of a closed month also lists what came at the start of the following turn:
    // each line keeps the month the log gives it.
    GameState s = TwoMonthsPlayed();
    const int32_t closed = s.History.Months.back().Month;
    s.History.Messages = {{closed, 2, {"at the close", "beim Abschluss"}, {}},
                          {closed + 1, 2, {"at the next start", "beim nächsten Start"}, {}}};
    for (const Language language : {Language::English, Language::German}) {
        const MonthReport report = ComputeMonthReport(s, 2, language);
        const std::vector<std::string> log = MessageLogLines(s, 2, language);
        ASSERT_EQ(report.Messages.size(), 2u);
        ASSERT_EQ(log.size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            const RecordedMessage& m = s.History.Messages[i];
            const std::string month = RecordMonthName(m.Month, language);
            EXPECT_EQ(report.Messages[i], month + ": " + m.Text.In(language));
            EXPECT_EQ(log[1 - i].substr(0, month.size()), month) << "the log is newest first";
        }
    }
    EXPECT_EQ(ComputeMonthReport(s, 2, Language::English).Messages[1], "March 1750: at the next start");
}

TEST(MessageLog, MonthNamesOfEveryMonthAFileCanHold)
{
    struct Case {
        int32_t month;
        const char* name;
    };
    for (const Case& c :
         {Case{1, "January 1750"}, Case{12, "December 1750"}, Case{13, "January 1751"}, Case{0, "December 1749"},
          Case{-11, "January 1749"}, Case{std::numeric_limits<int32_t>::max(), "July 178958720"},
          Case{std::numeric_limits<int32_t>::min(), "April -178955221"}})
        EXPECT_EQ(RecordMonthName(c.month, Language::English), c.name) << c.month;
}

TEST(PriceForecastTexts, EachBrandRowAtItsTypedPrice)
{
    GameState s = TwoMonthsPlayed();
    s.Quality[2][2] = 1.0f;  // a third brand without beer in the town
    const PriceForecastTexts texts = ComputePriceForecast(s, {"2.5", "1", "3"}, Language::English);
    ASSERT_TRUE(texts.Rows[0]);
    // Each brand meets the others at their typed prices with the beer they have on hand.
    const GameData market = OwnBrandsAsOnHand(s, 2, 2, {2.5f, 1.0f, 3.0f});
    const BrandForecast f = ForecastBrand(market, 2, 0, 2, 2.5f);
    ASSERT_TRUE(f.AnySoldUpToCents);
    EXPECT_EQ(*texts.Rows[0], Format("~%d l", f.Sold));
    EXPECT_EQ(f.Sold, ForecastSales(market, 2, 0, 2, 2.5f));
    const std::string all = f.AllSoldUpToCents ? Format("%.2f $", *f.AllSoldUpToCents / 100.0) : "no price";
    EXPECT_EQ(*texts.Details[0],
              Format("Alpha at 2.50 $: sells %d of %d l (wants %d l), %.2f $; all up to %s, some up to %.2f $", f.Sold,
                     f.Stock, f.Demand, static_cast<double>(f.Revenue), all.c_str(), *f.AnySoldUpToCents / 100.0));
    EXPECT_FALSE(texts.Rows[1]) << "no brand in the second slot";
    EXPECT_FALSE(texts.Details[1]);
    ASSERT_TRUE(texts.Rows[2]);
    EXPECT_EQ(*texts.Rows[2], "~0 l");
    // A brand without beer in the town still learns what the town would take of it.
    const int32_t wants = ForecastBrand(market, 2, 2, 2, 3.0f).Demand;
    EXPECT_GT(wants, 0);
    EXPECT_EQ(
        *texts.Details[2],
        Format("Gamma at 3.00 $: sells 0 of 0 l (wants %d l), 0.00 $; all up to no price, some up to no price", wants));
    EXPECT_NE(texts.Note.find("today's wages"), std::string::npos);
    const PriceForecastTexts german = ComputePriceForecast(s, {"", "", "3"}, Language::German);
    EXPECT_NE(german.Note.find("heutige Löhne"), std::string::npos);
    const int32_t wantsGerman = ForecastBrand(OwnBrandsAsOnHand(s, 2, 2, {0.0f, 0.0f, 3.0f}), 2, 2, 2, 3.0f).Demand;
    EXPECT_EQ(*german.Details[2],
              Format("Gamma zu 3.00 $: verkauft 0 von 0 l (Bedarf %d l), 0.00 $; alles bis kein Preis, etwas bis kein "
                     "Preis",
                     wantsGerman));
}

TEST(TownForecastTexts, EachBrandOfThePlayerInTheSelectedTownInBothLanguages)
{
    GameState s = TwoMonthsPlayed();
    s.Quality[2][2] = 1.0f;  // a third brand without beer in the town
    // A rival that sold there at the last market.
    s.Quality[4][1] = 1.0f;
    s.Price[4][1][2] = 2.5f;
    s.Supply[4][1][2] = 600;
    s.Sales[4][1][2] = 450;
    const TownForecast english = ComputeTownForecast(s, Language::English);
    EXPECT_EQ(english.Title, "Forecast for " + s.TownName[2] + ", " + RecordMonthName(s.MonthCount, Language::English));
    EXPECT_NE(english.Note.find("This month's market with today's wages"), std::string::npos);
    // What the other sellers offered and sold there at the last market.
    int brands = 0;
    long long offered = 0;
    long long sold = 0;
    for (int k = 0; k < kCompanies; ++k)
        for (int b = 0; b < kBrands; ++b)
            if (k != 2 && s.Supply[k][b][2] > 0) {
                ++brands;
                offered += s.Supply[k][b][2];
                sold += s.Sales[k][b][2];
            }
    ASSERT_GT(brands, 0) << "a town with rivals";
    EXPECT_EQ(english.Others,
              Format("%s drinks %d l a month. The other sellers last month: brands %d, offered %lld l, sold %lld l.",
                     s.TownName[2].c_str(), s.Demand[2], brands, offered, sold));
    EXPECT_TRUE(english.EmptyText.empty());
    ASSERT_EQ(english.Rows.size(), 2u) << "Alpha and Gamma; the empty slot has no row";
    const GameData market = OwnBrandsAsOnHand(s, 2, 2, {s.Price[2][0][2], s.Price[2][1][2], s.Price[2][2][2]});
    const BrandForecast alpha = ForecastBrand(market, 2, 0, 2, s.Price[2][0][2]);
    ASSERT_TRUE(alpha.AnySoldUpToCents);
    const std::string all = alpha.AllSoldUpToCents ? Format("%.2f $", *alpha.AllSoldUpToCents / 100.0) : "no price";
    EXPECT_EQ(
        english.Rows[0].Cells,
        (std::array<std::string, 8>{"Alpha", Format("%.2f $", static_cast<double>(s.Price[2][0][2])),
                                    Format("%d l", alpha.Demand), Format("%d l", alpha.Stock),
                                    Format("%d l", alpha.Sold), Format("%.2f $", static_cast<double>(alpha.Revenue)),
                                    all, Format("%.2f $", *alpha.AnySoldUpToCents / 100.0)}));
    // Without beer in the town: what the town would take of it, and no limit to tell.
    EXPECT_EQ(english.Rows[1].Brand, 2);
    EXPECT_EQ(english.Rows[1].Cells[3], "0 l");
    EXPECT_EQ(english.Rows[1].Cells[4], "0 l");
    EXPECT_EQ(english.Rows[1].Cells[6], "-");
    EXPECT_EQ(english.Rows[1].Cells[7], "-");

    const TownForecast german = ComputeTownForecast(s, Language::German);
    EXPECT_EQ(german.Title, "Vorschau für " + s.TownName[2] + ", " + RecordMonthName(s.MonthCount, Language::German));
    EXPECT_NE(german.Note.find("Markt dieses Monats mit den heutigen Löhnen"), std::string::npos);
    EXPECT_EQ(german.Headings[0], "Marke");
    EXPECT_EQ(german.Rows[0].Cells[4], english.Rows[0].Cells[4]);

    // Before the first market there is no other seller to know of, and the line says so.
    const GameState first = CommandWorld();
    ASSERT_EQ(first.MonthCount, 1);
    EXPECT_EQ(ComputeTownForecast(first, Language::English).Others,
              Format("%s drinks %d l a month. No market has been held yet: the forecast knows of no other seller.",
                     first.TownName[2].c_str(), first.Demand[2]));

    // No brand, no game: a line that says so instead of an empty table.
    for (int b = 0; b < kBrands; ++b)
        s.Quality[2][b] = 0.0f;
    EXPECT_EQ(ComputeTownForecast(s, Language::English).EmptyText, "You have no brand.");
    EXPECT_TRUE(ComputeTownForecast(s, Language::English).Rows.empty());
    s.GameActive = false;
    EXPECT_EQ(ComputeTownForecast(s, Language::German).EmptyText, "Kein Spiel läuft.");
}
