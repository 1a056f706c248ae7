// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Adding, inserting, deleting and clearing the data rows of the study list,
// as the list editor and the list commands do. Rows outside the data rows
// change nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "StudyTable.h"

namespace tenaxo {

using CellTexts = std::vector<std::string>;

// Leaves the header row and one empty data row, in the columns every list
// has (kListColumns): a wider list's further columns go.
void ClearGrid(StudyTable& grid);
// Removes data row r: the rows below move up (their empty cells become a
// single space). The only data row is emptied instead.
void DeleteGridRow(StudyTable& grid, int32_t r);
// Opens a row at data row r holding texts (then a single space in every
// empty cell of the rows that moved); a lone blank data row is reused.
void InsertGridRow(StudyTable& grid, int32_t r, const CellTexts& texts);
// Appends a row holding texts; a lone blank data row is reused instead.
void AddGridRow(StudyTable& grid, const CellTexts& texts);

}  // namespace tenaxo
