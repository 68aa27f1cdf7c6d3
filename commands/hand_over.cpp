/// @file hand_over.cpp The hand-over screen's words.
#include "commands/hand_over.h"

LocalText HandOverText(const GameState& s, int company)
{
    const int player = company == s.PlayerCompany[1] ? 2 : 1;
    const char* name = company >= 0 && company < kCompanies ? s.CompanyName[company].c_str() : "";
    return {
        Format("Player %d: %s \u2014 click or press a key to start your turn", player, name),
        Format("Spieler %d: %s \u2014 zum Beginnen Ihres Zuges klicken oder eine Taste dr\u00fccken", player, name)};
}
