/// @file text.cpp Formatting of the game's texts.
#include "game/text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        result.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(again);
    return result;
}
