#pragma once
// Numbers read from texts and written as texts: the counts in Demandé and
// Juste, the ratios, the keys of the numeric column sort, the switches of the
// settings file. None of them throws or reports an error: unreadable numbers
// are 0.
#include <cstdint>
#include <string>
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
// As ReadFloat, also taking the locale's thousands separators between the
// digits (for a space-like separator: U+202F, U+00A0 and a plain space alike).
bool ReadGroupedFloat(std::string_view text, const TextLocale& locale, double& value);

// The value with the given decimals and thousands grouping, in the locale's
// form. Rounded once, half away from zero, to at most 15 significant digits.
std::string FormatNumber(double value, int decimals, const TextLocale& locale = TextLocale::Current());

}  // namespace tenaxo
