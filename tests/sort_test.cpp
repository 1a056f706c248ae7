#include <gtest/gtest.h>

#include <random>

#include "Outils.h"
#include "SortGrid.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::French;
using test::MakeTable;
using test::Rows;
using Texts = std::vector<std::string>;

// The exchange sort written plainly: row i is exchanged with every later row j
// whose cell is greater (smaller when descending), the two cells read afresh
// at every comparison, numbers by CellToFloat, texts by the locale's sort keys.
void ExchangeSort(StudyTable& grid, int column, int flags, const TextLocale& locale) {
  if (column < 0 || column >= grid.ColCount()) return;
  const int last = grid.RowCount() - 1;
  for (int i = 1; i < last; ++i) {
    for (int j = i + 1; j <= last; ++j) {
      const AnsiString& a = grid.Cell(column, i);
      const AnsiString& b = grid.Cell(column, j);
      const bool greater = (flags & sfNumeric) ? CellToFloat(a, locale) > CellToFloat(b, locale)
                                               : locale.SortKey(a).compare(locale.SortKey(b)) > 0;
      if (greater != ((flags & sfDescending) != 0)) grid.ExchangeRows(i, j);
    }
  }
}

Texts FirstColumn(const StudyTable& table) {
  Texts out;
  for (int r = 1; r < table.RowCount(); ++r) out.push_back(table.Cell(0, r));
  return out;
}

TEST(Sort, OrdersAsTheExchangeSort) {
  struct Case {
    Texts rows;
    int column, flags;
    Texts firstColumn;
  };
  const Texts fruits = {"banane", "Abricot", "abricot", "Cerise"};
  const std::vector<Case> cases = {
      {{"p;;;;0,500", "q;;;;", "r;;;;0,000", "s;;;;0,250", "t;;;;"}, 4, sfNumeric, {"q", "r", "t", "s", "p"}},
      {{"w;;3", "x;;", "y;;12", "z;;abc"}, 2, sfNumeric, {"x", "z", "w", "y"}},
      {fruits, 0, 0, {"Abricot", "abricot", "banane", "Cerise"}},  // case does not count
      {fruits, 0, sfDescending, {"Cerise", "banane", "abricot", "Abricot"}},
      {{"p;;2", "q;;2", "r;;1"}, 2, sfNumeric, {"r", "q", "p"}},  // equal keys exchanged through a smaller one
  };
  for (const Case& c : cases) {
    StudyTable table = MakeTable(c.rows);
    SortGrid(table, c.column, c.flags, French());
    EXPECT_EQ(FirstColumn(table), c.firstColumn) << c.rows[0] << " flags " << c.flags;
  }
  StudyTable table = MakeTable({"p;;1", "q;;1", "r;;2"});
  SortGrid(table, 2, sfNumeric | sfDescending, French());
  EXPECT_EQ(FirstColumn(table), (Texts{"r", "q", "p"}));
  SortGrid(table, 2, sfNumeric | sfDescending, French());
  EXPECT_EQ(FirstColumn(table), (Texts{"r", "p", "q"})) << "sorting descending again reverses the equal run";
}

// Random tables with many equal keys: the fast sort must order the rows as the
// exchange sort does, every cell arriving unchanged.
TEST(Sort, AgreesWithTheExchangeSortOnRandomTables) {
  std::mt19937 random(20261206);
  const Texts numbers = {"", " ", "0", "1", "2", "0,5", "abc", "-1", "1e0", "2,0", "10"};
  // Control characters and the soft hyphen among the words: collation weighs them apart.
  const Texts words = {"", "a", "A", "b", "B", "ab", "Ab", "été", "ÉTÉ", "z", " ", "a\x1F", "\x7F" "b",
                       "a\xC2\xAD" "b", "\x01"};
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
