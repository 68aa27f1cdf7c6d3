/// @file end_of_game.h Bankruptcy, victory and scoring.
#pragma once

#include "game/frontend.h"
#include "game/game_state.h"

/// Depots, money and breweries of a company: below 0 it is bankrupt.
long double CompanyValue(const GameState& s, int company);

/// The company's sales at the last market as a percentage of the total demand.
float MarketShare(const GameState& s, int company);

/// Announces the bankruptcy and empties the company; in a two-player game the other player
/// carries on alone.
void Liquidate(GameState& s, Frontend& frontend, int company);

/// Announces the winner, scores a human winner and records a highscore, then empties every
/// company.
void DeclareWinner(GameState& s, Frontend& frontend, int company);

/// Empties all ten companies; names, options, standing orders and the pipeline stay.
void ClearAllCompanies(GameState& s);
