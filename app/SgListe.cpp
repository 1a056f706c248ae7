#include "SgListe.h"

#include <QHeaderView>

namespace tenaxo {

namespace {
constexpr int kColumnWidths[] = {250, 231, 48, 42, 38};
constexpr int kOtherColumnWidth = 64;
constexpr int kRowHeight = 24;
}  // namespace

ListGrid::ListGrid(ListModel* model, QWidget* parent) : QTableView(parent), model_(model) {
  setModel(model_);
  verticalHeader()->hide();  // no fixed column
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setFixedHeight(kRowHeight);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setWordWrap(false);
  setShowGrid(true);
  ApplyColumnWidths(0, model_->columnCount() - 1);
  connect(model_, &QAbstractItemModel::columnsInserted, this,
          [this](const QModelIndex&, int first, int last) { ApplyColumnWidths(first, last); });
}

void ListGrid::ApplyColumnWidths(int first, int last) {
  for (int col = first; col <= last; ++col) {
    setColumnWidth(col, col < 5 ? kColumnWidths[col] : kOtherColumnWidth);
  }
}

}  // namespace tenaxo
