// SPDX-License-Identifier: GPL-3.0-or-later
// Annuler and Rétablir from the keyboard, for every change to the study list.
#include <QHeaderView>
#include <functional>

#include "GuiFixture.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::GuiTest;

// Each change, undone then made again from the grid's editor: the list as before and after, "Sauver" bold only away
// from the list as loaded, the step named in the menu. Ctrl+1 ... Ctrl+5 sort as their column's header does.
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

// Annuler right after "Oui" or "Non": the pair's counts and the series score back, the same question asked again, its
// answer hidden. A save marks the list as saved where the history stands; a load starts a new history.
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
