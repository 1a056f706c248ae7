// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <functional>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::GuiTest;

// Every control runs its handler: each row clicks a control (after some preparation, answering the box it opens) and
// checks what the handler did.
TEST_F(GuiTest, EveryControlDoesWhatItsHandlerDoes) {
  PutList("Autre", "x\tX\t\t\t\r\n");
  StartWith("Anglais", "a\tA\t2\t1\t\r\nb\tB\t\t\t\r\n");
  TFTenaxo& w = *window;
  std::vector<std::string> shown;  // the left panel's text as each word is heard
  voices->speaking = [&] { shown.push_back(Caption(w.PnQL)); };
  int rightFirst = 0;
  const auto revealed = [&] { return w.PnReponse->isVisible(); };
  const auto score = [&](const std::string& s) {
    return !revealed() && Title() == "Tenaxo - Anglais - Réponses justes : " + s;
  };
  const auto box = [&](const char* text) {
    const test::Box& b = boxes.seen.back();
    return b.title + b.text + b.buttons == "Confirmation" + QString(text) + "[OK] Annuler " &&
           b.icon == QMessageBox::Question;
  };
  const auto none = [] {};
  const struct {
    QWidget* control;
    std::function<void()> before;
    std::function<bool()> done;
  } steps[] = {
      {w.PnFiche, [&] { ClickFree(); }, [&] { return Caption(w.PnQL) != "?" && Caption(w.PnQR) != "?"; }},
      {w.BtOui, none, [&] { return score("1/1") && SauverBold(); }},
      {w.PnQL,  // a click: a left press and release, both on the panel
       [&] {
         QTest::mouseClick(w.PnQL, Qt::RightButton);
         QTest::mousePress(w.PnQL, Qt::LeftButton);
         QTest::mouseRelease(w.PnQL, Qt::LeftButton, {}, QPoint(-5, 5));
         EXPECT_FALSE(revealed());
       },
       [&] { return revealed() && Caption(w.PnQL) != "?"; }},
      {w.BtNon, none, [&] { return score("1/2"); }},
      {w.PnQR, none, [&] { return revealed() && Caption(w.PnQR) != "?"; }},
      {w.Button3, none, [&] { return score("0/0"); }},  // "Nouvelle série de question"
      {w.PnQL,
       [&] {
         Click(w.CbVocal);
         while (Caption(w.PnQL) != "?") Click(w.Button3);
       },
       [&] { return voices->made == 1 && !shown.empty() && shown == voices->spoken; }},
      // A right click on "Synthèse vocale à gauche" chooses the language of the left text.
      {w.PnQL,
       [&] {
         emit w.CbVocal->customContextMenuRequested(QPoint(5, 5));
         auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
         ASSERT_TRUE(menu && menu->actions().size() == 5);
         EXPECT_TRUE(menu->actions()[0]->isChecked()) << "English, the default voice; then the others by name";
         menu->actions()[4]->trigger();
         menu->close();
       },
       [&] { return voices->languages.back() == "pl"; }},
      {w.CbVocal, none, [&] { return voices->alive == 0 && !w.CbVocal->isChecked(); }},
      {w.CbFirstLeft, none, [&] { return w.CbFirstLeft->isChecked(); }},
      {w.Button3,
       [&] {
         for (int k = 0; k < 8; ++k) rightFirst += (Click(w.Button3), Caption(w.PnQR) != "?");
       },
       [&] { return rightFirst == 0 && Caption(w.PnQR) == "?"; }},
      {w.Button4, [&] { boxes.answers = {"OK"}; },  // "RAZ Statistiques"
       [&] { return box("Remise à zéro des statistiques ?") && Cell(2, 1) + Cell(3, 1) + Cell(2, 2) == ""; }},
      {w.BtSauver, none,  // no counts left, and no question: the list is the one loaded
       [&] { return !SauverBold() && ListBytes("Anglais").size() == 16 && box("Remise à zéro des statistiques ?"); }},
      {w.Button5,  // "Charger", the name completed as typed
       [&] {
         w.CbListes->lineEdit()->clear();
         QApplication::setActiveWindow(&w);
         w.CbListes->setFocus();
         QTest::keyClicks(w.CbListes->lineEdit(), "Au");
       },
       [&] { return w.CbListes->currentText() == "Autre" && Cell(0, 1) == "x"; }},
      {w.BtVider, [&] { boxes.answers = {"OK"}; }, [&] { return box("Vider cette liste ?") && Cell(0, 1).empty(); }},
      {w.BtSauver, [&] { boxes.answers = {"Annuler"}; },  // the emptied list is no longer the one loaded
       [&] { return box("Ecraser cette liste ?") && ListBytes("Autre") == "x\tX\t\t\t\r\n"; }},
      {w.BtDelListe, [&] { boxes.answers = {"OK"}; },
       [&] {
         return box("Effacer cette liste ?") && ListBytes("Autre") == "<missing>" &&
                w.CbListes->currentText().isEmpty() && w.CbListes->count() == 1;  // "Anglais"
       }},
      {w.CbVisuListe, none, [&] { return w.SgListe->isVisible() && w.height() == 448; }},
      {w.CbVisuListe, none, [&] { return !w.SgListe->isVisible() && w.height() == 148; }},
      {w.Button1, [&] { Click(w.Button1); },  // "A propos", twice
       [&] { return w.About()->isVisible() && w.findChildren<TFAbout*>().size() == 1; }},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(&step - steps);
    step.before();
    if (step.control != w.PnFiche) Click(step.control);
    EXPECT_TRUE(step.done());
  }
}

// A failure no handler stops is shown by the application object, one in a handler by the window; the program goes on.
// At closing, answers not written over another list of that name go to a rescue copy, or the window stays open. The
// stored settings decide at start; without a list the first showing of the window opens the About window, and only that
// one.
TEST_F(GuiTest, FailuresAreShownAndClosingLosesNoAnswer) {
  struct Throwing : QObject {
    bool event(QEvent*) override { throw 42; }
  } throwing;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&throwing, &event));
  EXPECT_EQ(boxes.seen.at(0).text, "Erreur inattendue.");

  for (const char* name : {"Vocal", "Gauche"}) PutSetting(name, "-1");
  Start();
  EXPECT_EQ(Title() + Cell(0, 0) + Cell(4, 0), "TenaxoGaucheRatio");
  EXPECT_TRUE(window->CbVocal->isChecked() && window->CbFirstLeft->isChecked());
  ASSERT_TRUE(window->About()->isVisible());
  window->About()->close();
  window->hide();
  window->show();
  EXPECT_FALSE(window->About()->isVisible());
  window->CbListes->setEditText(QStringLiteral("Anglais"));
  Click(window->Button5);
  ASSERT_EQ(boxes.seen.size(), 2u);
  EXPECT_TRUE(boxes.seen[1].text.startsWith("Impossible d'ouvrir le fichier \"" + ListPath("Anglais") + "\". "));

  PutList("Anglais", "a\tA\t\t\t\r\n");
  PutList("Autre", "x\tX\t\t\t\r\n");
  Click(window->Button5);
  Click(window->Button3);
  EXPECT_EQ(voices->spoken, std::vector<std::string>{"a"}) << "asked on the left and spoken";
  ClickFree();
  Click(window->BtOui);
  Click(window->CbVocal);
  window->CbListes->setEditText(QStringLiteral("Autre"));
  const QString rescue = Folder() + "data/Tenaxo/secours";
  boxes.answers = {"Annuler", "Non"};
  EXPECT_FALSE(CloseWindow());
  boxes.answers = {"Annuler", "Oui"};
  EXPECT_TRUE(CloseWindow());
  ASSERT_EQ(boxes.seen.size(), 6u);
  EXPECT_EQ(boxes.seen[5].buttons, "Oui [Non] ") << "Enter does not close without the list";
  EXPECT_EQ(boxes.seen[5].text,
            "La liste n'a pas pu être sauvegardée. Quitter quand même ? Une copie sera gardée "
            "dans « " +
                rescue + " ».");
  const QStringList copies = QDir(rescue).entryList(QDir::Files);
  ASSERT_EQ(copies.size(), 1);
  EXPECT_TRUE(copies[0].startsWith("Autre ") && test::FileBytes(rescue + '/' + copies[0]) == "a\tA\t1\t1\t\r\n");
  EXPECT_EQ(ListBytes("Autre") + ListBytes("Anglais"), "x\tX\t\t\t\r\na\tA\t\t\t\r\n");
  EXPECT_EQ(Setting("Liste") + Setting("Vocal") + Setting("Gauche"), "Autre0-1");
}

}  // namespace
}  // namespace tenaxo
