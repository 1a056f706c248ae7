// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>

#include "Errors.h"
#include "GuiFixture.h"
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
      {"Nouvelle série de question", [&] { ClickFree(), Click(w->BtOui), Click(w->Button3); }, score, "0/0"},
      // Space, Return, Enter reveal; O, N, Alt+O, Alt+N answer; no held key, no Ctrl, no key before the reveal.
      {"Space on the card", [&] { keys("Space"); }, awaiting, "shown"},
      {"Return on the card", [&] { keys("Return"); }, awaiting, "shown"},
      {"Enter on the card", [&] { keys("Num+Enter"); }, awaiting, "shown"},
      {"O on the card", [&] { keys("Space, O"); }, score, "1/1"},
      {"N on the card", [&] { keys("Space, N"); }, score, "0/1"},
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
      {"the card, named by its question", [] {}, [&] { return Read(w->PnFiche); }, "a"},
      {"the card revealed", [&] { ClickFree(); }, [&] { return Read(w->PnFiche, QAccessible::Description); },
       "Gauche : a, Droite : A"},
      {"the masked side", [] {}, [&] { return Read(w->PnQR, QAccessible::Value); }, "?"},
      {"the masked side's text", [] {}, [&] { return Of(w->PnQR)->textInterface()->text(0, 1).toStdString(); }, "?"},
      {"a press on the masked side",
       [&] { Of(w->PnQR)->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); }, right, "A"},
      {"the answer's panel", [] {}, [&] { return Read(w->PnReponse); }, "Réponse trouvée ?"},
      {"the list box, by its label", [] {},  // Qt names a list box by its text here
       [&] { return Read(Of(w->CbListes)->relations(QAccessible::Label).value(0).first->object()); }, "Liste"},
      // The list's controls.
      {"RAZ Statistiques, Annuler", [&] { answers = {"Annuler"}, Click(w->Button4); }, [&] { return Cell(2, 1); }, "2"},
      {"Charger, the name completed as typed", [&] { load("au"); }, [&] { return Cell(0, 1); }, "x"},
      {"Charger a list that is not there", [&] { load("Nulle"); }, [&] { return told().substr(0, 30); },
       "Impossible d'ouvrir le fichier"},
      {"Supprimer clears the name", [&] { Click(w->BtDelListe); },
       [&] { return w->CbListes->currentText().toStdString(); }, ""},
      {"at start the list is hidden", [] {}, [&] { return shown(w->SgListe); }, "hidden"},
      {"Voir la liste", [&] { Click(w->CbVisuListe); }, [&] { return shown(w->SgListe); }, "shown"},
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

}  // namespace
}  // namespace tenaxo
