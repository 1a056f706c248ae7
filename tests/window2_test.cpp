// SPDX-License-Identifier: GPL-3.0-or-later
// Files given to the program; the keyboard after each step; the About window; a larger window (also at 1.5x and 2x).
#include <QHeaderView>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>

#include "CommandLine.h"
#include "GuiFixture.h"
#include "SingleInstance.h"
#include "Version.h"

namespace tenaxo {
namespace {
using test::GuiTest;

// -v and -h answer at once (the help's first line here), files are made absolute, unknown options refused.
TEST(CommandLine, AnswersFilesAndUnknownOptions) {
  const QString fault = "tenaxo : %1. Voir « tenaxo --help ».\n", help = "Utilisation : tenaxo [option]\n";
  const std::tuple<const char*, QStringList, QString, int, QStringList> cases[] = {
      {"files", {"tenaxo", "a.txt", "/x/b.kvtml", "../c.csv"}, "", 0, {"/w/d/a.txt", "/x/b.kvtml", "/w/c.csv"}},
      {"the toolkit's options", {"tenaxo", "-platform", "offscreen", "-style=Fusion", "-reverse"}, "", 0, {}},
      {"after --", {"tenaxo", "--", "-a.txt"}, "", 0, {"/w/d/-a.txt"}},
      {"unknown", {"tenaxo", "a.txt", "--bogus=1"}, fault.arg("option inconnue « --bogus »"), 2, {}},
      {"no value", {"tenaxo", "-style"}, fault.arg("il manque la valeur de l'option « -style »"), 2, {}},
      {"-v", {"tenaxo", "-v"}, "tenaxo " TENAXO_VERSION "\n", 0, {}},
      {"--version", {"tenaxo", "--version"}, "tenaxo " TENAXO_VERSION "\n", 0, {}},
      {"-h", {"tenaxo", "-h"}, help, 0, {}},
      {"--help", {"tenaxo", "--help"}, help, 0, {}},
  };
  for (const auto& [name, arguments, answer, status, files] : cases) {
    SCOPED_TRACE(name);
    const CommandLine line = ReadCommandLine(arguments, "/w/d");
    EXPECT_EQ(line.answer.value_or("").left(answer.size()), answer);
    EXPECT_EQ(line.status, status);
    EXPECT_EQ(line.files, files);
  }
}

// A second start hands its files to the running copy, relative ones from its own working folder, and ends.
TEST_F(GuiTest, ASecondStartSendsItsFilesAndTheWindowOpensThem) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", Folder() + "home");
  SingleInstance first(Folder() + "home/Tenaxo.ini");
  ASSERT_TRUE(first.Claim());
  QSignalSpy activated(&first, &SingleInstance::Activated);
  QProcess second;
  second.setProcessEnvironment(env);
  second.setWorkingDirectory(Folder());
  second.start(TENAXO_PROGRAM, {"-platform", "offscreen", "mots.txt", "/x/Autre.tnx"});
  ASSERT_TRUE(second.waitForFinished(20000) && (activated.count() == 1 || activated.wait(5000)));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(activated[0][0].toStringList(), QStringList({Folder() + "mots.txt", "/x/Autre.tnx"}));

  PutList("Autre", "x\tX\t\t\t\r\n");
  test::PutFile(Folder() + "mots.txt", "chat\tcat\r\n");
  Start("Anglais", test::Pairs(2));
  for (const auto& [file, list] : {std::pair{ListPath("Autre"), "Autre"}, {Folder() + "mots.txt", "mots"}}) {
    window->OpenFiles({file});  // loaded as "Charger" does, or imported
    EXPECT_EQ(window->State().listName, list);
    EXPECT_EQ(window->CbListes->currentText(), list);
  }
  EXPECT_EQ(boxes.size(), 1u) << "the import's summary";
  window->showMinimized();
  BringToFront(window.get());  // as a second start does
  EXPECT_FALSE(window->isMinimized());
}

// The card has the focus after each step; Enter presses its button only; Escape, Ctrl+W, Fermer close About.
TEST_F(GuiTest, TheKeyboardActsOnTheQuestion) {
  PutList("Autre", test::Pairs(3));
  Start("Anglais", test::Pairs(3));
  TFTenaxo& w = *window;
  QApplication::setActiveWindow(&w);
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"Charger", [&] { w.CbListes->setEditText("Autre"), Click(w.Button5); }},
      {"Nouvelle série de question", [&] { Click(w.Button3); }},
      {"a reveal on the card", [&] { emit w.PnFiche->clicked(); }},
      {"Oui", [&] { Press(Qt::Key_O, Qt::AltModifier); }},
      {"a reveal on the left", [&] { emit w.PnQL->clicked(); }},
      {"Non", [&] { Press(Qt::Key_N, Qt::AltModifier); }},
      {"a reveal on the right", [&] { emit w.PnQR->clicked(); }},
  };
  for (const auto& [name, step] : steps) {
    SCOPED_TRACE(name);
    w.CbListes->setFocus();
    step();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == w.PnFiche; }, 1000));
  }
  Press(Qt::Key_Space);
  EXPECT_EQ(w.CbListes->currentText(), "Autre");
  EXPECT_TRUE(w.PnReponse->isVisible()) << "revealed";
  w.move(0, 0);  // the offscreen screen is too narrow for the About window beside: below the card
  for (QWidget* focused : std::initializer_list<QWidget*>{w.Button3, w.CbVisuListe, w.Button1}) {
    focused->setFocus();
    Press(Qt::Key_Return);
    EXPECT_FALSE(w.PnReponse->isVisible()) << "never revealed";
    EXPECT_FALSE(w.CbVisuListe->isChecked());
    EXPECT_EQ(w.About()->isVisible(), focused == w.Button1);
  }
  EXPECT_GT(w.About()->frameGeometry().top(), w.PnFiche->mapToGlobal(QPoint(0, w.PnFiche->height())).y());
  EXPECT_EQ(Title(), "Tenaxo - Autre - Réponses justes : 0/0") << "a new series";
  for (const auto close : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W, QKeyCombination(Qt::Key_F)}) {
    w.About()->ShowModeless();
    EXPECT_EQ(w.About()->BtFermer->geometry().bottomRight(), w.About()->rect().bottomRight() - QPoint(8, 6));
    QApplication::setActiveWindow(w.About());
    if (close.key() == Qt::Key_F) Click(w.About()->BtFermer);
    else QTest::keyClick(w.About()->focusWidget(), close.key(), close.keyboardModifiers());
    EXPECT_FALSE(w.About()->isVisible());
  }
  PutSetting("Liste", "Absente");  // a first start: the window moves left, for the About window beside it
  Start();
  EXPECT_EQ(window->frameGeometry().left(), 0);
}

// Off the card: right of the main window if room (600 px at least), else left, else below or above the card.
TEST(AboutPlace, BesideTheMainWindowOffTheCard) {
  const std::tuple<const char*, QRect, QRect> cases[] = {
      // clang-format off
      {"right", {100, 100, 400, 300}, {508, 100, 700, 600}}, {"right, narrower", {100, 100, 500, 300}, {608, 100, 672, 600}},
      {"left", {800, 100, 400, 300}, {92, 100, 700, 600}}, {"below the card", {300, 50, 650, 500}, {300, 236, 700, 600}},
      {"above the card", {300, 650, 650, 360}, {300, 72, 700, 600}},
      {"no room: within the screen", {300, 350, 650, 660}, {300, 424, 700, 600}}};  // clang-format on
  for (const auto& [name, owner, expected] : cases) {
    const QRect card(owner.topLeft() + QPoint(1, 30), QSize(owner.width() - 2, 148));
    EXPECT_EQ(PlaceBeside({0, 0, 1280, 1024}, owner, card, {700, 600}), expected) << name;
  }
}

// Wider: the panels share the width; taller: the list, else the panels take it; the numeric columns fit.
TEST_F(GuiTest, ALargerWindowGivesItsRoomToThePanelsAndTheList) {
  Start("Anglais", test::Pairs(30));
  TFTenaxo& w = *window;
  // the list shown, the size; then PnQL, PnQR, the grid, PnReponse, CbVocal, "Charger"
  const std::tuple<bool, QSize, QRect, QRect, QRect, QPoint, QPoint, QPoint> cases[] = {
      // clang-format off
      {true, {642, 448}, {1, 29, 320, 38}, {321, 29, 320, 38}, {0, 148, 642, 300}, {224, 70}, {474, 96}, {7, 117}},
      {true, {1001, 700}, {1, 29, 499, 38}, {500, 29, 500, 38}, {0, 148, 1001, 552}, {403, 70}, {833, 96}, {7, 117}},
      {false, {642, 300}, {1, 29, 320, 190}, {321, 29, 320, 190}, {0, 300, 642, 0}, {224, 222}, {474, 248}, {7, 269}},
  };  // clang-format on
  for (const auto& [list, size, left, right, grid, answer, vocal, charger] : cases) {
    SCOPED_TRACE(size.width());
    w.CbVisuListe->setChecked(list);
    w.resize(size + QSize(0, w.MainMenu->height()));  // the menu bar above the designed area
    EXPECT_EQ(w.PnQL->geometry(), left);
    EXPECT_EQ(w.PnQR->geometry(), right);
    EXPECT_EQ(w.SgListe->geometry(), grid);
    EXPECT_EQ(w.PnReponse->pos(), answer);
    EXPECT_EQ(w.CbVocal->pos(), vocal);
    EXPECT_EQ(w.Button5->pos(), charger);
  }
  w.CbVisuListe->setChecked(true);
  ListGrid* grid = w.SgListe;
  int widths = grid->columnWidth(0) + grid->columnWidth(1);
  for (const auto& [col, value] : {std::pair{2, "99999"}, {3, "99999"}, {4, "0,000"}}) {
    const QString title = grid->model()->headerData(col, Qt::Horizontal).toString();
    const qreal needed = std::max(QFontMetricsF(grid->horizontalHeader()->font()).horizontalAdvance(title) + 3,
                                  QFontMetricsF(grid->font()).horizontalAdvance(value) + 7);
    EXPECT_LE(needed, grid->columnWidth(col)) << "fits";
    EXPECT_LE(grid->columnWidth(col), needed + 8) << "no wider";
    widths += grid->columnWidth(col);
  }
  EXPECT_EQ(widths, grid->viewport()->width() - 12) << "12 px free for a click off the cells";
  EXPECT_NEAR(grid->columnWidth(0) * 231.0 / 250, grid->columnWidth(1), 1);
  w.showMaximized();
  w.CbVisuListe->setChecked(false);
  QCoreApplication::processEvents();
  EXPECT_EQ(w.frameGeometry().size(), w.screen()->availableGeometry().size());
  EXPECT_EQ(w.PnFiche->height(), w.height() - w.MainMenu->height()) << "the card fills the screen";
  EXPECT_EQ(w.PnFiche->width(), w.width());
}

}  // namespace
}  // namespace tenaxo
