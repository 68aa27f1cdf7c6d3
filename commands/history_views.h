/// @file history_views.h What the month report, the message log and the price forecast show,
/// in the player's language. The window only draws it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/market.h"
#include "game/game_state.h"

/// One row of the month report's sales table: a brand in a town.
struct ReportSalesRow {
    std::string Town;
    std::string Brand;
    std::string Offered;  ///< litres on hand at the market
    std::string Sold;
    std::string Demand;  ///< what the town wanted (all sellers together)
};

/// A labelled amount of the month's books.
struct ReportAmount {
    /// How the line takes part in the books: the changes between two balances add up to the
    /// second; a note stands beside them.
    enum Role : uint8_t { Balance, Change, Note };
    std::string Label;
    std::string Amount;
    Role Part = Note;
};

/// Last month's report for one company.
struct MonthReport {
    std::string Title;                    ///< "Report for March 1751: Company"
    bool Empty = true;                    ///< no month has been closed yet
    std::string EmptyText;                ///< what to say then
    std::array<std::string, 5> Headings;  ///< of the sales table
    std::vector<ReportSalesRow> Sales;    ///< every brand in every town where it was offered or sold
    std::string BooksHeading;
    /// Money after last month, the month's spending by kind and its other changes, money before
    /// the market, income, each cost, money after; then value and share.
    std::vector<ReportAmount> Books;
    std::string TownSpendingHeading;
    std::vector<ReportAmount> TownSpending;  ///< what each town's account paid for the month's plans
    std::string UnsoldHeading;
    std::vector<std::string> Unsold;  ///< where a brand of the company sold nothing, and why
    std::string MessagesHeading;
    std::vector<std::string> Messages;  ///< the month's messages to this company
};

/// The report of the last closed month (or of `month`, when given) for `company` (the one on
/// turn). An older month has its books, without the places, the towns' spending and the reasons
/// that the record keeps for the newest month alone.
MonthReport ComputeMonthReport(const GameState& s, int company, Language language,
                               std::optional<int32_t> month = std::nullopt);

/// The month's name and year as the record's texts write it ("March 1751").
std::string RecordMonthName(int32_t month, Language language);

/// Every recorded message, newest first, "March 1751 - Company: text"; only those shown to
/// `company` when it is given.
std::vector<std::string> MessageLogLines(const GameState& s, std::optional<int> company, Language language);
/// The same messages as places in the record's message list, newest first: the log's view makes
/// a line only when it shows one.
std::vector<std::size_t> MessageLogEntries(const GameHistory& history, std::optional<int> company);
/// The log's line of one recorded message.
std::string MessageLogLine(const GameState& s, const RecordedMessage& message, Language language);

/// The forecast beside Change Prices' fields, from this month's market of the selected town at
/// today's wages (ForecastBrand): for each brand row with a brand, what it would sell at the
/// typed price ("~800 l", beside the field), and in a line of its own also its stock, the demand
/// it would meet without a limit of stock, the revenue, and the highest prices at which it still
/// sells all and anything; nothing for an empty slot.
struct PriceForecastTexts {
    std::array<std::optional<std::string>, kBrands> Rows;
    std::array<std::optional<std::string>, kBrands> Details;
    std::string Note;  ///< that it is this month's market with today's wages
};
PriceForecastTexts ComputePriceForecast(const GameState& s, const std::array<std::string, kBrands>& priceFields,
                                        Language language);

/// The town the market is forecast for as this month's market would meet it: the company's own
/// brands there offer the beer they have on hand at `prices` (a brand's own stock and price the
/// forecast of it sets again), every other seller what it offered at the last market. Without
/// this a brand's forecast would meet the company's other brands with last month's litres.
GameData OwnBrandsAsOnHand(const GameState& s, int company, int town, const std::array<float, kBrands>& prices);

/// One brand's line of the town forecast.
struct TownForecastRow {
    int Brand = 0;
    /// Brand, price, demand at that price, stock, what would sell, revenue, the highest price
    /// that sells all of the stock, the highest that sells anything.
    std::array<std::string, 8> Cells;
    BrandForecast Figures;
};

/// The forecast the town information opens: each of the player's brands in the selected town
/// at its current price, from a dry run of this month's market at today's wages.
struct TownForecast {
    std::string Title;  ///< "Forecast for Fotzingfors, March 1751"
    std::string Note;   ///< that it is this month's market with today's wages, and what it assumes
    std::array<std::string, 8> Headings;
    std::vector<TownForecastRow> Rows;  ///< every brand of the company, in slot order
    std::string Others;                 ///< the town's demand and what the other sellers offered last month
    std::string EmptyText;              ///< without a game or without a brand
};
TownForecast ComputeTownForecast(const GameState& s, Language language);
