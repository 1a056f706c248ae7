#pragma once
// Numbers read from texts: the counts in Demandé and Juste, the keys of the
// numeric column sort, the switches of the settings file.
#include <cstdint>
#include <string_view>

#include "TextLocale.h"

namespace tenaxo {

// Leading spaces, a sign, then decimal digits, or hexadecimal digits after
// "$", "x", "X" or "0x" (taken as 32 bits: "$FFFFFFFF" is -1); nothing after.
// Anything else, or a value outside 32 bits, gives 0.
int32_t CellToInt(std::string_view text);
// Leading spaces, a sign, digits with at most one locale decimal separator,
// an exponent, trailing spaces. Anything else, or an overflow, gives 0.
double CellToFloat(std::string_view text, const TextLocale& locale = TextLocale::Current());
// As CellToFloat, telling whether the text was a number at all.
bool ReadFloat(std::string_view text, std::string_view decimalSeparator, double& value);

}  // namespace tenaxo
