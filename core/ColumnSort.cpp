// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnSort.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

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
    const int size = static_cast<int>(tree_.size());
    int position = 0;
    int step = 1;
    while (step * 2 < size) step *= 2;
    for (; step > 0; step /= 2) {
      const int next = position + step;
      const int value = tree_[static_cast<size_t>(std::min(next, size - 1))];
      const int take = -static_cast<int>(next < size && value <= k);  // all ones or none: no branch
      position += step & take;
      k -= value & take;
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
  // With no smaller key among them the head never moves: the rows stay in order.
  if (std::all_of(smallerAfter.begin(), smallerAfter.end(), [](int smaller) { return smaller == 0; })) {
    out.insert(out.end(), members.begin(), members.end());
    return;
  }
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
    head = (head + smallerAfter[static_cast<size_t>(j)]) % length;  // both below the row count
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
  if (n == 0) return order;
  // below[p]: the rows before row p whose key is smaller than its own.
  std::vector<int> below(static_cast<size_t>(n));
  Fenwick counts(ranks[static_cast<size_t>(byRank.back())] + 1, 0);  // rows seen so far, by rank
  for (size_t p = 0; p < below.size(); ++p) {
    below[p] = counts.Prefix(ranks[p]);
    counts.Add(ranks[p], 1);
  }
  std::vector<int> members;
  std::vector<int> smallerAfter;
  for (int start = 0; start < n;) {
    const int rank = ranks[static_cast<size_t>(byRank[static_cast<size_t>(start)])];
    int end = start + 1;
    while (end < n && ranks[static_cast<size_t>(byRank[static_cast<size_t>(end)])] == rank) ++end;
    if (end - start == 1) {  // a key of its own: the row stays where the others leave it
      order.push_back(byRank[static_cast<size_t>(start)]);
      start = end;
      continue;
    }
    members.assign(byRank.begin() + start, byRank.begin() + end);
    // The rows with smaller keys are the start first ones of byRank: those
    // between two members are counted from what each has before it.
    smallerAfter.resize(members.size());
    for (size_t j = 0; j < members.size(); ++j) {
      const int upTo = j + 1 < members.size() ? below[static_cast<size_t>(members[j + 1])] : start;
      smallerAfter[j] = upTo - below[static_cast<size_t>(members[j])];
    }
    GroupOrder(members, smallerAfter, order);
    start = end;
  }
  return order;
}

// Sorts the data rows given them in ascending order of their keys, equal keys
// in row order, and each one's key as a dense rank.
void OrderRows(StudyTable& grid, const std::vector<int>& byKey, const std::vector<int>& ranks, bool descending) {
  const std::vector<int> order = ExchangeSortOrder(byKey, ranks, descending);
  // The order of a permutation is ascending only when nothing moves.
  if (!std::is_sorted(order.begin(), order.end())) grid.ReorderDataRows(order);
}

void SortByNumbers(StudyTable& grid, const std::vector<double>& keys, bool descending) {
  // Each row's key as a dense rank, then the rows counted out rank by rank.
  std::vector<int> ranks(keys.size());
  int rankCount = 0;
  const auto [low, high] = std::minmax_element(keys.begin(), keys.end());
  const bool whole = std::all_of(keys.begin(), keys.end(), [](double key) { return key == std::floor(key); });
  if (whole && !keys.empty() && *high - *low <= 4.0 * static_cast<double>(keys.size())) {
    // Whole numbers close together, as counts and ratios in thousandths are: ranked through a table by value.
    std::vector<int> rankOf(static_cast<size_t>(*high - *low) + 1);
    for (const double key : keys) rankOf[static_cast<size_t>(key - *low)] = 1;
    for (int& rank : rankOf) rankCount += std::exchange(rank, rankCount);
    for (size_t k = 0; k < keys.size(); ++k) ranks[k] = rankOf[static_cast<size_t>(keys[k] - *low)];
  } else {
    std::vector<double> distinct(keys);
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    for (size_t k = 0; k < keys.size(); ++k)
      ranks[k] = static_cast<int>(std::lower_bound(distinct.begin(), distinct.end(), keys[k]) - distinct.begin());
    rankCount = static_cast<int>(distinct.size());
  }
  std::vector<int> starts(static_cast<size_t>(rankCount) + 1);
  for (const int rank : ranks) ++starts[static_cast<size_t>(rank) + 1];
  std::partial_sum(starts.begin(), starts.end(), starts.begin());
  std::vector<int> byKey(keys.size());
  for (size_t k = 0; k < keys.size(); ++k)
    byKey[static_cast<size_t>(starts[static_cast<size_t>(ranks[k])]++)] = static_cast<int>(k);
  OrderRows(grid, byKey, ranks, descending);
}

// Text keys: the first sixteen bytes of each as two numbers that compare as
// they do (keys hold no NUL byte, so the zeros after a short key order it
// first), the rest compared only between equal starts.
void SortByTexts(StudyTable& grid, int32_t column, const TextLocale& locale, bool descending) {
  const int n = grid.DataRowCount();
  std::string keys;
  std::vector<uint32_t> ends(static_cast<size_t>(n) + 1);
  struct Keyed {
    uint64_t high, low;
    int row;
  };
  std::vector<Keyed> keyed(static_cast<size_t>(n));
  const auto bigEndian = [&keys](size_t at, size_t end) {
    uint64_t number = 0;
    for (size_t b = at; b < at + 8; ++b) number = number << 8 | (b < end ? static_cast<unsigned char>(keys[b]) : 0u);
    return number;
  };
  for (int k = 0; k < n; ++k) {
    const size_t begin = keys.size();
    locale.AppendSortKey(grid.Cell(column, k + StudyTable::FixedRows), keys);
    keyed[static_cast<size_t>(k)] = {bigEndian(begin, keys.size()), bigEndian(begin + 8, keys.size()), k};
    ends[static_cast<size_t>(k) + 1] = static_cast<uint32_t>(keys.size());
  }
  // The bytes of a key after its first sixteen.
  const auto rest = [&](int row) {
    const size_t begin = ends[static_cast<size_t>(row)] + 16, end = ends[static_cast<size_t>(row) + 1];
    return begin < end ? std::string_view(keys).substr(begin, end - begin) : std::string_view();
  };
  const auto compare = [&](const Keyed& a, const Keyed& b) {
    if (a.high != b.high) return a.high < b.high ? -1 : 1;
    if (a.low != b.low) return a.low < b.low ? -1 : 1;
    return rest(a.row).compare(rest(b.row));
  };
  std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
    const int order = compare(a, b);
    return order < 0 || (order == 0 && a.row < b.row);
  });
  std::vector<int> byKey(keyed.size());
  std::vector<int> ranks(keyed.size());
  int rank = 0;
  for (size_t k = 0; k < keyed.size(); ++k) {
    if (k > 0 && compare(keyed[k - 1], keyed[k]) != 0) ++rank;
    byKey[k] = keyed[k].row;
    ranks[static_cast<size_t>(keyed[k].row)] = rank;
  }
  OrderRows(grid, byKey, ranks, descending);
}

}  // namespace

void SortGridByNumbers(StudyTable& grid, const std::vector<double>& keys) { SortByNumbers(grid, keys, false); }

void SortGrid(StudyTable& grid, int32_t column, int flags, const TextLocale& locale) {
  if (column < 0 || column >= grid.ColCount()) return;
  const bool descending = (flags & sfDescending) != 0;
  if (flags & sfNumeric) {
    std::vector<double> keys;
    for (int row = StudyTable::FixedRows; grid.IsDataRow(row); ++row)
      keys.push_back(CellToFloat(grid.Cell(column, row), locale));
    SortByNumbers(grid, keys, descending);
  } else {
    SortByTexts(grid, column, locale, descending);
  }
}

}  // namespace tenaxo
