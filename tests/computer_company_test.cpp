// A computer company's month on small hand-built worlds: what it buys, builds, ships and charges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/computer_company.h"
#include "game/game_random.h"
#include "game/game_state.h"
#include "game/map_tables.h"

namespace {

constexpr int kCo = 5;  // the computer company under test; its home town is town 5

// Map 1, every town wants 20000 litres at a wage level of 1.0. Company 5 owns brand 0
// (quality 1.3, far from every wage level, so it founds no breweries) with a 1000-litre home
// brewery that did not sell out; nobody else owns anything. Company 0 is the human.
GameState Quiet(bool expert = false)
{
    GameState s;
    s.MapNumber = 1;
    s.ExpertMode = expert;
    s.PlayerCompany = {0, -1};
    s.Demand.fill(20000);
    s.Wages.fill(1.0f);
    s.Quality[kCo][0] = 1.3f;
    s.CostFactor[kCo][0] = 2.0f;
    s.Capacity[kCo][0][kCo] = 1000;
    s.Stock[kCo][0][kCo] = 1000;
    s.Program.Rng.Seed(11);
    return s;
}

// Money that the company's budget (95 % of its accounts) sees as `budget`.
long double AccountFor(long double budget) { return budget / 0.95L; }

long double TotalMoney(const GameState& s, int c)
{
    long double sum = 0;
    for (int t = 0; t < kTowns; ++t)
        sum += s.Account[c][t];
    return sum;
}

}  // namespace

TEST(ComputerCompany, SoldOutBreweriesGrowUntilTheBudgetIsSpent)
{
    struct Case {
        const char* what;
        bool expert;
        int town;  // 5 is the home brewery
        float quality;
        int32_t demand;
        int32_t sales;
        long double budget;
        int32_t addedLitres;
    };
    const Case cases[] = {
        // Steps of 1100 while the budget is above 1500: 45 steps, the last one taken at 1600.
        {"home, sold out", false, 5, 1.3f, 20000, 1000, 50000, 4500},
        {"home, one litre short of selling out", false, 5, 1.3f, 20000, 999, 50000, 0},
        {"home, town wants only twice the brewery", false, 5, 1.3f, 2000, 1000, 50000, 0},
        {"home, town wants a litre more than that", false, 5, 1.3f, 2001, 1000, 50000, 4500},
        {"expert home, brand 0.15 off the wage level", true, 5, 1.15f, 3500, 1000, 50000, 0},
        {"expert home, brand 0.13 off the wage level", true, 5, 1.13f, 3500, 1000, 50000, 4500},
        // Other breweries pay without looking at the step's cost: 8 steps take 10000 to 1200.
        {"brewery, sold out", false, 3, 1.3f, 20000, 1000, 10000, 800},
        {"brewery, town wants only 2.5 times it", false, 3, 1.3f, 2500, 1000, 10000, 0},
        {"brewery, town wants a litre more", false, 3, 1.3f, 2501, 1000, 10000, 800},
        {"expert brewery, town wants only 4 times it", true, 3, 1.13f, 4000, 1000, 10000, 0},
        {"expert brewery, town wants a litre more", true, 3, 1.13f, 4001, 1000, 10000, 800},
        {"brewery, budget 1600: one step", false, 3, 1.3f, 20000, 1000, 1600, 100},
        {"brewery, budget 1499: none", false, 3, 1.3f, 20000, 1000, 1499, 0},
    };
    for (const Case& c : cases) {
        GameState s = Quiet(c.expert);
        s.Quality[kCo][0] = c.quality;
        s.Capacity[kCo][0][c.town] = 1000;
        s.Stock[kCo][0][c.town] = 1000;
        s.Sales[kCo][0][c.town] = c.sales;
        s.Demand[c.town] = c.demand;
        s.Wages.fill(2.0f);  // no other town suits the brand: nothing is shipped away
        s.Wages[c.town] = 1.0f;
        const long double money = AccountFor(c.budget);
        s.Account[kCo][c.town] = money;  // paid from the brewery's own town: no debts to cover
        RunComputerCompany(s, kCo);
        EXPECT_EQ(s.Capacity[kCo][0][c.town], 1000 + c.addedLitres) << c.what;
        EXPECT_EQ(s.Stock[kCo][0][c.town], 1000 + c.addedLitres) << c.what << ": new capacity brews at once";
        EXPECT_NEAR(static_cast<double>(s.Account[kCo][c.town]), static_cast<double>(money - 11 * c.addedLitres), 1e-6)
            << c.what;
        if (c.town != kCo) {
            EXPECT_EQ(s.Capacity[kCo][0][kCo], 1000) << c.what << ": the home brewery did not sell out";
        }
    }
}

TEST(ComputerCompany, TheFirstSoldOutBreweryTakesTheWholeBudget)
{
    GameState s = Quiet();
    for (int t : {2, 3}) {
        s.Capacity[kCo][0][t] = 1000;
        s.Sales[kCo][0][t] = 1000;
    }
    s.Account[kCo][kCo] = AccountFor(10000);
    RunComputerCompany(s, kCo);
    EXPECT_EQ(s.Capacity[kCo][0][2], 1800);
    EXPECT_EQ(s.Capacity[kCo][0][3], 1000) << "nothing is left for the next one";
    // Town 2 paid 8800 on credit; the home town covers that debt and loses 5 % on the way.
    EXPECT_NEAR(static_cast<double>(s.Account[kCo][2]), 0.0, 1e-3);
    EXPECT_NEAR(static_cast<double>(s.Account[kCo][kCo]), static_cast<double>(AccountFor(10000) - 8800 / 0.95L), 1e-3);
}

TEST(ComputerCompany, NewBreweriesWhereTheWageLevelSuitsABrand)
{
    for (bool expert : {false, true}) {
        GameState s = Quiet(expert);
        s.Quality[kCo][0] = 1.0f;
        s.Wages = {1.2f, 1.14f, 0.92f, 1.05f, 1.5f, 1.0f, 1.5f, 1.5f, 1.5f, 1.5f};
        s.Account[kCo][kCo] = AccountFor(50000);
        RunComputerCompany(s, kCo);
        // Within 0.15 of the quality in a normal game, 0.1 in an expert game; each costs
        // 3000 x wage level + 15000 and needs a budget above 19000 before it is built.
        const std::array<int32_t, kTowns> normal{0, 1000, 1000, 0, 0, 1000, 0, 0, 0, 0};
        const std::array<int32_t, kTowns> strict{0, 0, 1000, 1000, 0, 1000, 0, 0, 0, 0};
        for (int t = 0; t < kTowns; ++t) {
            EXPECT_EQ(s.Capacity[kCo][0][t], expert ? strict[t] : normal[t]) << "expert " << expert << " town " << t;
            if (t != kCo) {
                EXPECT_EQ(s.Stock[kCo][0][t], s.Capacity[kCo][0][t]);
            }
        }
        const long double spent =
            expert ? (3000 * 0.92L + 15000) + (3000 * 1.05L + 15000) : (3000 * 1.14L + 15000) + (3000 * 0.92L + 15000);
        // The new towns' debts are covered from home, losing 5 %.
        EXPECT_NEAR(static_cast<double>(TotalMoney(s, kCo)), static_cast<double>(AccountFor(50000) - spent / 0.95L),
                    1e-2);
    }
}

TEST(ComputerCompany, DepotsWhereBeerWasOfferedOnlyInNormalGames)
{
    for (bool expert : {false, true}) {
        GameState s = Quiet(expert);
        s.Supply[kCo][1][3] = 10;  // any brand offered counts
        s.Supply[kCo][0][4] = 10;
        s.Supply[kCo][0][6] = 10;
        s.Wages[6] = 1.2f;  // 5100 for a depot here
        s.Account[kCo][kCo] = AccountFor(10050);
        RunComputerCompany(s, kCo);
        EXPECT_EQ(s.HasDepot[kCo][3], !expert);
        EXPECT_EQ(s.HasDepot[kCo][4], !expert);
        EXPECT_FALSE(s.HasDepot[kCo][6]) << "50 left in the budget";
        EXPECT_FALSE(s.HasDepot[kCo][0]) << "nothing was offered there";
        EXPECT_NEAR(static_cast<double>(TotalMoney(s, kCo)),
                    static_cast<double>(AccountFor(10050) - (expert ? 0 : 10000 / 0.95L)), 1e-3);
    }
}

TEST(ComputerCompany, SecondBrandOnlyAboveTheCapacityThreshold)
{
    // Normal game: a total capacity of 5000 asks for nothing, 5001 tries (and draws).
    for (int32_t capacity : {5000, 5001}) {
        GameState s = Quiet();
        s.Capacity[kCo][0][kCo] = capacity;
        s.Account[kCo][kCo] = AccountFor(1000);  // far too little for a brand
        const GameRandom before = s.Program.Rng;
        RunComputerCompany(s, kCo);
        GameRandom oneDraw = before;
        oneDraw.Draw();
        EXPECT_EQ(s.Program.Rng.State(), capacity == 5000 ? before.State() : oneDraw.State())
            << "only the price is drawn when the brand is unaffordable";
        EXPECT_EQ(s.Quality[kCo][1], 0.0f);
    }
    // Expert game: the thresholds are a fifteenth of the total demand (200000 / 15 = 13333),
    // or a thirtieth when brand 0 does not suit a middling town.
    struct Case {
        int32_t capacity;
        float homeQuality;
        bool tries;
    };
    for (const Case& c : {Case{13333, 1.0f, false}, Case{13334, 1.0f, true}, Case{6667, 1.0f, false},
                          Case{6667, 1.21f, true}, Case{6667, 0.79f, true}, Case{6666, 0.79f, false}}) {
        GameState s = Quiet(true);
        s.Quality[kCo][0] = c.homeQuality;
        s.Capacity[kCo][0][kCo] = c.capacity;
        const GameRandom before = s.Program.Rng;
        RunComputerCompany(s, kCo);
        EXPECT_EQ(s.Program.Rng.State() != before.State(), c.tries)
            << "capacity " << c.capacity << " quality " << c.homeQuality;
    }
}

TEST(ComputerCompany, ABrandTooLikeAnExistingOneIsNotBought)
{
    // The draws of a normal-game purchase: price, then quality, then cost factor. Town 7 has
    // the highest wage level, so the brand is designed for it.
    GameState base = Quiet();
    base.Wages[7] = 1.3f;
    base.Capacity[kCo][0][kCo] = 5001;
    GameRandom probe = base.Program.Rng;
    const int32_t priceDraw = probe.Random(10);
    const int32_t qualityDraw = probe.Random(30);
    const int32_t costDraw = probe.Random(100);
    const long double price = 60000.0L + 1000.0L * priceDraw + 10000.0L * 1.3f;
    const float quality = static_cast<float>(1.3f - 0.15L + 0.01L * qualityDraw);
    const float costFactor = static_cast<float>((3.0L * quality - 1.0L) / 1.3f - 0.05L + 0.001L * costDraw);
    // The old brand, 0.04 above the new one, is close enough to town 7's wage level for a
    // new brewery there, if the budget still allows one after the purchase.
    ASSERT_LE(qualityDraw, 25) << "pick another seed";

    for (float offset : {0.04f, 0.06f}) {
        GameState s = base;
        s.Quality[kCo][0] = static_cast<float>(quality + static_cast<long double>(offset));
        s.Account[kCo][kCo] = AccountFor(price + 10000);
        RunComputerCompany(s, kCo);
        EXPECT_EQ(s.Program.Rng.State(), probe.State()) << "three draws either way";
        if (offset < 0.05f) {
            EXPECT_EQ(s.Quality[kCo][1], 0.0f);
            EXPECT_EQ(s.Capacity[kCo][0][7], 1000) << "the whole budget is still there for a brewery";
        } else {
            EXPECT_EQ(s.Quality[kCo][1], quality);
            EXPECT_EQ(s.CostFactor[kCo][1], costFactor);
            for (int t = 0; t < kTowns; ++t)
                EXPECT_EQ(s.Price[kCo][1][t], static_cast<float>(3.0L * quality)) << t;
            EXPECT_EQ(s.Capacity[kCo][0][7], 0) << "10000 left: no brewery";
            EXPECT_EQ(s.Capacity[kCo][1][7], 0);
            EXPECT_NEAR(static_cast<double>(TotalMoney(s, kCo)),
                        static_cast<double>(AccountFor(price + 10000) - price / 0.95L), 1e-3)
                << "paid in town 7, covered from home";
        }
    }
}

TEST(ComputerCompany, ExpertBrandInARandomTownWithCappedQuality)
{
    GameState s = Quiet(true);
    s.Wages.fill(1.9f);  // every quality drawn is above 1.6
    s.Capacity[kCo][0][kCo] = 14000;
    s.Account[kCo][kCo] = AccountFor(200000);
    GameRandom probe = s.Program.Rng;
    const int town = probe.Random(10);
    const long double price = 60000.0L + 1000.0L * probe.Random(10) + 10000.0L * 1.9f;
    probe.Random(30);
    const float costFactor = static_cast<float>((3.0L * 1.6f - 1.2L) / 1.9f - 0.05L + 0.001L * probe.Random(100));
    RunComputerCompany(s, kCo);
    EXPECT_EQ(s.Quality[kCo][1], 1.6f);
    EXPECT_EQ(s.CostFactor[kCo][1], costFactor);
    EXPECT_EQ(s.Quality[kCo][2], 0.0f) << "14000 is not above a tenth of the demand";
    EXPECT_EQ(s.Program.Rng.State(), probe.State());
    // Paid in the drawn town; a debt there is covered from home, losing 5 %.
    const long double paid = town == kCo ? price : price / 0.95L;
    EXPECT_NEAR(static_cast<double>(TotalMoney(s, kCo)), static_cast<double>(AccountFor(200000) - paid), 1e-3);
}

TEST(ComputerCompany, AnUnaffordableBrandStopsInvestingButNotShipping)
{
    GameState s = Quiet();
    s.Capacity[kCo][0][kCo] = 5001;
    s.Sales[kCo][0][kCo] = 5001;  // sold out, would grow
    s.Stock[kCo][0][kCo] = 20500;
    s.Account[kCo][kCo] = AccountFor(30000);
    RunComputerCompany(s, kCo);
    EXPECT_EQ(s.Capacity[kCo][0][kCo], 5001) << "the budget went to 0 with the brand";
    EXPECT_EQ(s.Stock[kCo][0][kCo], 20000) << "the surplus is still shipped";
    EXPECT_EQ(s.Stock[kCo][0][4], 500) << "to the cheapest town lacking it";
}

TEST(ComputerCompany, SurplusGoesToTheCheapestSuitableTown)
{
    // From Fotzingfors (town 2) a transport costs 10 to town 1, 11 to town 0, 12 to towns 3
    // and 9, 13 to town 4.
    GameState s = Quiet();
    s.Quality[kCo][0] = 1.0f;
    s.Demand = {1000, 1000, 3000, 1000, 1000, 20000, 1000, 1000, 1000, 1000};
    s.Wages = {1.0f, 1.4f, 1.0f, 1.0f, 1.0f, 1.5f, 0.5f, 0.5f, 0.5f, 1.34f};
    s.Stock[kCo][0][2] = 3600;
    s.Stock[kCo][0][0] = 1000;  // has enough
    s.Stock[kCo][0][3] = 800;   // lacks 200
    s.Account[kCo][2] = 100;
    RunComputerCompany(s, kCo);
    // Town 1 is cheapest but its wage level is 0.4 off the quality; town 0 lacks nothing.
    // Town 3 (12) gets its 200, town 9 (12, the higher number) the other 400.
    EXPECT_EQ(s.Stock[kCo][0][2], 3000);
    EXPECT_EQ(s.Stock[kCo][0][3], 1000);
    EXPECT_EQ(s.Stock[kCo][0][9], 400);
    EXPECT_EQ(s.Stock[kCo][0][0], 1000);
    EXPECT_EQ(s.Stock[kCo][0][1], 0);
    EXPECT_EQ(s.Stock[kCo][0][4], 0);
    EXPECT_EQ(s.Account[kCo][2], 100 - 12 * 200 * 0.01L - 12 * 400 * 0.01L) << "the sending town pays";

    // Nowhere suitable: the beer stays.
    GameState alone = Quiet();
    alone.Quality[kCo][0] = 1.0f;
    alone.Wages.fill(1.4f);
    alone.Stock[kCo][0][2] = 25000;
    RunComputerCompany(alone, kCo);
    EXPECT_EQ(alone.Stock[kCo][0][2], 25000);
    EXPECT_EQ(alone.Account[kCo][2], 0.0L);
}

TEST(ComputerCompany, PricesFollowLastMonthsSales)
{
    struct Case {
        const char* what;
        bool expert;
        bool competition;
        int32_t supply;
        int32_t sales;
        float price;
        float expected;
    };
    const Case cases[] = {
        {"alone in the town: three times the quality", false, false, 1000, 100, 2.2f, 3.0f},
        {"alone, even when sold out", true, false, 1000, 1000, 3.3f, 3.0f},
        {"sold all but exactly 100 litres", false, true, 1000, 900, 2.5f, static_cast<float>(2.5f + 0.15L)},
        {"sold all but 400 litres", false, true, 1000, 600, 2.5f, 2.5f},
        {"sold all but 99 litres", false, true, 1000, 901, 2.5f, 2.5f},
        {"sold out", false, true, 1000, 1000, 2.5f, 2.5f},
        {"100 litres left but already at three times the quality", false, true, 1000, 900, 3.0f, 3.0f},
        {"normal games never cut the price", false, true, 2000, 1000, 2.5f, 2.5f},
        {"expert: more than 500 unsold", true, true, 2000, 1000, 2.5f, static_cast<float>(2.5f - 0.05L)},
        {"expert: exactly 500 unsold", true, true, 1500, 1000, 2.5f, 2.5f},
        {"expert: margin below 0.35", true, true, 2000, 1000, 1.3f, 1.3f},
        {"expert: margin just above 0.35", true, true, 2000, 1000, 1.35f, static_cast<float>(1.35f - 0.05L)},
        {"expert: sold a third of the demand", true, true, 3000, 1666, 2.5f, 2.5f},
        {"expert: sold a litre less", true, true, 3000, 1665, 2.5f, static_cast<float>(2.5f - 0.05L)},
    };
    for (const Case& c : cases) {
        GameState s = Quiet(c.expert);
        s.Quality[kCo][0] = 1.0f;
        s.CostFactor[kCo][0] = 1.0f;  // a litre costs 1.0 to brew at wage level 1.0
        s.Demand[4] = 5000;
        s.Supply[kCo][0][4] = c.supply;
        s.Sales[kCo][0][4] = c.sales;
        s.Price[kCo][0][4] = c.price;
        if (c.competition)
            s.Sales[8][2][4] = 1;
        s.Sales[8][0][3] = 500;  // a rival elsewhere does not count
        RunComputerCompany(s, kCo);
        EXPECT_EQ(s.Price[kCo][0][4], c.expected) << c.what;
    }
}

TEST(ComputerCompany, DebtsArePaidFromOtherTownsLosingFivePercent)
{
    GameState s = Quiet();
    s.Account[kCo][3] = -950;
    s.Account[kCo][6] = 2000;
    s.Account[kCo][1] = -100;  // the next debt is paid from what is left
    RunComputerCompany(s, kCo);
    EXPECT_NEAR(static_cast<double>(s.Account[kCo][3]), 0.0, 1e-4);
    EXPECT_NEAR(static_cast<double>(s.Account[kCo][1]), 0.0, 1e-4);
    EXPECT_NEAR(static_cast<double>(s.Account[kCo][6]), 2000 - 1000 - 100 / 0.95, 1e-4);

    GameState poor = Quiet();  // not enough anywhere: all that is there is moved
    poor.Account[kCo][3] = -950;
    poor.Account[kCo][6] = 380;
    RunComputerCompany(poor, kCo);
    EXPECT_EQ(poor.Account[kCo][6], 0.0L);
    EXPECT_NEAR(static_cast<double>(poor.Account[kCo][3]), -589.0, 1e-4);
}

TEST(ComputerCompany, AFabulouslyRichCompanyStopsAtTheLargestCapacity)
{
    // With a budget this large the steps would carry the capacity beyond the integer range.
    GameState s = Quiet();
    s.Demand[kCo] = std::numeric_limits<int32_t>::max();
    s.Capacity[kCo][0][kCo] = 1073741000;  // just below half the demand
    s.Stock[kCo][0][kCo] = 1073741000;
    s.Sales[kCo][0][kCo] = 1073741000;
    s.Account[kCo][kCo] = 3e10L;
    RunComputerCompany(s, kCo);
    EXPECT_GT(s.Capacity[kCo][0][kCo], std::numeric_limits<int32_t>::max() - 100);
    EXPECT_EQ(s.Stock[kCo][0][kCo], s.Capacity[kCo][0][kCo]);
    EXPECT_GT(s.Account[kCo][kCo], 0.0L);
}

TEST(ComputerCompany, NoBrandForATownWithoutWages)
{
    // A brand designed for a wage level of 0 would cost nothing to brew; none is bought.
    for (bool expert : {false, true}) {
        GameState s = Quiet(expert);
        s.Wages.fill(0.0f);
        s.Capacity[kCo][0][kCo] = 30000;
        s.Account[kCo][kCo] = AccountFor(500000);
        const GameRandom before = s.Program.Rng;
        RunComputerCompany(s, kCo);
        EXPECT_EQ(s.Quality[kCo][1], 0.0f);
        EXPECT_EQ(s.Quality[kCo][2], 0.0f);
        EXPECT_EQ(s.Program.Rng.State() == before.State(), !expert)
            << "an expert company still draws its town and brand";
        EXPECT_TRUE(std::isfinite(static_cast<double>(TotalMoney(s, kCo))));
    }
}
