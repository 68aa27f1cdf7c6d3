/// @file number_text.cpp Reading the number at the start of a typed text.
#include "game/number_text.h"

#include <charconv>
#include <limits>
#include <system_error>

#include "platform/ascii.h"

LeadingNumberParts ScanLeadingNumber(std::string_view text)
{
    LeadingNumberParts parts;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        parts.Negative = text[i] == '-';
        ++i;
    }
    const size_t start = i;
    while (i < text.size() && IsAsciiDigit(text[i]))
        ++i;
    parts.Whole = text.substr(start, i - start);
    if (i < text.size() && text[i] == '.') {
        const size_t first = ++i;
        while (i < text.size() && IsAsciiDigit(text[i]))
            ++i;
        parts.Fraction = text.substr(first, i - first);
    }
    parts.Found = !parts.Whole.empty() || !parts.Fraction.empty();
    if (!parts.Found)
        return parts;
    size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsAsciiDigit(text[j])) {
            while (j < text.size() && IsAsciiDigit(text[j]))
                ++j;
            parts.Exponent = text.substr(i + 1, j - i - 1);
            end = j;
        }
    }
    parts.Unsigned = text.substr(start, end - start);
    return parts;
}

long double LeadingNumber(std::string_view text)
{
    const LeadingNumberParts parts = ScanLeadingNumber(text);
    if (!parts.Found)
        return 0.0L;
    const std::string_view number = parts.Unsigned;
    long double value = 0.0L;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Overflow gives the largest value; underflow gives (nearly) zero, which from_chars
        // reports the same way: tell them apart by the exponent's sign.
        const bool tiny = !parts.Exponent.empty() && parts.Exponent.front() == '-';
        value = tiny ? 0.0L : std::numeric_limits<long double>::max();
    } else if (ec != std::errc()) {
        value = 0.0L;
    }
    return parts.Negative ? -value : value;
}
