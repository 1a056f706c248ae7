#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <functional>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::GuiTest;

TEST_F(GuiTest, FirstStartShowsTheAboutWindowOnce) {
  Start();
  EXPECT_EQ(Title(), "Tenaxo");
  EXPECT_EQ(window->CbListes->currentText(), QString());
  EXPECT_EQ(voices->made, 0) << "no voice without speech";
  EXPECT_EQ(Cell(0, 0) + Cell(4, 0), "GaucheRatio");
  TFAbout* about = window->About();
  ASSERT_TRUE(about->isVisible());
  EXPECT_TRUE(about->Memo2->toPlainText().contains("«Nouvelle série de \n"));
  about->close();
  window->hide();
  window->show();
  EXPECT_FALSE(about->isVisible()) << "only the first showing opens it";
}

// Every control runs its handler: each row acts on the window as a user
// does and checks what the handler changes.
TEST_F(GuiTest, EveryControlDoesWhatItsHandlerDoes) {
  PutList("Anglais", "a\tA\t2\t1\t\r\nb\tB\t\t\t\r\n");
  PutList("Autre", "x\tX\t\t\t\r\n");
  PutSetting("Liste", "Anglais");
  Start();
  ASSERT_FALSE(window->About()->isVisible());
  std::vector<std::string> shown;  // the left panel's text as each word is heard
  voices->speaking = [&] { shown.push_back(Caption(window->PnQL)); };
  int rightFirst = 0;
  const auto answered = [&] { return !window->PnReponse->isVisible(); };
  const auto asked = [&](const char* name, const char* score) {
    return answered() && Title() == std::string("Tenaxo - ") + name + " - Réponses justes : " + score;
  };
  const auto answering = [&](const char* answer, QWidget* button) {
    boxes.answers = {answer};
    Click(button);
  };
  const auto lastBox = [&](const char* text) { return !boxes.seen.empty() && boxes.seen.back().text == text; };
  QWidget* w = window.get();
  const struct {
    const char* control;
    std::function<void()> act;
    std::function<bool()> done;
  } steps[] = {
      {"card", [&] { ClickFree(); },
       [&] { return !answered() && Caption(window->PnQL) != "?" && Caption(window->PnQR) != "?"; }},
      {"Oui", [&] { Click(window->BtOui); }, [&] { return asked("Anglais", "1/1") && SauverBold(); }},
      // A click is a left press and release both on the panel.
      {"Gauche, right button or released outside",
       [&] {
         QTest::mouseClick(window->PnQL, Qt::RightButton);
         QTest::mousePress(window->PnQL, Qt::LeftButton);
         QTest::mouseRelease(window->PnQL, Qt::LeftButton, {}, QPoint(-5, 5));
       },
       answered},
      {"Gauche", [&] { Click(window->PnQL); }, [&] { return !answered() && Caption(window->PnQL) != "?"; }},
      {"Non", [&] { Click(window->BtNon); }, [&] { return asked("Anglais", "1/2"); }},
      {"Droite", [&] { Click(window->PnQR); }, [&] { return !answered() && Caption(window->PnQR) != "?"; }},
      {"Nouvelle série de question", [&] { Click(window->Button3); }, [&] { return asked("Anglais", "0/0"); }},
      {"Synthèse vocale à gauche, on",
       [&] {
         Click(window->CbVocal);
         while (Caption(window->PnQL) != "?") Click(window->Button3);
         Click(window->PnQL);
       },
       [&] { return voices->made == 1 && !shown.empty() && shown == voices->spoken; }},
      {"Synthèse vocale à gauche, off", [&] { Click(window->CbVocal); },
       [&] { return voices->alive == 0 && !window->CbVocal->isChecked(); }},
      {"Montrer à gauche en premier",
       [&] {
         Click(window->CbFirstLeft);
         for (int k = 0; k < 8; ++k) {
           Click(window->Button3);
           rightFirst += Caption(window->PnQR) != "?";
         }
       },
       [&] { return rightFirst == 0 && window->CbFirstLeft->isChecked(); }},
      {"RAZ Statistiques", [&] { answering("OK", window->Button4); },
       [&] { return lastBox("Remise à zéro des statistiques ?") && Cell(2, 1) + Cell(3, 1) + Cell(2, 2) == ""; }},
      {"Sauver", [&] { Click(window->BtSauver); },
       [&] {
         const std::string file = ListBytes("Anglais");
         return !SauverBold() && file.size() == 16 && file.find("a\tA\t\t\t\r\n") != std::string::npos &&
                file.find("b\tB\t\t\t\r\n") != std::string::npos;
       }},
      {"Charger, the name completed as typed",
       [&] {
         window->CbListes->lineEdit()->clear();
         QApplication::setActiveWindow(window.get());
         window->CbListes->setFocus();
         QTest::keyClicks(window->CbListes->lineEdit(), "Au");
         Click(window->Button5);
       },
       [&] { return window->CbListes->currentText() == "Autre" && Cell(0, 1) == "x"; }},
      {"Vider liste", [&] { answering("OK", window->BtVider); },
       [&] { return lastBox("Vider cette liste ?") && Cell(0, 1).empty(); }},
      {"Sauver, the emptied list no longer the one loaded", [&] { answering("Annuler", window->BtSauver); },
       [&] { return lastBox("Ecraser cette liste ?") && ListBytes("Autre") == "x\tX\t\t\t\r\n"; }},
      {"Supprimer", [&] { answering("OK", window->BtDelListe); },
       [&] {
         return lastBox("Effacer cette liste ?") && ListBytes("Autre") == "<missing>" &&
                window->CbListes->findText("Autre") == -1 && window->CbListes->currentText().isEmpty();
       }},
      {"Voir la liste, on", [&] { Click(window->CbVisuListe); },
       [&] { return window->SgListe->isVisible() && w->height() == 448; }},
      {"Voir la liste, off", [&] { Click(window->CbVisuListe); },
       [&] { return !window->SgListe->isVisible() && w->height() == 148; }},
      {"A propos, twice", [&] { Click(window->Button1), Click(window->Button1); },
       [&] { return window->About()->isVisible() && window->findChildren<TFAbout*>().size() == 1; }},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.control);
    step.act();
    EXPECT_TRUE(step.done());
  }
}

// A failure no handler stops reaches the application object: it is shown
// and the program goes on. A handler's own failure is shown by the window.
TEST_F(GuiTest, AFailureIsShownAndTheProgramGoesOn) {
  struct Throwing : QObject {
    bool event(QEvent*) override { throw 42; }
  } throwing;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&throwing, &event));
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].text, "Erreur inattendue.");
  EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Critical);
  EXPECT_EQ(boxes.seen[0].buttons, QStringList{"OK"});

  Start();
  window->CbListes->setEditText(QStringLiteral("absente"));
  Click(window->Button5);
  ASSERT_EQ(boxes.seen.size(), 2u);
  EXPECT_TRUE(boxes.seen[1].text.startsWith("Impossible d'ouvrir le fichier \"" + ListPath("absente") + "\". "));
  EXPECT_EQ(window->State().SgListe.RowCount(), 5) << "nothing changed";
}

// At closing the answers are saved; a list that cannot be saved (here: the
// user keeps another list of that name) is kept as a rescue copy, or the
// window stays open ("Non", the default).
TEST_F(GuiTest, ClosingSavesTheListOrKeepsARescueCopy) {
  PutList("Anglais", "a\tA\t\t\t\r\n");
  PutList("Autre", "x\tX\t\t\t\r\n");
  PutSetting("Liste", "Anglais");
  const auto answerUnder = [&](const char* name) {
    PutSetting("Liste", "Anglais");
    Start();
    ClickFree();
    Click(window->BtOui);
    window->CbListes->setEditText(QString::fromUtf8(name));
  };
  answerUnder("Autre");
  const QString rescue = Folder() + "data/Tenaxo/secours";
  boxes.answers = {"Annuler", "Non"};
  EXPECT_FALSE(CloseWindow());
  ASSERT_EQ(boxes.seen.size(), 2u);
  EXPECT_EQ(boxes.seen[0].text, "Ecraser cette liste ?");
  EXPECT_EQ(boxes.seen[1].text, "La liste n'a pas pu être sauvegardée. Quitter quand même ? Une copie sera gardée "
                                "dans « " + rescue + " ».");
  EXPECT_EQ(boxes.seen[1].defaultButton, "Non");
  EXPECT_TRUE(SauverBold()) << "the changes are still there";

  boxes.answers = {"Annuler", "Oui"};
  EXPECT_TRUE(CloseWindow());
  const QStringList copies = QDir(rescue).entryList(QDir::Files);
  ASSERT_EQ(copies.size(), 1);
  EXPECT_TRUE(copies[0].startsWith("Autre ") && copies[0].endsWith(".tnx"));
  QFile copy(rescue + '/' + copies[0]);
  EXPECT_TRUE(copy.open(QIODevice::ReadOnly) && copy.readAll() == "a\tA\t1\t1\t\r\n") << "ratios wait for ranking";
  EXPECT_EQ(ListBytes("Autre"), "x\tX\t\t\t\r\n");

  answerUnder("Autre");
  boxes.answers = {"OK"};
  EXPECT_TRUE(CloseWindow());
  EXPECT_EQ(ListBytes("Autre"), "a\tA\t1\t1\t\r\n");
  EXPECT_EQ(Setting("Liste"), "Autre");
  EXPECT_EQ(Setting("Vocal") + Setting("Gauche"), "00");
}

// The stored settings decide at start. A right click on "Synthèse vocale à
// gauche" chooses the language the left text is spoken in; it is kept in
// the setting Voix (missing: English).
TEST_F(GuiTest, AStartTakesTheStoredSettingsAndTheVoiceMenuTheLanguage) {
  PutList("Anglais", "a\tA\t10\t10\t\r\nb\tB\t\t\t\r\n");
  PutSetting("Liste", "Anglais");
  PutSetting("Vocal", "-1");
  PutSetting("Gauche", "-1");
  Start();
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 0/0");
  EXPECT_EQ(window->LbNbMots->text(), "2 Lignes");
  EXPECT_EQ(Cell(0, 1) + Cell(4, 2), "b1,000") << "ranked: never asked first";
  EXPECT_TRUE(window->CbVocal->isChecked());
  EXPECT_TRUE(window->CbFirstLeft->isChecked());
  EXPECT_EQ(Caption(window->PnQR), "?");
  EXPECT_EQ(voices->spoken, std::vector<std::string>{Caption(window->PnQL)});
  EXPECT_EQ(voices->languages, std::vector<std::string>{""});

  emit window->CbVocal->customContextMenuRequested(QPoint(5, 5));
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  QStringList names;
  for (QAction* action : menu->actions()) {
    names << (action->isSeparator() ? QStringLiteral("--") : action->text() + (action->isChecked() ? "*" : ""));
  }
  EXPECT_EQ(names, (QStringList{"Anglais (voix par défaut)*", "--", "Greek", "Japanese", "Polish"}));
  menu->actions().back()->trigger();
  menu->close();
  Click(window->PnQL);
  EXPECT_EQ(voices->languages.back(), "pl");
  ASSERT_TRUE(CloseWindow());
  EXPECT_EQ(Setting("Voix"), "pl");
  voices->languages.clear();
  Start();
  EXPECT_EQ(voices->languages, std::vector<std::string>{"pl"}) << "the first question, in the stored language";
  ASSERT_TRUE(CloseWindow());
  PutSetting("Voix", "xx-gone");  // no longer installed: the default voice
  Start();
  QMenu* gone = window->CbVocalMenu();
  EXPECT_TRUE(gone->actions().front()->isChecked());
  delete gone;
}

}  // namespace
}  // namespace tenaxo
