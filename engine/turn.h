/// @file turn.h "Next Turn": the end of a human turn, the two-player hand-over and the month end.
#pragma once

#include "game/frontend.h"
#include "game/game_state.h"

/// Ends the moving player's turn; hands the month to player 2 or closes it.
void NextTurn(GameState& s, Frontend& frontend);

/// Moves the company's construction pipeline one stage; stage 0 becomes capacity and stock.
void AdvanceConstruction(GameState& s, int company);

/// The start of a human turn: pipeline, random event, standing orders, best opponent, redraw.
void StartHumanTurn(GameState& s, Frontend& frontend);
