// Bankruptcy, victory and scoring: company value, liquidation and the turn order after it,
// the winning share, points and the highscore in the settings file.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "engine/end_of_game.h"
#include "engine/turn.h"
#include "game/game_state.h"
#include "persistence/settings.h"
#include "platform/ini_file.h"
#include "recording_frontend.h"
#include "small_world.h"
#include "temp_dir.h"

namespace {

// Ten named companies with nothing; total demand 10000 litres.
GameState Named()
{
    GameState s = TenNamedCompanies(2);
    s.CurrentCompany = s.SelectedTown = 3;
    s.PlayerCompany = {3, -1};
    s.PlayerTown = {3, -1};
    return s;
}

// A company with something in every field that liquidation empties.
void Furnish(GameState& s, int c)
{
    s.Quality[c][0] = 1.0f;
    s.CostFactor[c][0] = 2.0f;
    s.BrandName[c][0] = "Brand" + std::to_string(c);
    for (int t = 0; t < kTowns; ++t) {
        s.HasDepot[c][t] = true;
        s.Account[c][t] = 100;
        s.Capacity[c][0][t] = 1000;
        s.Price[c][0][t] = 3.0f;
        s.Supply[c][0][t] = 900;
        s.Sales[c][0][t] = 80;
        s.Stock[c][0][t] = 1000;
        s.ProductionCost[c][0][t] = 2000;
    }
    s.ConstructionPipeline[c][0][1] = {100, 200, 300};
    s.StandingOrder[c][4] = {kOrderMoney, 1, 2, 50};
}

bool Empty(const GameState& s, int c)
{
    for (int t = 0; t < kTowns; ++t) {
        if (s.HasDepot[c][t] || s.Account[c][t] != 0)
            return false;
        for (int b = 0; b < kBrands; ++b)
            if (s.Capacity[c][b][t] || s.Price[c][b][t] != 0 || s.Supply[c][b][t] || s.Sales[c][b][t] ||
                s.Stock[c][b][t] || s.ProductionCost[c][b][t] != 0)
                return false;
    }
    for (int b = 0; b < kBrands; ++b)
        if (s.Quality[c][b] != 0 || s.CostFactor[c][b] != 0)
            return false;
    return true;
}

}  // namespace

TEST(CompanyValue, DepotsMoneyAndBreweries)
{
    struct Case {
        const char* what;
        std::function<void(GameState&)> setup;
        long double value;
    };
    const Case cases[] = {
        {"nothing", [](GameState&) {}, 0},
        {"a debt of a cent", [](GameState& s) { s.Account[3][7] = -0.01L; }, -0.01L},
        {"debt here, money there", [](GameState& s) { s.Account[3][7] = -500, s.Account[3][2] = 200.5L; }, -299.5L},
        {"a depot", [](GameState& s) { s.HasDepot[3][0] = true; }, 5000},
        {"a brewery of 1000 litres", [](GameState& s) { s.Capacity[3][1][4] = 1000; }, 15000},
        {"a brewery of 1001 litres", [](GameState& s) { s.Capacity[3][1][4] = 1001; }, 15011},
        {"a brewery of 300 litres", [](GameState& s) { s.Capacity[3][2][4] = 300; }, 15000},
        {"no brewery", [](GameState& s) { s.Stock[3][0][4] = 5000; }, 0},
        {"two breweries and a depot in a town",
         [](GameState& s) {
             s.Capacity[3][0][4] = 2000;
             s.Capacity[3][2][4] = 1000;
             s.HasDepot[3][4] = true;
         },
         15000 + 11000 + 15000 + 5000},
    };
    for (const Case& c : cases) {
        GameState s = Named();
        c.setup(s);
        EXPECT_EQ(CompanyValue(s, 3), c.value) << c.what;
    }
}

TEST(EndOfGame, AComputerCompanyWinsAtExactlyTheWinningShare)
{
    struct Case {
        int32_t sales;
        double winningShare;
        bool wins;
    };
    // The share is held as a single: 5700 / 10000 x 100 is a hair below 57 in double precision
    // but exactly 57 as a single.
    for (const Case& c : {Case{6000, 60, true}, Case{5999, 60, false}, Case{5700, 57, true}, Case{10000, 100, true},
                          Case{9999, 100, false}}) {
        GameState s = Named();
        s.WinningShare = c.winningShare;
        s.Sales[6][0][2] = c.sales;
        Furnish(s, 3);
        s.Sales[3][0].fill(0);
        RecordingFrontend f;
        NextTurn(s, f);
        if (c.wins) {
            EXPECT_EQ(f.EnglishTexts(), std::vector<std::string>{"You lose, Company6 won the game!"}) << c.sales;
            EXPECT_EQ(f.Messages[0].Caption, (LocalText{"", "Leider verloren..."}));
            EXPECT_EQ(f.Messages[0].Text.German, "Der Spieler Company6 hat das Spiel gewonnen!");
            EXPECT_EQ(f.Sounds, (std::vector<int>{1, 6}));
            EXPECT_TRUE(Empty(s, 3)) << "the human has lost everything";
            EXPECT_EQ(s.MonthCount, 1);
        } else {
            EXPECT_TRUE(f.Messages.empty()) << c.sales;
            EXPECT_EQ(s.MonthCount, 2);
        }
    }
}

TEST(EndOfGame, AMapWithoutDemandGivesNobodyAShareAndNobodyWins)
{
    // Only a damaged savegame holds such a map; last month's sales of it win nothing.
    GameState s = Named();
    s.Demand.fill(0);
    s.Sales[6][0][2] = 5000;
    s.Sales[3][0][3] = 100;
    EXPECT_EQ(MarketShare(s, 6), 0.0f);
    EXPECT_EQ(MarketShare(s, 3), 0.0f);
    EXPECT_EQ(ShareOfDemand(0, 0.0), 0.0f);
    EXPECT_EQ(ShareOfDemand(600, 1000.0), 60.0f);
    RecordingFrontend f;
    NextTurn(s, f);
    EXPECT_TRUE(f.Messages.empty()) << f.EnglishTexts().front();
    EXPECT_EQ(s.MonthCount, 2) << "the month closed without a winner";
}

TEST(EndOfGame, LiquidationEmptiesTheCompanyAndRepairsTheTurnOrder)
{
    struct Case {
        const char* what;
        int current;     // who is moving
        int liquidated;  // who goes bankrupt
        int nextCompany;
        int nextTown;
        bool twoPlayerAfter;
    };
    // Player 1 is company 3 (its town kept: 8), player 2 company 6 (its town kept: 1).
    const Case cases[] = {
        {"player 1 on turn", 3, 3, 6, 1, false},
        {"player 2 on turn", 6, 6, 3, 8, false},
        {"a computer company", 3, 7, 3, 5, true},
        {"the player not on turn", 3, 6, 3, 5, true},
    };
    for (const Case& c : cases) {
        GameState s = Named();
        s.TwoPlayer = true;
        s.PlayerCompany = {3, 6};
        s.PlayerTown = {8, 1};
        s.CurrentCompany = c.current;
        s.SelectedTown = 5;
        Furnish(s, c.liquidated);
        Furnish(s, 0);
        RecordingFrontend f;
        Liquidate(s, f, c.liquidated);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(f.Sounds, std::vector<int>{11});
        ASSERT_EQ(f.Messages.size(), 1u);
        const std::string name = "Company" + std::to_string(c.liquidated);
        EXPECT_EQ(f.Messages[0].Text,
                  (LocalText{name + "'s company has been liquidated!", name + "'s Firma ist Pleite!"}));
        EXPECT_EQ(f.Messages[0].Caption, (LocalText{"Bankruptcy!", "Bankrott!"}));
        EXPECT_TRUE(Empty(s, c.liquidated));
        EXPECT_FALSE(Empty(s, 0)) << "nobody else is touched";
        EXPECT_EQ(CompanyValue(s, c.liquidated), 0.0L) << "not bankrupt again";
        EXPECT_EQ(s.StandingOrder[c.liquidated][4].Kind, kOrderEmpty);
        EXPECT_EQ(s.StandingOrder[0][4].Kind, kOrderMoney);
        EXPECT_EQ(s.ConstructionPipeline[c.liquidated][0][1], (std::array<int32_t, 3>{100, 200, 300}))
            << "capacity under construction still arrives";
        EXPECT_EQ(s.CompanyName[c.liquidated], name);
        EXPECT_EQ(s.BrandName[c.liquidated][0], "Brand" + std::to_string(c.liquidated));
        EXPECT_EQ(s.CurrentCompany, c.nextCompany);
        EXPECT_EQ(s.SelectedTown, c.nextTown);
        EXPECT_EQ(s.TwoPlayer, c.twoPlayerAfter);
        EXPECT_EQ(s.PlayerCompany, (std::array<int32_t, 2>{3, 6})) << "a liquidated human is never the computer's";
    }
}

TEST(EndOfGame, AHighscoreIsKeptOnlyOverALowerOne)
{
    // Another game at the same folder may have stored a better score since the month began.
    TempDir dir;
    EXPECT_EQ(ReadBestScore(dir.Str(), 2), 0) << "no settings file";
    EXPECT_TRUE(RecordHighscore(dir.Str(), 2, "Anna from Alderney", 300));
    EXPECT_FALSE(RecordHighscore(dir.Str(), 2, "Bert from Berg", 300)) << "a tie keeps the older entry";
    EXPECT_FALSE(RecordHighscore(dir.Str(), 2, "Bert from Berg", 120));
    EXPECT_EQ(ReadBestScore(dir.Str(), 2), 300);
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kHighscoreHolder[2]), "Anna from Alderney");
    EXPECT_EQ(ReadBestScore(dir.Str(), 0), 0) << "other maps alone";
    EXPECT_TRUE(RecordHighscore(dir.Str(), 2, "Bert from Berg", 301));
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kHighscoreHolder[2]), "Bert from Berg");
    EXPECT_EQ(ReadSettingInt(dir.Str(), settings::kHighscorePoints[2]), 301);
}

TEST(EndOfGame, PointsAndHighscore)
{
    struct Case {
        const char* what;
        int32_t month;
        long double value;
        const char* storedBest;  // nullptr: no entry yet
        int language;
        int32_t points;
        bool highscore;
    };
    const Case cases[] = {
        {"month 50, value 1,000,000", 50, 1000000, nullptr, 1, 400, true},
        {"month 199", 199, 1000000, nullptr, 1, 102, true},
        {"month 200: no bonus", 200, 1000000, nullptr, 1, 100, true},
        {"month 201: no bonus, not less", 201, 1000000, nullptr, 1, 100, true},
        {"the points are cut, not rounded", 201, 19999.99L, nullptr, 1, 1, true},
        {"no points, no highscore", 300, 9999, nullptr, 1, 0, false},
        {"a tie is no highscore", 50, 1000000, "400", 1, 400, false},
        {"one point more is", 50, 1000000, "399", 1, 400, true},
        {"written in German when playing in German", 50, 1000000, "12", 2, 400, true},
        {"a month count no real game reaches", std::numeric_limits<int32_t>::max(), 1000000, nullptr, 1, 100, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string settings = platform::PathIn(dir.Str(), "Tavrek!.ini");
        if (c.storedBest) {
            platform::WriteProfileString(settings, "High", "map2", "Someone from Somewhere");
            platform::WriteProfileString(settings, "High", "Points2", c.storedBest);
        }
        GameState s = Named();
        s.Program.ProgramDirectory = dir.Str();
        s.Program.Language = LanguageFromNumber(c.language);
        s.MonthCount = c.month;
        s.Account[3][0] = c.value;
        s.StandingOrder[5][0] = {1, 2, 3, 4};
        s.ConstructionPipeline[5][0][0] = {1, 2, 3};
        Furnish(s, 8);
        RecordingFrontend f;
        // The month is told the best score; the session keeps the new entry after the month.
        const Victory victory = DeclareWinner(s, f, 3, ReadBestScore(dir.Str(), 1));
        EXPECT_EQ(victory.Points, c.points);
        EXPECT_EQ(victory.Highscore.has_value(), c.highscore);
        if (victory.Highscore) {
            EXPECT_EQ(victory.Highscore->Map, 1);
            EXPECT_TRUE(RecordHighscore(dir.Str(), victory.Highscore->Map, victory.Highscore->Holder,
                                        victory.Highscore->Points));
        }

        EXPECT_EQ(f.Sounds, std::vector<int>{6});
        ASSERT_EQ(f.Messages.size(), c.highscore ? 2u : 1u);
        const std::string p = std::to_string(c.points);
        EXPECT_EQ(f.Messages[0].Text,
                  (LocalText{"Congratulations, you have won the game and achieved " + p + " Points!",
                             "Gratulation, Sie haben das Spiel gewonnen und " + p + " Punkte erreicht!"}));
        EXPECT_EQ(f.Messages[0].Caption, (LocalText{"VICTORY!", "SIEG!"}));
        const std::string holder = platform::ReadProfileString(settings, "High", "map2", "", 100);
        const std::string best = platform::ReadProfileString(settings, "High", "Points2", "", 100);
        if (c.highscore) {
            EXPECT_EQ(f.Messages[1].Text, (LocalText{"New Highscore!", "Neuer Highscore!"}));
            EXPECT_EQ(f.Messages[1].Caption, LocalText{});
            EXPECT_EQ(holder, c.language == 2 ? "Company3 aus Town3" : "Company3 from Town3");
            EXPECT_EQ(best, p);
        } else {
            EXPECT_EQ(holder, c.storedBest ? "Someone from Somewhere" : "");
            EXPECT_EQ(best, c.storedBest ? c.storedBest : "");
        }
        EXPECT_EQ(platform::ReadProfileString(settings, "High", "Points1", "none", 100), "none") << "other maps alone";

        // The game is over: every company is empty; orders, pipeline, names and month stay.
        for (int c2 = 0; c2 < kCompanies; ++c2)
            EXPECT_TRUE(Empty(s, c2)) << c2;
        EXPECT_EQ(s.StandingOrder[5][0], (StandingOrderSlot{1, 2, 3, 4}));
        EXPECT_EQ(s.ConstructionPipeline[5][0][0], (std::array<int32_t, 3>{1, 2, 3}));
        EXPECT_EQ(s.CompanyName[8], "Company8");
        EXPECT_EQ(s.MonthCount, c.month);
    }
}
