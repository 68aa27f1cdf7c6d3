/// @file month_digest.h One number that says whether two copies of a game still agree: every
/// value of the game (exactly, money to its last bit, where the savegame keeps it rounded) and
/// the state of its generator. The record keeps it for every closed month; a replay, or a second
/// copy of the game elsewhere, compares it to find the month where the copies part.
#pragma once

#include <cstdint>

#include "game/game_state.h"

/// The digest of the game and its generator; never 0 (the record's "not known"). The same
/// game gives the same digest in every build of the game (all of them little-endian x86-64, which
/// the game's extended money needs anyway).
uint64_t MonthDigest(const GameState& s);
