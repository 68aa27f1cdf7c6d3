/// @file standing_orders.h The moving company's standing orders, run at the start of its turn.
#pragma once

#include <optional>

#include "game/frontend.h"
#include "game/game_state.h"

/// Runs every standing order of the current company; a failing order is reported and skipped.
void ExecuteStandingOrders(GameState& s, Frontend& frontend);

/// An order that could not be carried out, as its message box told it.
struct FailedOrder {
    int Slot = 0;             ///< 0..9, the list's number less one
    bool LackOfBeer = false;  ///< not enough beer, otherwise not enough money
};
/// The failed order a message box of the standing orders tells of; nothing for any other box.
std::optional<FailedOrder> FailedOrderOf(const LocalText& text, const LocalText& caption);
