// SPDX-License-Identifier: GPL-3.0-or-later
#include <QMenu>
#include <functional>

#include "Errors.h"
#include "GuiFixture.h"
#include "QuestionCycle.h"

namespace tenaxo {
namespace {
using test::GuiTest;

// Each row starts a window on "Anglais", a single pair asked on the left, clicks (a box answered "OK" unless the row
// plans another answer) and reads one thing the handler changed.
TEST_F(GuiTest, EachControlRunsItsHandler) {
  TFTenaxo* w = nullptr;  // the window of the row
  int rightFirst = 0;
  std::string heard;  // the left panel's text as the voice speaks
  voices->speaking = [&] { heard = Caption(w->PnQL); };
  const auto shown = [](QWidget* c) { return std::string(c->isVisible() ? "shown" : "hidden"); };
  const auto right = [&] { return Caption(w->PnQR); };
  const auto awaiting = [&] { return shown(w->PnReponse); };
  const auto first = [&] { return Cell(0, 1); };
  const auto asked = [&] { return Cell(2, 1); };
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
      {"the question alone awaits no answer", [] {}, awaiting, "hidden"},
      {"a click on Gauche, shown, awaits the answer", [&] { Click(w->PnQL); }, awaiting, "shown"},
      {"Nouvelle série de question", [&] { ClickFree(), Click(w->BtOui), Click(w->Button3); },
       [&] { return Title().substr(Title().rfind(' ') + 1); }, "0/0"},
      {"RAZ Statistiques asks", [&] { Click(w->Button4); }, [&] { return LastBox(); },
       "Remise à zéro des statistiques ?"},
      {"RAZ Statistiques, OK", [&] { Click(w->Button4); }, asked, ""},
      {"RAZ Statistiques, Annuler", [&] { boxes.answers = {"Annuler"}, Click(w->Button4); }, asked, "2"},
      {"Charger, the name completed as typed", [&] { load("au"); }, first, "x"},
      {"Charger a list that is not there", [&] { load("Nulle"); }, [&] { return LastBox().substr(0, 30); },
       "Impossible d'ouvrir le fichier"},
      {"Vider liste", [&] { Click(w->BtVider); }, first, ""},
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
    boxes.seen.clear();
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
    boxes.seen.clear();
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&throwing, &event));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(LastBox(), told);
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Critical);
  }
}

}  // namespace
}  // namespace tenaxo
