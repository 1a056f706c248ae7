#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <functional>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::GuiTest;

// Every control runs its handler: each row clicks a control (after some
// preparation, answering the box it opens) and checks what the handler did.
TEST_F(GuiTest, EveryControlDoesWhatItsHandlerDoes) {
  PutList("Anglais", "a\tA\t2\t1\t\r\nb\tB\t\t\t\r\n");
  PutList("Autre", "x\tX\t\t\t\r\n");
  PutSetting("Liste", "Anglais");
  Start();
  TFTenaxo& w = *window;
  ASSERT_FALSE(w.About()->isVisible());
  std::vector<std::string> shown;  // the left panel's text as each word is heard
  voices->speaking = [&] { shown.push_back(Caption(w.PnQL)); };
  int rightFirst = 0;
  const auto revealed = [&] { return w.PnReponse->isVisible(); };
  const auto score = [&](const std::string& s) {
    return !revealed() && Title() == "Tenaxo - Anglais - Réponses justes : " + s;
  };
  const auto box = [&](const char* text) { return !boxes.seen.empty() && boxes.seen.back().text == text; };
  const auto none = [] {};
  const struct {
    QWidget* control;
    const char* answer;  // to the box it opens
    std::function<void()> before;
    std::function<bool()> done;
  } steps[] = {
      {w.PnFiche, "", [&] { ClickFree(); }, [&] { return Caption(w.PnQL) != "?" && Caption(w.PnQR) != "?"; }},
      {w.BtOui, "", none, [&] { return score("1/1") && SauverBold(); }},
      // A click is a left press and release both on the panel.
      {w.PnQL, "",
       [&] {
         QTest::mouseClick(w.PnQL, Qt::RightButton);
         QTest::mousePress(w.PnQL, Qt::LeftButton);
         QTest::mouseRelease(w.PnQL, Qt::LeftButton, {}, QPoint(-5, 5));
         EXPECT_FALSE(revealed());
       },
       [&] { return revealed() && Caption(w.PnQL) != "?"; }},
      {w.BtNon, "", none, [&] { return score("1/2"); }},
      {w.PnQR, "", none, [&] { return revealed() && Caption(w.PnQR) != "?"; }},
      {w.Button3, "", none, [&] { return score("0/0"); }},  // "Nouvelle série de question"
      {w.PnQL, "",
       [&] {
         Click(w.CbVocal);
         while (Caption(w.PnQL) != "?") Click(w.Button3);
       },
       [&] { return voices->made == 1 && !shown.empty() && shown == voices->spoken; }},
      // Its right click chooses the language the left text is spoken in.
      {w.PnQL, "",
       [&] {
         emit w.CbVocal->customContextMenuRequested(QPoint(5, 5));
         auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
         ASSERT_TRUE(menu && menu->actions().size() == 5);
         const QList<QAction*> items = menu->actions();
         EXPECT_EQ(items[0]->text() + items[2]->text() + items[4]->text(), "Anglais (voix par défaut)GreekPolish");
         EXPECT_TRUE(items[0]->isChecked() && items[1]->isSeparator());
         items[4]->trigger();
         menu->close();
       },
       [&] { return voices->languages.back() == "pl"; }},
      {w.CbVocal, "", none, [&] { return voices->alive == 0 && !w.CbVocal->isChecked(); }},
      {w.CbFirstLeft, "", none, [&] { return w.CbFirstLeft->isChecked(); }},
      {w.Button3, "", [&] { for (int k = 0; k < 8; ++k) rightFirst += (Click(w.Button3), Caption(w.PnQR) != "?"); },
       [&] { return rightFirst == 0 && Caption(w.PnQR) == "?"; }},
      {w.Button4, "OK", none,  // "RAZ Statistiques"
       [&] { return box("Remise à zéro des statistiques ?") && Cell(2, 1) + Cell(3, 1) + Cell(2, 2) == ""; }},
      {w.BtSauver, "", none, [&] { return !SauverBold() && ListBytes("Anglais").size() == 16; }},  // no counts left
      {w.Button5, "",  // "Charger", the name completed as typed
       [&] {
         w.CbListes->lineEdit()->clear();
         QApplication::setActiveWindow(&w);
         w.CbListes->setFocus();
         QTest::keyClicks(w.CbListes->lineEdit(), "Au");
       },
       [&] { return w.CbListes->currentText() == "Autre" && Cell(0, 1) == "x"; }},
      {w.BtVider, "OK", none, [&] { return box("Vider cette liste ?") && Cell(0, 1).empty(); }},
      // The emptied list is no longer the one loaded.
      {w.BtSauver, "Annuler", none,
       [&] { return box("Ecraser cette liste ?") && ListBytes("Autre") == "x\tX\t\t\t\r\n"; }},
      {w.BtDelListe, "OK", none,
       [&] {
         return box("Effacer cette liste ?") && ListBytes("Autre") + w.CbListes->currentText().toStdString() == "<missing>";
       }},
      {w.CbVisuListe, "", none, [&] { return w.SgListe->isVisible() && w.height() == 448; }},
      {w.CbVisuListe, "", none, [&] { return !w.SgListe->isVisible() && w.height() == 148; }},
      {w.Button1, "", [&] { Click(w.Button1); },  // "A propos", twice
       [&] { return w.About()->isVisible() && w.findChildren<TFAbout*>().size() == 1; }},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(&step - steps);
    step.before();
    if (*step.answer) boxes.answers = {step.answer};
    if (step.control != w.PnFiche) Click(step.control);
    EXPECT_TRUE(step.done());
  }
}

// A failure no handler stops reaches the application object: it is shown
// and the program goes on. A handler's own failure is shown by the window.
// Without a list, the first start shows the About window, only once.
TEST_F(GuiTest, AFailureIsShownAndTheProgramGoesOn) {
  struct Throwing : QObject {
    bool event(QEvent*) override { throw 42; }
  } throwing;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&throwing, &event));
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].text, "Erreur inattendue.");
  EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Critical);

  Start();
  EXPECT_EQ(Title() + Cell(0, 0) + Cell(4, 0), "TenaxoGaucheRatio");
  ASSERT_TRUE(window->About()->isVisible());
  window->About()->close();
  window->hide();
  window->show();
  EXPECT_FALSE(window->About()->isVisible()) << "only the first showing opens it";
  window->CbListes->setEditText(QStringLiteral("absente"));
  Click(window->Button5);
  ASSERT_EQ(boxes.seen.size(), 2u);
  EXPECT_TRUE(boxes.seen[1].text.startsWith("Impossible d'ouvrir le fichier \"" + ListPath("absente") + "\". "));
  EXPECT_EQ(window->State().SgListe.RowCount(), 5) << "nothing changed";
}

// The stored settings decide at start. At closing the answers are saved; not
// written over another list of that name, they are kept in a rescue copy or
// the window stays open ("Non").
TEST_F(GuiTest, ClosingSavesTheListOrKeepsARescueCopy) {
  PutList("Anglais", "a\tA\t\t\t\r\n");
  PutList("Autre", "x\tX\t\t\t\r\n");
  PutSetting("Liste", "Anglais");
  for (const char* name : {"Vocal", "Gauche"}) PutSetting(name, "-1");
  Start();
  EXPECT_TRUE(window->CbVocal->isChecked() && window->CbFirstLeft->isChecked());
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
  ASSERT_EQ(boxes.seen.size(), 4u);
  EXPECT_EQ(boxes.seen[3].text, "La liste n'a pas pu être sauvegardée. Quitter quand même ? Une copie sera gardée "
                                "dans « " + rescue + " ».");
  const QStringList copies = QDir(rescue).entryList(QDir::Files);
  ASSERT_EQ(copies.size(), 1);
  QFile copy(rescue + '/' + copies[0]);
  EXPECT_TRUE(copies[0].startsWith("Autre ") && copy.open(QIODevice::ReadOnly) && copy.readAll() == "a\tA\t1\t1\t\r\n");
  EXPECT_EQ(ListBytes("Autre") + ListBytes("Anglais"), "x\tX\t\t\t\r\na\tA\t\t\t\r\n");
  EXPECT_EQ(Setting("Liste") + Setting("Vocal") + Setting("Gauche"), "Autre0-1");
}

}  // namespace
}  // namespace tenaxo
