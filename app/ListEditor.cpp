// SPDX-License-Identifier: GPL-3.0-or-later
// The list editor: the handlers of the grid's events.
#include <QCheckBox>

#include "CellText.h"
#include "ColumnSort.h"
#include "ListGrid.h"
#include "TFTenaxo.h"
#include "TableRows.h"

namespace tenaxo {

void TFTenaxo::SgListeSetEditText(int /*col*/, int row, const std::string& /*text*/) {
  session_.lineCount = session_.table.DataRowCount();
  session_.unsaved = true;
  session_.editedRow = row;
  Mirror();
}

void TFTenaxo::SgListeClick() {
  StudyTable& grid = session_.table;
  if (session_.editedRow > 0) {
    // A row whose Gauche and Droite are both blank goes once the editor leaves it.
    if (IsBlank(grid.Cell(ColGauche, session_.editedRow) + grid.Cell(ColDroite, session_.editedRow))) {
      DeleteGridRow(grid, session_.editedRow);
    }
    session_.editedRow = 0;
  }
  if (IsBlank(grid.Cell(SgListe->Col(), SgListe->Row()))) grid.SetCell(SgListe->Col(), SgListe->Row(), std::string());
}

void TFTenaxo::SgListeKeyDown(int& key, Qt::KeyboardModifiers /*shift*/) {
  StudyTable& grid = session_.table;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    key = 0;
    if (SgListe->Col() == ColGauche) {
      SgListe->SetCol(ColDroite);
    } else {
      SgListe->SetCol(ColGauche);
      // Below the last row a new one, unless that row is blank: the move then stays on it.
      const int row = SgListe->Row();
      if (row == grid.RowCount() - 1 && !IsBlank(grid.Cell(ColGauche, row) + grid.Cell(ColDroite, row))) {
        AddGridRow(grid, {});
      }
      SgListe->SetRow(row + 1);
    }
  }
  if (key == Qt::Key_Insert && SgListe->Row() >= StudyTable::FixedRows) {
    // Go to Gauche first, so the new row is not left (and dropped as blank)
    // right after it opens: the user always gets the empty line to type in.
    SgListe->SetCol(ColGauche);
    InsertGridRow(grid, SgListe->Row(), {});
    if (IsBlank(grid.Cell(ColGauche, SgListe->Row()))) grid.SetCell(ColGauche, SgListe->Row(), std::string());
    key = 0;
  }
  if (key == Qt::Key_Down && SgListe->Row() == grid.RowCount() - 1) {
    AddGridRow(grid, {});
    SgListe->SetCol(ColGauche);
    key = 0;
  }
  Mirror();
}

void TFTenaxo::SgListeMouseUp(Qt::MouseButton /*button*/, int x, int y) {
  int col = -1;
  int row = -1;
  SgListe->MouseToCell(x, y, col, row);
  if (row < StudyTable::FixedRows) {
    int flags = 0;
    if (col == session_.sortColumn) flags = sfDescending;
    if (col > ColDroite) flags |= sfNumeric;
    SortGrid(session_.table, col, flags);
    session_.sortColumn = col == session_.sortColumn ? -1 : col;
  }
}

}  // namespace tenaxo
