/// @file amount_field.cpp Reading the panel's edit fields.
#include "commands/amount_field.h"

#include <cmath>
#include <limits>

#include "game/number_text.h"
#include "platform/cp1252.h"

namespace {

constexpr int64_t kMaxPriceCents = 999999;  // 9999.99 dollars per litre

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::string FieldText(std::string_view text, int size)
{
    return Utf8Prefix(text, size > 1 ? static_cast<size_t>(size - 1) : 0);
}

long double ReadAmountField(std::string_view text, int size)
{
    return LeadingNumber(FieldText(text, size));
}

// The price is cut to cents on the decimal digits the player typed, not on their binary
// image: 0.29 * 100 is 28.999... in binary, and a floor of that would lose a cent. The
// number is read by the same rules as every other field (blanks, sign, digits, ".", exponent).
long double ReadPriceField(std::string_view text)
{
    const std::string field = FieldText(text, kPriceFieldSize);
    size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    std::string digits;  // the integer and the fraction digits in a row
    int64_t fractionDigits = 0;
    while (i < field.size() && IsDigit(field[i]))
        digits += field[i++];
    if (i < field.size() && field[i] == '.') {
        ++i;
        while (i < field.size() && IsDigit(field[i])) {
            digits += field[i++];
            ++fractionDigits;
        }
    }
    if (digits.empty() || negative)
        return 0.0L;
    int64_t exponent = 0;
    if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < field.size() && (field[j] == '+' || field[j] == '-')) {
            negativeExponent = field[j] == '-';
            ++j;
        }
        while (j < field.size() && IsDigit(field[j])) {
            if (exponent < 1000000)
                exponent = exponent * 10 + (field[j] - '0');
            ++j;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0.0L;
    digits.erase(0, first);

    // value = digits * 10^(exponent - fractionDigits); cents = whole part of value * 100.
    const int64_t shift = exponent - fractionDigits + 2;
    const int64_t kept = static_cast<int64_t>(digits.size()) + shift;
    if (kept <= 0)
        return 0.0L;
    if (kept > 6)
        return kMaxPriceCents * 0.01L;
    int64_t cents = 0;
    for (int64_t k = 0; k < kept; ++k)
        cents = cents * 10 + (k < static_cast<int64_t>(digits.size()) ? digits[static_cast<size_t>(k)] - '0' : 0);
    if (cents > kMaxPriceCents)
        cents = kMaxPriceCents;
    return cents * 0.01L;
}

int32_t ClampToInt32(long double value)
{
    if (std::isnan(value))
        return 0;
    const long double whole = std::trunc(value);
    if (whole <= std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (whole >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(whole);
}
