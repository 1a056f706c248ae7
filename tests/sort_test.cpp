#include <gtest/gtest.h>

#include <random>

#include "ColumnSort.h"
#include "Numbers.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using namespace test;
using Texts = std::vector<std::string>;

TEST(Sort, ByColumn) {
  const struct {
    const char* name;
    Texts rows;  // one column, or two when a row has a ';'
    int column, flags;
    Texts sorted;
  } cases[] = {
      {"equal keys exchanged through a smaller one", {"p;2", "q;2", "r;1"}, 1, sfNumeric, {"r;1", "q;2", "p;2"}},
      {"descending, equal keys reversed", {"p;1", "q;1", "r;2"}, 1, sfNumeric | sfDescending, {"r;2", "q;1", "p;1"}},
      {"numbers as the locale reads them, no number as 0",
       {"a;10", "b;9", "c;1,5", "d;x", "e;-1"},
       1,
       sfNumeric,
       {"e;-1", "d;x", "c;1,5", "b;9", "a;10"}},
      {"texts ignoring case",
       {"banane", "Abricot", "abricot", "Cerise"},
       0,
       0,
       {"Abricot", "abricot", "banane", "Cerise"}},
      {"texts descending", {"b", "c", "a"}, 0, sfDescending, {"c", "b", "a"}},
      {"a column left of the table: nothing", {"b", "a"}, -1, sfDescending, {"b", "a"}},
      {"a column right of the table: nothing", {"b", "a"}, 1, sfDescending, {"b", "a"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StudyTable table = MakeTable(c.rows, c.rows[0].find(';') == std::string::npos ? 1 : 2);
    SortGrid(table, c.column, c.flags, French());
    EXPECT_EQ(Rows(table), c.sorted);
  }
}

// The exchange sort written plainly: row i is exchanged with every later row j whose key is greater (not greater
// when descending), keys compared afresh each time.
Texts ExchangeSorted(const StudyTable& table, int column, int flags) {
  std::vector<StudyTable::Row> rows;
  for (int r = 1; r < table.RowCount(); ++r) rows.push_back(table.RowTexts(r));
  for (size_t i = 0; i < rows.size(); ++i) {
    for (size_t j = i + 1; j < rows.size(); ++j) {
      const std::string& a = rows[i].at(column);
      const std::string& b = rows[j].at(column);
      const bool greater = (flags & sfNumeric) ? CellToFloat(a, French()) > CellToFloat(b, French())
                                               : French().SortKey(a).compare(French().SortKey(b)) > 0;
      if (greater != ((flags & sfDescending) != 0)) std::swap(rows[i], rows[j]);
    }
  }
  StudyTable sorted(table.ColCount(), table.RowCount());
  for (size_t r = 0; r < rows.size(); ++r) sorted.SetRowTexts(static_cast<int>(r) + 1, rows[r]);
  return Rows(sorted);
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
    const Texts expected = ExchangeSorted(table, column, flags);
    SortGrid(table, column, flags, French());
    ASSERT_EQ(Rows(table), expected) << "round " << round << " column " << column << " flags " << flags;
  }
}

}  // namespace
}  // namespace tenaxo
