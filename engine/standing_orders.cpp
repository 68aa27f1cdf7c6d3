/// @file standing_orders.cpp Standing order execution.
#include "engine/standing_orders.h"

void ExecuteStandingOrders(GameState&, Frontend&) {}
