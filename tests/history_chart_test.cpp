// The history charts' data without a window: round scales for any range of values, the months of
// each range choice, one line per company, and the point under the mouse.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "commands/history_chart.h"

namespace {

bool RoundStep(double step)
{
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (std::fabs(mantissa - m) < 1e-9 * m)
            return true;
    return false;
}

GameHistory Months(int count)
{
    GameHistory h;
    for (int m = 1; m <= count; ++m) {
        MonthRecord& r = h.AddMonth(m);
        for (int c = 0; c < kCompanies; ++c) {
            r.Companies[c].Money = 1000.0 * c - 500.0 * m;
            r.Companies[c].Share = static_cast<float>(c);
            h.SetLitres(c, 1, c, 0, 100 * m);
            h.SetLitres(c, 2, 0, 0, 7);
        }
    }
    return h;
}

PerCompany<std::string> Names()
{
    PerCompany<std::string> names;
    for (int c = 0; c < kCompanies; ++c)
        names[c] = "Company" + std::to_string(c);
    return names;
}

}  // namespace

TEST(ChartScale, RoundStepsAroundAnyData)
{
    constexpr double kMax = std::numeric_limits<double>::max();
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        double low, high;
        double expectLow, expectHigh;  // NaN: only the general rules
    };
    const Case cases[] = {
        {"nothing but zero", 0, 0, 0, 1},
        {"zero to a hundred", 0, 100, 0, 100},
        {"a loss and a profit", -250, 1234, -500, 1500},
        {"only debts", -5, -3, -5, -3},
        {"one negative value", -7, -7, -8, 0},
        {"one large value", 3e9, 3e9, 0, 3e9},
        {"huge money", 0, 5e15, 0, 5e15},
        {"near the largest double", -kMax, kMax, kNaN, kNaN},
        {"the largest double alone", kMax, kMax, kNaN, kNaN},
        {"a tiny span", 1.0, 1.0 + 1e-12, kNaN, kNaN},
        {"two neighbouring denormals", 0, 5e-324, kNaN, kNaN},
        {"no number", kNaN, 5, 0, 1},
        {"an endless value", 0, std::numeric_limits<double>::infinity(), 0, 1},
    };
    for (const Case& c : cases) {
        const ChartScale s = NiceScale(c.low, c.high, Language::English);
        if (!std::isnan(c.expectLow)) {
            EXPECT_DOUBLE_EQ(s.Low, c.expectLow) << c.what;
            EXPECT_DOUBLE_EQ(s.High, c.expectHigh) << c.what;
        }
        EXPECT_TRUE(std::isfinite(s.Low) && std::isfinite(s.High) && s.Low < s.High) << c.what;
        if (std::isfinite(c.low) && std::isfinite(c.high)) {
            EXPECT_LE(s.Low, c.low) << c.what;
            EXPECT_GE(s.High, c.high) << c.what;
        }
        EXPECT_TRUE(RoundStep(s.Step)) << c.what << " step " << s.Step;
        ASSERT_GE(s.Ticks.size(), 2u) << c.what;
        EXPECT_LE(s.Ticks.size(), 6u) << c.what;
        std::set<std::string> labels;
        for (size_t i = 0; i < s.Ticks.size(); ++i) {
            EXPECT_TRUE(std::isfinite(s.Ticks[i].Value)) << c.what;
            if (i > 0) {
                EXPECT_GT(s.Ticks[i].Value, s.Ticks[i - 1].Value) << c.what;
            }
            labels.insert(s.Ticks[i].Label);
        }
        EXPECT_EQ(labels.size(), s.Ticks.size()) << c.what << ": every tick says something else";
    }
}

TEST(ChartScale, LabelsShortenLargeNumbersInEachLanguage)
{
    const auto labels = [](double low, double high, Language language, const std::string& unit = {}) {
        std::vector<std::string> out;
        for (const AxisTick& t : NiceScale(low, high, language, 6, unit).Ticks)
            out.push_back(t.Label);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(labels(0, 100, Language::English), (V{"0", "20", "40", "60", "80", "100"}));
    EXPECT_EQ(labels(0, 2.5e6, Language::English), (V{"0", "0.5 M", "1.0 M", "1.5 M", "2.0 M", "2.5 M"}));
    EXPECT_EQ(labels(0, 2.5e6, Language::German), (V{"0", "0,5 Mio.", "1,0 Mio.", "1,5 Mio.", "2,0 Mio.", "2,5 Mio."}));
    EXPECT_EQ(labels(-2000, 3000, Language::English), (V{"-2 k", "-1 k", "0", "1 k", "2 k", "3 k"}));
    EXPECT_EQ(labels(0, 0.5, Language::English, "%"), (V{"0%", "0.1%", "0.2%", "0.3%", "0.4%", "0.5%"}));
    EXPECT_EQ(labels(0, 4e12, Language::German).back(), "4 Bio.");
}

TEST(HistoryChart, RangesCompaniesAndMonths)
{
    const GameHistory h = Months(600);
    struct Case {
        ChartRange range;
        size_t months;
        int32_t first;
    };
    for (const Case c :
         {Case{ChartRange::Year, 12, 589}, Case{ChartRange::FiveYears, 60, 541}, Case{ChartRange::All, 600, 1}}) {
        const ChartData chart = ComputeChart(h, Names(), ChartMetric::Money, c.range, 3, Language::English);
        ASSERT_EQ(chart.Months.size(), c.months);
        EXPECT_EQ(chart.Months.front(), c.first);
        EXPECT_EQ(chart.Months.back(), 600);
        ASSERT_EQ(chart.Series.size(), 10u);
        EXPECT_LE(chart.MonthTicks.size(), 7u);
        EXPECT_GE(chart.MonthTicks.size(), 2u);
        for (const ChartSeries& s : chart.Series) {
            EXPECT_EQ(s.Values.size(), c.months);
            EXPECT_EQ(s.Own, s.Company == 3);
            EXPECT_EQ(s.Values.back(), 1000.0 * s.Company - 500.0 * 600);
            for (const double v : s.Values) {
                EXPECT_GE(v, chart.Scale.Low);
                EXPECT_LE(v, chart.Scale.High);
            }
        }
    }
    const ChartData all = ComputeChart(h, Names(), ChartMetric::Sales, ChartRange::All, 0, Language::German);
    EXPECT_EQ(all.Series[4].Values[9], 100 * 10 + 7) << "all brands in all towns";
    EXPECT_EQ(all.MonthTicks[0].Label, "Jan 1750");
    EXPECT_EQ(all.MonthTicks[1].Label, "Jan 1760") << "every ten years";
    EXPECT_EQ(
        ComputeChart(Months(3), Names(), ChartMetric::Sales, ChartRange::All, 0, Language::German).MonthTicks[2].Label,
        "Mär 1750")
        << "three letters, not three bytes";
    EXPECT_EQ(all.Title.German, "Absatz (Liter)");

    const ChartData share = ComputeChart(h, Names(), ChartMetric::Share, ChartRange::Year, 0, Language::English);
    EXPECT_EQ(share.Scale.Ticks.back().Label, "10%");

    const ChartData mine = ComputeChart(h, Names(), ChartMetric::Money, ChartRange::Year, 6, Language::English, true);
    ASSERT_EQ(mine.Series.size(), 1u);
    EXPECT_EQ(mine.Series[0].Company, 6);
    EXPECT_TRUE(mine.Series[0].Own);
    EXPECT_EQ(mine.Series[0].Values.back(), 6000.0 - 500.0 * 600);
    EXPECT_LE(mine.Scale.High - mine.Scale.Low, 10000.0) << "the scale fits the one line";

    const ChartData none =
        ComputeChart(GameHistory{}, Names(), ChartMetric::Value, ChartRange::All, 0, Language::English);
    EXPECT_TRUE(none.Empty());
    EXPECT_GE(none.Scale.Ticks.size(), 2u);
}

TEST(HistoryChart, ThePointUnderTheMouse)
{
    const GameHistory h = Months(3);
    const ChartData chart = ComputeChart(h, Names(), ChartMetric::Share, ChartRange::All, 4, Language::German);
    const PlotArea area{50, 20, 400, 200};
    EXPECT_DOUBLE_EQ(PlotX(chart, area, 0), 50);
    EXPECT_DOUBLE_EQ(PlotX(chart, area, 2), 450);
    EXPECT_DOUBLE_EQ(PlotY(chart, area, chart.Scale.Low), 220);
    EXPECT_DOUBLE_EQ(PlotY(chart, area, chart.Scale.High), 20);

    const double x = PlotX(chart, area, 1);
    const double y = PlotY(chart, area, 4.0);
    const auto hit = NearestPoint(chart, area, x + 3, y - 2, Language::German);
    ASSERT_TRUE(hit);
    EXPECT_EQ(chart.Series[hit->Series].Company, 4);
    EXPECT_EQ(hit->Index, 1);
    EXPECT_EQ(hit->Text, "Company4, Feb 1750: 4,00%");
    EXPECT_FALSE(NearestPoint(chart, area, x + 100, y, Language::German)) << "nothing within reach";
}
