// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Ranking.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using namespace test;

// Ratio = Juste / Demandé, Demandé doubled below 10, with three decimals rounded half away from zero on the double;
// no ratio when that is 0. French: a decimal comma, thousands grouped with U+202F.
TEST(Ranking, RatioOfEachPair) {
  const std::vector<std::tuple<const char*, std::string, std::string, std::string>> cases = {
      {"9 asked: doubled", "9", "9", "0,500"},
      {"10 asked", "10", "10", "1,000"},
      {"never asked", "", "4", ""},
      {"no Juste", "3", "", "0,000"},
      {"a half rounds up", "16", "1", "0,063"},
      {"a negative half rounds down", "16", "-1", "-0,063"},
      {"just below a half", "2000", "749", "0,374"},
      {"no minus on a zero", "2500", "-1", "0,000"},
      {"the lowest asked", "-2147483648", "1", "0,000"},
      {"the largest found", "1", "2147483647", "1\u202F073\u202F741\u202F823,500"},
      {"the largest both", "2147483647", "2147483647", "1,000"}};
  for (const auto& [name, asked, found, ratio] : cases) {
    SCOPED_TRACE(name);
    StudyTable table = MakeTable({"x;y;" + asked + ";" + found + ";stale"});
    ComputeRatios(table, French());
    EXPECT_EQ(table.Cell(ColRatio, 1), ratio);
  }
  StudyTable table = MakeTable({"x;y;1;3000;"});
  ComputeRatios(table, English());
  EXPECT_EQ(table.Cell(ColRatio, 1), "1,500.000") << "in English";
}

// Lowest first, by the ratio as written: q's 2/6 and p's 333/1000 are equal, and move as equal keys do
// (ColumnSort.h). Pairs never asked count as 0.
TEST(Ranking, Order) {
  StudyTable table = MakeTable({"b;;;;0,9", "p;;1000;333;", "q;;3;2;", "r;;4;0;", "a;;10;10;", "c;;4;3;"});
  ComputeRatios(table, French());
  EXPECT_EQ(Cells(table),
            Split({"b;;;;", "r;;4;0;0,000", "q;;3;2;0,333", "p;;1000;333;0,333", "c;;4;3;0,375", "a;;10;10;1,000"}));
}

}  // namespace
}  // namespace tenaxo
