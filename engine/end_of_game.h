/// @file end_of_game.h Bankruptcy, victory and scoring.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

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

/// A human winner's score above the map's best: the highscore table's new entry. The month only
/// says it; the session writes the table once the month is over.
struct NewHighscore {
    int Map = 0;         ///< 0..2
    std::string Holder;  ///< "NAME from TOWN", in the language of the moment
    int32_t Points = 0;

    bool operator==(const NewHighscore&) const = default;
};

/// What a victory scored.
struct Victory {
    int32_t Points = 0;  ///< the points of a winner on turn, 0 for any other
    std::optional<NewHighscore> Highscore;
};

/// Announces the winner and scores a human winner (a new highscore over `bestScore`, the map's
/// best so far), then empties every company.
Victory DeclareWinner(GameState& s, Frontend& frontend, int company, int32_t bestScore);

/// Empties all ten companies; names, options, standing orders and the pipeline stay.
void ClearAllCompanies(GameState& s);
