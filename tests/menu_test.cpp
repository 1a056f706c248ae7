// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar, the search field and a run by keys alone.
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <algorithm>
#include <functional>
#include <map>

#include "GuiFixture.h"
#include "ListFormat.h"
#include "Numbers.h"

namespace tenaxo {
namespace {
using test::GuiTest;

// The bar stands above the card, which keeps its place: the window is that much taller. Each item reads in French with
// its key, bound once, and runs its button's handler: the value it changes (Annuler, Rechercher: tests of their own).
TEST_F(GuiTest, TheMenusStandAboveTheCardAndDoWhatTheButtonsDo) {
  PutList("Autre", "x\tX\t\t\t\r\n");
  Start("Anglais", test::Pairs(3));
  TFTenaxo& w = *window;
  const int bar = w.MainMenu->height();
  EXPECT_EQ(w.MainMenu->geometry(), QRect(0, 0, 642, std::max(bar, 1)));
  EXPECT_EQ(w.PnFiche->mapTo(&w, QPoint(0, 0)), QPoint(0, bar));
  EXPECT_EQ(w.height(), bar + 148);
  std::map<QString, int> bound;  // every key of the window, and the times it is bound
  for (QAction* action : w.findChildren<QAction*>()) ++bound[action->shortcut().toString()];
  for (QShortcut* shortcut : w.findChildren<QShortcut*>()) ++bound[shortcut->key().toString()];
  bound.erase(QString());
  for (const auto& [key, times] : bound) EXPECT_EQ(times, 1) << key.toStdString();
  EXPECT_EQ(bound.size(), 16u) << "the items' 8, Ctrl+1 ... Ctrl+5, and F3, Maj+F3, Escape for the search";

  const auto shown = [](QWidget* widget) { return [widget] { return std::to_string(widget->isVisible()); }; };
  const auto rows = [&] { return std::to_string(w.State().table.DataRowCount()); };
  const struct {
    const char *menu, *item, *key;
    std::function<void()> before;
    std::function<std::string()> value;
    std::string expected;
  } items[] = {
      {"Affichage", "Voir la liste", "", {}, [&] { return std::to_string(w.height() - bar); }, "448"},
      {"Édition", "Insérer une ligne", "", {}, rows, "4"},
      {"Édition", "Supprimer la ligne", "", {}, rows, "3"},
      {"Fichier", "Sauver", "Ctrl+S", [&] { w.State().table.SetCell(0, 1, "v"); },
       [&] { return ListBytes("Anglais").substr(0, 2); }, "v\t"},
      {"Édition", "Vider la liste", "", {}, [&] { return boxes.back().text.toStdString(); }, "Vider cette liste ?"},
      {"Fichier", "Charger", "", [&] { w.CbListes->setEditText("Autre"); }, [&] { return Cell(0, 1); }, "x"},
      {"Fichier", "Supprimer la liste", "", {}, [&] { return ListBytes("Autre"); }, "<missing>"},
      {"Aide", "A propos", "", {}, shown(w.About()), "1"},
      {"Aide", "Mode d'emploi", "F1", [&] { w.About()->hide(); }, shown(w.About()), "1"},
      {"Affichage", "Voir la liste", "", {}, shown(w.SgListe), "0"},
      {"Fichier", "Importer", "Ctrl+I", {}, {}, ""},
      {"Fichier", "Exporter", "Ctrl+E", {}, {}, ""},
      {"Édition", "Annuler", "Ctrl+Z", {}, {}, ""},
      {"Édition", "Rétablir", "Ctrl+Shift+Z", {}, {}, ""},
      {"Édition", "Rechercher", "Ctrl+F", {}, {}, ""},
      {"Fichier", "Quitter", "Ctrl+Q", {}, shown(&w), "0"},
  };
  for (const auto& i : items) {
    SCOPED_TRACE(i.item);
    QAction* action = nullptr;  // the item, its text without the '&' of its letter
    for (QAction* title : w.MainMenu->actions()) {
      for (QAction* item : title->menu()->actions()) {
        if (title->text().remove('&') == i.menu && item->text().remove('&').startsWith(i.item)) action = item;
      }
    }
    ASSERT_TRUE(action);
    EXPECT_EQ(action->shortcut().toString().toStdString(), i.key);
    if (!i.value) continue;
    if (i.before) i.before();
    action->trigger();
    EXPECT_EQ(i.value(), i.expected);
  }
  EXPECT_EQ(w.AcVoirListe->isChecked(), false) << "in step with the check box";
}

// Ctrl+F from the card shows the list and the field; each text typed goes to the first pair holding it from where the
// search started, F3 and Maj+F3 go round the others; Escape closes the field and gives the card its focus back.
TEST_F(GuiTest, CtrlFFindsPairsAsTheyAreTyped) {
  Start("L", "x\tX\t\t\t\r\nÉcole\tschool\t\t\t\r\nlycée\tHIGH SCHOOL\t\t\t\r\nαθηνα\tAthènes\t\t\t\r\n",
        {{"Gauche", "-1"}});
  TFTenaxo& w = *window;
  w.PnFiche->setFocus();
  Press(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(w.SgListe->isVisible(), true);
  ASSERT_EQ(QApplication::focusWidget(), w.EdRecherche);
  EXPECT_EQ(w.PnRecherche->geometry().bottomRight(), w.SgListe->viewport()->geometry().bottomRight());
  EXPECT_LT(w.EdRecherche->geometry().right(), w.LbRecherche->x()) << "the field, then the count";
  const std::tuple<const char*, std::function<void()>, int, int, const char*> steps[] = {
      // name, keys, the current cell (column, row) then, the label
      {"typed, accents aside", [] { QTest::keyClicks(QApplication::focusWidget(), "ecole"); }, 0, 2, "1 / 1"},
      {"nowhere", [&] { Press(Qt::Key_Z); }, 0, 2, "Aucun résultat"},
      {"Droite, case aside", [&] { w.EdRecherche->setText("school"); }, 1, 2, "1 / 2"},
      {"F3: the next", [&] { Press(Qt::Key_F3); }, 1, 3, "2 / 2"},
      {"F3: round the list", [&] { Press(Qt::Key_F3); }, 1, 2, "1 / 2"},
      {"Maj+F3: the previous, round", [&] { Press(Qt::Key_F3, Qt::ShiftModifier); }, 1, 3, "2 / 2"},
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

// "Mots" loaded from the Fichier menu, a new series, twenty answers, the last one undone, a search, a sort by Droite,
// Ctrl+S, Ctrl+Q: the file holds the nineteen answers kept, its pairs sorted by Droite.
TEST_F(GuiTest, ARunByKeysAlone) {
  PutList("Mots", test::Pairs(30));
  Start("Autre", "x\tX\t\t\t\r\n");
  Press(Qt::Key_L, Qt::AltModifier);
  QTest::keyClicks(QApplication::focusWidget(), "Mots");
  Press(Qt::Key_F, Qt::AltModifier);
  Press(Qt::Key_C);
  Press(Qt::Key_Q, Qt::AltModifier);
  QTest::qWait(200);  // the button's click, shown pressed first
  Press(Qt::Key_L, Qt::AltModifier);
  Press(Qt::Key_Tab, Qt::ShiftModifier);
  ASSERT_EQ(QApplication::focusWidget(), window->PnFiche);
  const std::string given = "ONOONONNOOOONONOOONO";
  for (char answer : given) {
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
  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(window->isVisible(), false);

  StudyTable saved;
  FillTable(saved, ParseListText(ListBytes("Mots")));
  std::vector<std::string> droite;  // the pairs' Droite in order, and their counts summed
  int asked = 0, found = 0;
  for (int row = 1; saved.IsDataRow(row); ++row) {
    droite.push_back(saved.Cell(ColDroite, row));
    asked += CellToInt(saved.Cell(ColDemande, row));
    found += CellToInt(saved.Cell(ColJuste, row));
  }
  EXPECT_EQ(droite.size(), 30u);
  EXPECT_TRUE(std::is_sorted(droite.begin(), droite.end()));
  EXPECT_EQ(asked, 19);
  EXPECT_EQ(found, std::count(given.begin(), given.end() - 1, 'O'));
}

}  // namespace
}  // namespace tenaxo
