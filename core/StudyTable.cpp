// SPDX-License-Identifier: GPL-3.0-or-later
#include "StudyTable.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

namespace tenaxo {

namespace {
void WriteNumber(char* at, unsigned width, size_t number) {
  const auto narrow = static_cast<uint32_t>(number);
  switch (width) {
    case 1: *at = static_cast<char>(narrow); break;
    case 2: {
      const auto value = static_cast<uint16_t>(narrow);
      std::memcpy(at, &value, sizeof value);
      break;
    }
    default: std::memcpy(at, &narrow, sizeof narrow);
  }
}

// The layout of a block for cells: their count without the empty ones at the
// end, the width of its numbers, its size.
struct BlockLayout {
  size_t count = 0;
  unsigned width = 1;
  size_t size = 0;
};

// The cells' texts, each read once.
const std::string_view* Gather(size_t count, std::string_view (*at)(const void*, size_t), const void* cells) {
  thread_local std::vector<std::string_view> views;
  views.resize(count);
  for (size_t k = 0; k < count; ++k) views[k] = at(cells, k);
  return views.data();
}

BlockLayout Layout(size_t count, const std::string_view* cells) {
  BlockLayout layout;
  while (count > 0 && cells[count - 1].empty()) --count;
  size_t text = 0;
  for (size_t k = 0; k < count; ++k) text += cells[k].size();
  const size_t largest = std::max(count, text);
  if (largest > UINT32_MAX) throw std::length_error("row too long");
  layout.count = count;
  layout.width = largest <= UINT8_MAX ? 1 : largest <= UINT16_MAX ? 2 : 4;
  layout.size = count == 0 ? 0 : 1 + layout.width + count * layout.width + text;
  return layout;
}

void Write(char* block, const BlockLayout& layout, const std::string_view* cells) {
  const unsigned width = layout.width;
  block[0] = static_cast<char>(width);
  WriteNumber(block + 1, width, layout.count);
  char* const ends = block + 1 + width;
  char* const texts = ends + layout.count * width;
  size_t end = 0;
  for (size_t k = 0; k < layout.count; ++k) {
    if (!cells[k].empty()) std::memcpy(texts + end, cells[k].data(), cells[k].size());
    end += cells[k].size();
    WriteNumber(ends + k * width, width, end);
  }
}
}  // namespace

RowBlock::RowBlock(size_t count, CellAt at, const void* cells, size_t room) {
  const std::string_view* const views = Gather(count, at, cells);
  const BlockLayout layout = Layout(count, views);
  if (layout.size == 0) return;
  block_ = static_cast<char*>(std::malloc(layout.size + room));
  if (!block_) throw std::bad_alloc();
  Write(block_, layout, views);
}

void RowBlock::Remake(size_t count, CellAt at, const void* cells) {
  const std::string_view* const views = Gather(count, at, cells);
  const BlockLayout layout = Layout(count, views);
  const size_t usable = block_ ? malloc_usable_size(block_) : 0;
  // The cells may lie in the block itself: they are written aside first.
  if (layout.size > 0 && layout.size <= usable && usable - layout.size < 32) {
    thread_local std::vector<char> aside;
    aside.resize(layout.size);
    Write(aside.data(), layout, views);
    std::memcpy(block_, aside.data(), layout.size);
    return;
  }
  char* block = nullptr;
  if (layout.size > 0) {
    block = static_cast<char*>(std::malloc(layout.size));
    if (!block) throw std::bad_alloc();
    Write(block, layout, views);
  }
  std::free(block_);
  block_ = block;
}

void RowBlock::SetCell(size_t k, std::string_view text) {
  const size_t count = Count();
  // Emptied, the last cell goes with any empty ones before it.
  if (text.empty() && k + 1 >= count) {
    Remake(std::min(count, k), [this](size_t j) { return Cell(j); });
    return;
  }
  const std::string_view texts = Texts();
  const auto oldEnd = [&](size_t j) { return j < count ? End(j) : texts.size(); };
  const size_t start = k == 0 ? 0 : oldEnd(k - 1), end = oldEnd(k);
  const size_t cells = std::max(count, k + 1), size = texts.size() - (end - start) + text.size();
  if (std::max(cells, size) > UINT32_MAX) throw std::length_error("row too long");
  const unsigned width = std::max(cells, size) <= UINT8_MAX ? 1 : std::max(cells, size) <= UINT16_MAX ? 2 : 4;
  const size_t total = 1 + width + cells * width + size;
  // Written aside when the block is kept: text may lie in it.
  const size_t usable = block_ ? malloc_usable_size(block_) : 0;
  const bool kept = total <= usable && usable - total < 32;
  thread_local std::vector<char> aside;
  if (kept) aside.resize(total);
  char* const block = kept ? aside.data() : static_cast<char*>(std::malloc(total));
  if (!block) throw std::bad_alloc();
  block[0] = static_cast<char>(width);
  WriteNumber(block + 1, width, cells);
  char* const ends = block + 1 + width;
  for (size_t j = 0; j < cells; ++j)
    WriteNumber(ends + j * width, width, j < k ? oldEnd(j) : oldEnd(j) - end + start + text.size());
  char* out = ends + cells * width;
  if (start > 0) std::memcpy(out, texts.data(), start);
  if (!text.empty()) std::memcpy(out + start, text.data(), text.size());
  if (end < texts.size()) std::memcpy(out + start + text.size(), texts.data() + end, texts.size() - end);
  if (kept) {
    std::memcpy(block_, block, total);
  } else {
    std::free(block_);
    block_ = block;
  }
}

RowBlock::RowBlock(const RowBlock& other) {
  if (!other.block_) return;
  const unsigned width = other.Width();
  const size_t count = other.Count();
  const size_t size = 1 + width + count * width + Number(other.block_ + 1 + count * width, width);
  block_ = static_cast<char*>(std::malloc(size));
  if (!block_) throw std::bad_alloc();
  std::memcpy(block_, other.block_, size);
}

RowBlock::~RowBlock() { std::free(block_); }

// A heap block costs its usable bytes and the size word in front of them.
size_t RowBlock::MemoryUsage() const { return block_ ? malloc_usable_size(block_) + sizeof(size_t) : 0; }

StudyTable::StudyTable(int colCount, int rowCount) : colCount_(std::max(1, colCount)) {
  rows_.resize(static_cast<size_t>(std::max(FixedRows + 1, rowCount)));
}

void StudyTable::AppendRow() {
  const int row = RowCount();
  if (observer_) observer_->RowsAboutToBeInserted(row, row);
  rows_.emplace_back();
  ++revision_;
  if (recorder_) recorder_->RowAppended();
  if (observer_) observer_->RowsInserted();
}

void StudyTable::SetCell(int col, int row, std::string_view text) {
  if (!IsCell(col, row)) return;
  RowBlock& cells = At(row);
  const auto at = static_cast<size_t>(col);
  const std::string_view former = cells.Cell(at);
  if (former == text) return;
  if (recorder_) recorder_->CellSet(col, row, std::string(former));
  cells.SetCell(at, text);
  Changed(row, row);
}

StudyTable::Row StudyTable::RowTexts(int row) const {
  Row texts(static_cast<size_t>(colCount_));
  if (row < 0 || row >= RowCount()) return texts;
  for (size_t k = 0; k < At(row).Count(); ++k) texts[k] = At(row).Cell(k);
  return texts;
}

void StudyTable::SetRowTexts(int row, Row texts) {
  if (row < 0 || row >= RowCount()) return;
  if (recorder_) recorder_->RowSet(row, RowTexts(row));
  At(row) = RowBlock::Of(texts, std::min(texts.size(), static_cast<size_t>(colCount_)));
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
  Row removed = recorder_ ? RowTexts(r) : Row();
  rows_.erase(rows_.begin() + r);
  std::vector<CellSpan> spaced = SpacesForEmpties(r, last - 1);
  if (recorder_) recorder_->ShiftedUp(r, std::move(removed), std::move(spaced));
  rows_.emplace_back();  // keep the size until the view has been told
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
  // In place, cycle by cycle: each row takes the one its place in the order
  // names, the first of the cycle held aside for the last.
  std::vector<bool> placed(order.size());
  for (size_t first = 0; first < order.size(); ++first) {
    if (placed[first]) continue;
    RowBlock held = std::move(At(static_cast<int>(first) + FixedRows));
    for (size_t k = first;;) {
      placed[k] = true;
      const auto from = static_cast<size_t>(order[k]);
      RowBlock& place = At(static_cast<int>(k) + FixedRows);
      if (from == first) {
        place = std::move(held);
        break;
      }
      place = std::move(At(static_cast<int>(from) + FixedRows));
      k = from;
    }
  }
  if (recorder_) recorder_->Reordered(order);
  Changed(FixedRows, RowCount() - 1);
}

void StudyTable::ReplaceDataRows(std::vector<Row> rows, int leastCols) {
  size_t width = static_cast<size_t>(std::max(leastCols, 0));
  for (const Row& row : rows) width = std::max(width, row.size());
  std::vector<RowBlock> blocks;
  blocks.reserve(rows.size());
  for (const Row& row : rows) blocks.push_back(RowBlock::Of(row));
  ReplaceDataRows(std::move(blocks), static_cast<int>(width));
}

void StudyTable::ReplaceDataRows(std::vector<RowBlock> rows, int leastCols) {
  size_t width = static_cast<size_t>(std::max(leastCols, 0));
  for (const RowBlock& row : rows) width = std::max(width, row.Count());
  // The new table is built aside and only swapped in once complete: a failure
  // (memory running out) leaves the old one as it was.
  std::vector<RowBlock> fresh;
  fresh.reserve(std::max<size_t>(rows.size(), 1) + FixedRows);
  const RowBlock& header = rows_[0];
  fresh.push_back(RowBlock::Make(std::min(header.Count(), width), [&](size_t k) { return header.Cell(k); }));
  if (rows.empty()) rows.emplace_back();
  std::move(rows.begin(), rows.end(), std::back_inserter(fresh));
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
  RowBlock block = RowBlock::Of(row, std::min(row.size(), static_cast<size_t>(colCount_)));
  if (observer_) observer_->RowsAboutToBeInserted(r, r);
  rows_.insert(rows_.begin() + r, std::move(block));
  ++revision_;
  if (observer_) observer_->RowsInserted();
}

StudyTable::Row StudyTable::RemoveRowAt(int r) {
  if (observer_) observer_->RowsAboutToBeRemoved(r, r);
  Row row = RowTexts(r);
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
    const auto col = static_cast<size_t>(span.col);
    for (int row = top; row < top + span.count; ++row) {
      RowBlock& cells = At(row);
      cells.Remake(cells.Count(), [&](size_t k) { return k == col ? std::string_view() : cells.Cell(k); });
    }
    first = std::min(first, top);
    last = std::max(last, top + span.count - 1);
  }
  Changed(first, last);
}

void StudyTable::SwapAllRows(std::vector<RowBlock>& rows, int& colCount) {
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
  const auto cols = static_cast<size_t>(colCount_);
  for (int row = first; row <= last; ++row) {
    RowBlock& cells = At(row);
    if (!cells.HasEmpty(cols)) continue;
    bool empties = false;
    for (size_t col = 0; col < cols; ++col) {
      if (!cells.Cell(col).empty()) continue;
      empties = true;
      if (!recorder_) continue;
      if (open[col] != SIZE_MAX && spans[open[col]].first + spans[open[col]].count == row) {
        ++spans[open[col]].count;
      } else {
        open[col] = spans.size();
        spans.push_back({static_cast<int32_t>(col), row, 1});
      }
    }
    if (empties) {
      cells.Remake(cols, [&](size_t k) {
        const std::string_view text = cells.Cell(k);
        return text.empty() ? std::string_view(" ") : text;
      });
    }
  }
  return spans;
}

size_t StudyTable::MemoryUsage() const {
  // The row list is one block too.
  size_t bytes = rows_.capacity() * sizeof(RowBlock) + sizeof(size_t);
  for (const RowBlock& row : rows_) bytes += row.MemoryUsage();
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
