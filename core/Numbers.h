// SPDX-License-Identifier: GPL-3.0-or-later
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

// True when the text is a number, then in value: spaces, a sign, digits with
// at most one decimal separator, an exponent ("e" or "E", a sign, digits),
// spaces. A value too large or too small for a double is no number.
// decimalSeparator is not empty.
bool ReadFloat(std::string_view text, std::string_view decimalSeparator, double& value);
// The number ReadFloat reads with the locale's separator, 0 when none.
double CellToFloat(std::string_view text, const TextLocale& locale = TextLocale::Current());

}  // namespace tenaxo
