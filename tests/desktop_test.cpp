// SPDX-License-Identifier: GPL-3.0-or-later
// The look under light and dark palettes, with and without Tahoma, at any scale (again at 1.5 and 2); the keyboard.
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionButton>

#include "Fonts.h"
#include "GuiFixture.h"

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

// Hides and shows again the text of a control; nothing for a control without one.
std::function<void(bool)> TextOf(QWidget* w) {
  auto* p = qobject_cast<Panel*>(w);
  const char* text = qobject_cast<QComboBox*>(w) ? "currentText" : "text";  // of labels and buttons
  if (p ? p->Caption().isEmpty() : w->property(text).toString().isEmpty()) return nullptr;
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
    EXPECT_LE((w.pos() + w.rect().center() - w.screen()->availableGeometry().center()).manhattanLength(), 1);
    a.show(), w.CbVisuListe->setChecked(true);  // the About window and the list shown
    EXPECT_EQ(w.PnQR->Color(), QColor(192, 192, 192)) << "masked";
    for (Panel* side : {w.PnQL, w.PnQR}) Ink(side, side->rect(), TextOf(side));
    const QImage bevel = w.PnQL->grab().toImage();  // raised: light at the top and the left, dark below and right
    const qreal scale = bevel.devicePixelRatio();
    for (const auto& [x, y, lit] : {std::tuple{160, 0, true}, {0, 20, true}, {160, 37, false}, {319, 20, false}})
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
  EXPECT_EQ(voices->spoken, std::vector<std::string>{Caption(w.PnQL)});
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

}  // namespace
}  // namespace tenaxo
