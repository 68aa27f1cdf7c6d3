/// @file history_chart.h What the history charts draw: the months of the chosen range, one line
/// per company, the value axis with round steps and their labels, the month axis, and where each
/// point lies in the plot. The window only paints it.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "game/game_state.h"

/// What a chart shows over the months.
enum class ChartMetric {
    Money,  ///< all towns' money after the month
    Value,  ///< company value
    Share,  ///< market share, percent
    Sales,  ///< litres sold
};

/// Which months a chart shows.
enum class ChartRange {
    Year,       ///< the last 12 months
    FiveYears,  ///< the last 60 months
    All,        ///< every recorded month
};

/// One labelled step of an axis.
struct AxisTick {
    double Value = 0;  ///< data value (value axis) or month index within the chart (month axis)
    std::string Label;

    bool operator==(const AxisTick&) const = default;
};

/// A value axis from `Low` to `High` in steps of `Step` (1, 2 or 5 times a power of ten), the
/// data inside it; a tick at every step.
struct ChartScale {
    double Low = 0;
    double High = 1;
    double Step = 1;
    std::vector<AxisTick> Ticks;
};

/// Round steps around the data range [low, high]: at most `maxTicks` ticks, at least two. An
/// empty or single-valued range gets a scale around its value; non-finite ends are treated as
/// no data. Labels shorten large numbers ("1.5 M", "1,5 Mio.") and add `unit` ("%").
ChartScale NiceScale(double low, double high, Language language, int maxTicks = 6, const std::string& unit = {});

/// One company's line.
struct ChartSeries {
    int Company = 0;
    std::string Name;            ///< for the legend
    bool Own = false;            ///< the player's company: drawn emphasised
    std::vector<double> Values;  ///< one per month of the chart
};

struct ChartData {
    LocalText Title;
    std::vector<int32_t> Months;  ///< month counts of the x positions, oldest first
    std::vector<ChartSeries> Series;
    ChartScale Scale;
    std::vector<AxisTick> MonthTicks;  ///< month axis labels ("Jan 1750")
    std::string Unit;                  ///< "%" for the market share
    double Detail = 1;                 ///< the step a hovered value is written to
    bool Empty() const { return Months.empty(); }
};

/// The chart of `metric` over `range` for every company (or only `ownCompany` with `ownOnly`);
/// `ownCompany` is emphasised.
ChartData ComputeChart(const GameHistory& history, const PerCompany<std::string>& names, ChartMetric metric,
                       ChartRange range, int ownCompany, Language language, bool ownOnly = false);

/// Where the plot lies in the chart's own coordinates (pixels).
struct PlotArea {
    double Left = 0;
    double Top = 0;
    double Width = 1;
    double Height = 1;
};

/// Position of a point: x of the month index, y of a value.
double PlotX(const ChartData& chart, const PlotArea& area, int index);
double PlotY(const ChartData& chart, const PlotArea& area, double value);

/// The point nearest to the mouse (within `reach` pixels) and its text: company, month, value.
struct ChartPoint {
    int Series = 0;
    int Index = 0;
    std::string Text;
};
std::optional<ChartPoint> NearestPoint(const ChartData& chart, const PlotArea& area, double x, double y,
                                       Language language, double reach = 12.0);

/// The value as the axis writes it: to the step's precision, shortened to thousands, millions...
/// as far as `reference` (the axis's largest value; the value itself when not a number) allows,
/// with the metric's unit.
std::string ChartValueText(double value, double step, Language language, const std::string& unit = {},
                           double reference = std::numeric_limits<double>::quiet_NaN());
