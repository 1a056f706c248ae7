// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar, the search field, a run by keys alone; Annuler and Rétablir for every change to the list.
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <algorithm>
#include <functional>
#include <map>

#include "GuiFixture.h"
#include "ListFormat.h"
#include "Numbers.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::GuiTest;

// The bar stands above the card; each item reads in French with its key, bound once, and does what its button does.
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

// Ctrl+F shows the field; typing finds the first pair, F3/Maj+F3 go round; Escape gives the card the focus back.
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

// Load, new series, 20 answers, one undone, search, sort by Droite, Ctrl+S, Ctrl+Q: the file holds it all.
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

// Each change undone and redone: the list before and after, "Sauver" bold off the clean state, the step named.
TEST_F(GuiTest, EveryChangeToTheListIsUndoneAndMadeAgain) {
  const auto Rows = [this] { return test::Cells(window->State().table); };
  const auto ctrl = [this](Qt::Key key) { Press(key, Qt::ControlModifier); };
  const auto header = [this](int col) {
    const QPoint at = window->SgListe->CellCenter(col, 0);
    QTest::mouseClick(window->SgListe->horizontalHeader()->viewport(), Qt::LeftButton, {}, at);
  };
  const std::tuple<const char*, std::function<void()>, const char*> cases[] = {
      {"keys typed into a cell", [&] { QTest::keyClicks(window->SgListe->Editor(), "xy"); }, "Annuler la saisie"},
      {"a row inserted with Inser", [&] { Press(Qt::Key_Insert); }, "Annuler l'insertion d'une ligne"},
      {"a row added with Down", [&] { Press(Qt::Key_End, Qt::ControlModifier), Press(Qt::Key_Down); },
       "Annuler l'ajout d'une ligne"},
      {"a row deleted", [&] { window->AcSupprimerLigne->trigger(); }, "Annuler la suppression d'une ligne"},
      {"Vider liste", [&] { Click(window->BtVider); }, "Annuler le vidage de la liste"},
      {"RAZ Statistiques", [&] { Click(window->Button4); }, "Annuler la remise à zéro des statistiques"},
      {"a header click, Gauche at start in reverse", [&] { header(0); }, "Annuler le tri par Gauche"},
      {"Ctrl+1: Gauche", [&] { ctrl(Qt::Key_1); }, "Annuler le tri par Gauche"},
      {"Ctrl+2: Droite", [&] { ctrl(Qt::Key_2); }, "Annuler le tri par Droite"},
      {"Ctrl+3: Demandé", [&] { ctrl(Qt::Key_3); }, "Annuler le tri par Demandé"},
      {"Ctrl+4 twice: Juste, in reverse", [&] { ctrl(Qt::Key_4), ctrl(Qt::Key_4); }, "Annuler le tri par Juste"},
      {"Ctrl+5 twice: Ratio, in reverse", [&] { ctrl(Qt::Key_5), ctrl(Qt::Key_5); }, "Annuler le tri par Ratio"},
      {"an answer", [&] { ClickFree(), Click(window->BtNon); }, "Annuler la réponse"},
  };
  for (const auto& [name, change, undo] : cases) {
    SCOPED_TRACE(name);
    window.reset();
    Start("L", "b\tB\t3\t3\t\r\na\tA\t\t\t\r\nc\tC\t12\t1\t\r\n");  // ranked: a, c, b
    FocusGrid();
    const auto before = Rows();
    change();
    const auto after = Rows();
    EXPECT_NE(after, before);
    EXPECT_EQ(window->AcAnnuler->text().remove('&').toStdString(), undo);
    EXPECT_EQ(SauverBold(), true);
    Undo();
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(SauverBold(), false);
    Redo();
    EXPECT_EQ(Rows(), after);
    EXPECT_EQ(SauverBold(), true);
  }
}

// Annuler after an answer gives back counts, score and question; a save moves the clean state; a load clears.
TEST_F(GuiTest, AnAnswerUndoneAsksItsQuestionAgain) {
  Start("L", test::Pairs(3), {{"Gauche", "-1"}});
  TFTenaxo& w = *window;
  for (QPushButton* answer : {w.BtOui, w.BtNon}) {
    SCOPED_TRACE(answer->text().toStdString());
    const int row = w.State().questionRow;
    const std::string question = Caption(w.PnQL), title = Title(), asked = Cell(2, row), found = Cell(3, row);
    ClickFree();
    Click(answer);
    Undo();
    EXPECT_EQ(Caption(w.PnQL), question);
    EXPECT_EQ(Caption(w.PnQR), "?");
    EXPECT_EQ(w.PnReponse->isVisible(), false);
    EXPECT_EQ(Title(), title);
    EXPECT_EQ(Cell(2, row), asked);
    EXPECT_EQ(Cell(3, row), found);
    Redo();
    EXPECT_EQ(Cell(2, row), std::to_string(std::atoi(asked.c_str()) + 1));
    EXPECT_NE(Title(), title);
  }
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(SauverBold(), false);
  Undo();
  EXPECT_EQ(SauverBold(), true);
  Redo();
  EXPECT_EQ(SauverBold(), false);
  Click(w.Button5);
  EXPECT_EQ(w.AcAnnuler->isEnabled(), false);
}

}  // namespace
}  // namespace tenaxo
