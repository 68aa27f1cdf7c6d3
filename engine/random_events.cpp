/// @file random_events.cpp Random events.
#include "engine/random_events.h"

void RunRandomEvent(GameState&, Frontend&) {}
