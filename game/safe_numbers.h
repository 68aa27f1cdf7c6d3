/// @file safe_numbers.h The one home of the rules' cut-and-clamp arithmetic: whole numbers cut
/// toward zero and held within their type, singles held within a finite range, litres added
/// without wrapping. Long games drift far from the start values; these keep every step defined.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

/// The largest single the rules keep. Far beyond any price, quality or cost factor a game
/// reaches, and far enough below the type's own limit that six significant digits in a
/// savegame never round a kept value up to infinity.
inline constexpr float kSingleLimit = 1e30f;

/// A whole number cut toward zero; beyond the 64-bit range it is held at the bounds, and a value
/// that is not a number at all counts as 0.
inline int64_t CutToInt64(long double x)
{
    if (std::isnan(x))
        return 0;
    constexpr long double kTwo63 = 9223372036854775808.0L;
    if (x >= kTwo63)
        return std::numeric_limits<int64_t>::max();
    if (x <= -kTwo63)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(std::trunc(x));
}

/// A whole number cut toward zero and held within the 32-bit range; not a number counts as 0.
inline int32_t CutToInt32(long double x)
{
    const int64_t whole = CutToInt64(x);
    if (whole > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (whole < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(whole);
}

/// A value as a single: rounded as the plain conversion does, but held within +-kSingleLimit
/// (infinities included) instead of overflowing; not a number counts as 0.
inline float ToSingle(long double x)
{
    if (std::isnan(x))
        return 0.0f;
    if (x >= kSingleLimit)
        return kSingleLimit;
    if (x <= -kSingleLimit)
        return -kSingleLimit;
    return static_cast<float>(x);
}

/// Litres plus a change, held within the 32-bit range instead of wrapping around: stocks and
/// capacities can grow for hundreds of months.
inline int32_t AddLitres(int32_t litres, int64_t change)
{
    const int64_t sum = static_cast<int64_t>(litres) + change;
    if (sum > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(sum);
}
