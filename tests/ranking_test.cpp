#include <gtest/gtest.h>

#include "Ranking.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using namespace test;

// Ratio = Juste / Demandé, Demandé doubled below 10, with three decimals rounded half away from zero on the double;
// no ratio when that is 0. French: a decimal comma, thousands grouped with U+202F.
TEST(Ranking, RatioOfEachPair) {
  const struct {
    const char* name;
    std::string asked, found, ratio;
  } cases[] = {
      {"9 asked: doubled", "9", "9", "0,500"},
      {"10 asked", "10", "10", "1,000"},
      {"11 asked", "11", "11", "1,000"},
      {"1 asked", "1", "1", "0,500"},
      {"never asked", "", "4", ""},
      {"0 asked", "0", "0", ""},
      {"no Juste", "3", "", "0,000"},
      {"a half rounds up", "16", "1", "0,063"},
      {"a negative half rounds down", "16", "-1", "-0,063"},
      {"just below a half", "2000", "749", "0,374"},
      {"below a thousandth", "2048", "1", "0,000"},
      {"a thousandth, rounded", "1024", "1", "0,001"},
      {"no minus on a zero", "2500", "-1", "0,000"},
      {"negative asked", "-3", "3", "-0,500"},
      {"the lowest asked", "-2147483648", "1", "0,000"},
      {"the largest found", "1", "2147483647", "1\u202F073\u202F741\u202F823,500"},
      {"the largest both", "2147483647", "2147483647", "1,000"},
      {"counts in hexadecimal", "$10", "$4", "0,250"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StudyTable table = MakeTable({"x;y;" + c.asked + ";" + c.found + ";stale"});
    ComputeRatios(table, French());
    EXPECT_EQ(table.Cell(ColRatio, 1), c.ratio);
  }
}

// Lowest first, by the ratio as written; pairs never asked count as 0. Equal ratios move as ColumnSort.h tells.
TEST(Ranking, Order) {
  const struct {
    const char* name;
    const TextLocale& locale;
    std::vector<std::string> rows, ranked;
  } cases[] = {
      {"never asked among the zeros",
       French(),
       {"a;;10;10;", "b;;;;0,9", "c;;4;0;", "d;;4;3;", "e;;;;", "f;;2000;;"},
       {"b;;;;", "c;;4;0;0,000", "e;;;;", "f;;2000;;0,000", "d;;4;3;0,375", "a;;10;10;1,000"}},
      {"equal as written, though not as divided",
       French(),
       {"p;;1000;333;", "q;;3;2;", "r;;4;0;"},
       {"r;;4;0;0,000", "q;;3;2;0,333", "p;;1000;333;0,333"}},
      {"grouped thousands, by value",
       English(),
       {"big;;1;3000;", "small;;10;1;"},
       {"small;;10;1;0.100", "big;;1;3000;1,500.000"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StudyTable table = MakeTable(c.rows);
    ComputeRatios(table, c.locale);
    EXPECT_EQ(Cells(table), Split(c.ranked));
  }
}

}  // namespace
}  // namespace tenaxo
