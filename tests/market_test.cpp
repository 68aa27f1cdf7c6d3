#include <gtest/gtest.h>

#include <limits>

#include "engine/market.h"
#include "game/game_state.h"

namespace {

struct AttractivenessCase {
    float quality, wages, price;
    int32_t weight;
};

// Weight of one brand, with the gap and ratio formed as the market forms them.
int32_t WeightOf(float quality, float wages, float price)
{
    const float gap = static_cast<float>(static_cast<long double>(quality) - wages);
    const float ratio = static_cast<float>(static_cast<long double>(price) / (3.0L * quality));
    return Attractiveness(gap, ratio);
}

// A market with nothing in it: demand only in town 0, wage level 1.0 everywhere.
GameState EmptyMarket(int32_t demand)
{
    GameState s;
    s.Demand.fill(0);
    s.Demand[0] = demand;
    s.Wages.fill(1.0f);
    return s;
}

void Offer(GameState& s, int c, int b, float quality, float price, int32_t stock, int town = 0)
{
    s.Quality[c][b] = quality;
    s.Price[c][b][town] = price;
    s.Stock[c][b][town] = stock;
}

}  // namespace

TEST(Attractiveness, RowsAndColumnsAtTheirBounds)
{
    const AttractivenessCase cases[] = {
        {1.0f, 1.02f, 2.25f, 25},                          // gap 0.02, ratio 0.75
        {1.0f, 1.0f, 2.4f, 15},                            // ratio just above 0.8 in single precision: column 3
        {1.0f, 1.0f, 3.0f, 10},                            // ratio exactly 1.0: column 2
        {1.0f, 1.0f, 3.6f, 2},                             // ratio just below 1.2: column 0
        {1.0f, 1.0f, 3.7f, 0},                             // above 1.2 weighs nothing
        {1.0f, 1.0f, 0.6f, 200},                           // ratio 0.2: column 9
        {1.0f, 1.0f, 0.9f, 200},                           // 0.9f / 3 rounds to a single just below 0.3: column 9
        {1.0f, 1.0f, 0.0f, 200},                           // free beer
        {1.0f, 1.35f, 3.0f, 0},                            // gap of 0.35 or more weighs nothing
        {1.0f, 0.65f, 3.0f, 0},   {1.0f, 1.25f, 3.0f, 2},  // gap exactly 0.25: rows are closed below (row 5)
        {1.0f, 1.3f, 1.5f, 22},                            // 1.3f lies below 1.3: row 5; ratio 0.5 closes column 7
    };
    for (const auto& c : cases)
        EXPECT_EQ(WeightOf(c.quality, c.wages, c.price), c.weight)
            << "quality " << c.quality << " wages " << c.wages << " price " << c.price;
    EXPECT_EQ(Attractiveness(0.049f, 0.5f), 100);
    EXPECT_EQ(Attractiveness(-0.05f, 0.5f), 80) << "the gap counts without its sign; 0.05f lies above 0.05";
    EXPECT_EQ(Attractiveness(0.10f, 0.25f), 150);
    EXPECT_EQ(Attractiveness(0.2f, 1.2f), 0) << "1.2f lies above the double 1.2";
}

TEST(RunMarket, SoldOutDemandIsOfferedAgainToTheOthers)
{
    GameState s = EmptyMarket(1000);
    Offer(s, 0, 0, 1.0f, 2.25f, 300);  // weight 25
    Offer(s, 3, 1, 1.0f, 2.4f, 800);   // weight 15
    RunMarket(s);
    EXPECT_EQ(s.Supply[0][0][0], 300);
    EXPECT_EQ(s.Supply[3][1][0], 800);
    EXPECT_EQ(s.Sales[0][0][0], 300);
    EXPECT_EQ(s.Sales[3][1][0], 700);
    EXPECT_EQ(s.Stock[0][0][0], 0);
    EXPECT_EQ(s.Stock[3][1][0], 100);
}

TEST(RunMarket, TruncatesSalesDownAndStockUp)
{
    // Weights 25 and 15 split 100 litres 62.5 / 37.5: sales +62 and +37, stock -63 and -38.
    GameState s = EmptyMarket(100);
    Offer(s, 0, 0, 1.0f, 2.25f, 1000);
    Offer(s, 1, 0, 1.0f, 2.4f, 1000);
    RunMarket(s);
    EXPECT_EQ(s.Sales[0][0][0], 62);
    EXPECT_EQ(s.Stock[0][0][0], 937);
    EXPECT_EQ(s.Sales[1][0][0], 37);
    EXPECT_EQ(s.Stock[1][0][0], 962);
}

TEST(RunMarket, SmallAndUnsellableMarkets)
{
    {  // One brand with enough stock sells exactly the demand.
        GameState s = EmptyMarket(5000);
        Offer(s, 2, 0, 1.0f, 3.0f, 8000);
        RunMarket(s);
        EXPECT_EQ(s.Sales[2][0][0], 5000);
        EXPECT_EQ(s.Stock[2][0][0], 3000);
    }
    {  // Nothing on offer: all demand is lost.
        GameState s = EmptyMarket(5000);
        s.Sales[2][0][0] = 99;  // last month's figure is overwritten
        RunMarket(s);
        EXPECT_EQ(s.Sales[2][0][0], 0);
    }
    {  // Too dear, or too far from the town's taste: nothing sells even alone.
        GameState s = EmptyMarket(5000);
        Offer(s, 0, 0, 1.0f, 3.61f, 1000);
        Offer(s, 1, 0, 1.4f, 1.0f, 1000);
        RunMarket(s);
        EXPECT_EQ(s.Sales[0][0][0], 0);
        EXPECT_EQ(s.Sales[1][0][0], 0);
        EXPECT_EQ(s.Stock[0][0][0], 1000);
    }
    {  // A demand of 10 litres gets exactly one pass.
        GameState s = EmptyMarket(10);
        Offer(s, 0, 0, 1.0f, 2.25f, 6);
        Offer(s, 1, 0, 1.0f, 2.25f, 1000);
        RunMarket(s);
        EXPECT_EQ(s.Sales[0][0][0], 5);
        EXPECT_EQ(s.Sales[1][0][0], 5);
    }
    {  // An empty brand slot with beer on hand (a liquidated company's late capacity) sells
        // nothing, even where the wage level is close to zero.
        GameState s = EmptyMarket(1000);
        s.Wages[0] = 0.1f;
        s.Stock[4][2][0] = 500;
        RunMarket(s);
        EXPECT_EQ(s.Sales[4][2][0], 0);
        EXPECT_EQ(s.Stock[4][2][0], 500);
    }
}

TEST(RunMarket, SharesBelowOneLitreCostALitreAndSellNothing)
{
    // 27 brands of weight 2 beside one of weight 200 get 11 * 2 / 254 of a litre each: their
    // sales stay 0 but each stock loses a whole litre.
    GameState s = EmptyMarket(11);
    Offer(s, 0, 0, 1.0f, 0.9f, 1);  // weight 200, sells out at once
    for (int c = 1; c < kCompanies; ++c)
        for (int b = 0; b < kBrands; ++b)
            Offer(s, c, b, 1.0f, 3.6f, 3);  // weight 2 each, 27 brands
    RunMarket(s);
    int32_t sold = 0;
    int32_t stock = 0;
    for (int c = 1; c < kCompanies; ++c)
        for (int b = 0; b < kBrands; ++b) {
            sold += s.Sales[c][b][0];
            stock += s.Stock[c][b][0];
        }
    EXPECT_EQ(s.Sales[0][0][0], 1);
    // Remaining 10 after the first pass ends the town: the others lose their litre unsold.
    EXPECT_EQ(sold, 0);
    EXPECT_EQ(stock, 27 * 2);
}

TEST(SettleMonth, BooksProductionSalesStockAndInterest)
{
    GameState s = EmptyMarket(0);
    s.Quality[0][0] = 1.0f;
    s.CostFactor[0][0] = 2.0f;
    s.Price[0][0][1] = 3.0f;
    s.Capacity[0][0][1] = 1000;
    s.Sales[0][0][1] = 600;
    s.Stock[0][0][1] = 400;
    s.HasDepot[0][1] = true;
    s.Capacity[0][0][2] = 1000;  // no depot: unsold beer is lost
    s.Stock[0][0][2] = 700;
    s.Account[0][3] = -100.0L;
    s.Stock[1][0][4] = 50;  // beer brought into a town without a brewery or depot
    SettleMonth(s);
    EXPECT_EQ(s.ProductionCost[0][0][1], 2000.0L);
    EXPECT_EQ(s.Account[0][1], -200.0L * 1.15L);
    EXPECT_EQ(s.Account[0][2], -2000.0L * 1.15L);
    EXPECT_EQ(s.Account[0][3], -100.0L * 1.15L);
    EXPECT_EQ(s.Account[0][4], 0.0L);
    EXPECT_EQ(s.Stock[0][0][1], 1400);
    EXPECT_EQ(s.Stock[0][0][2], 1000);
    EXPECT_EQ(s.Stock[1][0][4], 0);
}

TEST(SettleMonth, WagesDriftTownByTownAfterEachCompany)
{
    GameState s = EmptyMarket(0);
    s.Program.Rng.Seed(12345);
    GameRandom copy = s.Program.Rng;
    // Company 3 brews in towns 1 and 5: town 1 has drifted when it pays, town 5 not yet.
    s.CostFactor[3][0] = 1.0f;
    s.Capacity[3][0][1] = 1000;
    s.Capacity[3][0][5] = 1000;
    SettleMonth(s);
    float expected[kTowns];
    for (int t = 0; t < kTowns; ++t)
        expected[t] = static_cast<float>(1.0f + 0.01L * (copy.Random(5) - 2));
    for (int t = 0; t < kTowns; ++t)
        EXPECT_EQ(s.Wages[t], expected[t]) << "town " << t;
    EXPECT_EQ(s.ProductionCost[3][0][1], 1000.0L * expected[1]);
    EXPECT_EQ(s.ProductionCost[3][0][5], 1000.0L * 1.0f);
    EXPECT_EQ(s.Program.Rng.State(), copy.State()) << "exactly ten draws";
}

TEST(SettleMonth, ADepotFullToTheBrimStaysFull)
{
    // Beer that never sells piles up in a depot month after month; the stock stops at the
    // largest whole number instead of turning negative.
    GameState s = EmptyMarket(0);
    s.HasDepot[0][0] = true;
    s.Capacity[0][0][0] = 2000000000;
    s.Stock[0][0][0] = 2000000000;
    SettleMonth(s);
    EXPECT_EQ(s.Stock[0][0][0], std::numeric_limits<int32_t>::max());
}
