// Standing orders at the start of a turn: carried out whole in slot order, or reported.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "engine/standing_orders.h"
#include "game/game_state.h"
#include "game/map_tables.h"
#include "recording_frontend.h"

namespace {

constexpr int kCur = 4;

// Map 1: from Fotzingfors (town 2) to Seaside (town 3) 100 litres cost 12 dollars.
GameState Orders()
{
    GameState s;
    s.MapNumber = 1;
    s.CurrentCompany = kCur;
    s.PlayerCompany = {kCur, -1};
    return s;
}

std::vector<std::string> Captions(const RecordingFrontend& f)
{
    std::vector<std::string> captions;
    for (const auto& m : f.Messages)
        captions.push_back(m.Caption.English);
    return captions;
}

}  // namespace

TEST(StandingOrders, MoneyArrivesLessFivePercent)
{
    GameState s = Orders();
    s.Account[kCur][0] = 1000;
    s.StandingOrder[kCur][0] = {kOrderMoney, 0, 7, 1000};  // exactly what is there
    s.StandingOrder[kCur][1] = {kOrderMoney, 7, 0, 951};   // more than arrived
    RecordingFrontend f;
    ExecuteStandingOrders(s, f);
    EXPECT_EQ(s.Account[kCur][0], 0.0L);
    EXPECT_EQ(s.Account[kCur][7], 1000 * 0.95L);
    ASSERT_EQ(f.Messages.size(), 1u);
    EXPECT_EQ(f.Messages[0].Text, (LocalText{"Cannot execute order 2!", "Ausführung von Auftrag Nr.2 nicht möglich!"}));
    EXPECT_EQ(f.Messages[0].Caption, (LocalText{"Not enough money!", "Zu wenig Geld!"}));
    EXPECT_EQ(f.Messages[0].Icon, MessageIcon::Warning);
    EXPECT_EQ(s.StandingOrder[kCur][1], (StandingOrderSlot{kOrderMoney, 7, 0, 951})) << "the order stays";
}

TEST(StandingOrders, BeerPaysWholeDollarsForTheTransport)
{
    struct Case {
        const char* what;
        int32_t amount;
        int32_t stock;
        long double account;
        const char* report;  // nullptr: carried out
        long double cost;
    };
    const Case cases[] = {
        {"250 litres at 12 per 100", 250, 250, 30, nullptr, 30},
        {"the cost is cut to whole dollars", 249, 300, 29, nullptr, 29},  // 29.88
        {"a dollar short", 250, 250, 29.99L, "Not enough money!", 0},
        {"a litre short", 250, 249, 100, "Not enough beer!", 0},
        {"short of both: the beer is named", 250, 249, 0, "Not enough beer!", 0},
    };
    for (const Case& c : cases) {
        GameState s = Orders();
        s.Stock[kCur][1][2] = c.stock;
        s.Stock[kCur][1][3] = 40;
        s.Account[kCur][2] = c.account;
        s.StandingOrder[kCur][6] = {1, 2, 3, c.amount};
        RecordingFrontend f;
        ExecuteStandingOrders(s, f);
        if (c.report) {
            EXPECT_EQ(Captions(f), std::vector<std::string>{c.report}) << c.what;
            EXPECT_EQ(f.Messages[0].Text.English, "Cannot execute order 7!") << c.what;
            EXPECT_EQ(s.Stock[kCur][1][2], c.stock) << c.what;
            EXPECT_EQ(s.Account[kCur][2], c.account) << c.what;
        } else {
            EXPECT_TRUE(f.Messages.empty()) << c.what;
            EXPECT_EQ(s.Stock[kCur][1][2], c.stock - c.amount) << c.what;
            EXPECT_EQ(s.Stock[kCur][1][3], 40 + c.amount) << c.what << ": on hand at once";
            EXPECT_EQ(s.Account[kCur][2], c.account - c.cost) << c.what;
        }
    }
}

TEST(StandingOrders, SlotOrderAndOnlyTheMovingCompany)
{
    GameState s = Orders();
    s.Stock[kCur][0][2] = 500;
    s.Account[kCur][2] = 1000;
    s.Account[kCur][3] = 36;                            // the sending town pays
    s.StandingOrder[kCur][0] = {0, 2, 3, 500};          // brings beer to Seaside...
    s.StandingOrder[kCur][1] = {kOrderEmpty, 9, 9, 9};  // skipped silently
    s.StandingOrder[kCur][2] = {0, 3, 2, 300};          // ...which this one sends back
    s.StandingOrder[kCur][3] = {2, 3, 2, 1};            // no beer of brand 2 anywhere
    s.StandingOrder[kCur][9] = {kOrderMoney, 2, 5, 2000};
    s.StandingOrder[7][0] = {kOrderMoney, 0, 1, 10};  // another company's order waits for its turn
    s.Account[7][0] = 10;
    RecordingFrontend f;
    ExecuteStandingOrders(s, f);
    EXPECT_EQ(s.Stock[kCur][0][2], 300);
    EXPECT_EQ(s.Stock[kCur][0][3], 200);
    EXPECT_EQ(s.Account[kCur][2], 1000 - 60);
    EXPECT_EQ(s.Account[kCur][3], 0);
    EXPECT_EQ(f.EnglishTexts(), (std::vector<std::string>{"Cannot execute order 4!", "Cannot execute order 10!"}));
    EXPECT_EQ(Captions(f), (std::vector<std::string>{"Not enough beer!", "Not enough money!"}));
    EXPECT_EQ(f.Messages[1].Text.German, "Ausführung von Auftrag Nr.10 nicht möglich!");
    EXPECT_EQ(f.Messages[0].Caption.German, "Zu wenig Bier!");
    EXPECT_EQ(s.Account[7][0], 10.0L);
    EXPECT_TRUE(f.Sounds.empty());
}

TEST(StandingOrders, HugeAndDamagedOrdersAreHandledSafely)
{
    GameState s = Orders();
    const int32_t most = std::numeric_limits<int32_t>::max();
    // 2,000,000,000 litres over 31 dollars per 100 (Fotzingfors to Melkerstiege): 620,000,000
    // dollars, more than the litres times the rate fit into a whole number.
    s.Stock[kCur][0][2] = 2000000000;
    s.Stock[kCur][0][8] = 500000000;
    s.Account[kCur][2] = 1e9L;
    s.StandingOrder[kCur][0] = {0, 2, 8, 2000000000};
    // Orders no player can give, as a damaged savegame might hold them: skipped.
    s.StandingOrder[kCur][1] = {7, 2, 3, 10};
    s.StandingOrder[kCur][2] = {1, 2, 10, 10};
    s.StandingOrder[kCur][3] = {kOrderMoney, -1, 3, 10};
    s.StandingOrder[kCur][4] = {kOrderMoney, 2, 3, -100};
    RecordingFrontend f;
    ExecuteStandingOrders(s, f);
    EXPECT_EQ(s.Account[kCur][2], 1e9L - 620000000);
    EXPECT_EQ(s.Stock[kCur][0][2], 0);
    EXPECT_EQ(s.Stock[kCur][0][8], most) << "held at the largest stock";
    EXPECT_EQ(s.Account[kCur][3], 0.0L);
    EXPECT_TRUE(f.Messages.empty());
}
