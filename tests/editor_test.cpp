#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::Pairs;

class EditorTest : public test::GuiTest {
 protected:
  // A list on screen with the grid focused, the editor on (Gauche, row 1).
  void Open(const std::string& bytes) {
    PutList("L", bytes);
    PutSetting("Liste", "L");
    Start();
    FocusGrid();
    grid = window->SgListe;
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(grid->Editor(), key, modifiers);
  }
  void Type(const QString& text) {
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(grid->Editor(), &press);
    }
  }
  // A press and release at a cell (row 0: the header) or at a point of the grid.
  void ClickAt(QPoint gridPoint) {
    const int header = grid->horizontalHeader()->height();
    if (gridPoint.y() < header) {
      QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, gridPoint);
    } else {
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, gridPoint - QPoint(0, header));
    }
  }
  void ClickCell(int col, int row) { ClickAt(grid->CellCenter(col, row)); }
  std::vector<std::string> Column(int col) const {
    std::vector<std::string> out;
    for (int r = 1; r < window->State().SgListe.RowCount(); ++r) out.push_back(Cell(col, r));
    return out;
  }
  std::pair<int, int> Current() const { return {grid->Col(), grid->Row()}; }

  ListGrid* grid = nullptr;
};

using Cells = std::vector<std::string>;
using Pos = std::pair<int, int>;

TEST_F(EditorTest, TypingMarksTheListAndRefreshesTheCount) {
  Open(Pairs(3));
  EXPECT_FALSE(SauverBold());
  window->LbNbMots->clear();
  Type("x");
  EXPECT_EQ(Cell(0, 1), "w1x");
  EXPECT_EQ(window->LbNbMots->text(), "3 Lignes");
  EXPECT_TRUE(SauverBold());
  Type(QString::fromUtf8("☃é€"));  // any character
  EXPECT_EQ(Cell(0, 1), "w1x☃é€");
}

// Any script goes into the grid and the list name, is saved (as UTF-8 with
// the mark, the code page lacking them) and comes back at the next start.
TEST_F(EditorTest, PolishGreekAndJapaneseAreSavedAndComeBack) {
  Open(Pairs(2));
  Type(QString::fromUtf8("żółw"));
  Key(Qt::Key_Return);
  Type(QString::fromUtf8("χελώνα"));
  ClickCell(0, 2);
  Type(QString::fromUtf8("亀"));
  window->CbListes->setEditText(QString::fromUtf8("Słówka 日本"));
  Click(window->BtSauver);
  EXPECT_EQ(ListBytes("Słówka 日本"), "\xEF\xBB\xBFw1żółw\tm1χελώνα\t\t\t\r\nw2亀\tm2\t\t\t\r\n");
  EXPECT_EQ(ListBytes("L"), Pairs(2));
  ASSERT_TRUE(CloseWindow());
  EXPECT_EQ(Setting("Liste"), "Słówka 日本");
  Start();
  EXPECT_EQ(window->CbListes->currentText(), QString::fromUtf8("Słówka 日本"));
  EXPECT_EQ(Cell(0, 1) + Cell(1, 1) + Cell(0, 2), "w1żółwm1χελώναw2亀");
}

TEST_F(EditorTest, LeavingARowWithBlankGaucheAndDroiteRemovesIt) {
  Open("w1\tm1\r\nx\t \t\t5\r\nw3\tm3\r\nw4\tm4\r\n");
  ClickCell(0, 2);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Cell(0, 2), "");
  Key(Qt::Key_Down);
  EXPECT_EQ(Column(0), (Cells{"w1", "w3", "w4"})) << "the row went, whatever its counts";
  EXPECT_EQ(Current(), Pos(0, 3)) << "the cursor keeps its row number";
  EXPECT_EQ(grid->Editor()->text(), "w4");
  // Mouse: the row left by a click on another cell goes too.
  Key(Qt::Key_Up);
  for (int col : {0, 1}) {
    ClickCell(col, 2);
    grid->Editor()->clear();
    QTest::keyClick(grid->Editor(), Qt::Key_Space);  // a text of spaces is blank
  }
  EXPECT_EQ(Column(0), (Cells{"w1", " ", "w4"})) << "a row with one text left stays";
  ClickCell(1, 1);
  EXPECT_EQ(Column(0), (Cells{"w1", "w4"}));
}

TEST_F(EditorTest, EnterWalksTheRowsAndGrowsTheListAtItsEnd) {
  Open(Pairs(2));
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), Pos(1, 1));
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), Pos(0, 2));
  Key(Qt::Key_Return);
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), Pos(0, 3));
  EXPECT_EQ(window->State().SgListe.RowCount(), 4);
  Type("new");
  Key(Qt::Key_Return);
  Type("neu");
  Key(Qt::Key_Return);
  EXPECT_EQ(Column(1), (Cells{"m1", "m2", "neu", ""}));
  EXPECT_EQ(Current(), Pos(0, 4));
  // Walking on without typing drops the blank row again: no pile of them.
  Key(Qt::Key_Return);
  EXPECT_EQ(window->State().SgListe.RowCount(), 4);
  EXPECT_EQ(Current(), Pos(1, 3));
}

TEST_F(EditorTest, InsertOpensABlankRowAtTheCursorInAnyColumn) {
  Open(Pairs(10));
  ClickCell(0, 3);
  Key(Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(window->State().SgListe.RowCount(), 12);
  EXPECT_EQ(Current(), Pos(0, 3));
  EXPECT_EQ(Cell(0, 3), "");
  EXPECT_EQ(Cell(1, 3), " ");
  EXPECT_EQ(Cell(0, 4), "w3");
  EXPECT_EQ(Cell(2, 4), " ") << "moved rows carry a space in their empty cells";
  EXPECT_EQ(Cell(0, 11), "w10");
  Type("a");
  EXPECT_EQ(Cell(0, 3), "a");

  ClickCell(1, 6);  // Droite of w5
  Key(Qt::Key_Insert);
  EXPECT_EQ(Current(), Pos(0, 6));
  EXPECT_EQ(Cell(0, 7), "w5");
  EXPECT_EQ(window->State().SgListe.RowCount(), 13) << "the new row is kept for the user to type in";
  EXPECT_EQ(grid->Editor()->text(), "");
}

TEST_F(EditorTest, DownOnTheLastRowAddsARowBelowAndStays) {
  Open(Pairs(2));
  ClickCell(0, 2);
  Key(Qt::Key_Down);
  EXPECT_EQ(window->State().SgListe.RowCount(), 4);
  EXPECT_EQ(Current(), Pos(0, 2));
  Key(Qt::Key_Down);
  EXPECT_EQ(Current(), Pos(0, 3));
  Key(Qt::Key_Up);
  EXPECT_EQ(window->State().SgListe.RowCount(), 3) << "left without text, the new row goes";
}

TEST_F(EditorTest, HeaderClicksSortAndReverse) {
  Open("b\t\t3\r\nA\t\t\r\nc\t\t12\r\na\t\tabc\r\n");
  ClickCell(0, 0);  // the first click on Gauche after start sorts descending
  EXPECT_EQ(Column(0), (Cells{"c", "b", "a", "A"}));
  ClickCell(2, 0);
  EXPECT_EQ(Column(0), (Cells{"a", "A", "b", "c"})) << "as numbers: empty and abc are 0";
  ClickCell(2, 0);
  EXPECT_EQ(Column(0), (Cells{"c", "b", "A", "a"}));
  ClickCell(2, 0);
  EXPECT_EQ(Column(0), (Cells{"A", "a", "b", "c"}));
  // A release below the last row sorts nothing and ends the pair of clicks.
  ClickCell(1, 1);
  ClickAt(QPoint(10, grid->height() - 30));
  ClickCell(2, 0);
  EXPECT_EQ(Column(0), (Cells{"A", "a", "b", "c"})) << "ascending again";
  EXPECT_TRUE(SauverBold()) << "the press on the header left the editor's cell";
}

TEST_F(EditorTest, SortingEqualKeysKeepsTheListsOrderOfOld) {
  Open("p\t\t1\r\nq\t\t1\r\nr\t\t2\r\n");
  ClickCell(2, 0);
  EXPECT_EQ(Column(0), (Cells{"p", "q", "r"}));
  ClickCell(2, 0);
  EXPECT_EQ(Column(0), (Cells{"r", "q", "p"}));
  ClickCell(3, 0);
  ClickCell(2, 0);
  ClickCell(2, 0);
  EXPECT_EQ(Column(0), (Cells{"r", "p", "q"})) << "equal keys reversed again";
}

}  // namespace
}  // namespace tenaxo
