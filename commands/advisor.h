/// @file advisor.h Hints for the player on turn: a few short lines, each naming a town and a
/// number, worked out from the game's own figures. The advisor only reads the game.
#pragma once

#include <string>
#include <vector>

#include "commands/command.h"
#include "game/game_state.h"

/// What a hint is about, in the order the advisor ranks them.
enum class HintKind {
    Debt,          ///< a town's account owes money (interest) while another holds enough to pay
    PriceTooHigh,  ///< a brand's price sells nothing of its stock, a lower one would
    OrderFailed,   ///< a standing order could not be carried out at the start of this turn
    IdleBrewery,   ///< a brewery's beer was offered at home last month and none of it sold
    Unsold,        ///< stock the month's market leaves unsold: poured away without a depot
    Thirst,        ///< a town near your breweries and depots wants much more than is offered
};

struct AdvisorHint {
    HintKind Kind;
    int Town;
    long double Weight;  ///< within a kind, the larger the more it matters (dollars or litres)
    std::string Text;
    /// The command that acts on it and the town to give it in: the window selects the town and
    /// opens the command's mode.
    CommandKind Command = CommandKind::SelectTown;
    int CommandTown = 0;
};

/// At most five hints for `company`, most important first.
std::vector<AdvisorHint> ComputeAdvice(const GameState& s, int company, Language language);
