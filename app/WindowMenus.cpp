// SPDX-License-Identifier: GPL-3.0-or-later
// The window's menus and the commands they add: each item runs the handler
// of the button or key that does the same, and carries the key; undo and
// redo of the study list; the keyboard's column sort.
#include <QAction>
#include <QCheckBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include "CellText.h"
#include "ColumnSort.h"
#include "ListGrid.h"
#include "ListHistory.h"
#include "TFAbout.h"
#include "TFTenaxo.h"
#include "TableRows.h"

namespace tenaxo {

namespace {
QAction* Item(QMenu* menu, const QString& text, const QKeySequence& key = {}) {
  QAction* action = menu->addAction(text);
  action->setShortcut(key);
  return action;
}
}  // namespace

void TFTenaxo::CreateMenus() {
  MainMenu = new QMenuBar(this);
  // The letters Alt takes to open each menu are none of the window's own.
  QMenu* file = MainMenu->addMenu(QStringLiteral("&Fichier"));
  QAction* charger = Item(file, QStringLiteral("&Charger"));
  AcSauver = Item(file, QStringLiteral("&Sauver"), QKeySequence(Qt::CTRL | Qt::Key_S));
  AcImporter->setText(QStringLiteral("&Importer des listes…"));
  AcExporter->setText(QStringLiteral("&Exporter la liste…"));
  file->addActions({AcImporter, AcExporter});
  file->addSeparator();
  QAction* supprimer = Item(file, QStringLiteral("Su&pprimer la liste"));
  file->addSeparator();
  AcQuitter = Item(file, QStringLiteral("&Quitter"), QKeySequence(Qt::CTRL | Qt::Key_Q));

  QMenu* edit = MainMenu->addMenu(QStringLiteral("Édi&tion"));
  AcAnnuler = Item(edit, QStringLiteral("&Annuler"), QKeySequence(Qt::CTRL | Qt::Key_Z));
  AcRetablir = Item(edit, QStringLiteral("&Rétablir"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  edit->addSeparator();
  AcRechercher = Item(edit, QStringLiteral("Re&chercher"), QKeySequence(Qt::CTRL | Qt::Key_F));
  edit->addSeparator();
  AcInsererLigne = Item(edit, QStringLiteral("&Insérer une ligne"));
  AcSupprimerLigne = Item(edit, QStringLiteral("&Supprimer la ligne"));
  QAction* vider = Item(edit, QStringLiteral("&Vider la liste"));

  QMenu* view = MainMenu->addMenu(QStringLiteral("Affic&hage"));
  AcVoirListe = Item(view, QStringLiteral("&Voir la liste"));
  AcVoirListe->setCheckable(true);
  QAction* statistiques = Item(view, QStringLiteral("&Statistiques"), QKeySequence(Qt::Key_F9));

  QMenu* help = MainMenu->addMenu(QStringLiteral("A&ide"));
  AcModeEmploi = Item(help, QStringLiteral("&Mode d'emploi"), QKeySequence(Qt::Key_F1));
  QAction* about = Item(help, QStringLiteral("&A propos"));
  for (QMenu* menu : {file, edit, view, help}) menu->setFont(font());  // a menu is a window: it inherits no font

  connect(charger, &QAction::triggered, this, &TFTenaxo::Button5Click);
  connect(AcSauver, &QAction::triggered, this, &TFTenaxo::BtSauverClick);
  connect(supprimer, &QAction::triggered, this, &TFTenaxo::BtDelListeClick);
  connect(AcQuitter, &QAction::triggered, this, &QWidget::close);
  connect(AcAnnuler, &QAction::triggered, this, &TFTenaxo::AcAnnulerClick);
  connect(AcRetablir, &QAction::triggered, this, &TFTenaxo::AcRetablirClick);
  connect(AcRechercher, &QAction::triggered, this, &TFTenaxo::AcRechercherClick);
  connect(AcInsererLigne, &QAction::triggered, this, &TFTenaxo::InsertRow);
  connect(AcSupprimerLigne, &QAction::triggered, this, &TFTenaxo::DeleteRow);
  connect(vider, &QAction::triggered, this, &TFTenaxo::BtViderClick);
  connect(AcVoirListe, &QAction::triggered, CbVisuListe, &QCheckBox::setChecked);
  connect(statistiques, &QAction::triggered, this, &TFTenaxo::ShowStatistics);
  // The usage notes are the About window's first column.
  connect(AcModeEmploi, &QAction::triggered, this, [this] {
    Button1Click();
    if (FAbout) FAbout->Memo2->setFocus();
  });
  connect(about, &QAction::triggered, this, &TFTenaxo::Button1Click);

  // Ctrl+1 ... Ctrl+5 sort as a click on the header of Gauche, Droite,
  // Demandé, Juste, Ratio.
  for (int col = ColGauche; col <= ColRatio; ++col) {
    auto* sort = new QAction(this);
    sort->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + col)));
    connect(sort, &QAction::triggered, this, [this, col] { SortColumn(col); });
    addAction(sort);
  }
}

int TFTenaxo::MenuHeight() const { return MainMenu->isNativeMenuBar() ? 0 : MainMenu->sizeHint().height(); }

void TFTenaxo::AcAnnulerClick() {
  Run([&] { history_->Undo(); });
}

void TFTenaxo::AcRetablirClick() {
  Run([&] { history_->Redo(); });
}

// A second sort by the same column goes in reverse; Gauche counts as sorted
// at start. Text columns sort as texts, the counts and the ratio as numbers.
void TFTenaxo::SortColumn(int col) {
  Run(
      [&] {
        int flags = 0;
        if (col == session_.sortColumn) flags = sfDescending;
        if (col > ColDroite) flags |= sfNumeric;
        SortGrid(session_.table, col, flags);
        session_.sortColumn = col == session_.sortColumn ? -1 : col;
      },
      QStringLiteral("le tri par %1").arg(ToQString(session_.table.Cell(col, 0))));
}

// Go to Gauche first, so the new row is not left (and dropped as blank)
// right after it opens: the user always gets the empty line to type in.
void TFTenaxo::InsertRow() {
  Run(
      [&] {
        StudyTable& grid = session_.table;
        SgListe->SetCol(ColGauche);
        InsertGridRow(grid, SgListe->Row(), {});
        if (IsBlank(grid.Cell(ColGauche, SgListe->Row()))) grid.SetCell(ColGauche, SgListe->Row(), std::string());
      },
      QStringLiteral("l'insertion d'une ligne"));
}

void TFTenaxo::DeleteRow() {
  Run([&] { DeleteGridRow(session_.table, SgListe->Row()); }, QStringLiteral("la suppression d'une ligne"));
}

}  // namespace tenaxo
