// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnSort.h"

#include <QCollatorSortKey>
#include <algorithm>
#include <numeric>

#include "Numbers.h"

namespace tenaxo {

namespace {

class Fenwick {
 public:
  // size entries, each one value: a node holds the value times the entries it spans.
  Fenwick(int size, int value) : tree_(static_cast<size_t>(size) + 1) {
    for (int i = 1; i <= size; ++i) tree_[static_cast<size_t>(i)] = value * (i & -i);
  }
  void Add(int index, int delta) {
    for (int i = index + 1; i < static_cast<int>(tree_.size()); i += i & -i) tree_[static_cast<size_t>(i)] += delta;
  }
  // Sum of the first `count` entries.
  int Prefix(int count) const {
    int sum = 0;
    for (int i = count; i > 0; i -= i & -i) sum += tree_[static_cast<size_t>(i)];
    return sum;
  }
  // Index of the entry where the running sum first exceeds k (entries 0/1).
  int FindKth(int k) const {
    int position = 0;
    int step = 1;
    while (step * 2 < static_cast<int>(tree_.size())) step *= 2;
    for (; step > 0; step /= 2) {
      const int next = position + step;
      if (next < static_cast<int>(tree_.size()) && tree_[static_cast<size_t>(next)] <= k) {
        position = next;
        k -= tree_[static_cast<size_t>(next)];
      }
    }
    return position;
  }

 private:
  std::vector<int> tree_;
};

// Rows sharing a key: the exchange sort keeps a queue of them as it walks the
// rows. Each one joins at the tail; each row with a smaller key moves the head
// to the tail. members: positions in the current order, ascending; smallerAfter[j]:
// rows with smaller keys between member j and member j+1 (or the end).
void GroupOrder(const std::vector<int>& members, const std::vector<int>& smallerAfter, std::vector<int>& out) {
  const int k = static_cast<int>(members.size());
  // The queue is a circle with a head index; joining at the tail inserts just
  // before the head. Insertion indexes are known up front, so the final
  // places come from replaying the insertions backwards over free slots.
  std::vector<int> insertAt(static_cast<size_t>(k));
  int length = 0;
  int head = 0;
  for (int j = 0; j < k; ++j) {
    if (head == 0) {
      insertAt[static_cast<size_t>(j)] = length;
    } else {
      insertAt[static_cast<size_t>(j)] = head;
      ++head;
    }
    ++length;
    head = static_cast<int>((head + static_cast<int64_t>(smallerAfter[static_cast<size_t>(j)])) % length);
  }
  Fenwick free(k, 1);
  std::vector<int> circle(static_cast<size_t>(k));
  for (int j = k - 1; j >= 0; --j) {
    const int slot = free.FindKth(insertAt[static_cast<size_t>(j)]);
    circle[static_cast<size_t>(slot)] = members[static_cast<size_t>(j)];
    free.Add(slot, -1);
  }
  for (int i = 0; i < k; ++i) out.push_back(circle[static_cast<size_t>((head + i) % k)]);
}

// The exchange sort's result, given the rows in ascending order of their keys
// (equal keys in row order) and each row's key as a dense rank (equal keys,
// equal ranks): where each row of the result came from.
std::vector<int> ExchangeSortOrder(const std::vector<int>& byRank, const std::vector<int>& ranks, bool descending) {
  // Every pair of equal keys that meets is exchanged: descending, the result
  // is the ascending order reversed.
  if (descending) return std::vector<int>(byRank.rbegin(), byRank.rend());
  const int n = static_cast<int>(ranks.size());
  std::vector<int> order;
  order.reserve(static_cast<size_t>(n));
  Fenwick smaller(n, 0);  // positions of rows whose key is below the current group
  std::vector<int> members;
  std::vector<int> smallerAfter;
  for (int start = 0; start < n;) {
    int end = start;
    while (end < n && ranks[static_cast<size_t>(byRank[static_cast<size_t>(end)])] ==
                          ranks[static_cast<size_t>(byRank[static_cast<size_t>(start)])]) {
      ++end;
    }
    members.assign(byRank.begin() + start, byRank.begin() + end);
    smallerAfter.resize(members.size());
    for (size_t j = 0; j < members.size(); ++j) {
      const int from = members[j] + 1;
      const int to = j + 1 < members.size() ? members[j + 1] : n;
      smallerAfter[j] = smaller.Prefix(to) - smaller.Prefix(from);
    }
    GroupOrder(members, smallerAfter, order);
    for (int i = start; i < end; ++i) smaller.Add(byRank[static_cast<size_t>(i)], 1);
    start = end;
  }
  return order;
}

// Sorts the data rows by keys that less compares (by data row index, from 0).
template <typename Less>
void SortRows(StudyTable& grid, Less less, bool descending) {
  const int n = grid.DataRowCount();
  std::vector<int> byKey(static_cast<size_t>(n));
  std::iota(byKey.begin(), byKey.end(), 0);
  std::stable_sort(byKey.begin(), byKey.end(), less);
  std::vector<int> ranks(static_cast<size_t>(n));
  int rank = 0;
  for (auto key = byKey.begin(); key != byKey.end(); ++key) {
    if (key != byKey.begin() && less(key[-1], *key)) ++rank;
    ranks[static_cast<size_t>(*key)] = rank;
  }
  const std::vector<int> order = ExchangeSortOrder(byKey, ranks, descending);
  // The order of a permutation is ascending only when nothing moves.
  if (!std::is_sorted(order.begin(), order.end())) grid.ReorderDataRows(order);
}

}  // namespace

void SortGridByNumbers(StudyTable& grid, const std::vector<double>& keys) {
  SortRows(
      grid, [&](int a, int b) { return keys[a] < keys[b]; }, false);
}

void SortGrid(StudyTable& grid, int32_t column, int flags, const TextLocale& locale) {
  if (column < 0 || column >= grid.ColCount()) return;
  const bool descending = (flags & sfDescending) != 0;
  if (flags & sfNumeric) {
    std::vector<double> keys;
    for (int row = StudyTable::FixedRows; grid.IsDataRow(row); ++row)
      keys.push_back(CellToFloat(grid.Cell(column, row), locale));
    SortRows(
        grid, [&](int a, int b) { return keys[a] < keys[b]; }, descending);
    return;
  }
  std::vector<QCollatorSortKey> keys;
  for (int row = StudyTable::FixedRows; grid.IsDataRow(row); ++row)
    keys.push_back(locale.SortKey(grid.Cell(column, row)));
  SortRows(
      grid, [&](int a, int b) { return keys[a].compare(keys[b]) < 0; }, descending);
}

}  // namespace tenaxo
