// SPDX-License-Identifier: GPL-3.0-or-later
#include <QMenu>

#include "Errors.h"
#include "GuiFixture.h"
#include "QuestionCycle.h"

namespace tenaxo {
namespace {
using namespace test;

// Each row starts a window on "Anglais", a single pair asked on the left, acts (a box answered "OK" unless the row
// plans another answer) and reads one thing the handler changed.
TEST_F(GuiTest, EachControlRunsItsHandler) {
  TFTenaxo* w = nullptr;  // the window of the row
  int rightFirst = 0;
  std::string heard;  // the left panel's text as the voice speaks
  voices->speaking = [&] { heard = Caption(w->PnQL); };
  const auto shown = [](QWidget* c) { return std::string(c->isVisible() ? "shown" : "hidden"); };
  const auto right = [&] { return Caption(w->PnQR); };
  const auto awaiting = [&] { return shown(w->PnReponse); };
  const auto score = [&] { return Title().substr(Title().rfind(' ') + 1); };
  const auto focused = [&] { return std::string(w->PnFiche->hasFocus() ? "the card" : "elsewhere"); };
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
  // name, what is done, what is read then, its value
  const std::tuple<const char*, std::function<void()>, std::function<std::string()>, std::string> cases[] = {
      {"a click on Droite reveals it", [&] { Click(w->PnQR); }, right, "A"},
      {"a right click on Droite", [&] { QTest::mouseClick(w->PnQR, Qt::RightButton); }, right, "?"},
      {"a click on Gauche, shown, awaits the answer", [&] { Click(w->PnQL); }, awaiting, "shown"},
      {"a press on the card released off it",
       [&] {
         QTest::mousePress(w->PnFiche, Qt::LeftButton, {}, {440, 125});
         QTest::mouseRelease(w->PnFiche, Qt::LeftButton, {}, {440, 200});
       },
       awaiting, "hidden"},
      {"Nouvelle série de question", [&] { ClickFree(), Click(w->BtOui), Click(w->Button3); }, score, "0/0"},
      // Keys: Space, Return and Enter on the card reveal; O and N on it answer, Alt+O and Alt+N from anywhere; neither
      // a held key nor Ctrl answers, nor a key before the reveal. An answer by "Oui" puts the keyboard on the card.
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
      {"Ctrl+S", [&] { keys("Space, N, Ctrl+S"); }, [&] { return ListBytes("Anglais").substr(0, 8); }, "a\tA\t3\t1\t"},
      {"F1", [&] { keys("F1"); }, [&] { return shown(w->About()); }, "shown"},
      {"shown again, the window starts nothing anew", [&] { w->hide(), w->show(); }, score, "0/0"},
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
      // The other controls.
      {"RAZ Statistiques asks", [&] { Click(w->Button4); }, [&] { return LastBox(); },
       "Remise à zéro des statistiques ?"},
      {"RAZ Statistiques, OK", [&] { Click(w->Button4); }, [&] { return Cell(2, 1); }, ""},
      {"RAZ Statistiques, Annuler", [&] { answers = {"Annuler"}, Click(w->Button4); }, [&] { return Cell(2, 1); }, "2"},
      {"Charger, the name completed as typed", [&] { load("au"); }, [&] { return Cell(0, 1); }, "x"},
      {"Charger a list that is not there", [&] { load("Nulle"); }, [&] { return LastBox().substr(0, 30); },
       "Impossible d'ouvrir le fichier"},
      {"Vider liste", [&] { Click(w->BtVider); }, [&] { return Cell(0, 1); }, ""},
      {"Supprimer", [&] { Click(w->BtDelListe); }, [&] { return ListBytes("Anglais"); }, "<missing>"},
      {"Supprimer clears the name", [&] { Click(w->BtDelListe); },
       [&] { return w->CbListes->currentText().toStdString(); }, ""},
      {"at start the list is hidden", [] {}, [&] { return shown(w->SgListe); }, "hidden"},
      {"Voir la liste", [&] { Click(w->CbVisuListe); }, [&] { return shown(w->SgListe); }, "shown"},
      {"Voir la liste twice", [&] { Click(w->CbVisuListe), Click(w->CbVisuListe); },
       [&] { return std::to_string(w->height()); }, "148"},
      {"Synthèse vocale speaks Gauche as shown",
       [&] { Click(w->CbVocal), w->State().table.SetCell(0, 1, "c"), Click(w->PnQL); }, [&] { return heard; }, "c"},
      {"Synthèse vocale twice", [&] { Click(w->CbVocal), Click(w->CbVocal); },
       [&] { return std::to_string(voices->alive); }, "0"},
      {"Montrer à gauche en premier, unchecked",
       [&] {
         Click(w->CbFirstLeft);
         for (int k = 0; k < 40; ++k) rightFirst += (Click(w->Button3), Caption(w->PnQR) != "?");
       },
       [&] { return std::string(rightFirst > 0 ? "at times" : "never"); }, "at times"},
  };
  PutList("Autre", "x\tX\t\t\t\r\n");
  for (const auto& [name, act, seen, expected] : cases) {
    SCOPED_TRACE(name);
    boxes.clear();
    StartWith("Anglais", "a\tA\t2\t1\t\r\n", {{"Gauche", "-1"}, {"Vocal", "0"}});
    w = window.get();
    ASSERT_EQ(Caption(w->PnQR), "?");
    heard.clear();
    act();
    EXPECT_EQ(seen(), expected);
  }
}

// A right click on "Synthèse vocale à gauche": the default voice, then the engine's languages by name, the one the
// left text is spoken in checked; the default voice for a language no longer there, or when the engine is missing.
// The last item is then chosen. (Without a list, the About window comes up at start.)
TEST_F(GuiTest, TheVoiceMenuChecksTheLanguageSpoken) {
  const std::string english = "Anglais (voix par défaut)";
  // name, the language stored, an engine there, the items (the checked one in brackets), the language then
  const std::tuple<const char*, const char*, bool, std::vector<std::string>, std::string> cases[] = {
      {"Greek", "el", true, {english, "", "[Greek]", "Japanese", "Polish"}, "pl"},
      {"a language no longer there", "xx", true, {"[" + english + "]", "", "Greek", "Japanese", "Polish"}, "pl"},
      {"no engine", "el", false, {"[" + english + "]", ""}, "el"}};
  const VoiceLanguages engine = languages;
  for (const auto& [name, stored, there, items, chosen] : cases) {
    SCOPED_TRACE(name);
    languages = there ? engine : [] { return throw std::runtime_error("none"), std::vector<VoiceLanguage>(); };
    PutSetting("Voix", stored);
    Start();
    EXPECT_TRUE(window->About()->isVisible());
    emit window->CbVocal->customContextMenuRequested(QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> shown;
    for (QAction* a : menu->actions())
      shown.push_back((a->isChecked() ? "[" + a->text() + "]" : a->text()).toStdString());
    EXPECT_EQ(shown, items);
    menu->actions().back()->trigger();
    menu->close();
    EXPECT_EQ(window->Cycle().SpokenLanguage(), chosen);
  }
}

// A failure no handler stops is shown by the application object, in French, and the program goes on.
TEST_F(GuiTest, AFailureNoHandlerStopsIsShown) {
  struct Throwing : QObject {
    std::function<void()> raise;
    bool event(QEvent*) override { return raise(), true; }
  } throwing;
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { throw Error("Disque plein"); }, "Disque plein."},
      {[] { throw Error("Fini."); }, "Fini."},
      {[] { throw std::bad_alloc(); }, "Mémoire insuffisante."},
      {[] { throw std::logic_error("bad"); }, "Erreur inattendue."},
      {[] { throw 42; }, "Erreur inattendue."}};
  for (const auto& [raise, told] : cases) {
    SCOPED_TRACE(told);
    throwing.raise = raise;
    boxes.clear();
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&throwing, &event));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(LastBox(), told);
    EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
  }
}

}  // namespace
}  // namespace tenaxo
