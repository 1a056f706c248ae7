// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "ColumnSort.h"
#include "Numbers.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using namespace test;
using Texts = std::vector<std::string>;

// A column outside the table sorts nothing.
TEST(Sort, AColumnOutsideTheTableSortsNothing) {
  for (int column : {-1, 1}) {
    StudyTable table = MakeTable({"b", "a"}, 1);
    SortGrid(table, column, sfDescending, French());
    EXPECT_EQ(Cells(table), Split({"b", "a"})) << column;
  }
}

// The exchange sort written plainly: row i is exchanged with every later row j whose key is greater (not greater
// when descending), keys compared afresh each time.
std::vector<StudyTable::Row> ExchangeSorted(const StudyTable& table, int column, int flags) {
  std::vector<StudyTable::Row> rows = Cells(table);
  for (size_t i = 0; i < rows.size(); ++i) {
    for (size_t j = i + 1; j < rows.size(); ++j) {
      const std::string& a = rows[i].at(column);
      const std::string& b = rows[j].at(column);
      const bool greater = (flags & sfNumeric) ? CellToFloat(a, French()) > CellToFloat(b, French())
                                               : French().SortKey(a).compare(French().SortKey(b)) > 0;
      if (greater != ((flags & sfDescending) != 0)) std::swap(rows[i], rows[j]);
    }
  }
  return rows;
}

// Random tables with many equal keys: every row arrives where the exchange sort puts it, every cell unchanged.
TEST(Sort, AgreesWithTheExchangeSortOnRandomTables) {
  std::mt19937 random(20261206);
  const Texts numbers = {"", " ", "0", "1", "2", "0,5", "abc", "-1", "1e0", "2,0", "10"};
  // Control characters and the soft hyphen among the words: collation weighs them apart.
  const Texts words = {"",    "a", "A", "b",     "B",       "ab",       "Ab",  "été",
                       "ÉTÉ", "z", " ", "a\x1F", "\u007Fb", "a\u00ADb", "\x01"};
  for (int round = 0; round < 1000; ++round) {
    const int n = round % 100 == 0 ? 300 : 1 + static_cast<int>(random() % 14);
    const int variety = 1 + static_cast<int>(random() % 5);
    const size_t base = random() % words.size();  // which few words this table draws from
    StudyTable table(3, n + 1);
    for (int r = 1; r <= n; ++r) {
      table.SetRowTexts(
          r, {words[(base + random() % variety) % words.size()], std::to_string(r), numbers[random() % (variety + 3)]});
    }
    const int column = random() % 2 ? 0 : 2;
    const int flags = (column == 2 ? sfNumeric : 0) | (random() % 2 ? sfDescending : 0);
    const auto expected = ExchangeSorted(table, column, flags);
    SortGrid(table, column, flags, French());
    ASSERT_EQ(Cells(table), expected) << "round " << round << " column " << column << " flags " << flags;
  }
}

}  // namespace
}  // namespace tenaxo
