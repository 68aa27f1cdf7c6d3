/// @file history_chart.cpp Series, scales and ticks of the history charts.
#include "commands/history_chart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/status_line.h"

namespace {

struct Magnitude {
    double Size;
    const char* English;
    const char* German;
};
// Large numbers are shortened on the axis; small ones keep their digits.
constexpr Magnitude kMagnitudes[] = {
    {1e12, " T", " Bio."}, {1e9, " G", " Mrd."}, {1e6, " M", " Mio."}, {1e3, " k", " Tsd."}};

// Germans write the decimal comma; the game's own texts keep the point.
std::string WithDecimalComma(std::string text, Language language)
{
    if (language == Language::German)
        std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

double Value(const MonthRecord& r, int company, ChartMetric metric)
{
    const CompanyMonth& m = r.Companies[company];
    switch (metric) {
    case ChartMetric::Money:
        return m.Money;
    case ChartMetric::Value:
        return m.Value;
    case ChartMetric::Share:
        return m.Share;
    case ChartMetric::Sales:
        return static_cast<double>(m.Sales);
    }
    return 0;
}

LocalText Title(ChartMetric metric)
{
    switch (metric) {
    case ChartMetric::Money:
        return {"Money", "Geld"};
    case ChartMetric::Value:
        return {"Company value", "Firmenwert"};
    case ChartMetric::Share:
        return {"Market share", "Marktanteil"};
    case ChartMetric::Sales:
        return {"Sales (litres)", "Absatz (Liter)"};
    }
    return {};
}

std::string MonthLabel(int32_t month, Language language)
{
    const int index = (month - 1) % kMonths;
    // The first three letters, not bytes: "Mär", not "Mä".
    std::string name;
    int letters = 0;
    for (const char ch : std::string(kMonthNames[language == Language::German ? 1 : 0][index])) {
        const bool continuation = (static_cast<unsigned char>(ch) & 0xC0) == 0x80;
        if (!continuation && letters++ == 3)
            break;
        name += ch;
    }
    return Format("%s %d", name.c_str(), 1750 + (month - 1) / kMonths);
}

}  // namespace

std::string ChartValueText(double value, double step, Language language, const std::string& unit, double reference)
{
    if (value == 0)
        return "0" + unit;
    if (std::isnan(reference))
        reference = value;
    double scale = 1;
    const char* suffix = "";
    for (const Magnitude& m : kMagnitudes)
        if (std::fabs(reference) >= m.Size && std::fabs(step) >= m.Size / 10) {
            scale = m.Size;
            suffix = language == Language::German ? m.German : m.English;
            break;
        }
    const double shown = value / scale;
    const double scaledStep = std::fabs(step) / scale;
    // Enough decimals to tell two neighbouring steps apart, and no more.
    const int decimals =
        scaledStep > 0 && scaledStep < 1 ? static_cast<int>(std::ceil(-std::log10(scaledStep) - 1e-9)) : 0;
    if (decimals <= 9 && std::fabs(shown) < 1e15)
        return WithDecimalComma(Format("%.*f", decimals, shown), language) + suffix + unit;
    // Far beyond the magnitudes, or steps far below the value: significant digits.
    const double ratio = std::fabs(reference / scale) / scaledStep;
    const int digits = std::clamp(static_cast<int>(std::ceil(std::log10(ratio > 1 ? ratio : 1))) + 1, 2, 17);
    return WithDecimalComma(Format("%.*g", digits, shown), language) + suffix + unit;
}

ChartScale NiceScale(double low, double high, Language language, int maxTicks, const std::string& unit)
{
    maxTicks = std::max(maxTicks, 2);
    if (!std::isfinite(low) || !std::isfinite(high) || low > high) {
        low = 0;
        high = 1;
    }
    if (low == high) {
        // One value: a scale from 0 to it (or around 0), so a flat line sits inside the plot.
        if (low > 0)
            low = 0;
        else if (high < 0)
            high = 0;
        else
            high = 1;
    }
    // Halves keep the span finite for data near the limits of a double.
    const double half = high / 2 - low / 2;
    // A span below the smallest normal doubles is drawn as if a little wider.
    const double rough = std::max(half / (maxTicks - 1) * 2, 1e-300);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (const double f : {1.0, 2.0, 5.0, 10.0})
        if (f * power >= rough) {
            step = f * power;
            break;
        }
    ChartScale s;
    for (int widen = 0; widen < 64; ++widen) {
        s.Step = step;
        s.Low = std::floor(low / step) * step;
        s.High = std::ceil(high / step) * step;
        if (!std::isfinite(s.Low) || !std::isfinite(s.High)) {
            // The round end would lie beyond the largest double: keep the data's own end.
            s.Low = std::isfinite(s.Low) ? s.Low : low;
            s.High = std::isfinite(s.High) ? s.High : high;
        }
        // Ticks at the multiples of the step inside the scale (its ends, unless they had to stay
        // the data's own ends).
        const double count = std::floor(s.High / step) - std::ceil(s.Low / step) + 1;
        if (count <= maxTicks || !std::isfinite(step * 2.5))
            break;
        // Rounding both ends outward can add a step: take the next round step.
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        step = mantissa < 1.5 ? step * 2 : mantissa < 3 ? step * 2.5 : step * 2;
    }
    const double first = std::ceil(s.Low / s.Step);
    const double last = std::floor(s.High / s.Step);
    const int count =
        std::isfinite(first) && std::isfinite(last) ? static_cast<int>(std::clamp(last - first + 1, 0.0, 64.0)) : 0;
    const double reference = std::max(std::fabs(s.Low), std::fabs(s.High));
    for (int i = 0; i < count; ++i) {
        const double v = (first + i) * s.Step + 0.0;  // + 0.0: no "-0"
        s.Ticks.push_back({v, ChartValueText(v, s.Step, language, unit, reference)});
    }
    return s;
}

ChartData ComputeChart(const GameHistory& history, const PerCompany<std::string>& names, ChartMetric metric,
                       ChartRange range, int ownCompany, Language language, bool ownOnly)
{
    ChartData chart;
    chart.Title = Title(metric);
    const size_t wanted = range == ChartRange::Year ? 12 : range == ChartRange::FiveYears ? 60 : history.Months.size();
    const size_t first = history.Months.size() - std::min(wanted, history.Months.size());
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int c = 0; c < kCompanies; ++c) {
        if (ownOnly && c != ownCompany)
            continue;
        ChartSeries& series = chart.Series.emplace_back();
        series.Company = c;
        series.Name = names[c];
        series.Own = c == ownCompany;
    }
    for (size_t i = first; i < history.Months.size(); ++i) {
        const MonthRecord& r = history.Months[i];
        chart.Months.push_back(r.Month);
        for (ChartSeries& series : chart.Series) {
            double v = Value(r, series.Company, metric);
            if (!std::isfinite(v))
                v = 0;
            series.Values.push_back(v);
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    chart.Unit = metric == ChartMetric::Share ? "%" : "";
    chart.Detail = metric == ChartMetric::Share ? 0.01 : 1;
    chart.Scale =
        chart.Empty() ? NiceScale(0, 1, language, 6, chart.Unit) : NiceScale(low, high, language, 6, chart.Unit);

    // At most seven month labels, on round month steps.
    const int n = static_cast<int>(chart.Months.size());
    int step = 1;
    for (const int s : {1, 2, 3, 6, 12, 24, 60, 120, 240, 600, 1200, 6000, 12000}) {
        step = s;
        if ((n + s - 1) / s <= 7)
            break;
    }
    while ((n + step - 1) / step > 7)
        step *= 2;
    for (int i = 0; i < n; i += step)
        chart.MonthTicks.push_back({static_cast<double>(i), MonthLabel(chart.Months[i], language)});
    return chart;
}

double PlotX(const ChartData& chart, const PlotArea& area, int index)
{
    const int n = static_cast<int>(chart.Months.size());
    if (n <= 1)
        return area.Left + area.Width / 2;
    return area.Left + area.Width * index / (n - 1);
}

double PlotY(const ChartData& chart, const PlotArea& area, double value)
{
    const double span = chart.Scale.High / 2 - chart.Scale.Low / 2;
    if (!(span > 0))
        return area.Top + area.Height / 2;
    const double fraction = std::clamp((value / 2 - chart.Scale.Low / 2) / span, 0.0, 1.0);
    return area.Top + area.Height * (1 - fraction);
}

std::optional<ChartPoint> NearestPoint(const ChartData& chart, const PlotArea& area, double x, double y,
                                       Language language, double reach)
{
    std::optional<ChartPoint> best;
    double bestDistance = reach * reach;
    const int n = static_cast<int>(chart.Months.size());
    for (int s = 0; s < static_cast<int>(chart.Series.size()); ++s)
        for (int i = 0; i < n; ++i) {
            const double dx = PlotX(chart, area, i) - x;
            const double dy = PlotY(chart, area, chart.Series[s].Values[i]) - y;
            // On a tie the player's own line wins, then the lower company number.
            const double d = dx * dx + dy * dy;
            if (d < bestDistance || (best && d == bestDistance && chart.Series[s].Own)) {
                bestDistance = d;
                best = ChartPoint{s, i, {}};
            }
        }
    if (best) {
        const ChartSeries& series = chart.Series[best->Series];
        best->Text = series.Name + ", " + MonthLabel(chart.Months[best->Index], language) + ": " +
                     ChartValueText(series.Values[best->Index], chart.Detail, language, chart.Unit);
    }
    return best;
}
