// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ranking of the pairs: each pair's ratio of found answers to times asked
// goes into its Ratio cell, and the list is sorted by ratio, lowest first.
#include <cstdint>
#include <optional>

#include "StudyTable.h"
#include "TextLocale.h"

namespace tenaxo {

// Ratio = Juste / D, where D is Demandé doubled when Demandé is below 10,
// written with three decimals in the locale's form (rounded half away from
// zero on the double's exact value; thousands grouped); an empty Ratio when D
// is 0. Then the rows are sorted ascending by the ratio as written, the pairs
// without one counting as 0 (ColumnSort.h tells where equal ratios go).
void ComputeRatios(StudyTable& grid, const TextLocale& locale = TextLocale::Current());

// That ratio of a data row in thousandths, rounded as written; none when D is 0.
std::optional<int64_t> RatioThousandths(const StudyTable& grid, int row);

}  // namespace tenaxo
