// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableRows.h"

#include <algorithm>

#include "CellText.h"

namespace tenaxo {

void ClearGrid(StudyTable& grid) { grid.ReplaceDataRows(std::vector<RowBlock>(), kListColumns); }

void DeleteGridRow(StudyTable& grid, int32_t r) {
  if (!grid.IsDataRow(r)) return;
  if (grid.DataRowCount() > 1) {
    grid.ShiftUpFrom(r);
  } else {
    grid.SetRowTexts(r, {});
  }
}

void AddGridRow(StudyTable& grid, const CellTexts& texts) {
  const StudyTable::Row first = grid.RowTexts(StudyTable::FixedRows);
  const bool reuse = grid.DataRowCount() == 1 && std::all_of(first.begin(), first.end(), IsBlank);
  if (!reuse) grid.AppendRow();
  grid.SetRowTexts(grid.RowCount() - 1, texts);
}

void InsertGridRow(StudyTable& grid, int32_t r, const CellTexts& texts) {
  if (!grid.IsDataRow(r)) return;
  const int before = grid.RowCount();
  AddGridRow(grid, texts);
  if (grid.RowCount() != before) grid.ShiftDownTo(r);
}

}  // namespace tenaxo
