// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The study list: a table of Unicode (UTF-8) text cells. Row 0 is the fixed
// header row, rows 1 and on are the pairs: Gauche, Droite, Demandé, Juste,
// Ratio, then any further columns a wider list file brought.
//
// Cell reads outside the table give the empty text and cell writes there
// change nothing.
// Each row is one heap block holding its cells, so moving a row moves a
// pointer and a pair costs its text and a few bytes more.
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "Utf8.h"

namespace tenaxo {

// Told of every change, before and after, so a view can follow the table.
class TableObserver {
 public:
  virtual ~TableObserver() = default;
  virtual void RowsAboutToBeInserted(int first, int last) = 0;
  virtual void RowsInserted() = 0;
  virtual void RowsAboutToBeRemoved(int first, int last) = 0;
  virtual void RowsRemoved() = 0;
  virtual void ColumnsAboutToBeInserted(int first, int last) = 0;
  virtual void ColumnsInserted() = 0;
  // Texts changed in rows first..last, any column.
  virtual void CellsChanged(int firstRow, int lastRow) = 0;
  // The current cell was moved by the table itself (the rows under it went).
  virtual void CurrentCellClamped() = 0;
  // Every data row is about to be replaced, and has been.
  virtual void AboutToReplaceAll() = 0;
  virtual void AllReplaced() = 0;
};

enum Column { ColGauche = 0, ColDroite = 1, ColDemande = 2, ColJuste = 3, ColRatio = 4 };
// The columns every list has, those above.
constexpr int kListColumns = 5;

// Cells of one column, rows first..first+count-1.
struct CellSpan {
  int32_t col;
  int32_t first;
  int32_t count;
};

// The cells of one row in one heap block (none while every cell is empty):
// the width w of its numbers (1, 2 or 4 bytes), the cell count and where each
// cell's text ends, in w bytes each, then the texts' UTF-8 bytes one after
// another. Empty cells at the end are not kept.
class RowBlock {
 public:
  RowBlock() = default;
  // count cells, cell k's text given by cellAt(k) (anything a string_view
  // is made from).
  // room: bytes more than the cells need, for a cell to come (SetCell).
  template <typename CellAt>
  static RowBlock Make(size_t count, const CellAt& cellAt, size_t room = 0) {
    return RowBlock(
        count, [](const void* at, size_t k) { return std::string_view((*static_cast<const CellAt*>(at))(k)); }, &cellAt,
        room);
  }
  // The texts of cells[0..size), for any indexable cells of texts.
  template <typename Cells>
  static RowBlock Of(const Cells& cells, size_t size, size_t room = 0) {
    return Make(
        size, [&cells](size_t k) { return std::string_view(cells[k]); }, room);
  }
  template <typename Cells>
  static RowBlock Of(const Cells& cells) {
    return Of(cells, std::size(cells));
  }
  // Make in place: the block is kept when the new cells fit it closely.
  template <typename CellAt>
  void Remake(size_t count, const CellAt& cellAt) {
    Remake(
        count, [](const void* at, size_t k) { return std::string_view((*static_cast<const CellAt*>(at))(k)); },
        &cellAt);
  }
  // Cell k's text becomes text, in one pass over the block.
  void SetCell(size_t k, std::string_view text);
  RowBlock(const RowBlock& other);
  RowBlock(RowBlock&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
  RowBlock& operator=(RowBlock other) noexcept {
    std::swap(block_, other.block_);
    return *this;
  }
  ~RowBlock();

  // Cells kept: those after the last are empty.
  size_t Count() const { return block_ ? Number(block_ + 1, Width()) : 0; }
  std::string_view Cell(size_t col) const {
    const size_t count = Count();
    if (col >= count) return {};
    const unsigned width = Width();
    const char* const ends = block_ + 1 + width;
    const size_t start = col == 0 ? 0 : Number(ends + (col - 1) * width, width);
    return {ends + count * width + start, Number(ends + col * width, width) - start};
  }
  // The texts of the cells one after another: cell k's end there is End(k).
  std::string_view Texts() const { return block_ ? std::string_view(TextsAt(), End(Count() - 1)) : std::string_view(); }
  size_t End(size_t k) const { return Number(block_ + 1 + (k + 1) * Width(), Width()); }
  // Asks for the block to be brought to the processor before it is read.
  void Prefetch() const { __builtin_prefetch(block_); }
  // True when one of the first cols cells is empty.
  bool HasEmpty(size_t cols) const {
    if (Count() < cols) return true;
    const char* const ends = block_ + 1 + Width();
    size_t start = 0;
    for (size_t k = 0; k < cols; ++k) {
      const size_t end = Number(ends + k * Width(), Width());
      if (end == start) return true;
      start = end;
    }
    return false;
  }
  // The block's bytes as the heap counts them, its own overhead included.
  size_t MemoryUsage() const;

 private:
  // The number of width bytes at at.
  static size_t Number(const char* at, unsigned width) {
    if (width == 1) return static_cast<unsigned char>(*at);
    if (width == 2) {
      uint16_t value;
      std::memcpy(&value, at, sizeof value);
      return value;
    }
    uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
  }
  unsigned Width() const { return static_cast<unsigned char>(block_[0]); }
  const char* TextsAt() const { return block_ + 1 + (Count() + 1) * Width(); }

  using CellAt = std::string_view (*)(const void* cells, size_t k);
  RowBlock(size_t count, CellAt at, const void* cells, size_t room);
  void Remake(size_t count, CellAt at, const void* cells);

  char* block_ = nullptr;
};

// Told of every change with what it replaced, so that the change can be
// undone (TableChanges). Rows are the table's, at the time of the change.
class TableRecorder {
 public:
  using Row = std::vector<std::string>;
  virtual ~TableRecorder() = default;
  virtual void CellSet(int col, int row, std::string former) = 0;
  virtual void RowSet(int row, Row former) = 0;
  virtual void RowAppended() = 0;
  // ShiftUpFrom(r): the row removed, and the cells of the moved rows (where
  // they ended) that were empty and became a single space.
  virtual void ShiftedUp(int r, Row removed, std::vector<CellSpan> spaced) = 0;
  virtual void ShiftedDown(int r, std::vector<CellSpan> spaced) = 0;
  virtual void Reordered(const std::vector<int>& order) = 0;
  // ReplaceDataRows: every row the table held, the header included.
  virtual void AllReplaced(std::vector<RowBlock> former, int formerColCount) = 0;
};

class StudyTable {
 public:
  using Row = std::vector<std::string>;
  static constexpr int FixedRows = 1;
  static constexpr int FixedCols = 0;

  // As the window creates it: 5 columns, the header row and 4 empty rows.
  StudyTable(int colCount = 5, int rowCount = 5);

  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColCount() const { return colCount_; }
  int DataRowCount() const { return RowCount() - FixedRows; }
  bool IsDataRow(int row) const { return row >= FixedRows && row < RowCount(); }

  // Appends an empty data row.
  void AppendRow();

  // The cells of a row of the table, the header included; valid until the row changes.
  const RowBlock& Cells(int row) const { return At(row); }
  // Valid until the row changes.
  std::string_view Cell(int col, int row) const {
    return IsCell(col, row) ? At(row).Cell(static_cast<size_t>(col)) : std::string_view();
  }
  void SetCell(int col, int row, std::string_view text);

  // The cells of a row of the table, the header included (ColCount() texts).
  Row RowTexts(int row) const;
  // Replaces the whole of a row of the table: missing texts make empty cells,
  // extra ones drop.
  void SetRowTexts(int row, Row texts);

  // The current cell of the editor; always inside the data rows.
  int CurrentCol() const { return currentCol_; }
  int CurrentRow() const { return currentRow_; }
  void SetCurrentCell(int col, int row);

  void SetObserver(TableObserver* observer) { observer_ = observer; }
  void SetRecorder(TableRecorder* recorder) { recorder_ = recorder; }
  TableRecorder* Recorder() const { return recorder_; }
  // Grows with every change of a text or of the rows, so a copy of the texts
  // knows when to read them again.
  uint64_t Revision() const { return revision_; }

  // Bulk moves used by the row routines and the sort. Each keeps every rule
  // of the table and tells the observer.

  // Rows below data row r move up one place, each empty cell of a moved row
  // becoming a single space; the last row goes. Needs two data rows or more.
  void ShiftUpFrom(int r);
  // The last row climbs to data row r (above it), rows r.. move down one
  // place; empty cells of every row that moved (the climbing one included)
  // become a single space.
  void ShiftDownTo(int r);
  // Data rows take the order given, one entry per data row: order[k] is the
  // data row, counted from 0, that ends k-th. Cells move exactly.
  void ReorderDataRows(const std::vector<int>& order);
  // Replaces every data row at once (one blank row when there is none);
  // rows wider than the table widen it. The current cell goes to row 1. On a
  // failure the table is as it was.
  void ReplaceDataRows(std::vector<Row> rows) { ReplaceDataRows(std::move(rows), colCount_); }
  // The same, the table then as wide as its widest row and at least leastCols
  // wide, narrower than it was too.
  void ReplaceDataRows(std::vector<Row> rows, int leastCols);
  // The same from rows made with RowBlock::Of, as a list file is loaded.
  void ReplaceDataRows(std::vector<RowBlock> rows, int leastCols);

  // The exact moves that undo the ones above; none is recorded.
  // Row r (a data row, or the row after the last) and the rows below it move
  // down one place, cells exactly, and row takes its place.
  void InsertRowAt(int r, Row row);
  // Data row r goes, the rows below move up, cells exactly; needs two data
  // rows or more.
  Row RemoveRowAt(int r);
  // The cells given, rowShift rows further down, become empty.
  void EmptyCells(const std::vector<CellSpan>& spans, int rowShift);
  // Every row, the header included, and the column count are exchanged with
  // those given.
  void SwapAllRows(std::vector<RowBlock>& rows, int& colCount);

  // Bytes the table holds on the heap, each block with its overhead, for the
  // memory budget.
  size_t MemoryUsage() const;

 private:
  void Changed(int firstRow, int lastRow);
  void ClampCurrent();
  // Empty cells of rows first..last become a single space; the spans of those
  // cells when the changes are recorded.
  std::vector<CellSpan> SpacesForEmpties(int first, int last);
  bool IsCell(int col, int row) const { return col >= 0 && col < colCount_ && row >= 0 && row < RowCount(); }
  RowBlock& At(int row) { return rows_[static_cast<size_t>(row)]; }
  const RowBlock& At(int row) const { return rows_[static_cast<size_t>(row)]; }

  std::vector<RowBlock> rows_;
  int colCount_;
  int currentCol_ = 0;
  int currentRow_ = 1;
  TableObserver* observer_ = nullptr;
  TableRecorder* recorder_ = nullptr;
  uint64_t revision_ = 0;
};

}  // namespace tenaxo
