/// @file turn.h "Next Turn": the end of a human turn, the two-player hand-over and the month end.
#pragma once

#include <optional>

#include "engine/end_of_game.h"
#include "game/frontend.h"
#include "game/game_state.h"

/// What a Next Turn did to the end of the game; the rules go on either way.
struct TurnOutcome {
    bool PlayerLiquidated = false;          ///< the human who ended the turn was liquidated
    int Winner = -1;                        ///< the company that reached the winning share, -1 for none
    int32_t Points = 0;                     ///< the points of a winner who ended the turn
    std::optional<NewHighscore> Highscore;  ///< that winner's entry in the highscore table
};

/// Ends the moving player's turn; hands the month to player 2 or closes it. `bestScore` is the
/// map's best score so far, which a human winner must beat for a highscore.
TurnOutcome NextTurn(GameState& s, Frontend& frontend, int32_t bestScore = 0);

/// Moves the company's construction pipeline one stage; stage 0 becomes capacity and stock.
void AdvanceConstruction(GameState& s, int company);

/// The start of a human turn: pipeline, random event, standing orders, best opponent, redraw.
void StartHumanTurn(GameState& s, Frontend& frontend);
