// SPDX-License-Identifier: GPL-3.0-or-later
#include "StudyTable.h"

#include <algorithm>

namespace tenaxo {

namespace {
const std::string kEmpty;

void SpacesForEmpties(StudyTable::Row& row) {
  for (std::string& cell : row) {
    if (cell.empty()) cell = " ";
  }
}
}  // namespace

StudyTable::StudyTable(int colCount, int rowCount) : colCount_(std::max(1, colCount)) {
  rows_.assign(static_cast<size_t>(std::max(FixedRows + 1, rowCount)), Row(static_cast<size_t>(colCount_)));
}

void StudyTable::AppendRow() {
  const int row = RowCount();
  if (observer_) observer_->RowsAboutToBeInserted(row, row);
  rows_.emplace_back(static_cast<size_t>(colCount_));
  if (observer_) observer_->RowsInserted();
}

const std::string& StudyTable::Cell(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return kEmpty;
  return rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void StudyTable::SetCell(int col, int row, std::string text) {
  if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return;
  std::string& cell = rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
  if (cell == text) return;
  cell = std::move(text);
  Changed(row, row);
}

StudyTable::Row StudyTable::RowTexts(int row) const { return rows_[static_cast<size_t>(row)]; }

void StudyTable::SetRowTexts(int row, Row texts) {
  texts.resize(static_cast<size_t>(colCount_));
  rows_[static_cast<size_t>(row)] = std::move(texts);
  Changed(row, row);
}

void StudyTable::SetCurrentCell(int col, int row) {
  currentCol_ = std::clamp(col, FixedCols, colCount_ - 1);
  currentRow_ = std::clamp(row, FixedRows, RowCount() - 1);
}

void StudyTable::ShiftUpFrom(int r) {
  const int last = RowCount() - 1;
  // Row r's cells are dropped and the rows below take its place; seen from
  // outside, rows r..last-1 change and the last row goes.
  rows_.erase(rows_.begin() + r);
  std::for_each(rows_.begin() + r, rows_.begin() + last, SpacesForEmpties);
  rows_.emplace_back(static_cast<size_t>(colCount_));  // keep the size until the view has been told
  Changed(r, last - 1);
  if (observer_) observer_->RowsAboutToBeRemoved(last, last);
  rows_.pop_back();
  if (observer_) observer_->RowsRemoved();
  ClampCurrent();
}

void StudyTable::ShiftDownTo(int r) {
  const int last = RowCount() - 1;
  std::rotate(rows_.begin() + r, rows_.begin() + last, rows_.end());
  std::for_each(rows_.begin() + r, rows_.end(), SpacesForEmpties);
  Changed(r, last);
}

void StudyTable::ReorderDataRows(const std::vector<int>& order) {
  std::vector<Row> sorted(order.size());
  std::transform(order.begin(), order.end(), sorted.begin(),
                 [this](int from) { return std::move(rows_[static_cast<size_t>(from + FixedRows)]); });
  std::move(sorted.begin(), sorted.end(), rows_.begin() + FixedRows);
  Changed(FixedRows, RowCount() - 1);
}

void StudyTable::ReplaceDataRows(std::vector<Row> rows, int leastCols) {
  size_t width = static_cast<size_t>(std::max(leastCols, 0));
  for (const Row& row : rows) width = std::max(width, row.size());
  // The new table is built aside and only swapped in once complete: a failure
  // (memory running out) leaves the old one as it was.
  std::vector<Row> fresh;
  fresh.reserve(std::max<size_t>(rows.size(), 1) + FixedRows);
  fresh.push_back(rows_[0]);
  if (rows.empty()) rows.emplace_back();
  for (Row& row : rows) {
    row.resize(width);
    fresh.push_back(std::move(row));
  }
  fresh[0].resize(width);
  if (observer_) observer_->AboutToReplaceAll();
  colCount_ = static_cast<int>(width);
  rows_.swap(fresh);
  currentRow_ = FixedRows;
  if (observer_) observer_->AllReplaced();
}

size_t StudyTable::MemoryUsage() const {
  size_t bytes = rows_.capacity() * sizeof(Row);
  for (const Row& row : rows_) {
    bytes += row.capacity() * sizeof(std::string);
    for (const std::string& cell : row) {
      if (cell.capacity() > 15) bytes += cell.capacity() + 1;
    }
  }
  return bytes;
}

void StudyTable::Changed(int firstRow, int lastRow) {
  if (observer_) observer_->CellsChanged(firstRow, lastRow);
}

void StudyTable::ClampCurrent() {
  if (currentRow_ > RowCount() - 1) {
    currentRow_ = RowCount() - 1;
    if (observer_) observer_->CurrentCellClamped();
  }
}

}  // namespace tenaxo
