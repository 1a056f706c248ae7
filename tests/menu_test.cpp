// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar: where it stands, its items and keys, and what each item does.
#include <QMenuBar>
#include <QShortcut>
#include <functional>
#include <map>

#include "GuiFixture.h"

namespace tenaxo {
namespace {

class MenuTest : public test::GuiTest {
 protected:
  // The item of a menu, its text without the '&' of its letter.
  QAction* Item(const QString& menu, const QString& item) {
    for (QAction* title : window->MainMenu->actions()) {
      if (title->text().remove('&') != menu) continue;
      for (QAction* action : title->menu()->actions())
        if (action->text().remove('&').startsWith(item)) return action;
    }
    ADD_FAILURE() << menu.toStdString() << " / " << item.toStdString();
    return nullptr;
  }
};

// The bar stands above the card, which keeps its place below it; the window is that much taller. Its items read in
// French with their keys, each key bound once in the window.
TEST_F(MenuTest, TheBarStandsAboveTheCardWithItsItemsAndKeys) {
  StartWith("Anglais", test::Pairs(3));
  const int bar = window->MainMenu->height();
  EXPECT_GE(bar, window->MainMenu->fontMetrics().height());
  EXPECT_EQ(window->MainMenu->geometry(), QRect(0, 0, 642, bar));
  EXPECT_EQ(window->PnFiche->mapTo(window.get(), QPoint(0, 0)), QPoint(0, bar));
  EXPECT_EQ(window->height(), bar + 148);
  window->CbVisuListe->setChecked(true);
  EXPECT_EQ(window->height(), bar + 448);
  EXPECT_EQ(window->SgListe->mapTo(window.get(), QPoint(0, 0)), QPoint(0, bar + 148));

  const std::tuple<const char*, const char*, const char*> items[] = {{"Fichier", "Charger", ""},
                                                                     {"Fichier", "Sauver", "Ctrl+S"},
                                                                     {"Fichier", "Importer", "Ctrl+I"},
                                                                     {"Fichier", "Exporter", "Ctrl+E"},
                                                                     {"Fichier", "Supprimer la liste", ""},
                                                                     {"Fichier", "Quitter", "Ctrl+Q"},
                                                                     {"Édition", "Annuler", "Ctrl+Z"},
                                                                     {"Édition", "Rétablir", "Ctrl+Shift+Z"},
                                                                     {"Édition", "Rechercher", "Ctrl+F"},
                                                                     {"Édition", "Insérer une ligne", ""},
                                                                     {"Édition", "Supprimer la ligne", ""},
                                                                     {"Édition", "Vider la liste", ""},
                                                                     {"Affichage", "Voir la liste", ""},
                                                                     {"Aide", "Mode d'emploi", "F1"},
                                                                     {"Aide", "A propos", ""}};
  for (const auto& [menu, item, key] : items) {
    SCOPED_TRACE(item);
    if (QAction* action = Item(QString::fromUtf8(menu), QString::fromUtf8(item))) {
      EXPECT_EQ(action->shortcut().toString().toStdString(), key);
    }
  }
  std::map<QString, int> bound;  // every key of the window, and the times it is bound
  for (QAction* action : window->findChildren<QAction*>())
    if (!action->shortcut().isEmpty()) ++bound[action->shortcut().toString()];
  for (QShortcut* shortcut : window->findChildren<QShortcut*>()) ++bound[shortcut->key().toString()];
  for (const auto& [key, times] : bound) EXPECT_EQ(times, 1) << key.toStdString();
  EXPECT_EQ(bound.size(), 16u) << "the items' 8, Ctrl+1 ... Ctrl+5, and F3, Maj+F3, Escape for the search";
}

// Each item runs the handler of its button: the value it changes, read after it.
TEST_F(MenuTest, EachItemDoesWhatItsButtonDoes) {
  PutList("Autre", "x\tX\t\t\t\r\n");
  StartWith("Anglais", test::Pairs(3));
  TFTenaxo& w = *window;
  const auto none = [] {};
  const auto rows = [&] { return std::to_string(w.State().table.DataRowCount()); };
  const auto box = [&] { return boxes.seen.empty() ? std::string() : boxes.seen.back().text.toStdString(); };
  const struct {
    const char *menu, *item;
    std::function<void()> before;
    std::function<std::string()> value;
    std::string expected;
  } steps[] = {
      {"Affichage", "Voir la liste", none, [&] { return std::to_string(w.CbVisuListe->isChecked()); }, "1"},
      {"Édition", "Insérer une ligne", none, rows, "4"},
      {"Édition", "Supprimer la ligne", none, rows, "3"},
      {"Fichier", "Sauver", [&] { w.State().table.SetCell(0, 1, "v"); },
       [&] { return ListBytes("Anglais").substr(0, 2); }, "v\t"},
      {"Édition", "Vider la liste", none, box, "Vider cette liste ?"},
      {"Fichier", "Charger", [&] { w.CbListes->setEditText("Autre"); }, [&] { return Cell(0, 1); }, "x"},
      {"Fichier", "Supprimer la liste", none, [&] { return ListBytes("Autre"); }, "<missing>"},
      {"Aide", "A propos", none, [&] { return std::to_string(w.About()->isVisible()); }, "1"},
      {"Aide", "Mode d'emploi", [&] { w.About()->hide(); }, [&] { return std::to_string(w.About()->isVisible()); },
       "1"},
      {"Affichage", "Voir la liste", none, [&] { return std::to_string(w.SgListe->isVisible()); }, "0"},
      {"Fichier", "Quitter", none, [&] { return std::to_string(w.isVisible()); }, "0"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.item);
    step.before();
    if (QAction* action = Item(QString::fromUtf8(step.menu), QString::fromUtf8(step.item))) action->trigger();
    EXPECT_EQ(step.value(), step.expected);
  }
  EXPECT_EQ(w.AcVoirListe->isChecked(), false) << "in step with the check box";
}

}  // namespace
}  // namespace tenaxo
