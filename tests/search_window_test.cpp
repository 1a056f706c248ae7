// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+F over the list, and Ctrl+1 ... Ctrl+5.
#include <QLineEdit>

#include "GuiFixture.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::GuiTest;

// A key to the focus.
void Press(int key, Qt::KeyboardModifiers with = {}) {
  QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), with);
}

// Ctrl+F from the card shows the list and the field; each text typed goes to the first pair holding it from where the
// search started, F3 and Maj+F3 go round the others; Escape closes the field and gives the card its focus back.
TEST_F(GuiTest, CtrlFFindsPairsAsTheyAreTyped) {
  StartWith("L", "x\tX\t\t\t\r\nÉcole\tschool\t\t\t\r\nlycée\tHIGH SCHOOL\t\t\t\r\nαθηνα\tAthènes\t\t\t\r\n",
            {{"Gauche", "-1"}});
  TFTenaxo& w = *window;
  QApplication::setActiveWindow(&w);
  w.PnFiche->setFocus();
  Press(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(w.SgListe->isVisible(), true);
  ASSERT_EQ(QApplication::focusWidget(), w.EdRecherche);
  const std::tuple<const char*, std::function<void()>, int, int, const char*> steps[] = {
      // name, keys, the current cell (column, row) then, the label
      {"typed, accents aside", [] { QTest::keyClicks(QApplication::focusWidget(), "ecole"); }, 0, 2, "1 / 1"},
      {"nowhere", [] { Press(Qt::Key_Z); }, 0, 2, "Aucun résultat"},
      {"Droite, case aside", [&] { w.EdRecherche->setText("school"); }, 1, 2, "1 / 2"},
      {"F3: the next", [] { Press(Qt::Key_F3); }, 1, 3, "2 / 2"},
      {"F3: round the list", [] { Press(Qt::Key_F3); }, 1, 2, "1 / 2"},
      {"Maj+F3: the previous, round", [] { Press(Qt::Key_F3, Qt::ShiftModifier); }, 1, 3, "2 / 2"},
      {"Greek capitals", [&] { w.EdRecherche->setText("ΑΘΗΝΑ"); }, 0, 4, "1 / 1"},
      {"nothing typed", [&] { w.EdRecherche->clear(); }, 0, 4, ""},
  };
  for (const auto& [name, keys, col, row, label] : steps) {
    SCOPED_TRACE(name);
    keys();
    EXPECT_EQ(w.SgListe->Col(), col);
    EXPECT_EQ(w.SgListe->Row(), row);
    EXPECT_EQ(w.LbRecherche->text().toStdString(), label);
    EXPECT_EQ(w.SgListe->selectionModel()->isRowSelected(row - 1, {}), *label != 'A' && *label)
        << "the pair stands out";
  }
  Press(Qt::Key_Escape);
  EXPECT_EQ(w.PnRecherche->isVisible(), false);
  EXPECT_EQ(QApplication::focusWidget(), w.PnFiche);
}

// Ctrl+1 ... Ctrl+5 sort as a click on the header of Gauche, Droite, Demandé, Juste, Ratio: texts as texts, counts as
// numbers, in reverse the second time on the same column, Gauche counted as sorted at start.
TEST_F(GuiTest, CtrlDigitsSortAsTheHeaderDoes) {
  const std::tuple<const char*, std::vector<int>, std::vector<std::string>> cases[] = {
      {"Gauche", {1}, {"c", "b", "a", "A"}},
      {"Droite, as text", {2}, {"A", "c", "b", "a"}},
      {"Demandé, as numbers", {3}, {"A", "a", "b", "c"}},
      {"Demandé twice", {3, 3}, {"c", "b", "a", "A"}},
      {"Juste, then Ratio in reverse", {4, 5, 5}, {"c", "a", "A", "b"}},
  };
  for (const auto& [name, digits, order] : cases) {
    SCOPED_TRACE(name);
    window.reset();
    StartWith("L", "b\t2\t3\t\t\r\nA\t10\t\t\t\r\nc\t100\t12\t1\t\r\na\t9\tabc\t\t\r\n");
    QApplication::setActiveWindow(window.get());
    for (int digit : digits) Press(Qt::Key_0 + digit, Qt::ControlModifier);
    std::vector<std::string> gauche;
    for (int row = 1; row <= 4; ++row) gauche.push_back(Cell(0, row));
    EXPECT_EQ(gauche, order);
  }
}

}  // namespace
}  // namespace tenaxo
