/// @file text.cpp Formatting of the game's texts.
#include "game/text.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include <locale.h>

namespace {

// The game's numbers always have a '.' for the decimal point: a toolkit may set LC_NUMERIC from
// the user's environment, so the texts are formatted in the "C" locale of this thread.
class ClassicNumbers {
public:
    ClassicNumbers()
    {
        static const locale_t classic = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (classic)
            previous_ = ::uselocale(classic);
    }
    ~ClassicNumbers()
    {
        if (previous_)
            ::uselocale(previous_);
    }
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
    locale_t previous_ = static_cast<locale_t>(nullptr);
};

}  // namespace

std::string Format(const char* format, ...)
{
    const ClassicNumbers classic;
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
