/// @file number_text.h Reading the number at the start of a typed text, the way the game's
/// fields are read.
#pragma once

#include <cstddef>
#include <string_view>

/// The parts of the decimal number at the start of a text, as typed: after leading blanks and
/// tabs, an optional sign, digits with an optional decimal point and fraction, and an optional
/// exponent. The decimal point is always "." whatever the locale.
struct LeadingNumberParts {
    bool Found = false;         ///< at least one digit before or after the point
    bool Negative = false;      ///< a '-' sign
    std::string_view Whole;     ///< digits before the point
    std::string_view Fraction;  ///< digits after the point
    std::string_view Exponent;  ///< the exponent's optional sign and digits; empty when there is none
    std::string_view Unsigned;  ///< the number without its sign, from the first digit or point on
};

/// Splits the number at the start of `text` into its parts; nothing found when it does not
/// start with one. An 'e' without digits after it is no exponent.
LeadingNumberParts ScanLeadingNumber(std::string_view text);

/// The decimal number at the start of `text` (after leading blanks): an optional sign, digits
/// with an optional decimal point and fraction, and an optional exponent. 0 when the text does
/// not start with a number. The decimal point is always "." whatever the locale. A number too
/// large for the type gives the largest finite value with its sign.
long double LeadingNumber(std::string_view text);
