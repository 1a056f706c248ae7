// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QHeaderView>

#include "GuiFixture.h"

namespace tenaxo {
namespace {

class EditorTest : public test::GuiTest {
 protected:
  // A list on screen in a new window, the grid focused, the editor on (Gauche, row 1).
  void Open(const std::string& bytes) { Start("L", bytes), FocusGrid(), grid = window->SgListe; }
  void ClickAt(QPoint at) {
    const int header = grid->horizontalHeader()->height();
    if (at.y() < header) return QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at - QPoint(0, header));
  }
  // The current cell, in the model, on screen and under the editor.
  void ExpectCurrent(int col, int row) {
    EXPECT_EQ(std::pair(grid->Col(), grid->Row()), std::pair(col, row));
    const QModelIndex index = grid->model()->index(row - 1, col);
    EXPECT_EQ(grid->currentIndex(), index);
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(index).center()));
    EXPECT_EQ(grid->Editor()->geometry().center(), grid->visualRect(index).center());
    EXPECT_EQ(grid->Editor()->text().toStdString(), Cell(col, row));
  }

  ListGrid* grid = nullptr;
};

// Keys in the editor, the cursor at the end of a cell of 30 pairs; a page is the rows shown less one; blank rows go.
TEST_F(EditorTest, KeysMoveTheCellAndGrowTheList) {
  // name, the cell (column, row), the keys, the cell then, the rows then, its text
  const std::tuple<const char*, QPoint, const char*, QPoint, int, const char*> cases[] = {
      {"Down", {0, 1}, "Down", {0, 2}, 31, "w2"},
      {"Left in the text", {1, 3}, "Left, X", {1, 3}, 31, "mx3"},
      {"Left at its start", {1, 3}, "Home, Left, X", {0, 3}, 31, "w3x"},
      {"Left, text selected", {1, 3}, "Shift+Home, Left, X", {1, 3}, 31, "xm3"},
      {"Right at its end", {0, 3}, "Right, X", {1, 3}, 31, "m3x"},
      {"Right, text selected", {0, 3}, "Ctrl+A, Right, X", {0, 3}, 31, "w3x"},
      {"End", {0, 3}, "Left, End, X", {0, 3}, 31, "w3x"},
      {"Ctrl+End", {0, 3}, "Ctrl+End", {4, 30}, 31, ""},
      {"Home", {1, 5}, "Home, X", {1, 5}, 31, "xm5"},
      {"Ctrl+Home", {3, 20}, "Ctrl+Home", {0, 1}, 31, "w1"},
      {"Page Down", {0, 1}, "PgDown", {0, 10}, 31, "w10"},
      {"Page Up", {1, 20}, "PgUp", {1, 11}, 31, "m11"},
      {"Return in Gauche", {0, 3}, "Return", {1, 3}, 31, "m3"},
      {"Return in Droite", {1, 3}, "Return", {0, 4}, 31, "w4"},
      {"Keypad Enter", {1, 3}, "Num+Enter", {0, 4}, 31, "w4"},
      {"Return, last row", {1, 30}, "Return", {0, 31}, 32, ""},
      {"Down, last row", {1, 30}, "Down", {0, 30}, 32, "w30"},
      {"Insert", {1, 1}, "Ins", {0, 1}, 32, ""},
      {"Insert, Down", {0, 5}, "Ins, Down", {0, 6}, 31, "w6"},
      {"Insert, x, Down", {0, 5}, "Ins, X, Down", {0, 6}, 32, "w5"},
      {"Punctuation typed", {0, 1}, "-, (, '", {0, 1}, 31, "w1-('"}};
  for (const auto& [name, from, keys, to, rows, text] : cases) {
    SCOPED_TRACE(name);
    Open(test::Pairs(30));
    grid->MoveCurrent(from.x(), from.y());
    QTest::keySequence(grid->Editor(), QKeySequence::fromString(keys));
    ExpectCurrent(to.x(), to.y());
    EXPECT_EQ(window->State().table.RowCount(), rows);
    EXPECT_EQ(Cell(to.x(), to.y()), text);
  }
}

// A press makes a cell current; a header sorts (Gauche in reverse first); off the cells ends the pair.
TEST_F(EditorTest, ClicksPickCellsAndSort) {
  // name, the cells clicked (row -1: below the rows, column -1: right of them), the current cell, the Gauche texts
  const std::tuple<const char*, std::vector<QPoint>, QPoint, const char*> cases[] = {
      {"a data cell", {{1, 3}}, {1, 3}, "bAca"},
      {"right of the columns", {{-1, 3}}, {0, 1}, "bAca"},
      {"Gauche", {{0, 0}}, {0, 1}, "cbaA"},
      {"Droite, as text", {{1, 0}}, {0, 1}, "Acba"},
      {"Demandé, as numbers: empty and abc are 0", {{2, 0}}, {0, 1}, "Aabc"},
      {"Demandé twice", {{2, 0}, {2, 0}}, {0, 1}, "cbaA"},
      {"Demandé, below the rows, Demandé", {{2, 0}, {0, -1}, {2, 0}}, {0, 1}, "Aabc"}};
  for (const auto& [name, clicks, to, order] : cases) {
    SCOPED_TRACE(name);
    Open("b\t2\t3\r\nA\t10\t\r\nc\t100\t12\r\na\t9\tabc\r\n");
    Focus(window->CbListes);
    for (const QPoint& cell : clicks)
      ClickAt(cell.y() < 0   ? QPoint(10, grid->height() - 30)
              : cell.x() < 0 ? QPoint(grid->viewport()->width() - 2, grid->CellCenter(0, cell.y()).y())
                             : grid->CellCenter(cell.x(), cell.y()));
    ExpectCurrent(to.x(), to.y());
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(Cell(0, r), std::string(1, order[r - 1]));
    EXPECT_EQ(SauverBold(), std::string(order) != "bAca") << "bold once the list changed";
    EXPECT_TRUE(grid->Editor()->hasFocus());
  }
}

// Typing stores, marks and counts; a huge cell shown cut, edited whole; screen readers, wider lists, Tab out.
TEST_F(EditorTest, TheModelFollowsTheList) {
  Open(test::Pairs(3) + std::string(40000, 'y') + "\r\n");
  window->LbNbMots->clear();
  QTest::keyClicks(grid->Editor(), "x");
  EXPECT_EQ(Cell(0, 1), "w1x");
  EXPECT_EQ(window->LbNbMots->text(), "4 Lignes");
  EXPECT_TRUE(SauverBold());
  const QModelIndex huge = grid->model()->index(3, 0);
  EXPECT_EQ(huge.data().toString(), QString(4096, 'y'));
  EXPECT_EQ(huge.data(Qt::EditRole).toString(), QString(40000, 'y'));
  grid->MoveCurrent(0, 4);
  for (Qt::Key key : {Qt::Key_End, Qt::Key_Backspace, Qt::Key_Z}) QTest::keyClick(grid->Editor(), key);
  EXPECT_EQ(Cell(0, 4), std::string(39999, 'y') + "z");
  QAccessible::queryAccessibleInterface(grid)->tableInterface()->cellAt(1, 0)->setText(QAccessible::Value, "deux");
  EXPECT_EQ(Cell(0, 2), "deux");
  PutList("Large", "a\tb\t\t\t\tf\tg\r\n");
  window->CbListes->setEditText("Large");
  Click(window->Button5);
  EXPECT_EQ(grid->model()->columnCount(), 7);
  EXPECT_EQ(grid->columnWidth(5), 64);
  EXPECT_FALSE(grid->model()->headerData(1, Qt::Vertical).isValid()) << "rows have no names of their own";
  Click(window->BtVider);
  EXPECT_EQ(grid->model()->rowCount(), 1);
  ExpectCurrent(0, 1);
  QTest::keyClick(grid->Editor(), Qt::Key_Tab);
  EXPECT_FALSE(grid->Editor()->hasFocus()) << "Tab leaves the grid";
}

}  // namespace
}  // namespace tenaxo
