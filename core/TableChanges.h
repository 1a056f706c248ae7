// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The changes one step made to the study list, recorded as the table makes
// them (set as the table's recorder), then undone and made again.
//
// They are kept small, so that thousands of steps fit in a few megabytes:
// cells set one after another keep their places and former texts packed
// (typing into one cell keeps only the text before the first key), a removed
// row its cells, a shift the spans of the cells it
// filled with a space, a reorder its order as runs of rows that stay
// together, an emptied list its former rows, moved out of the table and not
// copied.
//
// Undo puts the table back as it was before the step and needs it as the step
// left it; Redo makes the step again and needs the table as the step found
// it. Neither is recorded.
#include <variant>

#include "StudyTable.h"

namespace tenaxo {

class TableChanges : public TableRecorder {
 public:
  bool Empty() const { return changes_.empty(); }
  void Undo(StudyTable& table);
  void Redo(StudyTable& table);
  // Gives back the room kept for more changes, once the step is over.
  void Compact();
  // Bytes held, for the memory budget of the undo history.
  size_t MemoryUsage() const;

  void CellSet(int col, int row, std::string former) override;
  void RowSet(int row, Row former) override;
  void RowAppended() override;
  void ShiftedUp(int r, Row removed, std::vector<CellSpan> spaced) override;
  void ShiftedDown(int r, std::vector<CellSpan> spaced) override;
  void Reordered(const std::vector<int>& order) override;
  void AllReplaced(std::vector<RowBlock> former, int formerColCount) override;

  // A data row order (order[k]: the data row, from 0, that ends k-th) as runs
  // of rows that follow each other up or down, or whole when runs would take
  // more room.
  class Order {
   public:
    explicit Order(const std::vector<int>& order);
    std::vector<int> Forward() const;
    std::vector<int> Backward() const;  // the order that puts the rows back
    size_t MemoryUsage() const { return values_.capacity() * sizeof(int32_t); }

   private:
    std::vector<int32_t> values_;  // runs: first row, then length (negative: going up)
    bool runs_ = true;
    int32_t size_ = 0;
  };

 private:
  // Swapped with the table's: the same change undoes and redoes.
  struct Cells {
    std::vector<int32_t> places;  // the column and the row of each cell in turn
    std::vector<uint32_t> ends;   // where the text of each ends in texts
    std::string texts;
  };
  struct WholeRow {
    int32_t row;
    Row texts;
  };
  struct Appended {};
  struct ShiftUp {
    int32_t row;
    Row removed;
    std::vector<CellSpan> spaced;
  };
  struct ShiftDown {
    int32_t row;
    std::vector<CellSpan> spaced;
  };
  struct Reorder {
    Order order;
  };
  struct Replaced {
    std::vector<RowBlock> rows;  // the header included
    int32_t colCount;
  };
  using Change = std::variant<Cells, WholeRow, Appended, ShiftUp, ShiftDown, Reorder, Replaced>;
  static void Apply(StudyTable& table, Change& change, bool undo);

  std::vector<Change> changes_;
};

}  // namespace tenaxo
