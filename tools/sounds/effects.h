/// @file The game's eleven sound effects, each a recipe for the synthesizer.
#pragma once

#include <cstdint>
#include <vector>

namespace synth {

/// Sound `number` (1 to 11) mastered as 16-bit samples; empty for any other number.
std::vector<std::int16_t> MakeEffect(int number);

}  // namespace synth
