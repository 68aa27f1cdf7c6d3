// Build Brewery, Extend Brewery, Build Depot and New Brand: what they cost, what they change,
// and which refusals keep the panel open.
#include <gtest/gtest.h>

#include <limits>

#include "commands/construction.h"
#include "commands/panel_content.h"
#include "engine/turn.h"
#include "command_world.h"
#include "recording_frontend.h"

namespace {

using Texts = std::vector<std::string>;

// Brand 1 exists too, without a brewery anywhere.
GameState TwoBrandWorld()
{
    GameState s = CommandWorld();
    s.Quality[2][1] = 1.2f;
    s.CostFactor[2][1] = 2.5f;
    return s;
}

}  // namespace

TEST(BuildBrewery, CostsItsPriceAndBrewsAtOnce)
{
    GameState s = TwoBrandWorld();
    RecordingFrontend f;
    s.Wages[2] = 1.05f;
    const long double cost = 3000.0L * 1.05f + 15000.0L;
    s.Account[2][2] = cost;  // exactly enough
    s.Price[2][1][2] = 9.99f;
    s.Stock[2][1][2] = 40;
    EXPECT_EQ(BuildBrewery(s, f, "Beta"), PanelNext::Idle);
    EXPECT_EQ(s.Account[2][2], 0.0L);
    EXPECT_EQ(s.Capacity[2][1][2], 1000);
    EXPECT_EQ(s.Stock[2][1][2], 1040);
    EXPECT_EQ(s.Price[2][1][2], static_cast<float>(3.0L * 1.2f)) << "the price starts at 3 x quality";
    EXPECT_EQ(f.Sounds, std::vector<int>{4});
    EXPECT_EQ(f.Animations, (std::vector<std::vector<int>>{{2, 0, 2}}));
    EXPECT_TRUE(f.Messages.empty());
    EXPECT_EQ(s.Account[2][3], 50000.0L) << "only the town's own account pays";
}

TEST(BuildBrewery, WithDelayTheBrandWaitsForItsCapacity)
{
    GameState s = TwoBrandWorld();
    RecordingFrontend f;
    s.DelayBuilding = true;
    EXPECT_EQ(ComputePanelContent(s, PanelMode::BuildBrewery).ListBox1, Texts{"Beta"});
    EXPECT_EQ(BuildBrewery(s, f, "Beta"), PanelNext::Idle);
    EXPECT_EQ(s.Capacity[2][1][2], 0);
    EXPECT_EQ(s.Stock[2][1][2], 0);
    EXPECT_EQ(s.ConstructionPipeline[2][1][2][2], 1000);
    for (int month = 0; month < 3; ++month) {
        EXPECT_EQ(ComputePanelContent(s, PanelMode::BuildBrewery).ListBox1, Texts{}) << month;
        EXPECT_EQ(ComputePanelContent(s, PanelMode::ExtendBrewery).ListBox1, Texts{"Alpha"}) << month;
        AdvanceConstruction(s, 2);
    }
    EXPECT_EQ(s.Capacity[2][1][2], 1000);
    EXPECT_EQ(ComputePanelContent(s, PanelMode::ExtendBrewery).ListBox1, (Texts{"Alpha", "Beta"}));
}

TEST(BuildBrewery, Refusals)
{
    const GameState before = TwoBrandWorld();
    {  // Nothing selected, or a brand the list does not offer: the panel stays.
        for (const std::optional<std::string>& entry :
             {std::optional<std::string>(), std::optional<std::string>("Alpha")}) {
            GameState s = before;
            RecordingFrontend f;
            EXPECT_EQ(BuildBrewery(s, f, entry), PanelNext::Stay);
            EXPECT_EQ(f.EnglishTexts(), Texts{"Please select a brand to build a brewery."});
            EXPECT_EQ(f.Messages[0].Text.German, "Bitte wählen Sie eine Marke.");
            EXPECT_EQ(f.Messages[0].Icon, MessageIcon::Warning);
            EXPECT_EQ(f.Messages[0].Caption, LocalText{});
            EXPECT_EQ(s.Capacity, before.Capacity);
        }
    }
    {  // One cent short.
        GameState s = before;
        RecordingFrontend f;
        s.Account[2][2] = 17999.99L;
        EXPECT_EQ(BuildBrewery(s, f, "Beta"), PanelNext::Idle);
        EXPECT_EQ(f.EnglishTexts(), Texts{"Not enough money in town!"});
        EXPECT_EQ(f.Messages[0].Text.German, "Nicht genug Geld in der Stadt!");
        EXPECT_EQ(s.Capacity[2][1][2], 0);
        EXPECT_EQ(s.Account[2][2], 17999.99L);
        EXPECT_TRUE(f.Sounds.empty());
    }
}

TEST(ExtendBrewery, AddsStepsOfHundredLitres)
{
    for (const bool delay : {false, true}) {
        GameState s = CommandWorld();
        RecordingFrontend f;
        s.DelayBuilding = delay;
        EXPECT_EQ(ExtendBrewery(s, f, "Alpha", "3"), PanelNext::Idle);
        EXPECT_EQ(s.Account[2][2], 50000.0L - 3 * 1100.0L);
        EXPECT_EQ(s.Capacity[2][0][2], delay ? 1000 : 1300);
        EXPECT_EQ(s.Stock[2][0][2], delay ? 1000 : 1300);
        EXPECT_EQ(s.ConstructionPipeline[2][0][2][2], delay ? 300 : 0);
        EXPECT_EQ(f.Sounds, std::vector<int>{4});
        EXPECT_EQ(f.Animations, (std::vector<std::vector<int>>{{2, 0, 7}}));
    }
    {  // Only four characters count.
        GameState s = CommandWorld();
        RecordingFrontend f;
        s.Account[2][2] = 2000000.0L;
        EXPECT_EQ(ExtendBrewery(s, f, "Alpha", "12345"), PanelNext::Idle);
        EXPECT_EQ(s.Capacity[2][0][2], 1000 + 123400);
    }
}

TEST(ExtendBrewery, NothingToAddStillSoundsAndAnimates)
{
    for (const char* field : {"", "x", "0.9"}) {
        GameState s = CommandWorld();
        RecordingFrontend f;
        EXPECT_EQ(ExtendBrewery(s, f, "Alpha", field), PanelNext::Idle) << field;
        EXPECT_EQ(s.Capacity[2][0][2], 1000);
        EXPECT_EQ(s.Account[2][2], 50000.0L);
        EXPECT_EQ(f.Sounds, std::vector<int>{4});
        EXPECT_EQ(f.Animations.size(), 1u);
    }
}

TEST(ExtendBrewery, NegativeCountsShrinkOnlyWhereAllowed)
{
    struct Case {
        bool reduce;
        const char* field;
        int32_t capacity;
    };
    const Case cases[] = {
        {true, "-3", 700},   {true, "-12", 0},      {true, "-1e9", 0},  // never below 0, and no overflow
        {false, "-3", 1000}, {false, "-1e9", 1000},
    };
    for (const Case& c : cases) {
        GameState s = CommandWorld();
        s.ReduceCapacities = c.reduce;
        s.DelayBuilding = true;  // shrinking is immediate all the same
        RecordingFrontend f;
        EXPECT_EQ(ExtendBrewery(s, f, "Alpha", c.field), PanelNext::Idle);
        EXPECT_EQ(s.Capacity[2][0][2], c.capacity) << c.field;
        EXPECT_EQ(s.Stock[2][0][2], 1000) << "the stock stays";
        EXPECT_EQ(s.Account[2][2], 50000.0L) << "free, and nothing refunded";
        EXPECT_TRUE(f.Messages.empty());
    }
}

TEST(ExtendBrewery, MoreThanTheMaximumIsRefused)
{
    GameState s = CommandWorld();
    s.Account[2][2] = 5500.0L;  // five steps of 1100
    EXPECT_EQ(MaximumExtension(s, 2, 2), 5);
    for (const char* field : {"6", "1e30", "9999"}) {
        GameState t = s;
        RecordingFrontend f;
        EXPECT_EQ(ExtendBrewery(t, f, "Alpha", field), PanelNext::Idle);
        EXPECT_EQ(f.EnglishTexts(), Texts{"Not enough money in town!"}) << field;
        EXPECT_EQ(f.Messages[0].Text.German, "Sie haben nicht genügend Geld in der Stadt!");
        EXPECT_EQ(t.Capacity, s.Capacity);
        EXPECT_EQ(t.Account, s.Account);
    }
    RecordingFrontend f;
    EXPECT_EQ(ExtendBrewery(s, f, "Alpha", "5"), PanelNext::Idle);
    EXPECT_EQ(s.Account[2][2], 0.0L);

    s.Account[2][2] = 1099.99L;
    EXPECT_EQ(MaximumExtension(s, 2, 2), 0);
    s.Account[2][2] = -5.0L;
    EXPECT_EQ(MaximumExtension(s, 2, 2), 0);
    s.Account[2][2] = 1e300L;
    EXPECT_EQ(MaximumExtension(s, 2, 2), std::numeric_limits<int32_t>::max());
}

TEST(ExtendBrewery, TheBrandIsCheckedBeforeTheMoney)
{
    GameState s = CommandWorld();
    RecordingFrontend f;
    EXPECT_EQ(ExtendBrewery(s, f, std::nullopt, "1e30"), PanelNext::Stay);
    EXPECT_EQ(f.EnglishTexts(), Texts{"Please select a brand to build a brewery."});
    RecordingFrontend g;
    EXPECT_EQ(ExtendBrewery(s, g, "Beta", "1"), PanelNext::Stay) << "Beta has no brewery here";
}

TEST(BuildDepot, OncePerTownAndPaidThere)
{
    GameState s = CommandWorld();
    s.Wages[2] = 0.9f;
    const long double cost = 500.0L * 0.9f + 4500.0L;
    RecordingFrontend f;
    EXPECT_EQ(BuildDepot(s, f), PanelNext::Idle);
    EXPECT_TRUE(s.HasDepot[2][2]);
    EXPECT_EQ(s.Account[2][2], 50000.0L - cost);
    EXPECT_EQ(f.Sounds, std::vector<int>{4});
    EXPECT_EQ(f.Animations, (std::vector<std::vector<int>>{{2, 0, 1}}));

    EXPECT_EQ(BuildDepot(s, f), PanelNext::Idle);
    EXPECT_EQ(f.EnglishTexts(), Texts{"You already have a depot in this town!"});
    EXPECT_EQ(f.Messages[0].Text.German, "Sie haben bereits ein Lagerhaus in dieser Stadt!");

    s.SelectedTown = 4;
    s.Account[2][4] = 4949.0L;
    RecordingFrontend g;
    EXPECT_EQ(BuildDepot(s, g), PanelNext::Idle);
    EXPECT_FALSE(s.HasDepot[2][4]);
    EXPECT_EQ(s.Account[2][4], 4949.0L);
    EXPECT_EQ(g.EnglishTexts(), Texts{"You don't have enough money in this town!"});
    EXPECT_TRUE(g.Sounds.empty());
}

TEST(NewBrand, AnOfferAMonthWithinTheTownsMeans)
{
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        GameState s = CommandWorld();
        s.Program.Rng.Seed(seed);
        s.Account[2][2] = 100000.0L;
        RecordingFrontend f;
        f.Answers = {true};
        EXPECT_EQ(NewBrand(s, f), PanelNext::Idle);
        GameRandom three;
        three.Seed(seed);
        three.Draw();
        three.Draw();
        three.Draw();
        EXPECT_EQ(s.Program.Rng.State(), three.State()) << "price, quality and cost factor: three draws";
        const float q = s.Quality[2][1];
        EXPECT_GE(q, 0.85f);
        EXPECT_LE(q, 1.14f + 1e-6f);
        const long double paid = 100000.0L - s.Account[2][2];
        EXPECT_GE(paid, 70000.0L);
        EXPECT_LE(paid, 79000.0L);
        ASSERT_EQ(f.Messages.size(), 1u);
        EXPECT_TRUE(f.Messages[0].Question);
        EXPECT_EQ(f.Messages[0].Caption, (LocalText{"Buy New Brand", "Neue Marke kaufen"}));
        EXPECT_EQ(f.Messages[0].Text.English,
                  Format("You are offered a beer with a quality of %1.2f and a cost factor of %1.2f. Do you want "
                         "to buy it for %6.0Lf $ ?",
                         static_cast<double>(q), static_cast<double>(s.CostFactor[2][1]), paid));
        EXPECT_EQ(f.Messages[0].Text.German,
                  Format("Man bietet Ihnen ein Bier mit einer Qualität von %1.2f und einem Kostenfaktor von %1.2f "
                         "an. Möchten Sie sie für %6.0Lf $ kaufen?",
                         static_cast<double>(q), static_cast<double>(s.CostFactor[2][1]), paid));
        for (int t = 0; t < kTowns; ++t)
            EXPECT_EQ(s.Price[2][1][t], static_cast<float>(3.0L * q));
        EXPECT_EQ(f.Sounds, std::vector<int>{6});
        EXPECT_TRUE(s.BrandOffered[2]);
    }
}

TEST(NewBrand, SlotsFillInOrderAndOffersAreSpent)
{
    GameState s = CommandWorld();
    s.Account[2][2] = 1e6L;
    RecordingFrontend f;
    f.Answers = {false};
    EXPECT_EQ(NewBrand(s, f), PanelNext::Idle);  // declined
    EXPECT_FALSE(BrandExists(s, 2, 1));
    EXPECT_EQ(s.Account[2][2], 1e6L);
    EXPECT_TRUE(f.Sounds.empty());
    const uint64_t drawn = s.Program.Rng.State();
    EXPECT_EQ(NewBrand(s, f), PanelNext::Idle);
    EXPECT_EQ(f.EnglishTexts().back(), "No one offers you a new brand!");
    EXPECT_EQ(f.Messages.back().Text.German, "Niemand bietet Ihnen eine neue Marke an!");
    EXPECT_EQ(s.Program.Rng.State(), drawn) << "a refused offer draws nothing";

    for (int slot = 1; slot <= 2; ++slot) {
        s.BrandOffered[2] = false;  // a new month
        f.Answers = {true};
        NewBrand(s, f);
        EXPECT_TRUE(BrandExists(s, 2, slot)) << slot;
    }
    s.BrandOffered[2] = false;
    EXPECT_EQ(NewBrand(s, f), PanelNext::Idle);
    EXPECT_EQ(f.EnglishTexts().back(), "You already have three brands!");
    EXPECT_EQ(f.Messages.back().Text.German, "Sie haben bereits drei Marken!");
    EXPECT_FALSE(s.BrandOffered[2]) << "three brands: no offer is spent";
}

TEST(NewBrand, TooExpensiveSpendsTheOfferAndOneDraw)
{
    GameState s = CommandWorld();
    s.Account[2][2] = 69999.0L;
    RecordingFrontend f;
    GameRandom one = s.Program.Rng;
    one.Draw();
    EXPECT_EQ(NewBrand(s, f), PanelNext::Idle);
    EXPECT_EQ(f.EnglishTexts(), Texts{"You don't have enough money in this town!"});
    EXPECT_TRUE(s.BrandOffered[2]);
    EXPECT_EQ(s.Program.Rng.State(), one.State());
    EXPECT_EQ(s.Account[2][2], 69999.0L);
}
