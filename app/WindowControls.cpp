// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls: made and placed, in their tab order, with the names
// a screen reader says; placed again as the window is resized.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>

#include "Fonts.h"
#include "ListGrid.h"
#include "ListModel.h"
#include "TFTenaxo.h"
#include "Widgets.h"

namespace tenaxo {

namespace {
const QColor kSkyBlue(166, 202, 240);

QPushButton* Button(QWidget* parent, const QString& caption, int x, int y, int w, int h) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(x, y, w, h);
  button->setAutoDefault(false);
  return button;
}

QCheckBox* CheckBox(QWidget* parent, const QString& caption, int x, int y, int w, int h) {
  auto* box = new QCheckBox(caption, parent);
  box->setGeometry(x, y, w, h);
  return box;
}

StaticLabel* Label(QWidget* parent, const QString& caption, int x, int y, int w, int h, const QFont& font) {
  auto* label = new StaticLabel(caption, parent);
  label->setGeometry(x, y, w, h);
  label->setFont(font);
  return label;
}
}  // namespace

void TFTenaxo::CreateControls() {
  // The card and the list keep their places in an area of their own, below
  // the menu bar.
  area_ = new QWidget(this);
  model_ = new ListModel(session_.table, this);
  SgListe = new ListGrid(model_, area_);

  PnFiche = new Panel(area_, Bevel::Raised, Bevel::None, 1);
  PnFiche->setGeometry(0, 0, kClientWidth, kCardHeight);

  const QFont panelFont = UiFont(13, true);
  PnQR = new Panel(PnFiche, Bevel::Raised, Bevel::Lowered, 2);  // placed by LayOut
  PnQR->setFont(panelFont);
  PnQL = new Panel(PnFiche, Bevel::Raised, Bevel::Lowered, 2);
  PnQL->setFont(panelFont);

  PnReponse = new Panel(PnFiche, Bevel::Raised, Bevel::None, 1);
  PnReponse->setGeometry(224, 70, 192, 45);
  PnReponse->SetColor(kSkyBlue);
  Label1 = Label(PnReponse, QStringLiteral("Réponse trouvée ?"), 5, 2, 120, 13, font());
  BtOui = Button(PnReponse, QStringLiteral("&Oui"), 19, 17, 75, 25);
  BtNon = Button(PnReponse, QStringLiteral("&Non"), 100, 17, 75, 25);

  const QFont italic = UiFont(13, false, true);
  Label10 = Label(PnFiche, QStringLiteral("&Liste"), 4, 6, 36, 16, italic);
  LbNbMots = Label(PnFiche, QString(), 272, 6, 127, 16, italic);

  Button3 = Button(PnFiche, QStringLiteral("Nouvelle série de &question"), 8, 72, 211, 36);
  CbVisuListe = CheckBox(PnFiche, QStringLiteral("&Voir la liste"), 474, 7, 97, 17);

  CbListes = new QComboBox(PnFiche);
  CbListes->setGeometry(48, 3, 218, 24);
  CbListes->setEditable(true);
  CbListes->setInsertPolicy(QComboBox::NoInsert);
  CbListes->setMaxVisibleItems(8);
  CbListes->setFont(italic);
  // An editable box completes the name inline, whatever its case.
  CbListes->setEditText(QStringLiteral("CbListes"));

  BtDelListe = Button(PnFiche, QStringLiteral("Su&pprimer"), 147, 117, 64, 25);
  BtSauver = Button(PnFiche, QStringLiteral("&Sauver"), 77, 117, 64, 25);
  Button5 = Button(PnFiche, QStringLiteral("&Charger"), 7, 117, 64, 25);
  BtVider = Button(PnFiche, QStringLiteral("Vi&der liste"), 224, 117, 64, 25);
  Button4 = Button(PnFiche, QStringLiteral("&RAZ Statistiques"), 291, 117, 87, 25);
  CbFirstLeft = CheckBox(PnFiche, QStringLiteral("&Montrer à gauche en premier"), 473, 73, 161, 17);
  Button1 = Button(PnFiche, QStringLiteral("&A propos"), 574, 5, 60, 20);
  CbVocal = CheckBox(PnFiche, QStringLiteral("Synthèse vocale à &gauche"), 474, 96, 161, 17);
  CbVocal->setContextMenuPolicy(Qt::CustomContextMenu);
  AcImporter = new QAction(QStringLiteral("Importer des listes…"), this);
  AcImporter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  AcExporter = new QAction(QStringLiteral("Exporter la liste…"), this);
  AcExporter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  addActions({AcImporter, AcExporter});
  CreateMenus();
  CreateSearch();
  setAcceptDrops(true);
  fileFolder_ = QDir::homePath();

  // The keyboard: the card takes the focus at start, Space or Enter on it
  // (or on one of its answer panels) reveals, as a click does; Tab goes
  // through the controls in reading order, the list last.
  for (Panel* panel : {PnFiche, PnQL, PnQR}) panel->setFocusPolicy(Qt::StrongFocus);
  Label10->setBuddy(CbListes);
  QWidget* order[] = {PnFiche,     CbListes, CbVisuListe, Button1,  PnQL,       PnQR,    Button3, BtOui,  BtNon,
                      CbFirstLeft, CbVocal,  Button5,     BtSauver, BtDelListe, BtVider, Button4, SgListe};
  for (size_t k = 1; k < sizeof(order) / sizeof(order[0]); ++k) setTabOrder(order[k - 1], order[k]);
  PnFiche->setFocus();

  // What a screen reader says; the card's name is its question (Mirror).
  PnQL->setAccessibleName(QStringLiteral("Gauche"));
  PnQR->setAccessibleName(QStringLiteral("Droite"));
  PnReponse->setAccessibleName(QStringLiteral("Réponse trouvée ?"));
  // On Linux Qt names a list box by its text and reads the label's name
  // through the buddy relation; other platforms take this name.
  CbListes->setAccessibleName(QStringLiteral("Liste"));
  SgListe->setAccessibleName(QStringLiteral("Liste des associations"));

  // Beyond the designed size: the right-hand column keeps its distance to
  // the right edge, "Réponse trouvée ?" stays centred, and what is below the
  // answer panels keeps its distance to the card's bottom (LayOut). The
  // list's name and line count stay where they are.
  const auto place = [this](std::initializer_list<QWidget*> controls, int anchor) {
    for (QWidget* control : controls) placed_.push_back({control, control->geometry(), anchor});
  };
  place({CbVisuListe, Button1}, kRight);
  place({CbFirstLeft, CbVocal}, kRight | kDown);
  place({PnReponse}, kCentre | kDown);
  place({Button3, Button5, BtSauver, BtDelListe, BtVider, Button4}, kLeft | kDown);
}

void TFTenaxo::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

// The designed size places every control where CreateControls put it. A wider
// window widens the two answer panels, each half of the card; a taller one
// goes to the list while it is shown, else to the answer panels.
void TFTenaxo::LayOut() {
  const int top = MenuHeight();
  MainMenu->setGeometry(0, 0, width(), top);
  area_->setGeometry(0, top, width(), height() - top);
  const int card = CbVisuListe->isChecked() ? kCardHeight : std::max(kCardHeight, height() - top);
  const int dx = width() - kClientWidth;
  const int dy = card - kCardHeight;
  PnFiche->setGeometry(0, 0, width(), card);
  SgListe->setGeometry(0, card, width(), std::max(0, height() - top - card));
  const int panels = width() - 2;  // inside the card's bevel: 320 px each as designed
  PnQL->setGeometry(1, 29, panels / 2, 38 + dy);
  PnQR->setGeometry(1 + panels / 2, 29, panels - panels / 2, 38 + dy);
  for (const Placed& placed : placed_) {
    const int x = placed.anchor & kRight ? dx : placed.anchor & kCentre ? dx / 2 : 0;
    placed.control->move(placed.designed.topLeft() + QPoint(x, placed.anchor & kDown ? dy : 0));
  }
  PlaceSearch();
}

}  // namespace tenaxo
