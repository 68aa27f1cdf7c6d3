/// @file market.h The monthly market of every town and the closing of every company's books.
#pragma once

#include <cstdint>
#include <optional>

#include "game/game_state.h"

/// Weight of a brand in a town's market from how far its quality lies from the town's wage
/// level and how its price compares with three times its quality; 0 when it does not sell.
int32_t Attractiveness(float qualityGap, float priceRatio);
/// How far a brand's quality lies from a town's wage level, as the market measures it.
float QualityGap(float quality, float wages);
/// A brand's weight in a town's market: the only way its price enters the market.
int32_t BrandWeight(float quality, float wages, float price);

/// Splits every town's demand among the brands on hand there; sets Supply and Sales.
void RunMarket(GameState& s);

/// Pays production, credits sales, refills stocks, charges interest on debts and lets the
/// wages drift (ten draws, one per company).
void SettleMonth(GameState& s);

/// What the brand would sell in the town at `price` if the town's market ran now with every
/// other brand offering what it offered at the last market, at today's prices and wage level,
/// and this brand offering the beer it has on hand: the town's market run on a copy, so the
/// game is untouched. 0 for a brand slot not in use.
int32_t ForecastSales(const GameData& s, int company, int brand, int town, float price);

/// ForecastSales with the brand offering `stock` litres instead of the beer it has on hand.
int32_t ForecastSalesWithStock(const GameData& s, int company, int brand, int town, float price, int32_t stock);

/// Everything the forecast says about one brand in one town at one price, from dry runs of the
/// town's market as ForecastSales runs it.
struct BrandForecast {
    int32_t Demand = 0;  ///< what it would sell at the price with no limit of stock
    int32_t Stock = 0;   ///< the beer it has on hand
    int32_t Sold = 0;    ///< what it would sell at the price from that stock
    long double Revenue = 0;
    /// The highest price in cents at which it still sells all of its stock / anything at all;
    /// none when no price does.
    std::optional<int64_t> AllSoldUpToCents;
    std::optional<int64_t> AnySoldUpToCents;
};
BrandForecast ForecastBrand(const GameData& s, int company, int brand, int town, float price);
