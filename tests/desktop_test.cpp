// SPDX-License-Identifier: GPL-3.0-or-later
// The look (light, dark, without Tahoma, at 1.5 and 2 too), the keyboard, a larger window, the command line, About.
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionButton>

#include "CommandLine.h"
#include "Fonts.h"
#include "GuiFixture.h"
#include "HeldSpeech.h"
#include "Version.h"

namespace tenaxo {
namespace {
using namespace test;

// A text's ink (grabbed with it and without it, weighed by distance from the background); it reads at 4.5:1.
double Ink(QWidget* widget, const QRect& area, const std::function<void(bool shown)>& show) {
  auto grab = [&](bool shown) {
    show(shown);
    QCoreApplication::processEvents();
    return widget->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
  };
  const QImage blank = grab(false), text = grab(true);
  double contrast = 1, amount = 0;
  for (int y = 0; y < text.height(); ++y) {
    for (int x = 0; x < text.width(); ++x) {
      const QRgb with = text.pixel(x, y), without = blank.pixel(x, y);
      contrast = std::max(contrast, ContrastRatio(QColor(with), QColor(without)));
      amount += std::abs(qGray(with) - qGray(without)) / 255.0;
    }
  }
  EXPECT_GT(amount, 0) << "no text drawn";
  EXPECT_GE(contrast, kReadableContrast);
  return amount;
}

// Hides and shows again the text of a control, empty or not; nothing for a control without one.
std::function<void(bool)> TextOf(QWidget* w) {
  auto* p = qobject_cast<Panel*>(w);
  const char* text = qobject_cast<QComboBox*>(w) ? "currentText" : w->inherits("QPlainTextEdit") ? "plainText" : "text";
  if (p ? p->Caption().isEmpty() : !w->property(text).isValid()) return nullptr;
  if (p) return [p, t = p->Caption()](bool on) { p->SetCaption(on ? t : QString()); };
  return [w, text, t = w->property(text)](bool on) { w->setProperty(text, on ? t : QString()); };
}

// Where the caption of a control may draw: buttons centre it, check boxes and labels start it at the left.
qreal Room(QWidget* control) {
  auto* button = qobject_cast<QAbstractButton*>(control);
  if (!button) return control->contentsRect().width();
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  const auto area = qobject_cast<QCheckBox*>(button) ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents;
  return button->style()->subElementRect(area, &option, button).width();
}

qreal Width(const QFont& font, const QString& text, bool centred) {
  const QFontMetricsF metrics(font);
  return centred ? metrics.horizontalAdvance(text) : metrics.tightBoundingRect(text).right();
}

// Each control where placed, in its font and colours; captions read and fit without Tahoma; the mark is heavier.
TEST_F(GuiTest, TheLookWithAndWithoutTahomaUnderLightAndDarkPalettes) {
  const QString style = QApplication::style()->name();
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  const QPalette light = QApplication::style()->standardPalette();
  QPalette dark(QColor(53, 53, 53));  // as a dark desktop theme gives it, with a highlight too light for white
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  for (const auto& [tahoma, palette] : {std::pair{true, light}, {true, dark}, {false, light}, {false, dark}}) {
    SCOPED_TRACE(std::string(tahoma ? "Tahoma, " : "without Tahoma, ") + (palette == light ? "light" : "dark"));
    tahoma ? LoadUiFonts() : UseFallbackUiFont();
    QApplication::setPalette(palette);
    Start("Anglais", Pairs(3), {{"Gauche", "-1"}});
    TFTenaxo& w = *window;
    TFAbout& a = *w.About();
    for (QPlainTextEdit* notes : {a.Memo1, a.Memo2, a.Memo3}) {  // read-only, selected with the keys too
      QTest::keyClick(notes, Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
      EXPECT_TRUE(notes->isReadOnly() && notes->textCursor().hasSelection()) << Read(notes);
    }
    EXPECT_LE((w.pos() + w.rect().center() - w.screen()->availableGeometry().center()).manhattanLength(), 1);
    a.show(), w.CbVisuListe->setChecked(true);  // the About window and the list shown
    EXPECT_EQ(w.PnQR->Color(), QColor(192, 192, 192)) << "masked";
    for (Panel* side : {w.PnQL, w.PnQR}) Ink(side, side->rect(), TextOf(side));
    const QImage bevel = w.PnQR->grab().toImage();  // raised: light at the top and the left, dark below and right
    const qreal scale = bevel.devicePixelRatio();   // then lowered within: the other way round
    for (const auto& [x, y, lit] : {std::tuple{160, 0, true},
                                    {0, 20, true},
                                    {160, 37, false},
                                    {319, 20, false},
                                    {160, 2, false},
                                    {2, 20, false},
                                    {160, 35, true},
                                    {317, 20, true}})
      EXPECT_EQ(bevel.pixel(int(x * scale), int(y * scale)), lit ? qRgb(255, 255, 255) : qRgb(160, 160, 160));
    ClickFree();
    for (Panel* panel : {w.PnQL, w.PnQR, w.PnReponse})
      EXPECT_EQ(panel->Color(), panel == w.PnReponse ? QColor(166, 202, 240) : QColor(Qt::white)) << Read(panel);
    // The font: Tahoma, 11 px unless a size is given, b bold, i italic; "Réponse trouvée ?" needs over 91 px.
    const std::tuple<QWidget*, QRect, std::string> looks[] = {
        {w.PnFiche, {0, 0, 642, 148}, ""},      {w.SgListe, {0, 148, 642, 300}, ""},
        {w.PnQL, {1, 29, 320, 38}, "13b"},      {w.PnQR, {321, 29, 320, 38}, "13b"},
        {w.PnReponse, {224, 70, 192, 45}, ""},  {w.Label1, {5, 2, 120, 13}, ""},
        {w.Label10, {4, 6, 36, 16}, "13i"},     {w.LbNbMots, {272, 6, 127, 16}, "13i"},
        {w.CbListes, {48, 3, 218, 24}, "13i"},  {w.CbVisuListe, {474, 7, 97, 17}, ""},
        {w.BtOui, {19, 17, 75, 25}, ""},        {w.BtNon, {100, 17, 75, 25}, ""},
        {w.Button3, {8, 72, 211, 36}, ""},      {w.Button5, {7, 117, 64, 25}, ""},
        {w.BtSauver, {77, 117, 64, 25}, ""},    {w.Button1, {574, 5, 60, 20}, ""},
        {w.BtDelListe, {147, 117, 64, 25}, ""}, {w.BtVider, {224, 117, 64, 25}, ""},
        {w.Button4, {291, 117, 87, 25}, ""},    {w.CbFirstLeft, {473, 73, 161, 17}, ""},
        {w.CbVocal, {474, 96, 161, 17}, ""},    {a.Memo1, {0, 0, 718, 89}, "13b"},
        {a.Memo2, {0, 0, 409, 443}, "12"},      {a.Memo3, {421, 0, 297, 443}, "12"}};
    for (const auto& [control, geometry, font] : looks) {
      SCOPED_TRACE(Read(control));
      EXPECT_EQ(control->geometry(), geometry);
      QFont f = control->font();  // the captions fit only without Tahoma: the window was laid out for its metrics
      if (tahoma) {
        EXPECT_EQ(std::tuple(QFontInfo(f).family().toStdString(), f.pixelSize(), f.bold(), f.italic()),
                  std::tuple(std::string("Tahoma"), font.empty() ? 11 : std::stoi(font), font.find('b') != font.npos,
                             font.find('i') != font.npos));
      } else if (auto* b = qobject_cast<QAbstractButton*>(control)) {
        f.setBold(f.bold() || b == w.BtSauver);
        EXPECT_LE(Width(f, b->text(), !b->inherits("QCheckBox")), Room(b));
      } else if (auto* label = qobject_cast<QLabel*>(control)) {
        EXPECT_LE(Width(f, label->text(), false), Room(label));
      }
      if (const auto show = TextOf(control)) Ink(control, control->rect(), show);
    }
    EXPECT_EQ(QFontInfo(w.font()).family() == "Tahoma", tahoma);
    EXPECT_GE(QFontInfo(w.font()).pixelSize(), 9) << "readable";
    EXPECT_EQ(w.SgListe->rowHeight(1), 24);
    EXPECT_TRUE(w.SgListe->verticalScrollBar()->isVisible()) << "the bar always on";
    const QHeaderView* header = w.SgListe->horizontalHeader();
    for (int col = 0; col < 5 && !tahoma; ++col) {
      const QString text = w.SgListe->model()->headerData(col, Qt::Horizontal).toString();
      EXPECT_LE(Width(header->font(), text, false), header->sectionSize(col) - 3) << text.toStdString();
    }
    for (const auto& [col, row] : {std::pair{0, 1}, std::pair{1, 2}, std::pair{1, 0}}) {  // current, other, header
      const std::string text = Cell(col, row);
      auto show = [&, c = col, r = row](bool on) { w.State().table.SetCell(c, r, on ? text : std::string()); };
      const QRect area =
          row ? w.SgListe->visualRect(w.SgListe->Model()->IndexOf(col, row))
              : QRect(header->sectionViewportPosition(col), 0, w.SgListe->columnWidth(col), header->height());
      Ink(row ? w.SgListe->viewport() : header->viewport(), area, show);
    }
    const double regular = Ink(w.BtSauver, w.BtSauver->rect(), TextOf(w.BtSauver));
    Click(w.BtOui);
    ASSERT_TRUE(SauverBold());
    EXPECT_GE(Ink(w.BtSauver, w.BtSauver->rect(), TextOf(w.BtSauver)), 1.4 * regular) << "at " << w.devicePixelRatio();
  }
  LoadUiFonts();
  QApplication::setPalette(light);
  QApplication::setStyle(QStyleFactory::create(style));
}

// The first word is heard once on screen, a failing engine turns speech off; Tab goes through, named, in order.
TEST_F(GuiTest, TheKeyboardGoesThroughTheControlsInReadingOrder) {
  std::vector<bool> onScreen;
  voices->raise = true;
  voices->speaking = [&] { onScreen.push_back(window && window->windowHandle()->isExposed()); };
  Start("Anglais", Pairs(5), {{"Gauche", "-1"}, {"Vocal", "-1"}});
  TFTenaxo& w = *window;
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.CbVocal->isChecked(); }));
  EXPECT_EQ(onScreen, std::vector<bool>{true});
  EXPECT_FALSE(w.windowIcon().isNull()) << "the program's icon";
  FocusGrid(), Focus(w.PnFiche), QTest::keyClick(w.PnFiche, Qt::Key_Space);  // "Oui" and "Non" shown
  QWidget* order[] = {w.CbListes,   w.CbVisuListe, w.Button1,     w.PnQL,    w.PnQR,    w.Button3,
                      w.BtOui,      w.BtNon,       w.CbFirstLeft, w.CbVocal, w.Button5, w.BtSauver,
                      w.BtDelListe, w.BtVider,     w.Button4,     w.SgListe, w.PnFiche};
  const QString names =
      "Anglais|Voir la liste|A propos|Gauche|Droite|Nouvelle série de question|Oui|Non|Montrer à "
      "gauche en premier|Synthèse vocale à gauche|Charger|Sauver|Supprimer|Vider liste|RAZ "
      "Statistiques|Liste des associations";
  for (const auto& control : order) {
    const std::string name =
        (control == w.PnFiche ? w.PnQL->Caption() : names.split('|')[&control - order]).toStdString();
    EXPECT_EQ(Read(control), name);
    const QImage before = control->grab().toImage();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(control->isAncestorOf(QApplication::focusWidget()) || control->hasFocus()) << name;
    EXPECT_NE(control->grab().toImage(), before) << "no focus frame on " << name;
  }
}

// Held, the last text alone waits for the first picture, then goes to the voice made last, if it still lives.
TEST(HeldSpeech, SpeaksTheLastTextHeldOnRelease) {
  struct Held {
    std::shared_ptr<VoiceLog> log = std::make_shared<VoiceLog>();
    std::shared_ptr<HeldSpeech> hold = std::make_shared<HeldSpeech>();
    std::unique_ptr<Voice> voice = Make();
    std::unique_ptr<Voice> Make() { return std::make_unique<HeldVoice>(std::make_unique<FakeVoice>(log), hold); }
  };
  const std::tuple<const char*, std::vector<std::string>, std::function<void(Held&)>, bool, std::vector<std::string>>
      cases[] = {
          {"nothing held", {}, [](Held&) {}, true, {}},
          {"two held", {"a", "b"}, [](Held&) {}, true, {"b"}},
          {"the voice gone", {"a"}, [](Held& h) { h.voice.reset(); }, true, {}},
          {"a voice made again", {"a"}, [](Held& h) { h.voice = h.Make(); }, true, {"a"}},
          {"a failing voice", {"a"}, [](Held& h) { h.log->fail = true; }, false, {"a"}},
          {"a throwing voice", {"a"}, [](Held& h) { h.log->raise = true; }, false, {"a"}},
      };
  for (const auto& [name, held, meanwhile, released, heard] : cases) {
    SCOPED_TRACE(name);
    Held h;
    for (const std::string& text : held) EXPECT_TRUE(h.voice->Speak(text, "fr"));
    EXPECT_TRUE(h.log->spoken.empty());
    meanwhile(h);
    EXPECT_EQ(h.hold->Release(), released);
    EXPECT_EQ(h.log->spoken, heard);
  }
}

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
      {"-h", {"tenaxo", "-h"}, help, 0, {}},
  };
  for (const auto& [name, arguments, answer, status, files] : cases) {
    SCOPED_TRACE(name);
    const CommandLine line = ReadCommandLine(arguments, "/w/d");
    EXPECT_EQ(line.answer.value_or("").left(answer.size()), answer);
    EXPECT_EQ(line.status, status);
    EXPECT_EQ(line.files, files);
  }
}

// Files handed to the window open as "Charger" does, or are imported (the hand-over: reliability_test).
TEST_F(GuiTest, FilesHandedToTheWindowOpenAsListsOrImports) {
  PutList("Autre", "x\tX\t\t\t\r\n");
  test::PutFile(Folder() + "mots.txt", "chat\tcat\r\n");
  Start("Anglais", test::Pairs(2));
  for (const auto& [file, list] : {std::pair{ListPath("Autre"), "Autre"}, {Folder() + "mots.txt", "mots"}}) {
    window->OpenFiles({file});
    EXPECT_EQ(window->State().listName, list);
    EXPECT_EQ(window->CbListes->currentText(), list);
  }
  EXPECT_EQ(boxes.size(), 1u) << "the import's summary";
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
  for (const auto close : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W, QKeyCombination(Qt::Key_F),
                           QKeyCombination(Qt::Key_Return)}) {  // F: a click on Fermer; Return: on Fermer
    w.About()->ShowModeless();
    EXPECT_EQ(w.About()->BtFermer->geometry().bottomRight(), w.About()->rect().bottomRight() - QPoint(8, 6));
    EXPECT_EQ(w.About()->BtFermer->size(), w.About()->BtFermer->sizeHint()) << "no wider than its caption needs";
    QApplication::setActiveWindow(w.About());
    QWidget* to = close.key() == Qt::Key_Return ? w.About()->BtFermer : w.About()->focusWidget();
    if (close.key() == Qt::Key_F) Click(w.About()->BtFermer);
    else QTest::keyClick(to, close.key(), close.keyboardModifiers());
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
      {"right, as narrow as it may be", {100, 100, 572, 300}, {680, 100, 600, 600}},
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
