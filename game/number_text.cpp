/// @file number_text.cpp Reading the number at the start of a typed text.
#include "game/number_text.h"

#include <cctype>
#include <charconv>
#include <limits>
#include <system_error>

namespace {
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
}  // namespace

long double LeadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t start = i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0L;
    size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            end = j;
        }
    }
    long double value = 0.0L;
    const auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + end, value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Overflow gives the largest value; underflow gives (nearly) zero, which from_chars
        // reports the same way: tell them apart by the exponent's sign.
        const std::string_view matched = text.substr(start, end - start);
        const size_t e = matched.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < matched.size() && matched[e + 1] == '-';
        value = tiny ? 0.0L : std::numeric_limits<long double>::max();
    } else if (ec != std::errc()) {
        value = 0.0L;
    }
    return negative ? -value : value;
}
