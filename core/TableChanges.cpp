// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableChanges.h"

namespace tenaxo {

namespace {
// libstdc++ keeps up to 15 bytes inside the string itself.
size_t HeapBytes(const std::string& text) { return text.capacity() > 15 ? text.capacity() + 1 : 0; }

size_t HeapBytes(const TableRecorder::Row& row) {
  size_t bytes = row.capacity() * sizeof(std::string);
  for (const std::string& cell : row) bytes += HeapBytes(cell);
  return bytes;
}

// Changes go unrecorded while they are undone or made again.
class Unrecorded {
 public:
  explicit Unrecorded(StudyTable& table) : table_(table), recorder_(table.Recorder()) { table.SetRecorder(nullptr); }
  ~Unrecorded() { table_.SetRecorder(recorder_); }
  Unrecorded(const Unrecorded&) = delete;
  Unrecorded& operator=(const Unrecorded&) = delete;

 private:
  StudyTable& table_;
  TableRecorder* recorder_;
};

template <typename... Handlers>
struct Visitor : Handlers... {
  using Handlers::operator()...;
};
template <typename... Handlers>
Visitor(Handlers...) -> Visitor<Handlers...>;
}  // namespace

TableChanges::Order::Order(const std::vector<int>& order) : size_(static_cast<int32_t>(order.size())) {
  for (size_t k = 0; k < order.size();) {
    size_t end = k + 1;
    const int step = end < order.size() && order[end] == order[k] - 1 ? -1 : 1;
    while (end < order.size() && order[end] == order[end - 1] + step) ++end;
    values_.push_back(order[k]);
    values_.push_back(static_cast<int32_t>(end - k) * step);
    k = end;
    if (values_.size() > order.size()) {
      values_.assign(order.begin(), order.end());
      runs_ = false;
      break;
    }
  }
  values_.shrink_to_fit();
}

std::vector<int> TableChanges::Order::Forward() const {
  if (!runs_) return std::vector<int>(values_.begin(), values_.end());
  std::vector<int> order;
  order.reserve(static_cast<size_t>(size_));
  for (size_t k = 0; k < values_.size(); k += 2) {
    const int32_t length = values_[k + 1];
    const int step = length < 0 ? -1 : 1;
    for (int32_t i = 0; i < length * step; ++i) order.push_back(values_[k] + i * step);
  }
  return order;
}

std::vector<int> TableChanges::Order::Backward() const {
  const std::vector<int> forward = Forward();
  std::vector<int> backward(forward.size());
  for (size_t k = 0; k < forward.size(); ++k) backward[static_cast<size_t>(forward[k])] = static_cast<int>(k);
  return backward;
}

void TableChanges::CellSet(int col, int row, std::string former) {
  auto* cells = changes_.empty() ? nullptr : std::get_if<Cells>(&changes_.back());
  if (!cells) cells = &std::get<Cells>(changes_.emplace_back(Cells{}));
  // Typing into a cell sets it at every key: the text before the first is the one to give back.
  const size_t count = cells->places.size();
  if (count > 0 && cells->places[count - 2] == col && cells->places[count - 1] == row) return;
  cells->places.insert(cells->places.end(), {col, row});
  cells->texts += former;
  cells->ends.push_back(static_cast<uint32_t>(cells->texts.size()));
}

void TableChanges::RowSet(int row, Row former) { changes_.emplace_back(WholeRow{row, std::move(former)}); }

void TableChanges::RowAppended() { changes_.emplace_back(Appended{}); }

void TableChanges::ShiftedUp(int r, Row removed, std::vector<CellSpan> spaced) {
  spaced.shrink_to_fit();
  changes_.emplace_back(ShiftUp{r, std::move(removed), std::move(spaced)});
}

void TableChanges::ShiftedDown(int r, std::vector<CellSpan> spaced) {
  spaced.shrink_to_fit();
  changes_.emplace_back(ShiftDown{r, std::move(spaced)});
}

void TableChanges::Reordered(const std::vector<int>& order) { changes_.emplace_back(Reorder{Order(order)}); }

void TableChanges::AllReplaced(std::vector<RowBlock> former, int formerColCount) {
  changes_.emplace_back(Replaced{std::move(former), formerColCount});
}

void TableChanges::Undo(StudyTable& table) {
  const Unrecorded unrecorded(table);
  for (auto change = changes_.rbegin(); change != changes_.rend(); ++change) Apply(table, *change, true);
}

void TableChanges::Redo(StudyTable& table) {
  const Unrecorded unrecorded(table);
  for (Change& change : changes_) Apply(table, change, false);
}

void TableChanges::Apply(StudyTable& table, Change& change, bool undo) {
  std::visit(Visitor{[&](Cells& c) {
                       // Undone last to first, made again first to last: a cell set twice ends right.
                       const size_t count = c.ends.size();
                       std::vector<std::string> now(count);
                       for (size_t n = 0; n < count; ++n) {
                         const size_t k = undo ? count - 1 - n : n;
                         const size_t start = k == 0 ? 0 : c.ends[k - 1];
                         const int col = c.places[2 * k], row = c.places[2 * k + 1];
                         now[k] = table.Cell(col, row);
                         table.SetCell(col, row, c.texts.substr(start, c.ends[k] - start));
                       }
                       c.texts.clear();
                       for (size_t k = 0; k < count; ++k) {
                         c.texts += now[k];
                         c.ends[k] = static_cast<uint32_t>(c.texts.size());
                       }
                     },
                     [&](WholeRow& w) {
                       Row now = table.RowTexts(w.row);
                       table.SetRowTexts(w.row, std::move(w.texts));
                       w.texts = std::move(now);
                     },
                     [&](Appended&) {
                       if (undo) {
                         table.RemoveRowAt(table.RowCount() - 1);
                       } else {
                         table.AppendRow();
                       }
                     },
                     [&](ShiftUp& s) {
                       if (undo) {
                         table.InsertRowAt(s.row, std::move(s.removed));
                         table.EmptyCells(s.spaced, 1);
                       } else {
                         s.removed = table.RowTexts(s.row);
                         table.ShiftUpFrom(s.row);
                       }
                     },
                     [&](ShiftDown& s) {
                       if (undo) {
                         table.EmptyCells(s.spaced, 0);
                         table.InsertRowAt(table.RowCount(), table.RemoveRowAt(s.row));
                       } else {
                         table.ShiftDownTo(s.row);
                       }
                     },
                     [&](Reorder& r) { table.ReorderDataRows(undo ? r.order.Backward() : r.order.Forward()); },
                     [&](Replaced& r) {
                       int colCount = r.colCount;
                       table.SwapAllRows(r.rows, colCount);
                       r.colCount = colCount;
                     }},
             change);
}

void TableChanges::Compact() {
  changes_.shrink_to_fit();
  for (Change& change : changes_) {
    if (auto* cells = std::get_if<Cells>(&change)) {
      cells->places.shrink_to_fit();
      cells->ends.shrink_to_fit();
      cells->texts.shrink_to_fit();
    }
  }
}

size_t TableChanges::MemoryUsage() const {
  size_t bytes = changes_.capacity() * sizeof(Change);
  for (const Change& change : changes_) {
    bytes += std::visit(
        Visitor{[](const Cells& c) {
                  return c.places.capacity() * sizeof(int32_t) + c.ends.capacity() * sizeof(uint32_t) +
                         HeapBytes(c.texts);
                },
                [](const WholeRow& w) { return HeapBytes(w.texts); }, [](const Appended&) { return size_t{0}; },
                [](const ShiftUp& s) { return HeapBytes(s.removed) + s.spaced.capacity() * sizeof(CellSpan); },
                [](const ShiftDown& s) { return s.spaced.capacity() * sizeof(CellSpan); },
                [](const Reorder& r) { return r.order.MemoryUsage(); },
                [](const Replaced& r) {
                  size_t rows = r.rows.capacity() * sizeof(RowBlock);
                  for (const RowBlock& row : r.rows) rows += row.MemoryUsage();
                  return rows;
                }},
        change);
  }
  return bytes;
}

}  // namespace tenaxo
