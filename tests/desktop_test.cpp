// The window on desktops unlike the test machine: light and dark palettes,
// any scale (the suite runs this file again at QT_SCALE_FACTOR 1.5 and 2), a
// review by keys alone, what a screen reader is told, and the first word
// heard only once the window is on screen.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyleFactory>
#include <cmath>
#include <functional>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::GuiTest;
using test::Pairs;

// Contrast ratio of two colours, as WCAG 2.1 defines it (1 to 21).
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

// A text as drawn: the window is grabbed with it and without it; the pixels
// it changes are its ink, and its contrast is the strongest between a pixel
// of ink and the background under it.
struct Ink {
  double contrast = 1;
  double amount = 0;  // ink pixels weighted by how far they are from the background
};

Ink Measure(QWidget* widget, const QRect& area, const std::function<void(bool shown)>& show) {
  auto grab = [&] {
    QCoreApplication::processEvents();
    return widget->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
  };
  show(false);
  const QImage blank = grab();
  show(true);
  const QImage text = grab();
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

QPalette Dark() {
  // As a dark desktop theme gives it (qt6ct's "darker", KDE's Breeze Dark).
  QPalette dark(QColor(53, 53, 53));
  const std::pair<QPalette::ColorRole, QColor> roles[] = {
      {QPalette::Window, QColor(53, 53, 53)},     {QPalette::WindowText, Qt::white},
      {QPalette::Base, QColor(42, 42, 42)},       {QPalette::AlternateBase, QColor(66, 66, 66)},
      {QPalette::Text, Qt::white},                {QPalette::Button, QColor(53, 53, 53)},
      {QPalette::ButtonText, Qt::white},          {QPalette::Highlight, QColor(42, 130, 218)},
      {QPalette::HighlightedText, Qt::white},     {QPalette::Light, QColor(90, 90, 90)},
      {QPalette::Dark, QColor(35, 35, 35)},       {QPalette::ToolTipBase, QColor(53, 53, 53)},
      {QPalette::ToolTipText, Qt::white},         {QPalette::PlaceholderText, QColor(160, 160, 160)},
  };
  for (const auto& [role, color] : roles) dark.setColor(role, color);
  return dark;
}

// Every text of the window reads at WCAG AA (4.5:1) under a light and a dark
// palette, panels masked and revealed; the bold "Sauver" of unsaved changes
// stays plainly heavier than the regular one at every scale.
TEST_F(GuiTest, EveryTextReadsAndTheMarkStandsOutUnderLightAndDarkPalettes) {
  const QString style = QApplication::style()->name();
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  const QPalette light = QApplication::style()->standardPalette();
  for (const auto& [paletteName, palette] : {std::pair{"light", light}, std::pair{"dark", Dark()}}) {
    SCOPED_TRACE(paletteName);
    QApplication::setPalette(palette);
    PutList("Anglais", Pairs(3));
    PutSetting("Liste", "Anglais");
    PutSetting("Gauche", "-1");
    Start();
    window->CbVisuListe->setChecked(true);
    window->CbListes->setEditText(QStringLiteral("Anglais"));
    window->LbNbMots->setText(QStringLiteral("3 Lignes"));

    auto whole = [](QWidget* w) { return QRect(QPoint(0, 0), w->size()); };
    auto caption = [&](QAbstractButton* b) {
      return [b, text = b->text()](bool shown) { b->setText(shown ? text : QString()); };
    };
    auto label = [](QLabel* l) { return [l, text = l->text()](bool shown) { l->setText(shown ? text : QString()); }; };
    auto panel = [](Panel* p) { return [p, text = p->Caption()](bool shown) { p->SetCaption(shown ? text : QString()); }; };
    auto cell = [&](int col, int row) {
      return [this, col, row, text = window->State().SgListe.Cell(col, row)](bool shown) {
        window->State().SgListe.SetCell(col, row, shown ? text : AnsiString());
      };
    };
    ListGrid* grid = window->SgListe;
    auto cellArea = [grid](int col, int row) { return grid->visualRect(grid->Model()->IndexOf(col, row)); };
    QWidget* header = grid->horizontalHeader()->viewport();
    const QRect headerArea(grid->horizontalHeader()->sectionViewportPosition(1), 0, grid->columnWidth(1),
                           header->height());

    struct Text {
      const char* name;
      QWidget* widget;
      QRect area;
      std::function<void(bool)> show;
    };
    auto check = [](const std::vector<Text>& texts) {
      for (const Text& t : texts) {
        const Ink ink = Measure(t.widget, t.area, t.show);
        EXPECT_GT(ink.amount, 0) << t.name << ": no text drawn";
        EXPECT_GE(ink.contrast, 4.5) << t.name;
      }
    };
    ASSERT_EQ(Caption(window->PnQR), "?");
    // The designed colours stay whatever the desktop's.
    EXPECT_EQ(window->PnQR->Color(), QColor(192, 192, 192));
    EXPECT_EQ(window->PnQL->Color(), QColor(255, 255, 255));
    EXPECT_EQ(window->PnReponse->Color(), QColor(166, 202, 240));
    check({
        {"masked panel", window->PnQR, whole(window->PnQR), panel(window->PnQR)},
        {"question", window->PnQL, whole(window->PnQL), panel(window->PnQL)},
    });
    const Ink regular = Measure(window->BtSauver, whole(window->BtSauver), caption(window->BtSauver));
    ClickFree();
    ASSERT_TRUE(window->PnReponse->isVisible());
    check({
        {"revealed panel", window->PnQR, whole(window->PnQR), panel(window->PnQR)},
        {"Réponse trouvée ?", window->Label1, whole(window->Label1), label(window->Label1)},
        {"Oui", window->BtOui, whole(window->BtOui), caption(window->BtOui)},
        {"Non", window->BtNon, whole(window->BtNon), caption(window->BtNon)},
        {"Nouvelle série", window->Button3, whole(window->Button3), caption(window->Button3)},
        {"Charger", window->Button5, whole(window->Button5), caption(window->Button5)},
        {"Supprimer", window->BtDelListe, whole(window->BtDelListe), caption(window->BtDelListe)},
        {"Vider liste", window->BtVider, whole(window->BtVider), caption(window->BtVider)},
        {"RAZ", window->Button4, whole(window->Button4), caption(window->Button4)},
        {"A propos", window->Button1, whole(window->Button1), caption(window->Button1)},
        {"Voir la liste", window->CbVisuListe, whole(window->CbVisuListe), caption(window->CbVisuListe)},
        {"Montrer à gauche", window->CbFirstLeft, whole(window->CbFirstLeft), caption(window->CbFirstLeft)},
        {"Synthèse vocale", window->CbVocal, whole(window->CbVocal), caption(window->CbVocal)},
        {"Liste", window->Label10, whole(window->Label10), label(window->Label10)},
        {"Lignes", window->LbNbMots, whole(window->LbNbMots), label(window->LbNbMots)},
        {"list name", window->CbListes, whole(window->CbListes),
         [this](bool shown) { window->CbListes->setEditText(shown ? QStringLiteral("Anglais") : QString()); }},
        {"current cell", grid->viewport(), cellArea(0, 1), cell(0, 1)},
        {"cell", grid->viewport(), cellArea(1, 2), cell(1, 2)},
        {"header", header, headerArea, cell(1, 0)},
    });
    Click(window->BtOui);
    ASSERT_TRUE(SauverBold());
    const Ink marked = Measure(window->BtSauver, whole(window->BtSauver), caption(window->BtSauver));
    EXPECT_GE(marked.contrast, 4.5) << "Sauver";
    EXPECT_GE(marked.amount, 1.4 * regular.amount) << "the mark at scale " << window->devicePixelRatio();
    window.reset();
  }
  QApplication::setPalette(light);
  QApplication::setStyle(QStyleFactory::create(style));
}

// A screen reader's view, through the interfaces the platform bridge reads.
QAccessibleInterface* Of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

// The captions as the user reads them, without the mnemonic's '&'.
QString Shown(const QAbstractButton* button) { return QString(button->text()).remove(QLatin1Char('&')); }

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

TEST_F(GuiTest, ASeriesByKeysAlone) {
  PutList("Anglais", Pairs(30));
  PutSetting("Liste", "Anglais");
  Start();
  QApplication::setActiveWindow(window.get());
  EXPECT_EQ(QApplication::focusWidget(), window->PnFiche) << "the card has the focus at start";
  EXPECT_EQ(Shown(window->BtOui), "Oui");
  EXPECT_EQ(Shown(window->BtNon), "Non");
  EXPECT_EQ(Shown(window->BtSauver), "Sauver");

  // Space and Enter reveal; O and N on the card, Alt+O and Alt+N anywhere.
  struct Step {
    Qt::Key reveal, answer;
    Qt::KeyboardModifiers modifiers;
  };
  const Step steps[] = {{Qt::Key_Space, Qt::Key_O, Qt::NoModifier},
                        {Qt::Key_Return, Qt::Key_N, Qt::NoModifier},
                        {Qt::Key_Enter, Qt::Key_O, Qt::AltModifier},
                        {Qt::Key_Space, Qt::Key_N, Qt::AltModifier}};
  for (int q = 0; q < 20; ++q) {
    const Step& step = steps[q % 4];
    SCOPED_TRACE(q);
    const std::string question = Caption(window->PnQL) == "?" ? Caption(window->PnQR) : Caption(window->PnQL);
    EXPECT_EQ(Of(window->PnFiche)->text(QAccessible::Name).toStdString(), question) << "the card reads its question";
    Press(Qt::Key_N);  // no answer before the reveal
    Press(step.reveal);
    ASSERT_TRUE(window->PnReponse->isVisible());
    EXPECT_NE(Caption(window->PnQL), "?");
    EXPECT_NE(Caption(window->PnQR), "?");
    EXPECT_EQ(Of(window->PnFiche)->text(QAccessible::Name).toStdString(), question);
    // Neither a held key nor Ctrl answers.
    QKeyEvent held(QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, QStringLiteral("o"), true);
    QApplication::sendEvent(window->PnFiche, &held);
    Press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(window->State().FAskedCount, q + 1);
    Press(step.answer, step.modifiers);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->State().FAskedCount == q + 2; }, 1000));
    ASSERT_EQ(QApplication::focusWidget(), window->PnFiche) << "back on the card after an answer";
  }
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 10/20");

  // Tab goes through every control in reading order, each showing its focus.
  Press(Qt::Key_Space);
  window->CbVisuListe->setChecked(true);
  QWidget* const order[] = {window->CbListes,   window->CbVisuListe, window->Button1,    window->PnQL,
                            window->PnQR,       window->Button3,     window->BtOui,      window->BtNon,
                            window->CbFirstLeft, window->CbVocal,    window->Button5,    window->BtSauver,
                            window->BtDelListe, window->BtVider,     window->Button4,    window->SgListe,
                            window->PnFiche};
  for (QWidget* expected : order) {
    const QImage before = expected->grab().toImage();
    Press(Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    const std::string name = QAccessible::queryAccessibleInterface(expected)->text(QAccessible::Name).toStdString();
    ASSERT_TRUE(focus == expected || expected->isAncestorOf(focus)) << "expected " << name;
    EXPECT_NE(expected->grab().toImage(), before) << "no focus frame on " << name;
  }

  // The grid keeps its keys: letters go into the cell, Enter walks.
  Press(Qt::Key_Tab, Qt::ShiftModifier);
  ASSERT_TRUE(window->SgListe->isAncestorOf(QApplication::focusWidget()));
  const std::string title = Title();
  Press(Qt::Key_O);
  EXPECT_EQ(window->SgListe->Col(), 0);
  Press(Qt::Key_Return);
  EXPECT_EQ(window->SgListe->Col(), 1);
  EXPECT_EQ(Title(), title) << "no answer from the grid";

  // F1 opens the About window, Ctrl+S saves.
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(SauverBold());
  EXPECT_NE(ListBytes("Anglais"), Pairs(30)) << "saved with the answers";
  Press(Qt::Key_F1);
  EXPECT_TRUE(window->About()->isVisible());
}

TEST_F(GuiTest, EveryControlIsNamedForAScreenReaderAndAPanelReadsAsItShows) {
  PutList("Anglais", "cat\tchat\t\t\t\r\n");
  PutSetting("Liste", "Anglais");
  PutSetting("Gauche", "-1");
  Start();
  window->CbVisuListe->setChecked(true);

  for (QWidget* control : window->findChildren<QWidget*>()) {
    if (!control->isVisible() || !(control->focusPolicy() & Qt::TabFocus) || control->focusProxy()) continue;
    EXPECT_FALSE(Of(control)->text(QAccessible::Name).isEmpty()) << control->metaObject()->className();
  }
  // On this desktop Qt names a list box by its text and gives its label as
  // a relation, which the screen reader reads before the text.
  const auto labels = Of(window->CbListes)->relations(QAccessible::Label);
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels[0].first->text(QAccessible::Name), "Liste");
  EXPECT_EQ(Of(window->PnReponse)->text(QAccessible::Name), "Réponse trouvée ?");
  QAccessibleInterface* grid = Of(window->SgListe);
  EXPECT_EQ(grid->text(QAccessible::Name), "Liste des associations");
  QStringList headers;
  for (int i = 0; i < grid->childCount(); ++i) {
    if (grid->child(i)->role() == QAccessible::ColumnHeader) headers << grid->child(i)->text(QAccessible::Name);
  }
  EXPECT_EQ(headers, (QStringList{"Gauche", "Droite", "Demandé", "Juste", "Ratio"}));

  QAccessibleInterface* left = Of(window->PnQL);
  QAccessibleInterface* right = Of(window->PnQR);
  EXPECT_EQ(left->text(QAccessible::Name), "Gauche");
  EXPECT_EQ(left->text(QAccessible::Value), "cat");
  EXPECT_EQ(right->text(QAccessible::Name), "Droite");
  EXPECT_EQ(right->text(QAccessible::Value), "?");
  ASSERT_NE(right->textInterface(), nullptr);
  EXPECT_EQ(right->textInterface()->text(0, right->textInterface()->characterCount()), "?");
  EXPECT_EQ(Of(window->PnFiche)->text(QAccessible::Name), "cat") << "the card is named by its question";

  QApplication::setActiveWindow(window.get());
  Press(Qt::Key_Space);
  EXPECT_EQ(right->text(QAccessible::Value), "chat");
  EXPECT_EQ(Of(window->PnFiche)->text(QAccessible::Description), "Gauche : cat, Droite : chat");
  EXPECT_EQ(Of(window->PnFiche)->text(QAccessible::Name), "cat");

  // A screen reader can reveal too.
  Click(window->BtNon);
  ASSERT_EQ(right->text(QAccessible::Value), "?");
  ASSERT_TRUE(right->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  right->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(right->text(QAccessible::Value), "chat");
  EXPECT_TRUE(window->PnReponse->isVisible());
}

// With speech on, the window is on screen before the first word is heard;
// after that, a reveal speaks before it returns. A failure of that first
// word switches speech off, as any other.
TEST_F(GuiTest, TheFirstWordWaitsForTheFirstPicture) {
  struct Case {
    const char* name;
    bool list, raise;
    std::vector<std::string> spoken;
    bool speechOn;
  };
  const Case cases[] = {{"list", true, false, {"cat"}, true},
                        {"no list, nothing to say", false, false, {}, true},
                        {"the engine throws", true, true, {"cat"}, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.list) PutList("Anglais", "cat\tchat\t\t\t\r\n");
    PutSetting("Liste", c.list ? "Anglais" : "absente");
    PutSetting("Gauche", "-1");
    PutSetting("Vocal", "-1");
    struct PaintWatch : QObject {
      bool painted = false;
      bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
      }
    } watch;
    std::vector<bool> onScreen;
    voices = std::make_shared<test::VoiceLog>();
    voices->raise = c.raise;
    voices->speaking = [&] { onScreen.push_back(watch.painted); };
    window = std::make_unique<TFTenaxo>(test::FakeVoices(voices));
    window->PnFiche->installEventFilter(&watch);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::qWait(20);
    EXPECT_EQ(onScreen, std::vector<bool>(c.spoken.size(), true));
    EXPECT_EQ(voices->spoken, c.spoken);
    EXPECT_EQ(window->CbVocal->isChecked(), c.speechOn);
    if (c.speechOn) {
      Click(window->PnQL);
      EXPECT_EQ(voices->spoken.size(), c.spoken.size() + 1) << "spoken within the click";
    }
    window.reset();
  }
}

}  // namespace
}  // namespace tenaxo
