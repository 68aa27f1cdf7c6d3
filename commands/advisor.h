/// @file advisor.h Hints for the player on turn: a few short lines, each naming a town and a
/// number, worked out from the game's own figures. The advisor only reads the game.
#pragma once

#include <string>
#include <vector>

#include "game/game_state.h"

/// What a hint is about, in the order the advisor ranks them.
enum class HintKind {
    Debt,          ///< a town's account owes money (interest) while another holds enough to pay
    PriceTooHigh,  ///< a brand's price sells nothing of its stock, a lower one would
    Unsold,        ///< stock the month's market leaves unsold: poured away without a depot
    Thirst,        ///< a town near your breweries and depots wants much more than is offered
};

struct AdvisorHint {
    HintKind Kind;
    int Town;
    long double Weight;  ///< within a kind, the larger the more it matters (dollars or litres)
    std::string Text;
};

/// At most five hints for `company`, most important first.
std::vector<AdvisorHint> ComputeAdvice(const GameState& s, int company, Language language);
