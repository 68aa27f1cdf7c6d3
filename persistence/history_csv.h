/// @file history_csv.h The record of a game as CSV, one row per closed month and company, for
/// plotting games outside the window.
#pragma once

#include <string>

#include "game/game_state.h"

/// Header row and one row per month and company: month count, year, month 1..12, company
/// number 1..10, its name, the money figures, the share and the litres offered, sold and
/// wanted, and last the month's own spending and its other changes of money before the market
/// (empty for a month not seen whole). Names are quoted as CSV quotes; numbers use ".".
std::string HistoryCsv(const GameHistory& history, const PerCompany<std::string>& companyNames);
