// SPDX-License-Identifier: GPL-3.0-or-later
// One run driven by keys alone, checked in the list file it leaves.
#include <algorithm>
#include <sstream>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::GuiTest;

class KeysTest : public GuiTest {
 protected:
  // A key to the menu open, or else to the window's focus; the window is made active again once a menu has closed,
  // which the offscreen platform leaves undone.
  void Press(int key, Qt::KeyboardModifiers with = {}) {
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup) QApplication::setActiveWindow(window.get());
    QTest::keyClick(popup ? popup : QApplication::focusWidget(), static_cast<Qt::Key>(key), with);
  }
};

// "Mots" loaded from the Fichier menu, a new series, twenty answers, the last one undone, a search, a sort by Droite,
// Ctrl+S, Ctrl+Q: the file holds the nineteen answers kept, its pairs sorted by Droite.
TEST_F(KeysTest, ARunByKeysAlone) {
  PutList("Mots", test::Pairs(30));
  StartWith("Autre", "x\tX\t\t\t\r\n");
  Press(Qt::Key_L, Qt::AltModifier);
  QTest::keyClicks(QApplication::focusWidget(), "Mots");
  Press(Qt::Key_F, Qt::AltModifier);
  Press(Qt::Key_C);
  EXPECT_EQ(Cell(1, 30), "m30");
  Press(Qt::Key_Q, Qt::AltModifier);
  QTest::qWait(200);  // the button's click, shown pressed first
  Press(Qt::Key_L, Qt::AltModifier);
  Press(Qt::Key_Tab, Qt::ShiftModifier);
  ASSERT_EQ(QApplication::focusWidget(), window->PnFiche);
  const char answers[] = "ONOONONNOOOONONOOONO";
  for (char answer : answers) {
    if (!answer) break;
    Press(Qt::Key_Space);
    Press(answer == 'O' ? Qt::Key_O : Qt::Key_N);
  }
  Press(Qt::Key_Z, Qt::ControlModifier);
  Press(Qt::Key_F, Qt::ControlModifier);
  QTest::keyClicks(QApplication::focusWidget(), "M7");
  EXPECT_EQ(Cell(1, window->SgListe->Row()), "m7");
  Press(Qt::Key_Escape);
  Press(Qt::Key_2, Qt::ControlModifier);
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(SauverBold(), false);
  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(window->isVisible(), false);

  std::vector<std::string> droite;  // the file's pairs, Droite in order, and their counts summed
  int asked = 0, found = 0;
  std::istringstream file(ListBytes("Mots"));
  for (std::string line, cell; std::getline(file, line);) {
    std::istringstream cells(line);
    for (int col = 0; std::getline(cells, cell, '\t'); ++col) {
      if (col == 1) droite.push_back(cell);
      if (col == 2) asked += std::atoi(cell.c_str());
      if (col == 3) found += std::atoi(cell.c_str());
    }
  }
  std::vector<std::string> sorted = droite;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(droite.size(), 30u);
  EXPECT_EQ(droite, sorted);
  EXPECT_EQ(asked, 19);
  EXPECT_EQ(found, std::count(answers, answers + 19, 'O'));
}

}  // namespace
}  // namespace tenaxo
