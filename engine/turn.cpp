/// @file turn.cpp The turn sequence.
#include "engine/turn.h"

#include <utility>

#include "engine/computer_company.h"
#include "engine/end_of_game.h"
#include "engine/market.h"
#include "engine/month_record.h"
#include "engine/random_events.h"
#include "engine/standing_orders.h"
#include "game/status_line.h"

void AdvanceConstruction(GameState& s, int c)
{
    for (int t = 0; t < kTowns; ++t)
        for (int b = 0; b < kBrands; ++b) {
            auto& stages = s.ConstructionPipeline[c][b][t];
            s.Capacity[c][b][t] = AddLitres(s.Capacity[c][b][t], stages[0]);
            s.Stock[c][b][t] = AddLitres(s.Stock[c][b][t], stages[0]);
            stages[0] = stages[1];
            stages[1] = stages[2];
            stages[2] = 0;
        }
}

void StartHumanTurn(GameState& s, Frontend& frontend)
{
    // Neither player sees the other's news or orders.
    if (s.TwoPlayer)
        frontend.HandOverTo(s.CurrentCompany);
    if (s.DelayBuilding)
        AdvanceConstruction(s, s.CurrentCompany);
    if (s.EventsOn)
        RunRandomEvent(s, frontend);
    ExecuteStandingOrders(s, frontend);
    if (s.Program.ShowBestOpponent)
        frontend.ShowBestOpponentDialog();
    frontend.Redraw();
}

namespace {

TurnOutcome RunNextTurn(GameState& s, Frontend& frontend, int32_t bestScore)
{
    TurnOutcome outcome;
    frontend.PlaySoundEffect(1);

    // The player who ends the turn: bankruptcy first, then victory.
    if (CompanyValue(s, s.CurrentCompany) < 0) {
        const bool firstOfTwo = s.TwoPlayer && s.CurrentCompany == s.PlayerCompany[0];
        Liquidate(s, frontend, s.CurrentCompany);
        outcome.PlayerLiquidated = true;
        if (firstOfTwo) {
            // Player 2 plays on in this month, without a new start of turn.
            WriteStatusLine(s, frontend);
            frontend.SetCaption(GameTitle());
            frontend.Redraw();
            return outcome;
        }
    }
    if (MarketShare(s, s.CurrentCompany) >= s.WinningShare) {
        outcome.Winner = s.CurrentCompany;
        Victory victory = DeclareWinner(s, frontend, s.CurrentCompany, bestScore);
        outcome.Points = victory.Points;
        outcome.Highscore = std::move(victory.Highscore);
        return outcome;
    }

    if (s.TwoPlayer) {
        if (s.CurrentCompany == s.PlayerCompany[0]) {
            s.PlayerTown[0] = s.SelectedTown;
            s.CurrentCompany = s.PlayerCompany[1];
            s.SelectedTown = s.PlayerTown[1];
            WriteStatusLine(s, frontend);
            frontend.SetCaption(GameTitle());
            StartHumanTurn(s, frontend);
            return outcome;
        }
        s.PlayerTown[1] = s.SelectedTown;
        s.CurrentCompany = s.PlayerCompany[0];
        s.SelectedTown = s.PlayerTown[0];
    }

    for (int c = 0; c < kCompanies; ++c)
        if (!IsHumanCompany(s, c))
            RunComputerCompany(s, c);
    for (int c = 0; c < kCompanies; ++c) {
        if (IsHumanCompany(s, c))
            continue;
        if (CompanyValue(s, c) < 0)
            Liquidate(s, frontend, c);
        if (MarketShare(s, c) >= s.WinningShare) {
            outcome.Winner = c;
            DeclareWinner(s, frontend, c, bestScore);
            return outcome;
        }
    }

    const PerCompanyTown<long double> accountsBeforeMarket = s.Account;
    const PerTown<float> wagesAtMarket = s.Wages;
    RunMarket(s);
    SettleMonth(s);
    RecordMonth(s, accountsBeforeMarket, wagesAtMarket);
    AdvanceMonth(s);
    s.BrandOffered.fill(false);
    WriteStatusLine(s, frontend);
    frontend.SetCaption(EnglishGameTitle());
    StartHumanTurn(s, frontend);
    return outcome;
}

}  // namespace

TurnOutcome NextTurn(GameState& s, Frontend& frontend, int32_t bestScore)
{
    // Every message box of the turn goes into the record with the month and the player on turn.
    HistoryTap tap(s.History, frontend, s.MonthCount, s.CurrentCompany);
    return RunNextTurn(s, tap, bestScore);
}
