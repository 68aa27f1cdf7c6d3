/// @file random_events.h At most one random event at the start of a human turn.
#pragma once

#include "game/frontend.h"
#include "game/game_state.h"

/// Draws whether and which event strikes the moving company, and applies it.
void RunRandomEvent(GameState& s, Frontend& frontend);
