// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid that shows and edits the study list.
//
// It raises four events, with the timing the list editor's handlers rely on:
// - OnSetEditText (column, row, text): after every change typed into the cell
//   editor, and every time the editor leaves its cell: whenever the current
//   cell changes (keys, mouse, program) and at every mouse press in the grid
//   (data cells, header or empty area), before the press does anything else.
//   Texts the program puts into cells raise nothing.
// - OnClick: after every change of the current cell by keys or program, and
//   after a left press on a data cell; never for the header.
// - OnKeyDown (key, modifiers): Qt's code of the key (Qt::Key, Enter on the
//   keypad as itself), before the grid or its editor acts on it; setting the
//   key to 0 stops it.
// - OnMouseUp (button, x, y): on the release of any button, with the pointer
//   in grid coordinates (the header row on top); MouseToCell turns it into a
//   cell.
// When the program or a key moves the current cell the order is: the current
// cell moves and the editor with it, OnSetEditText for the cell left, OnClick.
//
// Once the grid has had the keyboard focus, one line editor always stands on
// the current cell. Rows and columns are the table's: row 0 is the header.
#include <QTableView>
#include <functional>

#include "ListModel.h"
#include "Utf8.h"

class QLineEdit;

namespace tenaxo {

class ListGrid : public QTableView {
  Q_OBJECT
 public:
  ListGrid(ListModel* model, QWidget* parent);
  ListModel* Model() const { return model_; }
  StudyTable& Table() const { return model_->Table(); }

  std::function<void(int col, int row, const std::string& text)> OnSetEditText;
  std::function<void()> OnClick;
  std::function<void(int& key, Qt::KeyboardModifiers modifiers)> OnKeyDown;
  std::function<void(Qt::MouseButton button, int x, int y)> OnMouseUp;

  int Col() const { return Table().CurrentCol(); }
  int Row() const { return Table().CurrentRow(); }
  // Moving the current cell to another one raises the events of a move.
  void SetCol(int col) { MoveCurrent(col, Row()); }
  void SetRow(int row) { MoveCurrent(Col(), row); }
  void MoveCurrent(int col, int row);

  // The cell under a point in grid coordinates, or (-1, -1).
  void MouseToCell(int x, int y, int& col, int& row) const;
  // Where a cell is, in grid coordinates (for tests and tools).
  QPoint CellCenter(int col, int row) const;

  bool EditorShown() const { return editorShown_; }
  QLineEdit* Editor() const { return editor_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Demandé, Juste and Ratio as wide as their title and values need in the
  // grid's fonts; Gauche and Droite share the rest of the width, in their
  // designed proportion; later columns 64 px.
  void FitColumns();
  void PlaceEditor();
  void SyncCurrentIndex();
  void RaiseEditText();
  void Press(QMouseEvent* event, int x, int y);
  void Release(QMouseEvent* event, int x, int y);
  bool HandleKey(QKeyEvent* event);
  void EditorTextEdited(const QString& text);
  int HeaderHeight() const;

  ListModel* model_;
  QLineEdit* editor_;
  bool editorShown_ = false;
};

}  // namespace tenaxo
