#pragma once
// Sorting the data rows of the study list by one column.
//
// The order is the one of the plain exchange sort the program has always
// used (for i < j: exchange rows i and j when cell i > cell j ascending, when
// cell i <= cell j descending), rows with equal keys included, because the
// quiz draws from the first rows. It is computed in O(n log n).
#include <cstdint>
#include <vector>

#include "StudyTable.h"
#include "TextLocale.h"

namespace tenaxo {

enum SortFlag : int {
  sfNumeric = 1,     // compare as numbers read with CellToFloat
  sfDescending = 4,  // reverse the exchange test
};

void SortGrid(StudyTable& grid, int32_t column, int flags, const TextLocale& locale = TextLocale::Current());

// Sorts the data rows by the given numbers (keys[k] belongs to data row k + 1).
void SortGridByNumbers(StudyTable& grid, const std::vector<double>& keys, bool descending);

// The exchange sort's result as an order of positions: given each row's key
// as a dense rank (equal keys, equal ranks), returns where each row of the
// result came from.
std::vector<int> ExchangeSortOrder(const std::vector<int>& ranks, bool descending);

}  // namespace tenaxo
