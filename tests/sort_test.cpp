#include <gtest/gtest.h>

#include <random>

#include "Numbers.h"
#include "SortGrid.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using namespace test;
using Texts = std::vector<std::string>;

// The exchange sort written plainly: row i is exchanged with every later row j whose cell is greater (not
// greater when descending), cells compared afresh each time, by CellToFloat or by the locale's sort keys.
void ExchangeSort(StudyTable& grid, int column, int flags, const TextLocale& locale) {
  if (column < 0 || column >= grid.ColCount()) return;
  const int last = grid.RowCount() - 1;
  for (int i = 1; i < last; ++i) {
    for (int j = i + 1; j <= last; ++j) {
      const std::string& a = grid.Cell(column, i);
      const std::string& b = grid.Cell(column, j);
      const bool greater = (flags & sfNumeric) ? CellToFloat(a, locale) > CellToFloat(b, locale)
                                               : locale.SortKey(a).compare(locale.SortKey(b)) > 0;
      if (greater != ((flags & sfDescending) != 0)) grid.ExchangeRows(i, j);
    }
  }
}

TEST(Sort, EqualKeysMoveAsInTheExchangeSort) {
  StudyTable table = MakeTable({"p;2", "q;2", "r;1"}, 2);
  SortGrid(table, 1, sfNumeric, French());
  EXPECT_EQ(Rows(table), (Texts{"r;1", "q;2", "p;2"})) << "p and q exchanged through the smaller r";
  table = MakeTable({"p;1", "q;1", "r;2"}, 2);
  SortGrid(table, 1, sfNumeric | sfDescending, French());
  EXPECT_EQ(Rows(table), (Texts{"r;2", "q;1", "p;1"}));
  SortGrid(table, 1, sfNumeric | sfDescending, French());
  EXPECT_EQ(Rows(table), (Texts{"r;2", "p;1", "q;1"})) << "sorting descending again reverses the equal run";
  table = MakeTable({"banane", "Abricot", "abricot", "Cerise"}, 1);
  SortGrid(table, 0, 0, French());
  EXPECT_EQ(Rows(table), (Texts{"Abricot", "abricot", "banane", "Cerise"})) << "case does not count";
}

// Random tables with many equal keys: the fast sort must order the rows as the
// exchange sort does, every cell arriving unchanged.
TEST(Sort, AgreesWithTheExchangeSortOnRandomTables) {
  std::mt19937 random(20261206);
  const Texts numbers = {"", " ", "0", "1", "2", "0,5", "abc", "-1", "1e0", "2,0", "10"};
  // Control characters and the soft hyphen among the words: collation weighs them apart.
  const Texts words = {"",    "a", "A", "b",     "B",       "ab",       "Ab",  "été",
                       "ÉTÉ", "z", " ", "a\x1F", "\u007Fb", "a\u00ADb", "\x01"};
  for (int round = 0; round < 3000; ++round) {
    const int n = round % 100 == 0 ? 300 : 1 + static_cast<int>(random() % 14);
    const int variety = 1 + static_cast<int>(random() % 5);
    const size_t base = random() % words.size();  // which few words this table draws from
    StudyTable table(6, n + 1);
    for (int r = 1; r <= n; ++r) {
      table.SetCell(0, r, words[(base + random() % variety) % words.size()]);
      table.SetCell(1, r, "row" + std::to_string(r));
      table.SetCell(2, r, numbers[random() % (variety + 3)]);
      if (random() % 2) table.SetCell(5, r, std::to_string(random() % 3));
    }
    // 0 as text, 2 as numbers, or no column at all (where every cell reads empty).
    const int column = std::vector<int>{0, 2, 0, 2, -1, 6}[random() % 6];
    const int flags = (column == 2 ? sfNumeric : 0) | (random() % 2 ? sfDescending : 0);
    StudyTable expected = table;
    ExchangeSort(expected, column, flags, French());
    SortGrid(table, column, flags, French());
    ASSERT_EQ(Rows(table), Rows(expected)) << "round " << round << " column " << column << " flags " << flags;
  }
}

}  // namespace
}  // namespace tenaxo
