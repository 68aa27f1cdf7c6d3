// Change Prices, Transport Beer and Transfer Money: amounts, costs, and the order of the checks.
#include <gtest/gtest.h>

#include "commands/logistics.h"
#include "command_world.h"
#include "recording_frontend.h"

namespace {

using Texts = std::vector<std::string>;

// Fotzingfors (2) to Seaside (3) costs 12 dollars per 100 litres on the Peninsula.
constexpr const char* kToSeaside = "Seaside, 12 Dollar/100l";

}  // namespace

TEST(ChangePrices, SetsAllThreeSlotsInTheTown)
{
    GameState s = CommandWorld();
    s.Quality[2][1] = 1.1f;
    s.Price[2][2][2] = 7.0f;
    RecordingFrontend f;
    EXPECT_EQ(ChangePrices(s, f, {"0.29", ".125", ""}), PanelNext::Idle);
    EXPECT_EQ(s.Price[2][0][2], 0.29f);
    EXPECT_EQ(s.Price[2][1][2], 0.12f);
    EXPECT_EQ(s.Price[2][2][2], 0.0f) << "the empty field of a missing brand";
    EXPECT_EQ(s.Price[2][0][3], 3.0f) << "other towns keep their prices";
    EXPECT_EQ(f.Sounds, std::vector<int>{2});
    EXPECT_TRUE(f.Messages.empty());

    EXPECT_EQ(ChangePrices(s, f, {"12.345", "-5", "9e99"}), PanelNext::Idle);
    EXPECT_EQ(s.Price[2][0][2], 12.3f);
    EXPECT_EQ(s.Price[2][1][2], 0.0f);
    EXPECT_EQ(s.Price[2][2][2], 9999.99f);
}

TEST(TransportBeer, MovesBeerAndPaysTheFreight)
{
    GameState s = CommandWorld();
    RecordingFrontend f;
    EXPECT_EQ(TransportBeer(s, f, "1. Alpha, 1000 l", kToSeaside, "1000"), PanelNext::Idle);
    EXPECT_EQ(s.Stock[2][0][2], 0);
    EXPECT_EQ(s.Stock[2][0][3], 1000) << "on hand at once, also without a brewery";
    EXPECT_EQ(s.Account[2][2], 50000.0L - 120.0L);
    EXPECT_EQ(s.Account[2][3], 50000.0L);
    EXPECT_EQ(f.Sounds, std::vector<int>{3});
    EXPECT_EQ(f.Animations, (std::vector<std::vector<int>>{{2, 3, 3}}));

    // 250.7 litres: the fraction is cut, and the freight is 12 * 250 * 0.01 dollars.
    s.Stock[2][0][2] = 500;
    EXPECT_EQ(TransportBeer(s, f, "1. Alpha, 500 l", "Truestone, 11 Dollar/100l", "250.7"), PanelNext::Idle);
    EXPECT_EQ(s.Stock[2][0][0], 250);
    EXPECT_EQ(s.Account[2][2], 50000.0L - 120.0L - 11 * 250.0L * 0.01L);
}

TEST(TransportBeer, DestinationsAreKnownByTheirFirstThreeLetters)
{
    GameState s = CommandWorld();
    RecordingFrontend f;
    EXPECT_EQ(DestinationOfEntry(s, "Kha'Sar, 12 Dollar/100l"), 9);
    EXPECT_EQ(DestinationOfEntry(s, "Sea"), 3);
    EXPECT_EQ(DestinationOfEntry(s, "Nowhere"), -1);
    EXPECT_EQ(TransportBeer(s, f, "1. Alpha, 1000 l", "Twi", "10"), PanelNext::Idle);
    EXPECT_EQ(s.Stock[2][0][4], 10);
}

TEST(TransportBeer, NothingOrLessThanNothing)
{
    {  // An empty field moves nothing and costs nothing, but sounds.
        GameState s = CommandWorld();
        RecordingFrontend f;
        EXPECT_EQ(TransportBeer(s, f, "1. Alpha, 1000 l", kToSeaside, ""), PanelNext::Idle);
        EXPECT_EQ(s.Stock[2][0][2], 1000);
        EXPECT_EQ(s.Account[2][2], 50000.0L);
        EXPECT_EQ(f.Sounds, std::vector<int>{3});
    }
    {  // A negative amount closes the panel without a word.
        GameState s = CommandWorld();
        RecordingFrontend f;
        EXPECT_EQ(TransportBeer(s, f, std::nullopt, kToSeaside, "-5"), PanelNext::Idle);
        EXPECT_TRUE(f.Messages.empty());
        EXPECT_TRUE(f.Sounds.empty());
        EXPECT_EQ(s.Stock, CommandWorld().Stock);
    }
}

TEST(TransportBeer, RefusalsInTheirOrder)
{
    struct Case {
        const char* name;
        std::optional<std::string> brand;
        std::optional<std::string> destination;
        const char* amount;
        long double account;
        const char* english;
        const char* german;
        PanelNext next;
    };
    const Case cases[] = {
        {"no destination", "1. Alpha, 1000 l", std::nullopt, "10", 50000.0L,
         "Please select a town to transport the beer to.", "Bitte wählen Sie einen Zielort.", PanelNext::Stay},
        {"too expensive and no brand: the money wins", std::nullopt, kToSeaside, "1000", 119.99L,
         "You don't have enough money in this town!", "Sie haben nicht genügend Geld in der Stadt!", PanelNext::Idle},
        {"a huge amount fails on the money first", std::nullopt, kToSeaside, "1e30", 50000.0L,
         "You don't have enough money in this town!", "Sie haben nicht genügend Geld in der Stadt!", PanelNext::Idle},
        {"affordable, no brand", std::nullopt, kToSeaside, "1000", 120.0L, "Please select a brand.",
         "Bitte wählen Sie eine Marke.", PanelNext::Stay},
        {"more than the stock", "1. Alpha, 1000 l", kToSeaside, "1001", 50000.0L,
         "You don't have enough beer in this town!", "Sie haben nicht genügend Bier in der Stadt!", PanelNext::Idle},
        {"a brand without stock here", "2. Beta, 0 l", kToSeaside, "1", 50000.0L,
         "You don't have enough beer in this town!", "Sie haben nicht genügend Bier in der Stadt!", PanelNext::Idle},
    };
    for (const Case& c : cases) {
        GameState s = CommandWorld();
        s.Account[2][2] = c.account;
        const GameState before = s;
        RecordingFrontend f;
        EXPECT_EQ(TransportBeer(s, f, c.brand, c.destination, c.amount), c.next) << c.name;
        ASSERT_EQ(f.Messages.size(), 1u) << c.name;
        EXPECT_EQ(f.Messages[0].Text, (LocalText{c.english, c.german})) << c.name;
        EXPECT_EQ(s.Stock, before.Stock) << c.name;
        EXPECT_EQ(s.Account, before.Account) << c.name;
        EXPECT_TRUE(f.Sounds.empty()) << c.name;
    }
}

TEST(TransferMoney, LosesFivePercentOnTheWay)
{
    GameState s = CommandWorld();
    RecordingFrontend f;
    EXPECT_EQ(TransferMoney(s, f, "Seaside", "1000"), PanelNext::Idle);
    EXPECT_EQ(s.Account[2][2], 49000.0L);
    EXPECT_EQ(s.Account[2][3], 50950.0L);
    EXPECT_EQ(f.Sounds, std::vector<int>{2});
    EXPECT_EQ(f.Animations, (std::vector<std::vector<int>>{{2, 3, 5}}));

    EXPECT_EQ(TransferMoney(s, f, "Seaside", "99.99"), PanelNext::Idle);
    EXPECT_EQ(s.Account[2][2], 49000.0L - 99.0L) << "the fraction is cut off";

    // Nothing typed, or a negative amount: a transfer of 0.
    for (const char* field : {"", "x", "-5"}) {
        const long double before = s.Account[2][2];
        EXPECT_EQ(TransferMoney(s, f, "Seaside", field), PanelNext::Idle) << field;
        EXPECT_EQ(s.Account[2][2], before);
    }
}

TEST(TransferMoney, TooLittleMoneyKeepsThePanelOpen)
{
    struct Case {
        long double account;
        const char* amount;
    };
    for (const Case& c : {Case{999.0L, "1000"}, Case{-0.01L, ""}, Case{50000.0L, "1e30"}}) {
        GameState s = CommandWorld();
        s.Account[2][2] = c.account;
        RecordingFrontend f;
        EXPECT_EQ(TransferMoney(s, f, "Seaside", c.amount), PanelNext::Stay) << c.amount;
        EXPECT_EQ(f.Messages.at(0).Text, (LocalText{"You don't have enough money in this town!",
                                                    "Sie haben nicht genügend Geld in der Stadt!"}));
        EXPECT_EQ(s.Account[2][2], c.account);
        EXPECT_EQ(s.Account[2][3], 50000.0L);
    }
    GameState s = CommandWorld();
    RecordingFrontend f;
    EXPECT_EQ(TransferMoney(s, f, std::nullopt, "10"), PanelNext::Stay);
    EXPECT_EQ(f.Messages.at(0).Text,
              (LocalText{"Please select a town to transfer the money to.", "Bitte wählen Sie einen Zielort."}));
}
