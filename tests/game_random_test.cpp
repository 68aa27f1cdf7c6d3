#include <gtest/gtest.h>

#include <vector>

#include "game/game_random.h"
#include "game/game_state.h"

TEST(GameRandom, DrawsFollowTheGeneratorExactly)
{
    struct Case {
        uint32_t seed;
        std::vector<int32_t> draws;
    };
    const Case cases[] = {
        {0, {0, 346, 13854878, 1621890440, 816282396}},
        {12345, {4271370, 1382990846, 2021515706, 1387358403, 189252802}},
    };
    for (const auto& c : cases) {
        GameRandom rng;
        rng.Seed(c.seed);
        for (int32_t expected : c.draws)
            EXPECT_EQ(rng.Draw(), expected) << "seed " << c.seed;
    }
}

TEST(GameRandom, RandomReducesADrawModuloN)
{
    GameRandom a;
    GameRandom b;
    a.Seed(12345);
    b.Seed(12345);
    EXPECT_EQ(a.Random(10), b.Draw() % 10);
    EXPECT_EQ(a.Random(5), 1382990846 % 5);
    // A seed is zero-extended: the high half of the state starts empty.
    a.Seed(0xFFFFFFFFu);
    EXPECT_EQ(a.State(), 0xFFFFFFFFull);
    // An empty range still spends its draw and answers 0.
    a.Seed(0);
    EXPECT_EQ(a.Random(0), 0);
    EXPECT_EQ(a.Draw(), 346);
}

TEST(GameState, MonthAndYear)
{
    struct Case {
        int32_t monthCount, month, year;
    };
    for (const auto& c : {Case{1, 0, 1750}, Case{12, 11, 1750}, Case{13, 0, 1751}, Case{240, 11, 1769}}) {
        GameState s;
        s.MonthCount = c.monthCount;
        EXPECT_EQ(MonthIndex(s), c.month) << c.monthCount;
        EXPECT_EQ(Year(s), c.year) << c.monthCount;
    }
}
