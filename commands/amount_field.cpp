/// @file amount_field.cpp Reading the panel's edit fields.
#include "commands/amount_field.h"

#include <cmath>
#include <limits>

#include "game/number_text.h"
#include "platform/cp1252.h"

namespace {

constexpr int64_t kMaxPriceCents = 999999;  // 9999.99 dollars per litre

}  // namespace

std::string FieldText(std::string_view text, int size)
{
    return Utf8Prefix(text, size > 1 ? static_cast<size_t>(size - 1) : 0);
}

long double ReadAmountField(std::string_view text, int size) { return LeadingNumber(FieldText(text, size)); }

// The price is cut to cents on the decimal digits the player typed, not on their binary
// image: 0.29 * 100 is 28.999... in binary, and a floor of that would lose a cent. The
// number is read by the same rules as every other field (blanks, sign, digits, ".", exponent).
long double ReadPriceField(std::string_view text)
{
    const std::string field = FieldText(text, kPriceFieldSize);
    const LeadingNumberParts parts = ScanLeadingNumber(field);
    if (!parts.Found || parts.Negative)
        return 0.0L;
    std::string digits;  // the integer and the fraction digits in a row
    digits.append(parts.Whole);
    digits.append(parts.Fraction);
    const int64_t fractionDigits = static_cast<int64_t>(parts.Fraction.size());
    int64_t exponent = 0;
    bool negativeExponent = false;
    for (const char c : parts.Exponent) {
        if (c == '-' || c == '+') {
            negativeExponent = c == '-';
            continue;
        }
        if (exponent < 1000000)
            exponent = exponent * 10 + (c - '0');
    }
    if (negativeExponent)
        exponent = -exponent;
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
