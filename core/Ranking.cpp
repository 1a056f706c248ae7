#include "Ranking.h"

#include <vector>

#include "Numbers.h"
#include "SortGrid.h"

namespace tenaxo {

void ComputeRatios(StudyTable& grid, const TextLocale& locale) {
  const int n = grid.DataRowCount();
  std::vector<double> keys(static_cast<size_t>(n), 0.0);
  for (int i = 0; i < n; ++i) {
    const int row = i + StudyTable::FixedRows;
    int64_t asked = CellToInt(grid.Cell(ColDemande, row));
    if (asked < 10) asked *= 2;
    if (asked == 0) {
      grid.SetCell(ColRatio, row, std::string());
      continue;
    }
    const double ratio = static_cast<double>(CellToInt(grid.Cell(ColJuste, row))) / static_cast<double>(asked);
    std::string text = FormatNumber(ratio, 3, locale);
    // The sort reads each ratio as its text says. A ratio of 1000 or more
    // carries a thousands separator that the number reader refuses; such a
    // pair still ranks by its value, at the end where it belongs, instead of
    // among the pairs never asked.
    double key = 0;
    ReadGroupedFloat(text, locale, key);
    keys[static_cast<size_t>(i)] = key;
    grid.SetCell(ColRatio, row, std::move(text));
  }
  SortGridByNumbers(grid, keys, false);
}

}  // namespace tenaxo
