// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sorting the data rows of the study list by one column, or by keys given.
//
// Rows end in the order of this exchange sort: for each data row i in turn,
// and each row j below it in turn, rows i and j are exchanged when the key of
// row i is greater than that of row j (ascending), or not greater
// (descending). Rows with equal keys move too, and the quiz draws from the
// first rows, so the order within equal keys is part of the result. It is
// computed in O(n log n).
#include <cstdint>
#include <vector>

#include "StudyTable.h"
#include "TextLocale.h"

namespace tenaxo {

enum SortFlag : int {
  sfNumeric = 1,     // keys are the cells read with CellToFloat; else their texts, ignoring case
  sfDescending = 4,  // the exchange test reversed
};

// A column outside the table sorts nothing.
void SortGrid(StudyTable& grid, int32_t column, int flags, const TextLocale& locale = TextLocale::Current());

// Sorts the data rows ascending by the given keys, one per data row (keys[k]
// belongs to data row k + 1).
void SortGridByNumbers(StudyTable& grid, const std::vector<double>& keys);

}  // namespace tenaxo
