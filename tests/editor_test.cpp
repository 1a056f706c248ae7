#include <QHeaderView>
#include <QLineEdit>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::Pairs;

class EditorTest : public test::GuiTest {
 protected:
  // A list on screen with the grid focused, the editor on (Gauche, row 1).
  void Open(const std::string& bytes) {
    StartWith("L", bytes);
    FocusGrid();
    grid = window->SgListe;
  }
  // A click at a point of the grid, the header row on top.
  void ClickAt(QPoint at) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at - QPoint(0, grid->horizontalHeader()->height()));
  }

  ListGrid* grid = nullptr;
};

// The grid edits in place: typing marks the list and refreshes its count, the model stores the cells. The keys move the
// cell within the list (the line's own keys stay with the editor), Enter walks Gauche then Droite, a blank row goes
// once left, and the list grows at its end.
TEST_F(EditorTest, TheGridEditsInPlaceAndItsKeysMoveTheCell) {
  Open(Pairs(30));
  window->LbNbMots->clear();
  QTest::keyClicks(grid->Editor(), "x");
  EXPECT_EQ(Cell(0, 1) + window->LbNbMots->text().toStdString(), "w1x30 Lignes");
  EXPECT_TRUE(SauverBold());
  QAbstractItemModel* model = grid->model();
  const QModelIndex droite2 = model->index(1, 1);
  EXPECT_EQ(droite2.data().toString() + droite2.data(Qt::EditRole).toString(), "m2m2");
  EXPECT_FALSE(droite2.data(Qt::ToolTipRole).isValid() || model->headerData(1, Qt::Vertical).isValid());
  EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Droite");
  EXPECT_FALSE(model->headerData(1, Qt::Horizontal, Qt::ToolTipRole).isValid());
  EXPECT_TRUE(model->flags(droite2) & Qt::ItemIsEditable);
  EXPECT_EQ(model->flags(QModelIndex()), Qt::NoItemFlags);
  EXPECT_FALSE(model->setData(droite2, "x", Qt::DisplayRole));
  EXPECT_TRUE(model->setData(model->index(0, 0), "eins"));
  EXPECT_EQ(Cell(1, 2) + Cell(0, 1), "m2eins");
  EXPECT_EQ(grid->Editor()->text(), "eins") << "the editor follows its cell";
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const struct {
    const char* typed;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int col, row, rows;
  } steps[] = {
      {"", Qt::Key_Up, {}, 0, 1, 31},        {"", Qt::Key_Left, {}, 0, 1, 31},  // the cursor moves in the text
      {"", Qt::Key_Home, {}, 0, 1, 31},      {"", Qt::Key_Left, {}, 0, 1, 31},  // at its start: the first column
      {"", Qt::Key_Right, {}, 0, 1, 31},     {"", Qt::Key_End, {}, 0, 1, 31},
      {"", Qt::Key_Right, {}, 1, 1, 31},     {"", Qt::Key_End, ctrl, 4, 30, 31},
      {"", Qt::Key_PageDown, {}, 4, 30, 31}, {"", Qt::Key_Home, ctrl, 0, 1, 31},
      {"", Qt::Key_Return, {}, 1, 1, 31},    {"", Qt::Key_Insert, {}, 0, 1, 32},  // from Droite too, in Gauche
      {"x", Qt::Key_Down, {}, 0, 2, 32},     {"", Qt::Key_Up, {}, 0, 1, 32},
      {"\b", Qt::Key_Down, {}, 0, 2, 31},  // a row with Droite of a space is blank: it goes
      {"", Qt::Key_Return, {}, 1, 2, 31},    {"", Qt::Key_Return, {}, 0, 3, 31},
      {"", Qt::Key_End, ctrl, 4, 30, 31},    {"", Qt::Key_Down, {}, 0, 30, 32},
      {"", Qt::Key_Down, {}, 0, 31, 32},     {"", Qt::Key_Up, {}, 0, 30, 31},
      {"", Qt::Key_Return, {}, 1, 30, 31},   {"", Qt::Key_Return, {}, 0, 31, 32},
      {"", Qt::Key_Return, {}, 1, 30, 31},  // no pile of blank rows
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::to_string(&step - steps) + ": " + QKeySequence(step.key).toString().toStdString());
    EXPECT_TRUE(*step.typed != 'x' || Cell(0, 1) + "|" + Cell(1, 1) == "| ") << "the new row; moved ones carry spaces";
    QTest::keyClicks(grid->Editor(), step.typed);
    QTest::keyClick(grid->Editor(), step.key, step.modifiers);
    ASSERT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(step.col, step.row));
    EXPECT_EQ(window->State().table.RowCount(), step.rows);
    EXPECT_EQ(grid->Editor()->text().toStdString(), Cell(step.col, step.row));
    const QModelIndex current = model->index(step.row - 1, step.col);
    EXPECT_EQ(grid->currentIndex(), current);
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(current).center()));
  }
  EXPECT_EQ(Cell(0, 1) + Cell(0, 2), "einsw2");
}

TEST_F(EditorTest, HeaderClicksSortAndReverse) {
  Open("b\t2\t3\r\nA\t10\t\r\nc\t100\t12\r\na\t9\tabc\r\n");
  const auto sortBy = [&](int col) {
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, grid->CellCenter(col, 0));
    return Cell(0, 1) + Cell(0, 2) + Cell(0, 3) + Cell(0, 4);
  };
  EXPECT_EQ(sortBy(0), "cbaA") << "the first click on Gauche after start sorts descending";
  EXPECT_TRUE(SauverBold()) << "the press on the header left the editor's cell";
  EXPECT_EQ(sortBy(2), "aAbc") << "as numbers: empty and abc are 0";
  EXPECT_EQ(sortBy(2), "cbAa");
  // A click on a cell, then a release below the last row: nothing is sorted, and the pair of clicks on Demandé ends.
  ClickAt(grid->CellCenter(1, 3));
  EXPECT_EQ(grid->currentIndex(), grid->model()->index(2, 1));
  const QPoint below(10, grid->height() - 30);
  for (const QPoint& outside : {below, QPoint(grid->width() + 10, grid->CellCenter(1, 1).y())}) {
    int col = 0, row = 0;  // below the last row, right of the last column: no cell
    grid->MouseToCell(outside.x(), outside.y(), col, row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(-1, -1));
  }
  ClickAt(below);
  EXPECT_EQ(sortBy(2), "Aabc") << "ascending again";
  EXPECT_EQ(sortBy(1), "Acba") << "Droite as text";
}

}  // namespace
}  // namespace tenaxo
