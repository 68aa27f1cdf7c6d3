/// @file computer_company.h The moves of a computer-run company at the end of a month.
#pragma once

#include "game/game_state.h"

/// One computer company's month: brands, depots, breweries, surplus shipping, prices, debts.
void RunComputerCompany(GameState& s, int company);
