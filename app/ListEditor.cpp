// SPDX-License-Identifier: GPL-3.0-or-later
// The list editor: the handlers of the grid's events.
#include <QCheckBox>

#include "CellText.h"
#include "ListGrid.h"
#include "ListHistory.h"
#include "TFTenaxo.h"
#include "TableRows.h"

namespace tenaxo {

void TFTenaxo::SgListeSetEditText(int /*col*/, int row, const std::string& /*text*/) {
  session_.lineCount = session_.table.DataRowCount();
  history_->Sync();
  session_.editedRow = row;
  Mirror();
}

void TFTenaxo::SgListeClick() {
  StudyTable& grid = session_.table;
  if (session_.editedRow > 0) {
    // A row whose Gauche and Droite are both blank goes once the editor leaves it.
    if (IsBlank(grid.Cell(ColGauche, session_.editedRow)) && IsBlank(grid.Cell(ColDroite, session_.editedRow))) {
      history_->Name(QStringLiteral("la suppression de la ligne vide"));
      DeleteGridRow(grid, session_.editedRow);
    }
    session_.editedRow = 0;
  }
  // The editor comes to a blank cell emptied; no one sees the change, which
  // is no step of the history.
  if (IsBlank(grid.Cell(SgListe->Col(), SgListe->Row()))) {
    TableRecorder* recorder = grid.Recorder();
    grid.SetRecorder(nullptr);
    grid.SetCell(SgListe->Col(), SgListe->Row(), std::string());
    grid.SetRecorder(recorder);
  }
}

// Keys that add rows are steps of the history; the others, typing, go on
// as they were.
void TFTenaxo::SgListeKeyDown(int& key, Qt::KeyboardModifiers /*shift*/) {
  StudyTable& grid = session_.table;
  const QString adding = QStringLiteral("l'ajout d'une ligne");
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    key = 0;
    Run([&] {
      if (SgListe->Col() == ColGauche) return SgListe->SetCol(ColDroite);
      SgListe->SetCol(ColGauche);
      // Below the last row a new one, unless that row is blank: the move then stays on it.
      const int row = SgListe->Row();
      if (row == grid.RowCount() - 1 && !(IsBlank(grid.Cell(ColGauche, row)) && IsBlank(grid.Cell(ColDroite, row)))) {
        history_->Name(adding);
        AddGridRow(grid, {});
      }
      SgListe->SetRow(row + 1);
    });
  }
  if (key == Qt::Key_Insert) {
    key = 0;
    InsertRow();
  }
  if (key == Qt::Key_Down && SgListe->Row() == grid.RowCount() - 1) {
    key = 0;
    Run(
        [&] {
          AddGridRow(grid, {});
          SgListe->SetCol(ColGauche);
        },
        adding);
  }
  Mirror();
}

void TFTenaxo::SgListeMouseUp(Qt::MouseButton /*button*/, int x, int y) {
  int col = -1;
  int row = -1;
  SgListe->MouseToCell(x, y, col, row);
  if (row < StudyTable::FixedRows) SortColumn(col);
}

}  // namespace tenaxo
