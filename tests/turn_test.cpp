#include <gtest/gtest.h>

#include "engine/end_of_game.h"
#include "engine/turn.h"
#include "game/game_state.h"
#include "recording_frontend.h"
#include "small_world.h"
#include "temp_dir.h"

namespace {

// Ten companies with names, no beer anywhere; total demand 10000 litres.
// The settings file a victory writes its highscore to.
const TempDir& ProgramDir()
{
    static const TempDir dir;
    return dir;
}

GameState Blank(bool twoPlayer)
{
    GameState s = TenNamedCompanies(1);
    s.Program.ProgramDirectory = ProgramDir().Str();
    s.CurrentCompany = s.SelectedTown = 2;
    s.PlayerCompany = {2, twoPlayer ? 6 : -1};
    s.PlayerTown = {2, twoPlayer ? 6 : -1};
    s.TwoPlayer = twoPlayer;
    s.WinningShare = 60.0;
    s.Program.ShowBestOpponent = true;
    s.Program.Rng.Seed(3);
    return s;
}

}  // namespace

TEST(NextTurn, TwoPlayersShareAMonth)
{
    GameState s = Blank(true);
    RecordingFrontend f;
    s.SelectedTown = 4;
    s.BrandOffered[2] = true;
    NextTurn(s, f);  // player 1 hands over
    EXPECT_EQ(s.MonthCount, 1);
    EXPECT_EQ(s.CurrentCompany, 6);
    EXPECT_EQ(s.SelectedTown, 6);
    EXPECT_EQ(s.PlayerTown[0], 4);
    EXPECT_TRUE(s.BrandOffered[2]) << "the month has not ended";
    EXPECT_EQ(f.StatusLines.back().English, "Company6 in Town6, January 1750");
    EXPECT_EQ(f.BestOpponentDialogs, 1) << "player 2's turn starts";
    EXPECT_EQ(s.Program.Rng.State(), Blank(true).Program.Rng.State()) << "no market, no draws";

    s.SelectedTown = 9;
    NextTurn(s, f);  // player 2 closes the month
    EXPECT_EQ(s.MonthCount, 2);
    EXPECT_EQ(s.CurrentCompany, 2);
    EXPECT_EQ(s.SelectedTown, 4);
    EXPECT_EQ(s.PlayerTown[1], 9);
    EXPECT_FALSE(s.BrandOffered[2]);
    EXPECT_EQ(f.StatusLines.back().English, "Company2 in Town4, February 1750");
    EXPECT_EQ(f.Captions.back(), (LocalText{"The TAVREK! War", "The TAVREK! War"}));
    EXPECT_EQ(f.BestOpponentDialogs, 2);
    EXPECT_EQ(f.Sounds, (std::vector<int>{1, 1}));
}

TEST(NextTurn, BankruptPlayersAreLiquidatedWhenTheyEndTheirTurn)
{
    {  // One player: liquidated, then the month goes on; the empty company is not hit again.
        GameState s = Blank(false);
        RecordingFrontend f;
        s.Account[2][5] = -0.01L;
        NextTurn(s, f);
        EXPECT_EQ(s.MonthCount, 2);
        EXPECT_EQ(f.EnglishTexts(), (std::vector<std::string>{"Company2's company has been liquidated!"}));
        EXPECT_EQ(f.Messages[0].Caption.German, "Bankrott!");
        NextTurn(s, f);
        EXPECT_EQ(s.MonthCount, 3);
        EXPECT_EQ(f.Messages.size(), 1u);
    }
    {  // Player 1 of two: player 2 plays on in the same month without a new start of turn.
        GameState s = Blank(true);
        RecordingFrontend f;
        s.Account[2][2] = -1.0L;
        s.StandingOrder[2][0] = {kOrderMoney, 1, 2, 50};
        NextTurn(s, f);
        EXPECT_FALSE(s.TwoPlayer);
        EXPECT_EQ(s.CurrentCompany, 6);
        EXPECT_EQ(s.SelectedTown, 6);
        EXPECT_EQ(s.PlayerCompany[0], 2) << "the liquidated player keeps the company";
        EXPECT_EQ(s.MonthCount, 1);
        EXPECT_EQ(s.StandingOrder[2][0].Kind, kOrderEmpty);
        EXPECT_EQ(f.BestOpponentDialogs, 0);
        EXPECT_EQ(f.StatusLines.back().English, "Company6 in Town6, January 1750");
        EXPECT_EQ(f.Captions.back(), (LocalText{"The TAVREK! War", "Tavrik! - Das Spiel"}));
        NextTurn(s, f);  // now a one-player game: every press closes a month
        EXPECT_EQ(s.MonthCount, 2);
        EXPECT_EQ(s.CurrentCompany, 6);
    }
    {  // Player 2 of two: player 1 moves next, and the month closes at once.
        GameState s = Blank(true);
        RecordingFrontend f;
        NextTurn(s, f);
        s.Account[6][0] = -1.0L;
        NextTurn(s, f);
        EXPECT_FALSE(s.TwoPlayer);
        EXPECT_EQ(s.CurrentCompany, 2);
        EXPECT_EQ(s.MonthCount, 2);
    }
}

TEST(NextTurn, VictoryAtExactlyTheWinningShare)
{
    {  // The human's share comes from the last market: 6000 of 10000 litres is 60 %.
        GameState s = Blank(false);
        RecordingFrontend f;
        s.Sales[2][0][3] = 6000;
        s.Quality[2][0] = 1.0f;
        s.Capacity[2][0][2] = 1000;
        EXPECT_EQ(MarketShare(s, 2), 60.0f);
        NextTurn(s, f);
        EXPECT_EQ(s.MonthCount, 1) << "a victory ends no month";
        EXPECT_EQ(f.Messages.front().Caption.English, "VICTORY!");
        EXPECT_EQ(s.Capacity[2][0][2], 0) << "every company is emptied";
        EXPECT_EQ(f.Redraws, 0);
    }
    {  // Just below: play goes on.
        GameState s = Blank(false);
        RecordingFrontend f;
        s.Sales[2][0][3] = 5999;
        NextTurn(s, f);
        EXPECT_EQ(s.MonthCount, 2);
        EXPECT_TRUE(f.Messages.empty());
    }
    {  // Two computer companies over the line: the lower number wins.
        GameState s = Blank(false);
        RecordingFrontend f;
        s.Sales[7][0][0] = 7000;
        s.Sales[4][1][0] = 6500;
        NextTurn(s, f);
        EXPECT_EQ(f.EnglishTexts(), (std::vector<std::string>{"You lose, Company4 won the game!"}));
        EXPECT_EQ(s.MonthCount, 1);
    }
    {  // A bankrupt computer company is liquidated before the market.
        GameState s = Blank(false);
        RecordingFrontend f;
        s.Account[5][0] = -3.0L;
        NextTurn(s, f);
        EXPECT_EQ(f.EnglishTexts(), (std::vector<std::string>{"Company5's company has been liquidated!"}));
        EXPECT_EQ(s.Account[5][0], 0.0L);
        EXPECT_EQ(s.MonthCount, 2);
    }
}

TEST(NextTurn, ConstructionAdvancesOnlyForTheMovingHumanWithDelayBuilding)
{
    for (bool delay : {false, true}) {
        GameState s = Blank(false);
        RecordingFrontend f;
        s.DelayBuilding = delay;
        s.ConstructionPipeline[2][0][2] = {0, 0, 500};  // ordered this month
        s.ConstructionPipeline[7][0][7] = {500, 0, 0};  // a computer company's pipeline never moves
        for (int month = 0; month < 3; ++month)
            NextTurn(s, f);
        EXPECT_EQ(s.ConstructionPipeline[7][0][7][0], 500);
        if (delay) {
            EXPECT_EQ(s.Capacity[2][0][2], 500) << "arrives at the start of the third turn";
            EXPECT_EQ(s.Stock[2][0][2], 500) << "and brews at once";
            EXPECT_EQ(s.ConstructionPipeline[2][0][2], (std::array<int32_t, 3>{0, 0, 0}));
        } else {
            EXPECT_EQ(s.Capacity[2][0][2], 0);
            EXPECT_EQ(s.ConstructionPipeline[2][0][2][2], 500);
        }
    }
}

TEST(NextTurn, MarketAndBooksCloseTheMonth)
{
    GameState s = Blank(false);
    RecordingFrontend f;
    s.Quality[2][0] = 1.0f;
    s.CostFactor[2][0] = 2.0f;
    s.Price[2][0][2] = 3.0f;
    s.Capacity[2][0][2] = 1000;
    s.Stock[2][0][2] = 1000;
    s.Account[2][2] = 20000.0L;
    NextTurn(s, f);
    EXPECT_EQ(s.Sales[2][0][2], 1000);
    EXPECT_EQ(s.Account[2][2], 20000.0L - 2000.0L + 3000.0L);
    EXPECT_EQ(s.MonthCount, 2);
}
