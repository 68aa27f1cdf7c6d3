// Random events: how often they come, what each one needs, what it does and says.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/random_events.h"
#include "engine/turn.h"
#include "game/game_random.h"
#include "game/game_state.h"
#include "game/map_tables.h"
#include "recording_frontend.h"

namespace {

constexpr int kCur = 2;   // the moving human company
constexpr int kTown = 4;  // Twinhaven: every event below strikes here
constexpr int kBrand = 1;

GameState Base()
{
    GameState s;
    s.GameActive = true;
    s.MapNumber = 1;
    for (int t = 0; t < kTowns; ++t) {
        s.TownName[t] = kTownNames[0][t];
        s.CompanyName[t] = kDefaultNames[0][t].Company;
        s.Demand[t] = 1000;
        s.Wages[t] = 1.0f;
    }
    for (int b = 0; b < kBrands; ++b)
        s.BrandName[kCur][b] = kDefaultNames[0][kCur].Brands[b];
    s.CurrentCompany = s.SelectedTown = kCur;
    s.PlayerCompany = {kCur, -1};
    s.PlayerTown = {kCur, -1};
    s.MonthCount = 5;
    s.EventsOn = true;
    return s;
}

struct Draw {
    int32_t range;
    int32_t value;
};

// The generator after `seed` has made these draws.
GameRandom After(uint32_t seed, const std::vector<Draw>& draws)
{
    GameRandom r;
    r.Seed(seed);
    for (const Draw& d : draws)
        r.Random(d.range);
    return r;
}

// The first seed whose draws come out as wanted.
uint32_t SeedFor(const std::vector<Draw>& draws)
{
    for (uint32_t n = 1;; ++n) {
        const uint32_t seed = n * 2654435761u;
        GameRandom r;
        r.Seed(seed);
        bool fits = true;
        for (const Draw& d : draws)
            fits = fits && r.Random(d.range) == d.value;
        if (fits)
            return seed;
    }
}

// An event of this kind in a month before the tenth, followed by the kind's own draws.
std::vector<Draw> EventDraws(int kind, std::vector<Draw> own)
{
    std::vector<Draw> draws{{3, 0}, {10, kind}};
    draws.insert(draws.end(), own.begin(), own.end());
    return draws;
}

bool SameHoldings(const GameState& a, const GameState& b)
{
    return a.Account == b.Account && a.Stock == b.Stock && a.Capacity == b.Capacity && a.HasDepot == b.HasDepot &&
           a.CostFactor == b.CostFactor && a.Quality == b.Quality;
}

}  // namespace

TEST(RandomEvents, EachKindNeedsItsConditionAndSaysSoInBothLanguages)
{
    const Draw town{10, kTown};
    const Draw brand{3, kBrand};
    const Draw amount500{700, 200};  // 300 + 200 dollars
    struct Case {
        const char* what;
        int kind;
        std::vector<Draw> own;
        std::function<void(GameState&)> setup;
        int sound;  // 0: nothing happens
        LocalText text;
        LocalText caption;
        std::function<void(const GameState&)> check;
    };
    const auto none = [](const GameState&) {};
    // Kept as written: a case to a few lines.
    // clang-format off
    const Case cases[] = {
        {"depot fire", 0, {town},
         [](GameState& s) {
             s.HasDepot[kCur][kTown] = true;
             s.Capacity[kCur][0][kTown] = 1000;
             s.Stock[kCur][0][kTown] = 1500;
             s.Capacity[kCur][1][kTown] = 500;
             s.Stock[kCur][1][kTown] = 300;
         },
         11, {"Your depot in Twinhaven got lost in a fire!", "Ihr Lagerhaus in Twinhaven ist leider abgebrannt!"},
         {"Fire!", "Feuer!"},
         [](const GameState& s) {
             EXPECT_FALSE(s.HasDepot[kCur][kTown]);
             EXPECT_EQ(s.Stock[kCur][0][kTown], 1000) << "what the depot kept burns";
             EXPECT_EQ(s.Stock[kCur][1][kTown], 300) << "this month's production stays";
         }},
        {"depot fire without a depot", 0, {town}, [](GameState&) {}, 0, {}, {}, none},
        {"inheritance", 1, {amount500, town}, [](GameState& s) { s.Account[kCur][kTown] = 10; }, 6,
         {"A Beer-Fan from Twinhaven leaves you 500 Dollar!", "Ein Bier-Fanatiker aus Twinhaven vererbt Ihnen 500 $!"},
         {"Inheritance!", "Erbschaft!"}, [](const GameState& s) { EXPECT_EQ(s.Account[kCur][kTown], 510.0L); }},
        {"brewery fire at 1000 litres", 2, {town, brand},
         [](GameState& s) {
             s.Capacity[kCur][kBrand][kTown] = 1000;
             s.Stock[kCur][kBrand][kTown] = 1000;
         },
         11,
         {"A fire destroyed part of your Feltlin's-Brewery in Twinhaven. A capacity of 300 l got lost!",
          "Bei einem Feuer ist ein Teil der Feltlin's-Brauerei in Twinhaven abgebrannt. Eine Kapazität von 300 l ging "
          "verloren!"},
         {"Fire!", "Feuer!"},
         [](const GameState& s) {
             EXPECT_EQ(s.Capacity[kCur][kBrand][kTown], 700);
             EXPECT_EQ(s.Stock[kCur][kBrand][kTown], 700);
         }},
        {"brewery fire at 999 litres", 2, {town, brand},
         [](GameState& s) { s.Capacity[kCur][kBrand][kTown] = s.Stock[kCur][kBrand][kTown] = 999; }, 0, {}, {}, none},
        {"cheaper production", 3, {brand},
         [](GameState& s) {
             s.Quality[kCur][kBrand] = 1.0f;
             s.CostFactor[kCur][kBrand] = 2.0f;
         },
         6,
         {"You develop a new procedure and lower the cost factor of Feltlin's for 0.01!",
          "Sie entwickeln ein neues Produktionsverfahren, mit dem der Kostenfaktor der Marke Feltlin's um 0.01 gesenkt "
          "wird!"},
         {"Progress!", "Fortschritt!"},
         [](const GameState& s) { EXPECT_EQ(s.CostFactor[kCur][kBrand], static_cast<float>(2.0f - 0.01L)); }},
        {"cheaper production at cost factor x quality 3.0", 3, {brand},
         [](GameState& s) {
             s.Quality[kCur][kBrand] = 1.5f;
             s.CostFactor[kCur][kBrand] = 2.0f;
         },
         0, {}, {}, none},
        {"cheaper production of an empty brand slot", 3, {brand}, [](GameState& s) { s.CostFactor[kCur][kBrand] = 1.0f; },
         0, {}, {}, none},
        {"epidemic", 4, {town},
         [](GameState& s) {
             s.HasDepot[kCur][kTown] = true;
             s.Capacity[kCur][0][kTown] = 1000;
             s.Stock[kCur][0][kTown] = 1800;  // 800 kept in the depot
             s.ProductionCost[kCur][0][kTown] = 2000;
             s.Capacity[kCur][2][kTown] = 500;
             s.Stock[kCur][2][kTown] = 500;
             s.ProductionCost[kCur][2][kTown] = 1100.5L;
             s.Account[kCur][kTown] = -50;
         },
         11,
         {"Because of an epidemic disease you workers at Twinhaven stay at home this month!",
          "Ihre Arbeiter in Twinhaven müssen diesen Monat wegen einer Epidemie zu Hause bleiben!"},
         {"Disease!", "Epidemie!"},
         [](const GameState& s) {
             EXPECT_EQ(s.Stock[kCur][0][kTown], 800);
             EXPECT_EQ(s.Stock[kCur][2][kTown], 0);
             EXPECT_EQ(s.Account[kCur][kTown], -50 + 2000 + 1100.5L) << "the month's production is refunded";
         }},
        {"epidemic where nothing is brewed", 4, {town}, [](GameState& s) { s.Stock[kCur][0][kTown] = 800; }, 0, {}, {},
         none},
        {"more capacity", 5, {brand, town},
         [](GameState& s) { s.Capacity[kCur][kBrand][kTown] = s.Stock[kCur][kBrand][kTown] = 1; }, 6,
         {"Your technicians raised the capacity of the Feltlin's-Brewery in Twinhaven for 200l!",
          "Ihre Techniker konnten die Kapazität der Feltlin's-Brauerei in Twinhaven um 200 l steigern!"},
         {"Progress!", "Fortschritt!"},
         [](const GameState& s) {
             EXPECT_EQ(s.Capacity[kCur][kBrand][kTown], 201);
             EXPECT_EQ(s.Stock[kCur][kBrand][kTown], 201);
         }},
        {"more capacity without a brewery", 5, {brand, town}, [](GameState& s) { s.Stock[kCur][kBrand][kTown] = 50; }, 0,
         {}, {}, none},
        {"gift of a depot", 6, {town}, [](GameState&) {}, 6,
         {"The administration of Twinhaven gives you a depot!",
          "Die Stadtverwaltung in Twinhaven schenkt Ihnen ein Lagerhaus!"},
         {"Subsidy", "Wirtschaftsförderung"}, [](const GameState& s) { EXPECT_TRUE(s.HasDepot[kCur][kTown]); }},
        {"gift of a depot already owned", 6, {town}, [](GameState& s) { s.HasDepot[kCur][kTown] = true; }, 0, {}, {},
         none},
        {"theft", 7, {town, amount500}, [](GameState& s) { s.Account[kCur][kTown] = 500.01L; }, 11,
         {"Your accountant in Twinhaven disappeared with 500 Dollar!",
          "Ihr Buchhalter in Twinhaven hat sich mit 500 $ davongemacht!"},
         {"Theft!", "Theft!"}, [](const GameState& s) { EXPECT_EQ(s.Account[kCur][kTown], 500.01L - 500); }},
        {"theft of exactly what is there", 7, {town, amount500}, [](GameState& s) { s.Account[kCur][kTown] = 500; }, 0,
         {}, {}, none},
        {"depot accident", 8, {town},
         [](GameState& s) {
             s.HasDepot[kCur][kTown] = true;
             s.Capacity[kCur][0][kTown] = 1000;
             s.Stock[kCur][0][kTown] = 1800;
             s.Stock[kCur][1][kTown] = 60;
         },
         11,
         {"Because of an accident in your depot in Twinhaven the whole stock got lost!",
          "Bei einem Unfall in Ihrem Lagerhaus in Twinhaven ist der gesamte Lagerbestand verloren gegangen!"},
         {"Accident!", "Unfall!"},
         [](const GameState& s) {
             EXPECT_EQ(s.Stock[kCur][0][kTown], 1000);
             EXPECT_EQ(s.Stock[kCur][1][kTown], 0);
             EXPECT_TRUE(s.HasDepot[kCur][kTown]) << "the depot stays";
         }},
        {"depot accident without a depot", 8, {town}, [](GameState& s) { s.Stock[kCur][0][kTown] = 1800; }, 0, {}, {},
         none},
        {"subsidy of a debt of 2000", 9, {town}, [](GameState& s) { s.Account[kCur][kTown] = -2000; }, 6,
         {"The administration of Twinhaven gives you 2000 Dollar to reduce your dept!",
          "Die Stadtverwaltung von Twinhaven schenkt Ihnen 2000 Taler, um Ihre Schulden zu reduzieren!"},
         {"Subsidy", "Wirtschaftsförderung"}, [](const GameState& s) { EXPECT_EQ(s.Account[kCur][kTown], 0.0L); }},
        {"subsidy of a larger debt", 9, {town}, [](GameState& s) { s.Account[kCur][kTown] = -2500.5L; }, 6,
         {"The administration of Twinhaven gives you 2000 Dollar to reduce your dept!",
          "Die Stadtverwaltung von Twinhaven schenkt Ihnen 2000 Taler, um Ihre Schulden zu reduzieren!"},
         {"Subsidy", "Wirtschaftsförderung"}, [](const GameState& s) { EXPECT_EQ(s.Account[kCur][kTown], -500.5L); }},
        {"subsidy of a debt of 150.75", 9, {town}, [](GameState& s) { s.Account[kCur][kTown] = -150.75L; }, 6,
         {"The administration of Twinhaven gives you 150 Dollar to reduce your dept!",
          "Die Stadtverwaltung von Twinhaven schenkt Ihnen 150 Taler, um Ihre Schulden zu reduzieren!"},
         {"Subsidy", "Wirtschaftsförderung"}, [](const GameState& s) { EXPECT_EQ(s.Account[kCur][kTown], -0.75L); }},
        {"subsidy without a debt", 9, {town}, [](GameState&) {}, 0, {}, {}, none},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameState s = Base();
        c.setup(s);
        const std::vector<Draw> draws = EventDraws(c.kind, c.own);
        const uint32_t seed = SeedFor(draws);
        s.Program.Rng.Seed(seed);
        const GameState before = s;
        RecordingFrontend f;
        RunRandomEvent(s, f);
        EXPECT_EQ(s.Program.Rng.State(), After(seed, draws).State()) << "the kind's own draws and no more";
        if (c.sound == 0) {
            EXPECT_TRUE(f.Messages.empty());
            EXPECT_TRUE(f.Sounds.empty());
            EXPECT_EQ(f.Redraws, 0);
            EXPECT_TRUE(SameHoldings(s, before));
            continue;
        }
        EXPECT_EQ(f.Sounds, std::vector<int>{c.sound});
        ASSERT_EQ(f.Messages.size(), 1u);
        EXPECT_EQ(f.Messages[0].Text, c.text);
        EXPECT_EQ(f.Messages[0].Caption, c.caption);
        EXPECT_EQ(f.Messages[0].Icon, MessageIcon::Warning);
        EXPECT_EQ(f.Redraws, 1);
        c.check(s);
    }
}

TEST(RandomEvents, EarlyMonthsHaveMoreEvents)
{
    // An inheritance (always possible) behind a first draw that is 0 modulo 3 only, 6 (and so
    // 3) only, or 8 only: one in 3 until month 9, one in 6 until month 29, one in 8 after.
    const auto seedFor = [](std::function<bool(int32_t)> first) {
        for (uint32_t n = 1;; ++n) {
            GameRandom r;
            r.Seed(n * 2654435761u);
            if (first(r.Draw()) && r.Random(10) == 1)
                return n * 2654435761u;
        }
    };
    const uint32_t by3 = seedFor([](int32_t d) { return d % 3 == 0 && d % 6 != 0 && d % 8 != 0; });
    const uint32_t by6 = seedFor([](int32_t d) { return d % 6 == 0 && d % 8 != 0; });
    const uint32_t by8 = seedFor([](int32_t d) { return d % 8 == 0 && d % 3 != 0; });
    struct Case {
        uint32_t seed;
        int32_t month;
        bool event;
    };
    for (const Case& c : {Case{by3, 1, true}, Case{by3, 9, true}, Case{by3, 10, false}, Case{by6, 9, true},
                          Case{by6, 10, true}, Case{by6, 29, true}, Case{by6, 30, false}, Case{by8, 29, false},
                          Case{by8, 30, true}, Case{by8, 600, true}, Case{by3, 30, false}}) {
        GameState s = Base();
        s.MonthCount = c.month;
        s.Program.Rng.Seed(c.seed);
        RecordingFrontend f;
        RunRandomEvent(s, f);
        EXPECT_EQ(f.Messages.size(), c.event ? 1u : 0u) << "month " << c.month << " seed " << c.seed;
        GameRandom oneDraw;
        oneDraw.Seed(c.seed);
        oneDraw.Draw();
        EXPECT_EQ(s.Program.Rng.State() == oneDraw.State(), !c.event) << "no event, no further draw";
    }
}

TEST(RandomEvents, NoneWithoutTheOption)
{
    // A month of an empty world draws ten numbers for the wages; the event option adds one.
    for (bool events : {false, true}) {
        GameState s = Base();
        s.EventsOn = events;
        s.Program.Rng.Seed(5);
        RecordingFrontend f;
        NextTurn(s, f);
        GameRandom tenDraws;
        tenDraws.Seed(5);
        for (int i = 0; i < 10; ++i)
            tenDraws.Draw();
        EXPECT_EQ(s.Program.Rng.State() == tenDraws.State(), !events);
    }
}
