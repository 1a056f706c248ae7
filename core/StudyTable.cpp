// SPDX-License-Identifier: GPL-3.0-or-later
#include "StudyTable.h"

#include <algorithm>

namespace tenaxo {

namespace {
const std::string kEmpty;
}  // namespace

StudyTable::StudyTable(int colCount, int rowCount) : colCount_(std::max(1, colCount)) {
  rows_.assign(static_cast<size_t>(std::max(FixedRows + 1, rowCount)), Row(static_cast<size_t>(colCount_)));
}

void StudyTable::AppendRow() {
  const int row = RowCount();
  if (observer_) observer_->RowsAboutToBeInserted(row, row);
  rows_.emplace_back(static_cast<size_t>(colCount_));
  ++revision_;
  if (recorder_) recorder_->RowAppended();
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
  if (recorder_) recorder_->CellSet(col, row, std::move(cell));
  cell = std::move(text);
  Changed(row, row);
}

StudyTable::Row StudyTable::RowTexts(int row) const { return rows_[static_cast<size_t>(row)]; }

void StudyTable::SetRowTexts(int row, Row texts) {
  texts.resize(static_cast<size_t>(colCount_));
  if (recorder_) recorder_->RowSet(row, std::move(rows_[static_cast<size_t>(row)]));
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
  Row removed = std::move(rows_[static_cast<size_t>(r)]);
  rows_.erase(rows_.begin() + r);
  std::vector<CellSpan> spaced = SpacesForEmpties(r, last - 1);
  if (recorder_) recorder_->ShiftedUp(r, std::move(removed), std::move(spaced));
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
  std::vector<CellSpan> spaced = SpacesForEmpties(r, last);
  if (recorder_) recorder_->ShiftedDown(r, std::move(spaced));
  Changed(r, last);
}

void StudyTable::ReorderDataRows(const std::vector<int>& order) {
  std::vector<Row> sorted(order.size());
  std::transform(order.begin(), order.end(), sorted.begin(),
                 [this](int from) { return std::move(rows_[static_cast<size_t>(from + FixedRows)]); });
  std::move(sorted.begin(), sorted.end(), rows_.begin() + FixedRows);
  if (recorder_) recorder_->Reordered(order);
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
  const int formerColCount = colCount_;
  colCount_ = static_cast<int>(width);
  rows_.swap(fresh);
  currentRow_ = FixedRows;
  ++revision_;
  if (recorder_) recorder_->AllReplaced(std::move(fresh), formerColCount);
  if (observer_) observer_->AllReplaced();
}

void StudyTable::InsertRowAt(int r, Row row) {
  row.resize(static_cast<size_t>(colCount_));
  if (observer_) observer_->RowsAboutToBeInserted(r, r);
  rows_.insert(rows_.begin() + r, std::move(row));
  ++revision_;
  if (observer_) observer_->RowsInserted();
}

StudyTable::Row StudyTable::RemoveRowAt(int r) {
  if (observer_) observer_->RowsAboutToBeRemoved(r, r);
  Row row = std::move(rows_[static_cast<size_t>(r)]);
  rows_.erase(rows_.begin() + r);
  ++revision_;
  if (observer_) observer_->RowsRemoved();
  ClampCurrent();
  return row;
}

void StudyTable::EmptyCells(const std::vector<CellSpan>& spans, int rowShift) {
  if (spans.empty()) return;
  int first = RowCount();
  int last = 0;
  for (const CellSpan& span : spans) {
    const int top = span.first + rowShift;
    for (int row = top; row < top + span.count; ++row) {
      rows_[static_cast<size_t>(row)][static_cast<size_t>(span.col)].clear();
    }
    first = std::min(first, top);
    last = std::max(last, top + span.count - 1);
  }
  Changed(first, last);
}

void StudyTable::SwapAllRows(std::vector<Row>& rows, int& colCount) {
  if (observer_) observer_->AboutToReplaceAll();
  rows_.swap(rows);
  std::swap(colCount_, colCount);
  currentCol_ = std::min(currentCol_, colCount_ - 1);
  currentRow_ = FixedRows;
  ++revision_;
  if (observer_) observer_->AllReplaced();
}

std::vector<CellSpan> StudyTable::SpacesForEmpties(int first, int last) {
  std::vector<CellSpan> spans;
  std::vector<size_t> open(static_cast<size_t>(colCount_), SIZE_MAX);  // each column's last span
  for (int row = first; row <= last; ++row) {
    Row& cells = rows_[static_cast<size_t>(row)];
    for (size_t col = 0; col < cells.size(); ++col) {
      if (!cells[col].empty()) continue;
      cells[col] = " ";
      if (!recorder_) continue;
      if (open[col] != SIZE_MAX && spans[open[col]].first + spans[open[col]].count == row) {
        ++spans[open[col]].count;
      } else {
        open[col] = spans.size();
        spans.push_back({static_cast<int32_t>(col), row, 1});
      }
    }
  }
  return spans;
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
  ++revision_;
  if (observer_) observer_->CellsChanged(firstRow, lastRow);
}

void StudyTable::ClampCurrent() {
  if (currentRow_ > RowCount() - 1) {
    currentRow_ = RowCount() - 1;
    if (observer_) observer_->CurrentCellClamped();
  }
}

}  // namespace tenaxo
