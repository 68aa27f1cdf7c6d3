/// @file month_record.h The month end's entry in the game's record: every company's market,
/// books, money, value and share of the month just closed.
#pragma once

#include "game/game_state.h"

/// Adds the closed month to `s.History`; called right after the books are closed, before the
/// month count advances. `accountsBeforeMarket` are the accounts as the market found them, so
/// that the month's interest can be told apart from its sales and production. Changes nothing
/// of the game. `wagesAtMarket` are the wage levels the market measured qualities with (the books
/// let them drift), which tell why a brand sold nothing.
void RecordMonth(GameState& s, const PerCompanyTown<long double>& accountsBeforeMarket,
                 const PerTown<float>& wagesAtMarket);

/// A game opened from its savegame with a record that saw its open month from the start: the
/// savegame keeps money only to its own grain, so what opening it added to or took from each
/// company's money (beyond half a cent) is an other change of the open month, and its books add
/// up. A record whose newest month is not the month before the game's is no longer whole.
void NoteMoneyOfOpenedGame(GameState& s);
