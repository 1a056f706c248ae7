#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::GuiTest;
using test::Pairs;

TEST_F(GuiTest, FirstStartShowsTheAboutWindowOverAnUntouchedWindow) {
  Start();
  EXPECT_EQ(Title(), "Tenaxo");
  EXPECT_EQ(Caption(window->PnQL), "PnQL");
  EXPECT_EQ(Caption(window->PnQR), "PnQR");
  EXPECT_TRUE(window->PnReponse->isVisible());
  EXPECT_EQ(window->height(), 148);
  EXPECT_EQ(window->width(), 642);
  EXPECT_FALSE(window->SgListe->isVisible());
  EXPECT_EQ(window->CbListes->currentText(), QString());
  EXPECT_EQ(window->CbListes->count(), 0);
  EXPECT_FALSE(window->CbVocal->isChecked());
  EXPECT_FALSE(window->CbFirstLeft->isChecked());
  EXPECT_EQ(voices->made, 0) << "no voice without speech";
  ASSERT_NE(window->About(), nullptr);
  EXPECT_TRUE(window->About()->isVisible());
  EXPECT_EQ(window->About()->windowTitle(), "A propos");
  EXPECT_EQ(window->State().SgListe.RowCount(), 5);
  EXPECT_EQ(Cell(0, 0), "Gauche");
  EXPECT_EQ(Cell(4, 0), "Ratio");
}

TEST_F(GuiTest, AStoredListLoadsRanksAndAsks) {
  PutList("Anglais", "a\tA\t10\t10\t\r\nb\tB\t\t\t\r\n");
  PutSetting("Liste", "Anglais");
  PutSetting("Gauche", "-1");
  PutSetting("Vocal", "-1");
  Start();
  EXPECT_FALSE(window->About()->isVisible());
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 0/0");
  EXPECT_EQ(window->LbNbMots->text(), "2 Lignes");
  EXPECT_EQ(Cell(0, 1), "b") << "ranked: never asked first";
  EXPECT_EQ(Cell(4, 2), "1,000");
  EXPECT_TRUE(window->CbVocal->isChecked());
  EXPECT_TRUE(window->CbFirstLeft->isChecked());
  EXPECT_EQ(Caption(window->PnQR), "?");
  EXPECT_FALSE(window->PnReponse->isVisible());
  ASSERT_EQ(voices->spoken.size(), 1u);
  EXPECT_EQ(voices->spoken[0], Caption(window->PnQL)) << "the left text shown is spoken";
  EXPECT_EQ(Cell(0, 0), "Gauche") << "the header row comes after the first question";
}

TEST_F(GuiTest, AnswersBookAndMarkTheListThenClosingSavesIt) {
  PutList("Anglais", "a\tA\t\t\t\r\n");
  PutSetting("Liste", "Anglais");
  Start();
  EXPECT_FALSE(SauverBold());
  ClickFree();
  EXPECT_TRUE(window->PnReponse->isVisible());
  Click(window->BtOui);
  EXPECT_TRUE(SauverBold());
  ClickFree();
  Click(window->BtNon);
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 1/2");
  EXPECT_EQ(Cell(2, 1), "2");
  EXPECT_EQ(Cell(3, 1), "1");
  EXPECT_TRUE(CloseWindow());
  EXPECT_EQ(ListBytes("Anglais"), "a\tA\t2\t1\t\r\n") << "ratios wait for the next ranking";
  EXPECT_EQ(Setting("Liste"), "Anglais");
  EXPECT_EQ(Setting("Vocal"), "0");
  EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(GuiTest, ClosingWithoutChangesWritesNoList) {
  PutList("Anglais", "a\tA\r\n");
  PutSetting("Liste", "Anglais");
  Start();
  EXPECT_TRUE(CloseWindow());
  EXPECT_EQ(ListBytes("Anglais"), "a\tA\r\n");
}

TEST_F(GuiTest, ClosingUnderTheNameOfAnotherListAsksFirst) {
  for (const char* answer : {"Annuler", "OK"}) {
    SCOPED_TRACE(answer);
    PutList("Anglais", "a\tA\t\t\t\r\n");
    PutList("Autre", "x\tX\t\t\t\r\n");
    PutSetting("Liste", "Anglais");
    Start();
    ClickFree();
    Click(window->BtOui);
    window->CbListes->setEditText(QStringLiteral("Autre"));
    const bool overwrite = std::string(answer) == "OK";
    boxes.answers.push_back(QString::fromUtf8(answer));
    // Declined, the answers are not lost: closing anyway keeps a copy.
    if (!overwrite) boxes.answers.push_back(QStringLiteral("Oui"));
    boxes.seen.clear();
    EXPECT_TRUE(CloseWindow());
    ASSERT_EQ(boxes.seen.size(), overwrite ? 1u : 2u);
    EXPECT_EQ(boxes.seen[0].title, "Confirmation");
    EXPECT_EQ(boxes.seen[0].text, "Ecraser cette liste ?");
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Question);
    EXPECT_EQ(boxes.seen[0].buttons, (QStringList{"OK", "Annuler"}));
    EXPECT_EQ(ListBytes("Autre"), overwrite ? "a\tA\t1\t1\t\r\n" : "x\tX\t\t\t\r\n");
    if (!overwrite) {
      EXPECT_TRUE(boxes.seen[1].text.startsWith("La liste n'a pas pu être sauvegardée."));
      const QStringList copies = QDir(Folder() + "data/Tenaxo/secours").entryList(QDir::Files);
      ASSERT_EQ(copies.size(), 1);
      EXPECT_TRUE(copies[0].startsWith("Autre "));
    }
    window.reset();
  }
}

// The list cannot be saved at closing: its file is read-only, or another
// program changed it and the user keeps that. The user may stay ("Non", the
// default) or close with a copy in the rescue folder; a copy that cannot be
// written keeps the window open too.
TEST_F(GuiTest, ClosingWhenTheListCannotBeSavedKeepsACopyOrStaysOpen) {
  const QString rescue = Folder() + "data/Tenaxo/secours";
  const QString question = "La liste n'a pas pu être sauvegardée. Quitter quand même ? Une copie sera gardée dans « " +
                           rescue + " ».";
  const struct {
    const char* cause;
    QString firstBox;  // the start of the box before the question
    const char* firstAnswer;
    bool readOnly;
  } cases[] = {{"read-only", "Impossible de créer le fichier \"" + ListPath("Anglais") + "\". ", "OK", true},
               {"changed on disk", "La liste a été modifiée sur le disque depuis son chargement. L'écraser ?", "Non",
                false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cause);
    window.reset();
    QDir(Folder() + "data").removeRecursively();
    PutList("Anglais", "a\tA\t\t\t\r\n");
    PutSetting("Liste", "Anglais");
    Start();
    ClickFree();
    Click(window->BtOui);
    if (c.readOnly) {
      QFile::setPermissions(ListPath("Anglais"), QFile::ReadOwner);
    } else {
      PutList("Anglais", "b\tB\t\t\t\r\n");
    }
    const std::string onDisk = ListBytes("Anglais");

    boxes.seen.clear();
    boxes.answers = {c.firstAnswer};  // then the default of the question
    EXPECT_FALSE(CloseWindow());
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_TRUE(boxes.seen[0].text.startsWith(c.firstBox)) << boxes.seen[0].text.toStdString();
    EXPECT_EQ(boxes.seen[1].title, "Confirmation");
    EXPECT_EQ(boxes.seen[1].text, question);
    EXPECT_EQ(boxes.seen[1].buttons, (QStringList{"Oui", "Non"}));
    EXPECT_EQ(boxes.seen[1].defaultButton, "Non");
    EXPECT_TRUE(SauverBold()) << "the changes are still there";

    // A file where the rescue folder should be.
    QDir().mkpath(Folder() + "data/Tenaxo");
    QFile(rescue).open(QIODevice::WriteOnly);
    boxes.seen.clear();
    boxes.answers = {c.firstAnswer, "Oui", "OK"};
    EXPECT_FALSE(CloseWindow());
    ASSERT_EQ(boxes.seen.size(), 3u);
    EXPECT_TRUE(boxes.seen[2].text.startsWith("Impossible de créer le fichier \"" + rescue + "/Anglais "));

    QFile::remove(rescue);
    boxes.answers = {c.firstAnswer, "Oui"};
    EXPECT_TRUE(CloseWindow());
    const QStringList copies = QDir(rescue).entryList(QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(copies[0].startsWith("Anglais ") && copies[0].endsWith(".tnx"));
    QFile copy(rescue + '/' + copies[0]);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll().toStdString(), "a\tA\t1\t1\t\r\n");
    EXPECT_EQ(ListBytes("Anglais"), onDisk);
    QFile::setPermissions(ListPath("Anglais"), QFile::ReadOwner | QFile::WriteOwner);
  }
}

TEST_F(GuiTest, AFailureInAHandlerIsShownAndTheProgramGoesOn) {
  Start();
  window->CbListes->setEditText(QStringLiteral("absente"));
  Click(window->Button5);
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Critical);
  EXPECT_EQ(boxes.seen[0].buttons, QStringList{"OK"});
  EXPECT_TRUE(boxes.seen[0].text.startsWith("Impossible d'ouvrir le fichier \"" + ListPath("absente") + "\". "));
  EXPECT_TRUE(boxes.seen[0].text.endsWith('.'));
  EXPECT_EQ(window->State().SgListe.RowCount(), 5) << "nothing changed";
  Click(window->CbVisuListe);
  EXPECT_EQ(window->height(), 448);
  EXPECT_TRUE(window->SgListe->isVisible());
  Click(window->CbVisuListe);
  EXPECT_EQ(window->height(), 148);
}

TEST_F(GuiTest, AboutTwiceIsOneWindowAndClosingItOnlyHidesIt) {
  PutList("x", "a\tb\r\n");
  PutSetting("Liste", "x");
  Start();
  TFAbout* about = window->About();
  EXPECT_FALSE(about->isVisible());
  Click(window->Button1);
  Click(window->Button1);
  EXPECT_TRUE(about->isVisible());
  EXPECT_EQ(window->findChildren<TFAbout*>().size(), 1);
  EXPECT_EQ(about->size(), QSize(718, 532));
  about->close();
  EXPECT_FALSE(about->isVisible());
  EXPECT_TRUE(window->isVisible());
  const QString usage = about->Memo2->toPlainText();
  EXPECT_TRUE(usage.contains(QStringLiteral("puis sur  «Nouvelle série de \n")));
  EXPECT_EQ(usage.split('\n').size(), 30);
  EXPECT_TRUE(about->Memo1->isReadOnly());
}

TEST_F(GuiTest, SpeechFailureUnchecksTheBoxAndIsStoredAsOff) {
  PutList("Anglais", "a\tA\r\n");
  PutSetting("Liste", "Anglais");
  PutSetting("Vocal", "-1");
  PutSetting("Gauche", "-1");
  voices->fail = true;
  Start();
  EXPECT_FALSE(window->CbVocal->isChecked());
  EXPECT_EQ(voices->alive, 0);
  EXPECT_EQ(Caption(window->PnQL), "a");
  EXPECT_TRUE(boxes.seen.empty()) << "speech failures are never shown";
  EXPECT_TRUE(CloseWindow());
  EXPECT_EQ(Setting("Vocal"), "0");
  EXPECT_EQ(Setting("Gauche"), "-1");
}

// A right click on "Synthèse vocale à gauche" chooses the language the left
// text is spoken in; it is kept in the setting Voix (missing: English).
TEST_F(GuiTest, TheVoiceMenuChoosesTheLanguageOfTheLeftText) {
  PutList("Anglais", "kot\tchat\r\n");
  PutSetting("Liste", "Anglais");
  PutSetting("Vocal", "-1");
  PutSetting("Gauche", "-1");
  Start();
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

  Start();
  EXPECT_EQ(voices->languages.back(), "pl") << "the first question, in the stored language";
  QMenu* again = window->CbVocalMenu();
  EXPECT_TRUE(again->actions().back()->isChecked());
  delete again;

  // A language no longer installed: the default voice speaks, and is checked.
  ASSERT_TRUE(CloseWindow());
  PutSetting("Voix", "xx-gone");
  Start();
  QMenu* gone = window->CbVocalMenu();
  EXPECT_TRUE(gone->actions().front()->isChecked());
  delete gone;
}

}  // namespace
}  // namespace tenaxo
