/// @file hand_over.h The hot-seat hand-over of a two-player game: the words on the screen that
/// covers map and panel until the next player takes the turn.
#pragma once

#include "game/game_state.h"
#include "game/text.h"

/// "Player 2: Bob — click or press a key to start your turn" for the company's player.
LocalText HandOverText(const GameState& s, int company);
