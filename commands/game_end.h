/// @file game_end.h The clear end of a game in the window: when a Next Turn has ended the game
/// for the players at the machine, and what the panel says then. The rules' state is left as
/// the month left it; only no further turn is offered.
#pragma once

#include <cstdint>
#include <optional>

#include "commands/panel_content.h"
#include "engine/turn.h"
#include "game/game_state.h"

/// How the game ended for the players at the machine.
struct GameEnd {
    int Winner = -1;        ///< the company that reached the winning share, -1 when none did
    bool HumanWon = false;  ///< the winner is the player who ended the turn
    int32_t Points = 0;     ///< that player's points
    int LastPlayer = -1;    ///< the company of the only human player, when it was liquidated
    bool operator==(const GameEnd&) const = default;
};

/// Whether the Next Turn that ended with `outcome` ended the game: a company won, or the only
/// human player was liquidated. `twoPlayersBefore` is whether two humans were playing when the
/// turn was ended; `movingCompany` the company that ended it.
std::optional<GameEnd> GameEndAfterTurn(const TurnOutcome& outcome, bool twoPlayersBefore, int movingCompany);

/// The panel of the ended game: who won with how many points, or whose company went bankrupt,
/// and the two ways on, New and Open.
PanelContent GameOverContent(const GameState& s, const GameEnd& end);
