// SPDX-License-Identifier: GPL-3.0-or-later
// The window on desktops unlike the test machine: its look under light and dark palettes at any scale (run again at
// QT_SCALE_FACTOR 1.5 and 2), and a series by keys alone as a screen reader follows it.
#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <cmath>
#include <functional>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using namespace test;

QAccessibleInterface* Of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
QString Read(QObject* object, QAccessible::Text what = QAccessible::Name) { return Of(object)->text(what); }

// Contrast ratio of two colours, as WCAG 2.1 defines it (1 to 21): the test's own reading of the rule.
double Contrast(QRgb a, QRgb b) {
  auto luminance = [](QRgb c) {
    auto channel = [](int v) {
      const double s = v / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A text as drawn: the widget is grabbed with it and without it; the pixels it changes are its ink (amount: weighed by
// how far they are from the background), its contrast the strongest between a pixel of ink and the background under it.
struct Ink {
  double contrast = 1, amount = 0;
};
Ink Measure(QWidget* widget, const QRect& area, const std::function<void(bool shown)>& show) {
  auto grab = [&](bool shown) {
    show(shown);
    QCoreApplication::processEvents();
    return widget->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
  };
  const QImage blank = grab(false), text = grab(true);
  Ink ink;
  for (int y = 0; y < text.height(); ++y) {
    for (int x = 0; x < text.width(); ++x) {
      const QRgb with = text.pixel(x, y), without = blank.pixel(x, y);
      if (with == without) continue;
      ink.contrast = std::max(ink.contrast, Contrast(with, without));
      ink.amount += std::abs(qGray(with) - qGray(without)) / 255.0;
    }
  }
  return ink;
}

// Hides and shows again the text of a control; nothing for a control without one.
std::function<void(bool)> TextOf(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return [b, t = b->text()](bool on) { b->setText(on ? t : ""); };
  if (auto* l = qobject_cast<QLabel*>(w)) return [l, t = l->text()](bool on) { l->setText(on ? t : ""); };
  if (auto* c = qobject_cast<QComboBox*>(w)) return [c, t = c->currentText()](bool on) { c->setEditText(on ? t : ""); };
  auto* p = qobject_cast<Panel*>(w);
  if (!p || p->Caption().isEmpty()) return nullptr;
  return [p, t = p->Caption()](bool on) { p->SetCaption(on ? t : QString()); };
}

// The window as designed, under a light and a dark palette: each control where it was placed, in its font and colours,
// centred on the screen; every text reads at WCAG AA (4.5:1); the bold "Sauver" of unsaved changes stays plainly
// heavier than the regular one at every scale.
TEST_F(GuiTest, TheLookAsDesignedUnderLightAndDarkPalettes) {
  const QString style = QApplication::style()->name();
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  const QPalette light = QApplication::style()->standardPalette();
  QPalette dark(QColor(53, 53, 53));  // as a dark desktop theme gives it, with a highlight too light for white
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  for (const auto& [paletteName, palette] : {std::pair{"light", light}, std::pair{"dark", dark}}) {
    SCOPED_TRACE(paletteName);
    QApplication::setPalette(palette);
    StartWith("Anglais", Pairs(3), {{"Gauche", "-1"}});
    EXPECT_LE((window->pos() + QPoint(320, 73) - window->screen()->availableGeometry().center()).manhattanLength(), 1);
    window->CbVisuListe->setChecked(true);
    ASSERT_EQ(Caption(window->PnQR), "?");
    EXPECT_EQ(window->PnQR->Color(), QColor(192, 192, 192)) << "masked";

    // Where each control was placed, its font and the background fixed whatever the desktop's.
    struct Look {
      QWidget* control;
      QRect geometry;
      int pixels = 11;
      bool bold = false, italic = false;
      QColor bg{};
    };
    TFAbout* about = window->About();
    about->show();
    const Look looks[] = {{window->PnFiche, {0, 0, 642, 148}},
                          {window->SgListe, {0, 148, 642, 300}},
                          {window->PnQL, {1, 29, 320, 38}, 13, true, false, Qt::white},    // the question
                          {window->PnQR, {321, 29, 320, 38}, 13, true, false, Qt::white},  // revealed
                          {window->PnReponse, {224, 70, 192, 45}, 11, false, false, QColor(166, 202, 240)},
                          {window->Label1, {5, 2, 120, 13}},  // wider than designed: the caption needs more than 91
                          {window->Label10, {4, 6, 36, 16}, 13, false, true},
                          {window->LbNbMots, {272, 6, 127, 16}, 13, false, true},
                          {window->CbListes, {48, 3, 218, 24}, 13, false, true},
                          {window->CbVisuListe, {474, 7, 97, 17}},
                          {window->BtOui, {19, 17, 75, 25}},
                          {window->BtNon, {100, 17, 75, 25}},
                          {window->Button3, {8, 72, 211, 36}},
                          {window->Button5, {7, 117, 64, 25}},
                          {window->BtSauver, {77, 117, 64, 25}},
                          {window->Button1, {574, 5, 60, 20}},
                          {window->BtDelListe, {147, 117, 64, 25}},
                          {window->BtVider, {224, 117, 64, 25}},
                          {window->Button4, {291, 117, 87, 25}},
                          {window->CbFirstLeft, {473, 73, 161, 17}},
                          {window->CbVocal, {474, 96, 161, 17}},
                          {about->Memo1, {0, 0, 718, 89}, 13, true},  // the About window
                          {about->Memo2, {0, 0, 409, 443}, 12},
                          {about->Memo3, {421, 0, 297, 443}, 12}};
    auto contrast = [](QWidget* w, const QRect& area, const std::function<void(bool)>& show, const char* what) {
      const Ink ink = Measure(w, area, show);
      EXPECT_GT(ink.amount, 0) << what << ": no text drawn";
      EXPECT_GE(ink.contrast, 4.5) << what;
      return ink;
    };
    for (Panel* side : {window->PnQL, window->PnQR}) contrast(side, side->rect(), TextOf(side), "before the reveal");
    const QImage bevel = window->PnQL->grab().toImage();
    const qreal scale = bevel.devicePixelRatio();
    EXPECT_EQ(bevel.pixel(0, 0), qRgb(255, 255, 255)) << "raised: light at the top left";
    EXPECT_EQ(bevel.pixel(int(319 * scale), int(37 * scale)), qRgb(160, 160, 160)) << "dark at the bottom right";
    ClickFree();
    ASSERT_TRUE(window->PnReponse->isVisible());
    Ink regular;
    for (const auto& look : looks) {
      SCOPED_TRACE(Read(look.control).toStdString());
      EXPECT_EQ(look.control->geometry(), look.geometry);
      const QFont font = look.control->font();
      EXPECT_EQ(std::tuple(QFontInfo(font).family().toStdString(), font.pixelSize(), font.bold(), font.italic()),
                std::tuple(std::string("Tahoma"), look.pixels, look.bold, look.italic));
      EXPECT_TRUE(!look.bg.isValid() || qobject_cast<Panel*>(look.control)->Color() == look.bg);
      if (const auto show = TextOf(look.control)) {
        const Ink ink = contrast(look.control, look.control->rect(), show, "text");
        if (look.control == window->BtSauver) regular = ink;
      }
    }
    ListGrid* grid = window->SgListe;  // the current cell, another cell, a header cell
    EXPECT_TRUE(grid->rowHeight(1) == 24 && grid->verticalScrollBar()->isVisible()) << "24 px rows, the bar always on";
    const QHeaderView* header = grid->horizontalHeader();
    for (const auto& [col, row] : {std::pair{0, 1}, std::pair{1, 2}, std::pair{1, 0}}) {
      const std::string text = window->State().table.Cell(col, row);
      auto show = [&, c = col, r = row](bool on) { window->State().table.SetCell(c, r, on ? text : std::string()); };
      const QRect area = row ? grid->visualRect(grid->Model()->IndexOf(col, row))
                             : QRect(header->sectionViewportPosition(col), 0, grid->columnWidth(col), header->height());
      contrast(row ? grid->viewport() : header->viewport(), area, show, "cell");
    }
    Click(window->BtOui);
    ASSERT_TRUE(SauverBold());
    const Ink marked = contrast(window->BtSauver, window->BtSauver->rect(), TextOf(window->BtSauver), "Sauver");
    EXPECT_GE(marked.amount, 1.4 * regular.amount) << "the mark at scale " << window->devicePixelRatio();
    window.reset();
  }
  QApplication::setPalette(light);
  QApplication::setStyle(QStyleFactory::create(style));
}

void Press(Qt::Key key, Qt::KeyboardModifiers with = {}) { QTest::keyClick(QApplication::focusWidget(), key, with); }

// A series by keys alone, and what a screen reader is told on the way (through the interfaces the platform bridge
// reads).
TEST_F(GuiTest, ASeriesByKeysAloneAsAScreenReaderFollowsIt) {
  // The first word is heard once the window is on screen; the engine failing
  // then switches speech off, as any failure to speak.
  std::vector<bool> onScreen;
  voices->raise = true;
  voices->speaking = [&] { onScreen.push_back(window && window->windowHandle()->isExposed()); };
  StartWith("Anglais", Pairs(5), {{"Gauche", "-1"}, {"Vocal", "-1"}});
  QTest::qWait(20);
  EXPECT_EQ(onScreen, std::vector<bool>{true});
  EXPECT_EQ(voices->spoken, std::vector<std::string>{Caption(window->PnQL)});
  EXPECT_FALSE(window->CbVocal->isChecked());
  window->CbVisuListe->setChecked(true);
  QApplication::setActiveWindow(window.get());
  EXPECT_EQ(QApplication::focusWidget(), window->PnFiche) << "the card has the focus at start";
  EXPECT_EQ(Read(window->PnReponse), "Réponse trouvée ?");
  // Qt names a list box by its text here, and reads its label first, through a relation.
  const auto labels = Of(window->CbListes)->relations(QAccessible::Label);
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels[0].first->text(QAccessible::Name), "Liste");
  ASSERT_NE(Of(window->PnQR)->textInterface(), nullptr);
  EXPECT_EQ(Of(window->PnQR)->textInterface()->text(0, 1), "?");

  // Space and Enter reveal, as a screen reader's press on a panel does (Key_unknown: its press on the masked
  // panel); O and N on the card, Alt+O and Alt+N anywhere. A press on the card released off it is no click;
  // neither a held key nor Ctrl answers.
  const struct {
    Qt::Key reveal, answer;
    Qt::KeyboardModifiers modifiers;
  } steps[] = {{Qt::Key_Space, Qt::Key_O, Qt::NoModifier},
               {Qt::Key_Return, Qt::Key_N, Qt::NoModifier},
               {Qt::Key_Enter, Qt::Key_O, Qt::AltModifier},
               {Qt::Key_unknown, Qt::Key_N, Qt::AltModifier},
               {Qt::Key_Space, Qt::Key_N, Qt::NoModifier}};
  for (const auto& step : steps) {
    SCOPED_TRACE(&step - steps);
    const int asked = window->State().askedCount;
    const QString question = window->PnQL->Caption(), answer = "m" + question.mid(1);
    EXPECT_EQ(Read(window->PnFiche), question) << "the card is named by its question";
    EXPECT_EQ(Read(window->PnQR, QAccessible::Value), "?");
    QTest::mousePress(window->PnFiche, Qt::LeftButton, {}, QPoint(440, 125));
    QTest::mouseRelease(window->PnFiche, Qt::LeftButton, {}, QPoint(440, 200));
    Press(Qt::Key_N);
    ASSERT_FALSE(window->PnReponse->isVisible());
    if (step.reveal == Qt::Key_unknown)
      Of(window->PnQR)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    else Press(step.reveal);
    ASSERT_TRUE(window->PnReponse->isVisible());
    EXPECT_EQ(Read(window->PnQR, QAccessible::Value), answer);
    EXPECT_EQ(Read(window->PnFiche, QAccessible::Description), "Gauche : " + question + ", Droite : " + answer);
    QKeyEvent held(QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, QStringLiteral("o"), true);
    QApplication::sendEvent(window->PnFiche, &held);
    Press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(window->State().askedCount, asked);
    Press(step.answer, step.modifiers);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->State().askedCount == asked + 1; }, 1000));
    ASSERT_EQ(QApplication::focusWidget(), window->PnFiche) << "back on the card after an answer";
  }
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 2/5");

  // Tab goes through every control in reading order, each named and showing its focus.
  Press(Qt::Key_Space);
  const std::pair<QWidget*, QString> order[] = {{window->CbListes, "Anglais"},
                                                {window->CbVisuListe, "Voir la liste"},
                                                {window->Button1, "A propos"},
                                                {window->PnQL, "Gauche"},
                                                {window->PnQR, "Droite"},
                                                {window->Button3, "Nouvelle série de question"},
                                                {window->BtOui, "Oui"},
                                                {window->BtNon, "Non"},
                                                {window->CbFirstLeft, "Montrer à gauche en premier"},
                                                {window->CbVocal, "Synthèse vocale à gauche"},
                                                {window->Button5, "Charger"},
                                                {window->BtSauver, "Sauver"},
                                                {window->BtDelListe, "Supprimer"},
                                                {window->BtVider, "Vider liste"},
                                                {window->Button4, "RAZ Statistiques"},
                                                {window->SgListe, "Liste des associations"},
                                                {window->PnFiche, window->PnQL->Caption()}};
  for (const auto& [expected, name] : order) {
    EXPECT_EQ(Read(expected), name);
    const QImage before = expected->grab().toImage();
    Press(Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus == expected || expected->isAncestorOf(focus)) << name.toStdString();
    EXPECT_NE(expected->grab().toImage(), before) << "no focus frame on " << name.toStdString();
  }

  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(SauverBold());
  EXPECT_NE(ListBytes("Anglais"), Pairs(5)) << "saved with the answers";
  Press(Qt::Key_F1);
  EXPECT_TRUE(window->About()->isVisible());
  const std::string title = Title();
  window->hide();
  window->show();
  EXPECT_EQ(Title(), title) << "shown again, the window starts nothing anew";
}

}  // namespace
}  // namespace tenaxo
