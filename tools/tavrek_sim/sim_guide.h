/// @file sim_guide.h The guided first game in tavrek-sim: each step printed as it is reached,
/// and the month report printed (and so read) when the guide asks for it.
#pragma once

#include "commands/guided_game.h"
#include "game/game_state.h"

class SimGuide {
public:
    /// The guide of the game as it starts; prints the first step.
    void Begin(const GameState& s);
    /// After each action: prints every step the game has reached since.
    void Check(const GameState& s);
    /// At the start of a human turn: the month report when the guide asks for it.
    void StartTurn(const GameState& s);
    GuidedStep Step() const { return progress_.Step; }

private:
    GuidedProgress progress_;
    bool running_ = false;
    int printed_ = -1;  ///< the last step printed
};
