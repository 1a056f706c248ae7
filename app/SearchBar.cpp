// SPDX-License-Identifier: GPL-3.0-or-later
// "Rechercher": a field over the bottom right of the list. The pair found
// becomes the grid's current cell, its row selected and in the middle of the
// view; the label tells which of the pairs found it is.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>

#include "ListGrid.h"
#include "ListSearch.h"
#include "TFTenaxo.h"
#include "Widgets.h"

namespace tenaxo {

void TFTenaxo::CreateSearch() {
  auto* bar = new QFrame(SgListe);
  bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
  bar->setAutoFillBackground(true);
  PnRecherche = bar;
  EdRecherche = new QLineEdit(bar);
  EdRecherche->setPlaceholderText(QStringLiteral("Rechercher"));
  EdRecherche->setAccessibleName(QStringLiteral("Rechercher dans la liste"));
  EdRecherche->setClearButtonEnabled(true);
  EdRecherche->setMinimumWidth(180);
  LbRecherche = new StaticLabel(bar);
  LbRecherche->setMinimumWidth(LbRecherche->fontMetrics().horizontalAdvance(QStringLiteral("Aucun résultat")) + 4);
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(4, 3, 4, 3);
  layout->addWidget(EdRecherche);
  layout->addWidget(LbRecherche);
  bar->hide();

  connect(EdRecherche, &QLineEdit::textChanged, this, &TFTenaxo::EdRechercheChange);
  connect(EdRecherche, &QLineEdit::returnPressed, this, [this] { SearchNext(true); });
  const auto key = [this](QWidget* owner, const QKeySequence& sequence, Qt::ShortcutContext context,
                          const std::function<void()>& handler) {
    auto* action = new QAction(owner);
    action->setShortcut(sequence);
    action->setShortcutContext(context);
    connect(action, &QAction::triggered, this, handler);
    owner->addAction(action);
  };
  key(this, QKeySequence(Qt::Key_F3), Qt::WindowShortcut, [this] { SearchNext(true); });
  key(this, QKeySequence(Qt::SHIFT | Qt::Key_F3), Qt::WindowShortcut, [this] { SearchNext(false); });
  key(bar, QKeySequence(Qt::Key_Escape), Qt::WidgetWithChildrenShortcut, [this] { CloseSearch(); });
}

void TFTenaxo::PlaceSearch() {
  const QRect view = SgListe->viewport()->geometry();
  const QSize size = PnRecherche->sizeHint();
  PnRecherche->setGeometry(view.right() + 1 - size.width(), view.bottom() + 1 - size.height(), size.width(),
                           size.height());
}

void TFTenaxo::AcRechercherClick() {
  if (!PnRecherche->isVisible()) {
    focusBeforeSearch_ = QApplication::focusWidget();
    searchFrom_ = SgListe->Row();
  }
  CbVisuListe->setChecked(true);
  PnRecherche->show();
  PlaceSearch();
  PnRecherche->raise();
  EdRecherche->setFocus();
  EdRecherche->selectAll();
  EdRechercheChange();
}

void TFTenaxo::EdRechercheChange() {
  ShowHit(ListSearch::AtOrAfter(search_->Find(session_.table, EdRecherche->text()), searchFrom_));
}

void TFTenaxo::SearchNext(bool forward) {
  if (!PnRecherche->isVisible()) return;
  const std::vector<SearchHit>& hits = search_->Find(session_.table, EdRecherche->text());
  const int hit = forward ? ListSearch::After(hits, SgListe->Row()) : ListSearch::Before(hits, SgListe->Row());
  if (hit >= 0) searchFrom_ = hits[static_cast<size_t>(hit)].row;
  ShowHit(hit);
}

void TFTenaxo::ShowHit(int hit) {
  if (hit < 0) {
    SgListe->selectionModel()->clearSelection();
    LbRecherche->setText(EdRecherche->text().isEmpty() ? QString() : QStringLiteral("Aucun résultat"));
    return;
  }
  StudyTable& table = session_.table;
  SearchHit found = search_->Hits()[static_cast<size_t>(hit)];
  const int left = SgListe->Row();
  const int rows = table.RowCount();
  SgListe->MoveCurrent(found.col, found.row);
  if (table.RowCount() != rows) {
    // Left blank, the row the editor was on went: the rows below it moved up.
    const int shift = left < found.row ? 1 : 0;
    if (left < searchFrom_) --searchFrom_;
    hit = ListSearch::AtOrAfter(search_->Find(table, EdRecherche->text()), found.row - shift);
    found = search_->Hits()[static_cast<size_t>(hit)];
    SgListe->MoveCurrent(found.col, found.row);
  }
  const QModelIndex current = SgListe->Model()->IndexOf(found.col, found.row);
  SgListe->selectionModel()->select(
      QItemSelection(current.siblingAtColumn(0), current.siblingAtColumn(SgListe->Model()->columnCount() - 1)),
      QItemSelectionModel::ClearAndSelect);
  SgListe->scrollTo(current, QAbstractItemView::PositionAtCenter);
  LbRecherche->setText(QStringLiteral("%1 / %2").arg(hit + 1).arg(search_->Hits().size()));
}

void TFTenaxo::CloseSearch() {
  PnRecherche->hide();
  QWidget* back = focusBeforeSearch_;
  (back && back->isVisible() ? back : PnFiche)->setFocus();
}

}  // namespace tenaxo
