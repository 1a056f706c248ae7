// SPDX-License-Identifier: GPL-3.0-or-later
#include "Ranking.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "CellText.h"
#include "ColumnSort.h"
#include "Numbers.h"

namespace tenaxo {

namespace {
// The ratio in thousandths, rounded half away from zero on the double's exact
// value: 1/16 gives 63, and 749/2000, whose double lies just below 0.3745,
// gives 374. The product of a double by 1000 is exact in a long double with
// a mantissa of 63 bits or more.
static_assert(std::numeric_limits<long double>::digits >= 63);
// For counts below 2^31, the double lies closer to the exact quotient than
// any thousandth's half does unless the quotient is one: those are rounded
// in whole numbers.
int64_t Thousandths(int64_t found, int64_t asked) {
  if (found >= 0 && found < INT32_MAX && asked > 0 && asked < INT32_MAX) {
    const int64_t scaled = found * 1000, twice = scaled % asked * 2;
    if (twice != asked) return scaled / asked + (twice > asked ? 1 : 0);
  }
  return std::llround(static_cast<long double>(static_cast<double>(found) / static_cast<double>(asked)) * 1000);
}

// "1 234,568", "-0,063", "0,000" in French, into text.
void ThousandthsText(int64_t thousandths, const TextLocale& locale, std::string& text) {
  const uint64_t magnitude = thousandths < 0 ? 0 - static_cast<uint64_t>(thousandths) : thousandths;
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, magnitude / 1000).ptr;
  const auto count = static_cast<size_t>(end - digits);
  text.assign(thousandths < 0 ? "-" : "");
  for (size_t k = 0; k < count; ++k) {
    if (k > 0 && (count - k) % 3 == 0) text += locale.ThousandsSeparator();
    text += digits[k];
  }
  text += locale.DecimalSeparator();
  const auto decimals = static_cast<unsigned>(magnitude % 1000);
  text += static_cast<char>('0' + decimals / 100);
  text += static_cast<char>('0' + decimals / 10 % 10);
  text += static_cast<char>('0' + decimals % 10);
}
}  // namespace

std::optional<int64_t> RatioThousandths(const StudyTable& grid, int row) {
  int64_t asked = CellToInt(grid.Cell(ColDemande, row));
  if (asked < 10) asked *= 2;
  if (asked == 0) return std::nullopt;
  return Thousandths(CellToInt(grid.Cell(ColJuste, row)), asked);
}

void ComputeRatios(StudyTable& grid, const TextLocale& locale) {
  std::vector<double> keys;  // the ratios in thousandths; 0 without one
  keys.reserve(static_cast<size_t>(grid.DataRowCount()));
  std::string text;
  const int rows = grid.RowCount();
  for (int row = StudyTable::FixedRows; row < rows; ++row) {
    grid.Cells(std::min(row + 8, rows - 1)).Prefetch();  // rows lie anywhere once sorted
    const std::optional<int64_t> ratio = RatioThousandths(grid, row);
    // A pair without a ratio keeps a blank cell as it is: the single space a
    // moved row leaves there goes only with a ratio.
    if (ratio) {
      ThousandthsText(*ratio, locale, text);
      grid.SetCell(ColRatio, row, text);
    } else if (!IsBlank(grid.Cell(ColRatio, row))) {
      grid.SetCell(ColRatio, row, std::string());
    }
    keys.push_back(static_cast<double>(ratio.value_or(0)));
  }
  SortGridByNumbers(grid, keys);
}

}  // namespace tenaxo
