// SPDX-License-Identifier: GPL-3.0-or-later
// Each control's handler, the grid's editor, the menus, the search, a run by keys alone, Annuler and Rétablir.
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>
#include <functional>
#include <map>

#include "Errors.h"
#include "GuiFixture.h"
#include "ListFormat.h"
#include "Numbers.h"
#include "QuestionCycle.h"

namespace tenaxo {
namespace {
using namespace test;

// Each row: a window on the pair "a" asked on the left, an act (boxes answered "OK"), one thing the handler changed.
TEST_F(GuiTest, EachControlRunsItsHandler) {
  TFTenaxo* w = nullptr;      // the window of the row
  std::string heard, dialog;  // the left panel's text as the voice speaks; the file dialog's title and name proposed
  voices->speaking = [&] { heard = Caption(w->PnQL); };
  bool taken = false;  // the last drag
  const auto shown = [](QWidget* c) { return std::string(c->isVisible() ? "shown" : "hidden"); };
  const auto right = [&] { return Caption(w->PnQR); };
  const auto awaiting = [&] { return shown(w->PnReponse); };
  const auto score = [&] { return Title().substr(Title().rfind(' ') + 1); };
  const auto focused = [&] { return std::string(w->PnFiche->hasFocus() ? "the card" : "elsewhere"); };
  const auto boxCount = [&] { return std::to_string(boxes.size()); };
  const auto told = [&] { return LastBox(); };
  const auto spoken = [&] { return w->Cycle().SpokenLanguage(); };
  const auto dragged = [&] { return std::string(taken ? "taken" : "refused"); };
  const std::string english = "Anglais (voix par défaut)";
  const auto keys = [&](const char* pressed) {  // to the control with the focus
    QApplication::setActiveWindow(w);
    QTest::keySequence(QApplication::focusWidget(), QKeySequence(pressed));
  };
  const auto alt = [&](const char* pressed) {  // from the list box; a shortcut may come a moment later
    keys("Space"), Focus(w->CbListes), keys(pressed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->State().askedCount > 1; }, 1000));
  };
  const auto held = [&](Qt::Key k) {
    QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier, QString(QChar(k)).toLower(), true);
    QApplication::sendEvent(w->PnFiche, &event);
  };
  const auto load = [&](const char* typed) {
    w->CbListes->clearEditText();
    Focus(w->CbListes);
    QTest::keyClicks(w->CbListes->lineEdit(), typed);
    Click(w->Button5);
  };
  // A right click on "Synthèse vocale à gauche", an item chosen; returns the item checked before.
  const auto menu = [&](int chosen) {
    emit w->CbVocal->customContextMenuRequested(QPoint(5, 5));
    auto* items = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    std::string checked;
    for (QAction* a : items->actions()) checked += a->isChecked() ? a->text().toStdString() : "";
    items->actions().value(chosen)->trigger();
    items->close();
    return checked;
  };
  // Answers the file dialog the keys open: the filter so many down, the name typed, Enter; then cancels it.
  const auto file = [&](QWidget* to, const char* pressed, const QString& typed, int filter = 0) {
    QTimer::singleShot(20, w, [&, typed, filter] {
      auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_TRUE(d && d->testOption(QFileDialog::DontUseNativeDialog));
      auto* name = d->findChild<QLineEdit*>("fileNameEdit");
      dialog = (d->windowTitle() + " " + name->text()).toStdString();
      for (int k = 0; k < filter; ++k) QTest::keyClick(d->findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
      name->setText(typed);
      QTest::keyClick(name, Qt::Key_Return);
      if (d->isVisible()) d->reject();
    });
    QApplication::setActiveWindow(w);
    QTest::keySequence(to, QKeySequence(pressed));
  };
  const auto importTwo = [&] {
    PutList("vide", "");
    file(w, "Ctrl+I", "\"" + ListPath("Autre") + "\" \"" + ListPath("vide") + "\"");
  };
  const auto drop = [&](const QUrl& url) {  // dragged on the window and dropped
    QMimeData data;
    data.setUrls({url});
    QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    taken = (QApplication::sendEvent(w, &enter), enter.isAccepted());
    QApplication::sendEvent(w, &dropped);
  };
  const auto fail = [&](void (*raise)()) {  // in an event that no handler guards
    QMetaObject::invokeMethod(w, raise, Qt::QueuedConnection);
    QCoreApplication::processEvents();
  };
  const QUrl list = QUrl::fromLocalFile(ListPath("Autre")), web("https://example.org/Autre.tnx");
  // name, what is done, what is read then, its value
  const std::tuple<const char*, std::function<void()>, std::function<std::string()>, std::string> cases[] = {
      {"a click on Droite reveals it", [&] { Click(w->PnQR); }, right, "A"},
      {"a right click on Droite", [&] { QTest::mouseClick(w->PnQR, Qt::RightButton); }, right, "?"},
      {"a click on Gauche, shown, awaits the answer", [&] { Click(w->PnQL); }, awaiting, "shown"},
      {"a press on the card released off it",
       [&] {
         QTest::mousePress(w->PnFiche, Qt::LeftButton), QTest::mouseRelease(w->PnFiche, Qt::LeftButton, {}, {9, -9});
       },
       awaiting, "hidden"},
      {"a release on the card without a press", [&] { QTest::mouseRelease(w->PnFiche, Qt::LeftButton); }, awaiting,
       "hidden"},
      {"Nouvelle série de question", [&] { ClickFree(), Click(w->BtOui), Click(w->Button3); }, score, "0/0"},
      // Space, Return, Enter reveal; O, N, Alt+O, Alt+N answer; no held key, no Ctrl, no key before the reveal.
      {"Return on the card", [&] { keys("Return"); }, awaiting, "shown"},
      {"Enter on the card", [&] { keys("Num+Enter"); }, awaiting, "shown"},
      {"Alt+O", [&] { alt("Alt+O"); }, score, "1/1"},
      {"Alt+N", [&] { alt("Alt+N"); }, score, "0/1"},
      {"N before the reveal", [&] { keys("N"); }, score, "0/0"},
      {"Ctrl+O", [&] { keys("Space, Ctrl+O"); }, score, "0/0"},
      {"O held down", [&] { keys("Space"), held(Qt::Key_O); }, score, "0/0"},
      {"Space held down", [&] { held(Qt::Key_Space); }, awaiting, "hidden"},
      {"Space on Oui", [&] { ClickFree(), Focus(w->BtOui), keys("Space"); }, focused, "the card"},
      {"at start", [] {}, focused, "the card"},
      {"shown again, the window starts nothing anew", [&] { keys("Space, O"), w->hide(), w->show(); }, score, "1/1"},
      // What a screen reader is told.
      {"the card revealed", [&] { ClickFree(); }, [&] { return Read(w->PnFiche, QAccessible::Description); },
       "Gauche : a, Droite : A"},
      {"the masked side", [] {}, [&] { return Read(w->PnQR, QAccessible::Value); }, "?"},
      {"the masked side's text", [] {}, [&] { return Of(w->PnQR)->textInterface()->text(0, 1).toStdString(); }, "?"},
      {"the masked side's actions", [] {},
       [&] { return Of(w->PnQR)->actionInterface()->actionNames().join(',').toStdString(); }, "Press,SetFocus"},
      {"a press on the masked side",
       [&] { Of(w->PnQR)->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); }, right, "A"},
      {"a focus on the masked side",
       [&] { Of(w->PnQR)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction()); }, right, "?"},
      {"the answer's panel", [] {}, [&] { return Read(w->PnReponse); }, "Réponse trouvée ?"},
      {"the list box, by its label", [] {},  // Qt names a list box by its text here
       [&] { return Read(Of(w->CbListes)->relations(QAccessible::Label).value(0).first->object()); }, "Liste"},
      // The list's controls.
      {"RAZ Statistiques, Annuler", [&] { answers = {"Annuler"}, Click(w->Button4); }, [&] { return Cell(2, 1); }, "2"},
      {"Charger, the name completed as typed", [&] { load("au"); }, [&] { return Cell(0, 1); }, "x"},
      {"Charger a list that is not there", [&] { load("Nulle"); }, [&] { return told().substr(0, 30); },
       "Impossible d'ouvrir le fichier"},
      {"Charger a UTF-16 list tells how it will be saved",
       [&] { PutList("Seize", std::string("\xFF\xFEx\0\t\0X\0", 8)), load("Seize"); }, told,
       "La liste \"" + ListPath("Seize").toStdString() +
           "\" est en UTF-16 : elle sera enregistrée en UTF-8 (avec la marque d'ordre des octets) à la prochaine "
           "sauvegarde."},
      {"a failure ends its step", [&] { load("Nulle"), Click(w->Button4), w->AcAnnuler->trigger(); },
       [&] { return Cell(2, 1); }, "2"},
      {"Supprimer clears the name", [&] { Click(w->BtDelListe); },
       [&] { return w->CbListes->currentText().toStdString(); }, ""},
      {"Voir la liste", [&] { Click(w->CbVisuListe); }, [&] { return std::to_string(w->AcVoirListe->isChecked()); },
       "1"},
      {"Synthèse vocale speaks Gauche as shown",
       [&] { Click(w->CbVocal), w->State().table.SetCell(0, 1, "c"), Click(w->PnQL); }, [&] { return heard; }, "c"},
      // The voice menu checks the language spoken, else the default voice.
      {"the voice menu", [] {}, [&] { return menu(0); }, english},
      {"the voice menu, Greek spoken", [&] { w->Cycle().SetSpokenLanguage("el"); }, [&] { return menu(0); }, "Greek"},
      {"the menu, a language gone", [&] { w->Cycle().SetSpokenLanguage("xx"); }, [&] { return menu(0); }, english},
      {"the voice menu, no engine",
       [&] { languages = [] { return throw 1, std::vector<VoiceLanguage>(); }, w->Cycle().SetSpokenLanguage("el"); },
       [&] { return menu(0); }, english},
      {"the voice menu, the first language chosen", [&] { menu(2); }, spoken, "el"},
      {"the voice menu, the last chosen", [&] { menu(4); }, spoken, "pl"},
      // Lists in with Ctrl+I (only files there) or dropped, out with Ctrl+E, from the editor too.
      {"Ctrl+I, no such file", [&] { file(w, "Ctrl+I", Folder() + "x"); }, [&] { return told().substr(0, 2); }, "x\n"},
      {"Ctrl+I, two files", importTwo, [&] { return ListBytes("Autre 2"); }, "x\tX\t\t\t\r\n"},
      {"Ctrl+I, a file refused", importTwo, [&] { return LastBox().substr(LastBox().rfind("« vide")); },
       "« vide.tnx » : refusé. Le fichier \"" + ListPath("vide").toStdString() + "\" est vide."},
      {"Ctrl+I asks the list made", [&] { file(w, "Ctrl+I", ListPath("Autre")); }, [&] { return Title(); },
       "Tenaxo - Autre 2 - Réponses justes : 0/0"},
      {"Ctrl+E proposes the list's name", [&] { FocusGrid(), file(w->SgListe->Editor(), "Ctrl+E", Folder() + "e"); },
       [&] { return dialog; }, "Exporter la liste Anglais.txt"},
      {"Ctrl+E cancelled writes nothing",
       [&] {
         file(w, "Ctrl+E", Folder() + "e2"), QTimer::singleShot(20, [] { QApplication::activeModalWidget()->close(); });
         QApplication::setActiveWindow(w), QTest::keySequence(w, QKeySequence("Ctrl+E"));
       },
       [&] { return std::to_string(QFile::exists(Folder() + "Anglais.txt")); }, "0"},
      {"Ctrl+E, the KVTML filter", [&] { FocusGrid(), file(w->SgListe->Editor(), "Ctrl+E", Folder() + "exporté", 1); },
       [&] { return std::to_string(QFile::exists(Folder() + "exporté.kvtml")); }, "1"},
      {"a key the editor uses stays with it",
       [&] { FocusGrid(), new QShortcut(QKeySequence("W"), w, [] { ADD_FAILURE(); }), keys("W"); },
       [&] { return w->SgListe->Editor()->text().toStdString(); }, "aw"},
      {"a drag of a list file", [&] { drop(list); }, dragged, "taken"},
      {"a drag of a web address", [&] { drop(web); }, dragged, "refused"},
      {"a drop, while under way", [&] { drop(list); }, boxCount, "0"},
      {"a drop, once over", [&] { drop(list), QTest::qWait(100); }, [&] { return ListBytes("Autre 2"); },
       "x\tX\t\t\t\r\n"},
      {"a drop of a web address", [&] { drop(web), QTest::qWait(100); }, boxCount, "0"},
      // A failure no handler stops is shown by the application object, in French, and the program goes on.
      {"a failure of ours", [&] { fail([] { throw Error("Disque plein"); }); }, told, "Disque plein."},
      {"one ending in a full stop", [&] { fail([] { throw Error("Fini."); }); }, told, "Fini."},
      {"out of memory", [&] { fail([] { throw std::bad_alloc(); }); }, told, "Mémoire insuffisante."},
      {"the library's", [&] { fail([] { throw std::logic_error("bad"); }); }, told, "Erreur inattendue."},
      {"any other failure", [&] { fail([] { throw 42; }); }, told, "Erreur inattendue."},
      {"a failure's box", [&] { fail([] { throw 42; }); }, [&] { return boxes.at(0).title.toStdString(); }, "Tenaxo"},
  };
  const VoiceLanguages engine = languages;
  for (const auto& [name, act, seen, expected] : cases) {
    SCOPED_TRACE(name);
    languages = engine;
    PutList("Autre", "x\tX\t\t\t\r\n");
    Start("Anglais", "a\tA\t2\t1\t\r\n", {{"Gauche", "-1"}, {"Vocal", "0"}});
    w = window.get();
    ASSERT_EQ(Caption(w->PnQR), "?");
    heard.clear();
    boxes.clear();
    act();
    EXPECT_EQ(seen(), expected);
    QFile::remove(ListPath("Autre 2"));
  }
}

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
      {"Up", {0, 3}, "Up", {0, 2}, 31, "w2"},
      {"Up, first row", {1, 1}, "Up", {1, 1}, 31, "m1"},
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
  grid->verticalScrollBar()->setValue(3);
  EXPECT_EQ(grid->Editor()->geometry(), grid->visualRect(grid->currentIndex()).adjusted(1, 1, -1, -1)) << "scrolled";
}

// A press makes a cell current; a header sorts (Gauche in reverse first); off the cells ends the pair.
TEST_F(EditorTest, ClicksPickCellsAndSort) {
  // name, the cells clicked (row -1: below the rows, column -1: right of them), the current cell, the Gauche texts
  const std::tuple<const char*, std::vector<QPoint>, QPoint, const char*> cases[] = {
      {"a data cell", {{1, 3}}, {1, 3}, "bAca"},
      {"a cell of the first row", {{1, 1}}, {1, 1}, "bAca"},
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
  EXPECT_EQ(bound.size(), 17u) << "the items' 9, Ctrl+1 ... Ctrl+5, and F3, Maj+F3, Escape for the search";
  QStringList layout;  // each menu's title, then its items, "-" for a separator
  for (QAction* title : w.MainMenu->actions()) {
    layout << title->text().remove('&');
    for (QAction* item : title->menu()->actions())
      layout << (item->isSeparator() ? "-" : ' ' + item->text().remove('&'));
  }
  EXPECT_EQ(layout, QStringList({"Fichier",
                                 " Charger",
                                 " Sauver",
                                 " Importer des listes…",
                                 " Exporter la liste…",
                                 "-",
                                 " Supprimer la liste",
                                 "-",
                                 " Quitter",
                                 "Édition",
                                 " Annuler",
                                 " Rétablir",
                                 "-",
                                 " Rechercher",
                                 "-",
                                 " Insérer une ligne",
                                 " Supprimer la ligne",
                                 " Vider la liste",
                                 "Affichage",
                                 " Voir la liste",
                                 " Statistiques",
                                 "Aide",
                                 " Mode d'emploi",
                                 " A propos"}));

  w.State().table.SetCell(0, 1, "u");
  QTest::mouseClick(w.BtSauver, Qt::LeftButton);
  EXPECT_EQ(ListBytes("Anglais").substr(0, 2), "u\t") << "the button saves as the item does";
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
}

// Ctrl+F shows the field; typing finds the first pair, F3/Maj+F3 go round; Escape gives the card the focus back.
TEST_F(GuiTest, CtrlFFindsPairsAsTheyAreTyped) {
  Start("L", "x\tX\r\nÉcole\tschool\r\nlycée\tHIGH SCHOOL\r\nαθηνα\tAthènes\r\nbus\tschool bus\r\n",
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
      {"Droite, case aside", [&] { w.EdRecherche->setText("school"); }, 1, 2, "1 / 3"},
      {"F3: the next", [&] { Press(Qt::Key_F3); }, 1, 3, "2 / 3"},
      {"Maj+F3: the previous", [&] { Press(Qt::Key_F3, Qt::ShiftModifier); }, 1, 2, "1 / 3"},
      {"Maj+F3: round the list", [&] { Press(Qt::Key_F3, Qt::ShiftModifier); }, 1, 5, "3 / 3"},
      {"F3: round the list", [&] { Press(Qt::Key_F3); }, 1, 2, "1 / 3"},
      {"nothing typed", [&] { w.EdRecherche->clear(); }, 1, 2, ""},
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
  Press(Qt::Key_F, Qt::ControlModifier), w.CbVisuListe->setChecked(false), w.CbVisuListe->setChecked(true);
  EXPECT_EQ(w.PnRecherche->isVisible(), false) << "closed with the list";
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
  FillTable(saved, ParseListText(ListBytes("Mots"), false));
  std::vector<std::string> droite;  // the pairs' Droite in order, and their counts summed
  int asked = 0, found = 0;
  for (int row = 1; saved.IsDataRow(row); ++row) {
    droite.emplace_back(saved.Cell(ColDroite, row));
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
      {"keys typed into a blank cell",
       [&] { window->SgListe->MoveCurrent(2, 1), QTest::keyClicks(window->SgListe->Editor(), "5"); },
       "Annuler la saisie"},
      {"a row inserted with Inser", [&] { Press(Qt::Key_Insert); }, "Annuler l'insertion d'une ligne"},
      {"a row added with Down", [&] { Press(Qt::Key_End, Qt::ControlModifier), Press(Qt::Key_Down); },
       "Annuler l'ajout d'une ligne"},
      {"a row added with Return", [&] { Press(Qt::Key_End, Qt::ControlModifier), Press(Qt::Key_Return); },
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
    const auto seen = [&] { return std::tuple(Caption(w.PnQL), Caption(w.PnQR), Title(), Cell(2, row), Cell(3, row)); };
    const auto before = seen();
    ClickFree(), Click(answer), Undo();
    EXPECT_EQ(seen(), before);
    EXPECT_EQ(w.PnReponse->isVisible(), false);
    Redo();
    EXPECT_EQ(Cell(2, row), std::to_string(std::atoi(std::get<3>(before).c_str()) + 1));
  }
  const std::pair<std::function<void()>, bool> steps[] = {
      {[&] { Press(Qt::Key_S, Qt::ControlModifier); }, false}, {[&] { Undo(); }, true}, {[&] { Redo(); }, false}};
  for (const auto& [step, bold] : steps) {
    step();
    EXPECT_EQ(SauverBold(), bold);
  }
  Click(w.Button5);
  EXPECT_EQ(w.AcAnnuler->isEnabled(), false);
  EXPECT_EQ(w.AcRetablir->isEnabled(), false);
}

}  // namespace
}  // namespace tenaxo
