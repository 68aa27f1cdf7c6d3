/// @file standing_orders.h The moving company's standing orders, run at the start of its turn.
#pragma once

#include "game/frontend.h"
#include "game/game_state.h"

/// Runs every standing order of the current company; a failing order is reported and skipped.
void ExecuteStandingOrders(GameState& s, Frontend& frontend);
