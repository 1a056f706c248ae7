// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListModel.h"

#include <algorithm>

#include "Utf8.h"

namespace tenaxo {

ListModel::ListModel(StudyTable& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {
  table_.SetObserver(this);
}

ListModel::~ListModel() { table_.SetObserver(nullptr); }

ListModel::Reset::Reset(ListModel& model) : model_(model) {
  model_.beginResetModel();
  model_.table_.SetObserver(nullptr);
}

ListModel::Reset::~Reset() {
  model_.table_.SetObserver(&model_);
  model_.endResetModel();
  emit model_.CurrentCellMovedByTable();
}

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : table_.DataRowCount(); }

int ListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : table_.ColCount(); }

namespace {
// More than any column shows; the text drawn for a cell of megabytes would
// otherwise be laid out whole at every paint.
constexpr size_t kShownBytes = 4096;
}  // namespace

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QVariant();
  const std::string_view cell = table_.Cell(index.column(), TableRow(index));
  if (role == Qt::DisplayRole && cell.size() > kShownBytes) return ToQString(Utf8Prefix(cell, kShownBytes));
  return ToQString(cell);
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  table_.SetCell(index.column(), TableRow(index), ToUtf8(value.toString()));
  return true;
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
  return ToQString(table_.Cell(section, 0));
}

void ListModel::RowsAboutToBeInserted(int first, int last) {
  beginInsertRows(QModelIndex(), first - StudyTable::FixedRows, last - StudyTable::FixedRows);
}
void ListModel::RowsInserted() { endInsertRows(); }
void ListModel::RowsAboutToBeRemoved(int first, int last) {
  beginRemoveRows(QModelIndex(), first - StudyTable::FixedRows, last - StudyTable::FixedRows);
}
void ListModel::RowsRemoved() { endRemoveRows(); }
void ListModel::ColumnsAboutToBeInserted(int first, int last) { beginInsertColumns(QModelIndex(), first, last); }
void ListModel::ColumnsInserted() { endInsertColumns(); }

void ListModel::CellsChanged(int firstRow, int lastRow) {
  if (firstRow < StudyTable::FixedRows) {
    emit headerDataChanged(Qt::Horizontal, 0, table_.ColCount() - 1);
    firstRow = StudyTable::FixedRows;
  }
  lastRow = std::min(lastRow, table_.RowCount() - 1);
  if (lastRow < firstRow) return;
  emit dataChanged(IndexOf(0, firstRow), IndexOf(table_.ColCount() - 1, lastRow), {Qt::DisplayRole, Qt::EditRole});
}

void ListModel::AboutToReplaceAll() { beginResetModel(); }
void ListModel::AllReplaced() {
  endResetModel();
  emit CurrentCellMovedByTable();
}

void ListModel::CurrentCellClamped() { emit CurrentCellMovedByTable(); }

}  // namespace tenaxo
