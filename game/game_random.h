/// @file game_random.h The game's only source of chance: a 64-bit linear congruential generator.
#pragma once

#include <cstdint>

/// Every random decision of the game draws from here, in an order that is part of the rules:
/// the same seed and the same inputs give the same game.
class GameRandom {
public:
    /// The state becomes the 32-bit seed, zero-extended.
    void Seed(uint32_t seed) { state_ = seed; }

    /// Advances the state and returns bits 32..62 of it, 0..2147483647.
    int32_t Draw()
    {
        state_ = state_ * 0x0000015A00004E35ULL + 1;
        return static_cast<int32_t>((state_ >> 32) & 0x7FFFFFFFULL);
    }

    /// A draw reduced modulo n, 0..n-1. A range of n <= 0 still draws (the order of draws
    /// stays intact) and answers 0 instead of dividing by zero.
    int32_t Random(int32_t n)
    {
        const int32_t d = Draw();
        return n > 0 ? d % n : 0;
    }

    uint64_t State() const { return state_; }
    /// Puts the generator back where it was (a recorded game played again).
    void SetState(uint64_t state) { state_ = state; }

private:
    uint64_t state_ = 0;
};
