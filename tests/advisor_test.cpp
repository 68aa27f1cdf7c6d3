/// @file advisor_test.cpp The advisor's hints on small hand-built worlds.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "commands/advisor.h"
#include "small_world.h"

namespace {

struct Expected {
    HintKind kind;
    int town;
    std::string english;  ///< a part of the English text
    std::string german;   ///< a part of the German text
};

struct Case {
    const char* name;
    std::function<void(GameState&)> setup;
    std::vector<Expected> hints;  ///< in their ranked order
};

// Company 2 brews one brand of quality 1.0; every town drinks 1000 l at wages 1.0 and had
// 800 l on offer from company 4, whose quality is too far from the wages to sell.
GameState World()
{
    GameState s = TenNamedCompanies(1);
    s.Quality[4][0] = 2.0f;
    s.CurrentCompany = 2;
    s.BrandName[2] = {"Alpha", "Beta", "Gamma"};
    s.Quality[2][0] = 1.0f;
    for (int t = 0; t < kTowns; ++t)
        s.Price[2][0][t] = 2.0f;
    for (int t = 0; t < kTowns; ++t)
        s.Supply[4][0][t] = 800;
    return s;
}

}  // namespace

TEST(Advisor, HintsFromTheGamesOwnFigures)
{
    const std::vector<Case> cases = {
        {"nothing owned, nothing to say", [](GameState&) {}, {}},
        {"a price that sells nothing",
         [](GameState& s) {
             s.Stock[2][0][3] = 800;
             s.Price[2][0][3] = 4.0f;
         },
         {{HintKind::PriceTooHigh, 3, "Town3: Alpha sells none of 800 l at 4.00 $; it sells up to 3.60 $",
           "Town3: Alpha verkauft zu 4.00 $ nichts von 800 l; es verkauft sich bis 3.60 $"}}},
        {"a price that sells everything gives no hint", [](GameState& s) { s.Stock[2][0][3] = 800; }, {}},
        {"more beer than the town drinks, no depot",
         [](GameState& s) { s.Stock[2][0][4] = 1500; },
         {{HintKind::Unsold, 4, "Town4: 500 l of Alpha spoil at month end without a depot",
           "Town4: 500 l Alpha verderben ohne Lager"}}},
        {"more beer than the town drinks, with a depot",
         [](GameState& s) {
             s.Stock[2][0][4] = 1500;
             s.HasDepot[2][4] = true;
         },
         {{HintKind::Unsold, 4, "Town4: 500 l of Alpha wait unsold", "bleiben diesen Monat liegen"}}},
        {"a debt another town can pay",
         [](GameState& s) {
             s.Account[2][6] = -500.0L;
             s.Account[2][1] = 2000.0L;
         },
         {{HintKind::Debt, 6, "Town6: a debt of 500.00 $ costs 15 % interest a month; Town1 holds 2000.00 $",
           "Town6: 500.00 $ Schulden kosten 15 % Zinsen im Monat; Town1 hat 2000.00 $"}}},
        {"a debt nobody can pay after the transfer's loss",
         [](GameState& s) {
             s.Account[2][6] = -500.0L;
             s.Account[2][1] = 520.0L;
         },
         {}},
        {"a thirsty town with a brewery, a thirsty town far from any",
         [](GameState& s) {
             s.Capacity[2][0][0] = 100;
             s.Demand[0] = 5000;
             s.Supply[4][0][0] = 1000;
             s.Demand[9] = 50000;  // no base of company 2 anywhere near
             s.Quality[2][0] = 1.0f;
         },
         {{HintKind::Thirst, 0, "Town0 drinks 5000 l a month, only 1000 l were on offer",
           "Town0 trinkt 5000 l im Monat, angeboten waren nur 1000 l"}}},
        {"a town that wants less than twice the offer",
         [](GameState& s) {
             s.HasDepot[2][0] = true;
             s.Demand[0] = 5000;
             s.Supply[4][0][0] = 2600;
         },
         {}},
        {"ranked by kind, then by size, at most five",
         [](GameState& s) {
             for (int t = 1; t <= 7; ++t)
                 s.Stock[2][0][t] = 1000 + 100 * t;  // 100 l .. 700 l left over
             s.Stock[2][1][8] = 500;
             s.Quality[2][1] = 1.0f;
             s.Price[2][1][8] = 9.0f;
             s.Account[2][2] = -100.0L;
             s.Account[2][8] = 1000.0L;
         },
         {{HintKind::Debt, 2, "Town2: a debt of 100.00 $", "Zinsen"},
          {HintKind::PriceTooHigh, 8, "Beta sells none of 500 l at 9.00 $", "nichts von 500 l"},
          {HintKind::Unsold, 7, "Town7: 700 l of Alpha", "700 l"},
          {HintKind::Unsold, 6, "Town6: 600 l of Alpha", "600 l"},
          {HintKind::Unsold, 5, "Town5: 500 l of Alpha", "500 l"}}},
    };
    for (const Case& c : cases) {
        GameState s = World();
        c.setup(s);
        const GameState before = s;
        const std::vector<AdvisorHint> english = ComputeAdvice(s, 2, Language::English);
        const std::vector<AdvisorHint> german = ComputeAdvice(s, 2, Language::German);
        EXPECT_TRUE(static_cast<const GameData&>(s) == before) << c.name << ": the advisor changes nothing";
        ASSERT_EQ(english.size(), c.hints.size()) << c.name;
        ASSERT_EQ(german.size(), c.hints.size()) << c.name;
        for (size_t i = 0; i < c.hints.size(); ++i) {
            EXPECT_EQ(english[i].Kind, c.hints[i].kind) << c.name << " #" << i;
            EXPECT_EQ(english[i].Town, c.hints[i].town) << c.name << " #" << i;
            EXPECT_NE(english[i].Text.find(c.hints[i].english), std::string::npos) << c.name << ": " << english[i].Text;
            EXPECT_NE(german[i].Text.find(c.hints[i].german), std::string::npos) << c.name << ": " << german[i].Text;
        }
    }
}

TEST(Advisor, NoHintsWithoutAGameOrForAnotherCompany)
{
    GameState s = World();
    s.Stock[2][0][3] = 800;
    s.Price[2][0][3] = 4.0f;
    EXPECT_EQ(ComputeAdvice(s, 2, Language::English).size(), 1u);
    EXPECT_TRUE(ComputeAdvice(s, 3, Language::English).empty()) << "company 3 owns nothing";
    EXPECT_TRUE(ComputeAdvice(s, 10, Language::English).empty());
    s.GameActive = false;
    EXPECT_TRUE(ComputeAdvice(s, 2, Language::English).empty());
}
