/// @file ascii.h Digit tests and case folding on plain ASCII, the same on every machine: the C
/// library's versions depend on the locale and would treat Windows-1252 letters differently
/// from one machine to the next.
#pragma once

#include <string_view>

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

/// 'A'..'Z' to 'a'..'z'; every other byte stays.
inline char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

/// Two texts equal without regard to ASCII case.
inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}
