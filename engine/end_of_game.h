/// @file end_of_game.h Bankruptcy, victory and scoring.
#pragma once

#include <cstdint>

#include "game/frontend.h"
#include "game/game_state.h"

/// Depots, money and breweries of a company: below 0 it is bankrupt.
long double CompanyValue(const GameState& s, int company);

/// Litres the ten towns want in a month.
double TotalDemand(const GameState& s);
/// Litres the company sold at the last market, all brands in all towns.
int64_t TotalSales(const GameState& s, int company);

/// The company's sales at the last market as a percentage of the total demand.
float MarketShare(const GameState& s, int company);

/// Announces the bankruptcy and empties the company; in a two-player game the other player
/// carries on alone.
void Liquidate(GameState& s, Frontend& frontend, int company);

/// Announces the winner, scores a human winner and records a highscore, then empties every
/// company. Returns the points of a winner on turn, 0 for any other.
int32_t DeclareWinner(GameState& s, Frontend& frontend, int company);

/// Empties all ten companies; names, options, standing orders and the pipeline stay.
void ClearAllCompanies(GameState& s);
