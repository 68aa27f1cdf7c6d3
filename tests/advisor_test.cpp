/// @file advisor_test.cpp The advisor's hints on small hand-built worlds.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "commands/advisor.h"
#include "engine/standing_orders.h"
#include "recording_frontend.h"
#include "small_world.h"

namespace {

struct Expected {
    HintKind kind;
    int town;
    std::string english;  ///< a part of the English text
    std::string german;   ///< a part of the German text
    CommandKind command;  ///< what the hint opens
    int commandTown;      ///< and where
};

struct Case {
    const char* name;
    std::function<void(GameState&)> setup;
    std::vector<Expected> hints;  ///< in their ranked order
};

// Company 2 brews one brand of quality 1.0; every town drinks 1000 l at wages 1.0 and had
// 800 l on offer from company 4, whose quality is too far from the wages to sell, at last
// month's market.
GameState World()
{
    GameState s = TenNamedCompanies(1);
    s.MonthCount = 2;
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

// The start of the turn's standing orders, their message boxes kept in the record as the turn
// engine keeps them.
void RunOrders(GameState& s)
{
    RecordingFrontend f;
    HistoryTap tap(s.History, f, s.MonthCount, s.CurrentCompany);
    ExecuteStandingOrders(s, tap);
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
           "Town3: Alpha verkauft zu 4.00 $ nichts von 800 l; es verkauft sich bis 3.60 $", CommandKind::ChangePrices,
           3}}},
        {"a price that sells everything gives no hint", [](GameState& s) { s.Stock[2][0][3] = 800; }, {}},
        {"more beer than the town drinks, no depot",
         [](GameState& s) { s.Stock[2][0][4] = 1500; },
         {{HintKind::Unsold, 4, "Town4: 500 l of Alpha spoil at month end without a depot",
           "Town4: 500 l Alpha verderben ohne Lager", CommandKind::BuildDepot, 4}}},
        {"more beer than the town drinks, with a depot",
         [](GameState& s) {
             s.Stock[2][0][4] = 1500;
             s.HasDepot[2][4] = true;
         },
         {{HintKind::Unsold, 4, "Town4: 500 l of Alpha wait unsold", "bleiben diesen Monat liegen",
           CommandKind::ChangePrices, 4}}},
        {"two brands of the player's share one town's thirst",
         [](GameState& s) {
             // Beta's beer is new in the town: the last market never saw it, this month's will.
             s.Quality[2][1] = 1.0f;
             s.Price[2][1][4] = 2.0f;
             s.Stock[2][0][4] = 800;
             s.Stock[2][1][4] = 800;
         },
         {{HintKind::Unsold, 4, "Town4: 300 l of Alpha spoil at month end without a depot", "300 l Alpha",
           CommandKind::BuildDepot, 4},
          {HintKind::Unsold, 4, "Town4: 300 l of Beta spoil at month end without a depot", "300 l Beta",
           CommandKind::BuildDepot, 4}}},
        {"a debt another town can pay",
         [](GameState& s) {
             s.Account[2][6] = -500.0L;
             s.Account[2][1] = 2000.0L;
         },
         {{HintKind::Debt, 6, "Town6: a debt of 500.00 $ costs 15 % interest a month; Town1 holds 2000.00 $",
           "Town6: 500.00 $ Schulden kosten 15 % Zinsen im Monat; Town1 hat 2000.00 $", CommandKind::TransferMoney,
           1}}},
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
           "Town0 trinkt 5000 l im Monat, angeboten waren nur 1000 l", CommandKind::ExtendBrewery, 0}}},
        {"a thirsty town before the first market: nothing was on offer yet",
         [](GameState& s) {
             s.MonthCount = 1;
             s.HasDepot[2][0] = true;
             for (int t = 0; t < kTowns; ++t) {
                 s.Supply[4][0][t] = 0;
                 s.Demand[t] = 900;  // below the advisor's 1000 l more than on offer
             }
             s.Demand[0] = 5000;
         },
         {{HintKind::Thirst, 0, "Town0 drinks 5000 l a month; no market has been held yet",
           "Town0 trinkt 5000 l im Monat; noch hat kein Markt stattgefunden", CommandKind::BuildBrewery, 0}}},
        {"a brewery whose beer found no buyer at its price",
         [](GameState& s) {
             s.CostFactor[2][0] = 2.0f;
             s.Capacity[2][0][5] = 1000;
             s.Supply[2][0][5] = 1000;
         },
         {{HintKind::IdleBrewery, 5,
           "Town5: the Alpha brewery's 1000 l found no buyer here last month; it costs "
           "2000.00 $ a month",
           "Town5: 1000 l der Alpha-Brauerei fanden letzten Monat hier keinen Käufer; sie kostet 2000.00 $ im Monat",
           CommandKind::ChangePrices, 5}}},
        {"a brewery in a town that does not drink its quality: ship the beer",
         [](GameState& s) {
             s.Wages[5] = 1.5f;
             s.Capacity[2][0][5] = 1000;
             s.Supply[2][0][5] = 1000;
             s.Stock[2][0][5] = 1000;
         },
         {{HintKind::IdleBrewery, 5, "the Alpha brewery's 1000 l", "1000 l der Alpha-Brauerei",
           CommandKind::TransportBeer, 5}}},
        {"an idle brewery whose price the advisor already names is not named twice",
         [](GameState& s) {
             s.Capacity[2][0][5] = 1000;
             s.Supply[2][0][5] = 1000;
             s.Stock[2][0][5] = 1000;
             s.Price[2][0][5] = 4.0f;
         },
         {{HintKind::PriceTooHigh, 5, "Town5: Alpha sells none of 1000 l at 4.00 $", "nichts von 1000 l",
           CommandKind::ChangePrices, 5}}},
        {"before the first market no brewery is idle",
         [](GameState& s) {
             s.MonthCount = 1;
             s.Capacity[2][0][5] = 1000;
             s.Supply[2][0][5] = 1000;
         },
         {}},
        {"a money order that failed: money comes from the richest other town",
         [](GameState& s) {
             s.StandingOrder[2][1] = {kOrderMoney, 3, 7, 500};
             s.Account[2][3] = 100.0L;
             s.Account[2][1] = 1000.0L;
             RunOrders(s);
         },
         {{HintKind::OrderFailed, 3, "Order 2 (500 $ from Town3 to Town7) failed: not enough money in Town3",
           "Auftrag 2 (500 $ von Town3 nach Town7) scheiterte: zu wenig Geld in Town3", CommandKind::TransferMoney,
           1}}},
        {"a beer order that failed: the brewery it draws on grows",
         [](GameState& s) {
             s.StandingOrder[2][4] = {0, 2, 5, 300};
             s.Capacity[2][0][2] = 100;
             s.Stock[2][0][2] = 100;
             s.Account[2][2] = 1000.0L;
             RunOrders(s);
         },
         {{HintKind::OrderFailed, 2, "Order 5 (300 l of Alpha from Town2 to Town5) failed: not enough beer in Town2",
           "Auftrag 5 (300 l Alpha von Town2 nach Town5) scheiterte: zu wenig Bier in Town2",
           CommandKind::ExtendBrewery, 2}}},
        {"a beer order without a brewery to grow and no money anywhere: the order itself",
         [](GameState& s) {
             s.StandingOrder[2][0] = {0, 2, 5, 300};
             s.Stock[2][0][2] = 400;
             RunOrders(s);
         },
         {{HintKind::OrderFailed, 2, "not enough money in Town2", "zu wenig Geld in Town2", CommandKind::DeleteOrder,
           2}}},
        {"last month's failure is no news, and a deleted order is not named",
         [](GameState& s) {
             s.StandingOrder[2][1] = {kOrderMoney, 3, 7, 500};
             s.StandingOrder[2][2] = {kOrderMoney, 3, 8, 500};
             RunOrders(s);  // both fail in month 2
             s.MonthCount = 3;
             s.StandingOrder[2][2].Kind = kOrderEmpty;
             RunOrders(s);  // order 2 fails again in month 3
             s.Account[2][1] = 1000.0L;
         },
         {{HintKind::OrderFailed, 3, "Order 2 (500 $", "Auftrag 2", CommandKind::TransferMoney, 1}}},
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
         {{HintKind::Debt, 2, "Town2: a debt of 100.00 $", "Zinsen", CommandKind::TransferMoney, 8},
          {HintKind::PriceTooHigh, 8, "Beta sells none of 500 l at 9.00 $", "nichts von 500 l",
           CommandKind::ChangePrices, 8},
          {HintKind::Unsold, 7, "Town7: 700 l of Alpha", "700 l", CommandKind::BuildDepot, 7},
          {HintKind::Unsold, 6, "Town6: 600 l of Alpha", "600 l", CommandKind::BuildDepot, 6},
          {HintKind::Unsold, 5, "Town5: 500 l of Alpha", "500 l", CommandKind::BuildDepot, 5}}},
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
            EXPECT_EQ(english[i].Command, c.hints[i].command) << c.name << " #" << i;
            EXPECT_EQ(english[i].CommandTown, c.hints[i].commandTown) << c.name << " #" << i;
            EXPECT_EQ(german[i].Command, english[i].Command) << c.name;
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
