/// @file amount_field.h Reading the panel's edit fields: the typed text, cut to the field's
/// size, and the number at its start.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// Field sizes as the panel reads them: only the first size - 1 characters count.
inline constexpr int kCountFieldSize = 5;    ///< Edit1, the number of 100-litre steps
inline constexpr int kPriceFieldSize = 5;    ///< Edit2 ... Edit4, the prices
inline constexpr int kAmountFieldSize = 10;  ///< Edit5 for a transport or a transfer
inline constexpr int kOrderFieldSize = 50;   ///< Edit5 for a new standing order

/// The first size - 1 characters (not bytes) of a field's text.
std::string FieldText(std::string_view text, int size);

/// The number at the start of the field's first size - 1 characters; 0 when there is none.
long double ReadAmountField(std::string_view text, int size);

/// A price field: the typed price cut down to whole cents exactly as the player wrote it
/// ("0.29" is 0.29, ".125" is 0.12), negative prices 0, and at most 9999.99.
long double ReadPriceField(std::string_view text);
