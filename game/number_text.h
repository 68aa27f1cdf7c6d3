/// @file number_text.h Reading the number at the start of a typed text, the way the game's
/// fields are read.
#pragma once

#include <string_view>

/// The decimal number at the start of `text` (after leading blanks): an optional sign, digits
/// with an optional decimal point and fraction, and an optional exponent. 0 when the text does
/// not start with a number. The decimal point is always "." whatever the locale. A number too
/// large for the type gives the largest finite value with its sign.
long double LeadingNumber(std::string_view text);
