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

// The exchange sort written plainly, kept here as the oracle: row i is exchanged
// with every later row j whose cell is greater (smaller when descending), the
// two cells read afresh at every comparison and compared as the sort compares
// them (numbers by CellToFloat, texts by the locale's sort keys).
void ExchangeSort(StudyTable& grid, int column, int flags, const TextLocale& locale) {
  if (column < 0 || column >= grid.ColCount()) return;
  const int last = grid.RowCount() - 1;
  for (int i = 1; i < last; ++i) {
    for (int j = i + 1; j <= last; ++j) {
      const AnsiString& a = grid.Cell(column, i);
      const AnsiString& b = grid.Cell(column, j);
      const bool greater = (flags & sfNumeric) ? CellToFloat(a, locale) > CellToFloat(b, locale)
                                               : locale.SortKey(a).compare(locale.SortKey(b)) > 0;
      if (greater != ((flags & sfDescending) != 0)) {
        const StudyTable::Row t = grid.RowTexts(j);
        grid.SetRowTexts(j, grid.RowTexts(i));
        grid.SetRowTexts(i, t);
      }
    }
  }
}

std::vector<std::string> FirstColumn(const StudyTable& table) {
  std::vector<std::string> out;
  for (int r = 1; r < table.RowCount(); ++r) out.push_back(table.Cell(0, r));
  return out;
}

struct SortCase {
  const char* name;
  std::vector<std::string> rows;
  int column;
  int flags;
  std::vector<std::string> firstColumn;
};

class SortCases : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortCases, OrderRows) {
  const SortCase& c = GetParam();
  StudyTable table = MakeTable(c.rows);
  SortGrid(table, c.column, c.flags, French());
  EXPECT_EQ(FirstColumn(table), c.firstColumn);
}

INSTANTIATE_TEST_SUITE_P(
    Sort, SortCases,
    ::testing::Values(
        SortCase{"RatioAscending", {"p;;;;0,500", "q;;;;", "r;;;;0,000", "s;;;;0,250", "t;;;;"}, 4, sfNumeric,
                 {"q", "r", "t", "s", "p"}},
        SortCase{"DemandeAscending", {"w;;3", "x;;", "y;;12", "z;;abc"}, 2, sfNumeric, {"x", "z", "w", "y"}},
        SortCase{"TextAscending", {"banane", "Abricot", "abricot", "Cerise"}, 0, 0,
                 {"Abricot", "abricot", "banane", "Cerise"}},
        SortCase{"TextDescending", {"banane", "Abricot", "abricot", "Cerise"}, 0, sfDescending,
                 {"Cerise", "banane", "abricot", "Abricot"}},
        SortCase{"UnstableAscending", {"p;;2", "q;;2", "r;;1"}, 2, sfNumeric, {"r", "q", "p"}},
        SortCase{"EqualRunReversedDescending", {"p;;1", "q;;1", "r;;2"}, 2, sfNumeric | sfDescending,
                 {"r", "q", "p"}},
        SortCase{"FourEqualDescending", {"p", "q", "r", "s"}, 1, sfDescending, {"s", "r", "q", "p"}},
        SortCase{"ColumnMinusOne", {"b", "a"}, -1, 0, {"b", "a"}},
        SortCase{"ColumnPastTheLast", {"b", "a"}, 5, 0, {"b", "a"}},
        SortCase{"OneRow", {"a"}, 0, sfDescending, {"a"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Sort, DescendingTwiceReversesRunsAgain) {
  StudyTable table = MakeTable({"p;;1", "q;;1", "r;;2"});
  SortGrid(table, 2, sfNumeric | sfDescending, French());
  SortGrid(table, 2, sfNumeric | sfDescending, French());
  EXPECT_EQ(FirstColumn(table), (std::vector<std::string>{"r", "p", "q"}));
}

// Random tables with many equal keys: every order the fast sort gives must be
// the exchange sort's, with every cell arriving unchanged.
TEST(Sort, AgreesWithTheExchangeSortOnRandomTables) {
  std::mt19937 random(20261206);
  const std::vector<std::string> numbers = {"", " ", "0", "1", "2", "0,5", "abc", "-1", "1e0", "2,0", "10"};
  // Control characters and the soft hyphen among the words: collation weighs them apart.
  const std::vector<std::string> words = {"",    "a", "A", "b",      "B",         "ab",              "Ab",  "été",
                                          "ÉTÉ", "z", " ", "a\x1F", "\x7F" "b", "a\xC2\xAD" "b", "\x01"};
  int checked = 0;
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
    const int column = static_cast<int>(random() % 2) * 2;  // 0 as text or 2 as numbers
    int flags = column == 2 ? sfNumeric : 0;
    if (random() % 2) flags |= sfDescending;
    StudyTable expected = table;
    ExchangeSort(expected, column, flags, French());
    SortGrid(table, column, flags, French());
    ASSERT_EQ(Rows(table), Rows(expected)) << "round " << round << " column " << column << " flags " << flags;
    ++checked;
  }
  EXPECT_EQ(checked, 3000);
}

}  // namespace
}  // namespace tenaxo
