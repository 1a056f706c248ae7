#pragma once
// Free routines over the study list and its texts. None of them throws or
// reports an error: unreadable numbers are 0, rows outside the data rows
// change nothing.
#include <QVariant>
#include <cstdint>
#include <string_view>
#include <vector>

#include "StudyTable.h"
#include "TextLocale.h"

namespace tenaxo {

using CellTexts = std::vector<std::string>;

// Leaves the header row and one empty data row; columns stay.
void ClearGrid(StudyTable& grid);
// Removes data row r: the rows below move up (their empty cells become a
// single space). The only data row is emptied instead.
void DeleteGridRow(StudyTable& grid, int32_t r);
// Opens a row at data row r holding texts (then a single space in every
// empty cell of the rows that moved); a lone blank data row is reused.
void InsertGridRow(StudyTable& grid, int32_t r, const CellTexts& texts);
// Appends a row holding texts; a lone blank data row is reused instead.
void AddGridRow(StudyTable& grid, const CellTexts& texts);

// True when every character is a space, CR or LF (the empty text included).
bool IsBlank(std::string_view text);

// The platform's integer reader: leading spaces, a sign, decimal digits (or
// hexadecimal after "$", "x", "X" or "0x"), nothing after. Anything else, or
// a value outside 32 bits, gives 0.
int32_t CellToInt(std::string_view text);
// Leading spaces, a sign, digits with at most one locale decimal separator,
// an exponent, trailing spaces. Anything else, or an overflow, gives 0.
double CellToFloat(std::string_view text, const TextLocale& locale = TextLocale::Current());
// As CellToFloat, telling whether the text was a number at all.
bool ReadFloat(std::string_view text, std::string_view decimalSeparator, double& value);
// As ReadFloat, also taking the locale's thousands separators between the
// digits (for a space-like separator: U+202F, U+00A0 and a plain space alike).
bool ReadGroupedFloat(std::string_view text, const TextLocale& locale, double& value);

// Counted in characters, not bytes.
std::string LeftPart(std::string_view text, int n);
std::string RightPart(std::string_view text, int n);
// Cuts the text before the first separator off source into token.
void CutToken(std::string& source, std::string_view separator, std::string& token);

// The value (null, a number or a text holding one; anything else counts as 0)
// with the given decimals and thousands grouping, in the locale's form.
// Rounded once, half away from zero, to at most 15 significant digits.
std::string FormatNumber(const QVariant& value, int decimals, const TextLocale& locale = TextLocale::Current());
std::string FormatNumber(double value, int decimals, const TextLocale& locale = TextLocale::Current());

// Integer cells are plain decimal digits.
std::string IntToStr(int64_t value);

}  // namespace tenaxo
