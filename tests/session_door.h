/// @file session_door.h The tests' own door into a session's game: a test sets up the world it
/// needs (a month, an account, a name) by writing the state directly. The program never does;
/// it changes the game through the session's actions alone.
#pragma once

#include "commands/game_session.h"

struct SessionTestDoor {
    static GameState& State(GameSession& session) { return session.state_; }
};

/// The session's game, to set up for a test.
inline GameState& WritableState(GameSession& session) { return SessionTestDoor::State(session); }
