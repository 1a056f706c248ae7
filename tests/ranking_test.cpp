#include <gtest/gtest.h>

#include <tuple>

#include "Ranking.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using namespace test;

// Ratio = Juste / Demandé, Demandé doubled below 10; no ratio when that is 0.
TEST(Ranking, RatioOfEachRowAndOrder) {
  // Demandé, Juste, Ratio
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"4", "3", "0,375"},    // 3 / 8
      {"10", "10", "1,000"},  // 10 / 10
      {"-3", "3", "-0,500"},  // 3 / -6
      {"", "4", ""},
      {"3", "", "0,000"},
      {"-2147483648", "1", "0,000"},  // 1 / -2^32: no wrap, and no sign on a zero
  };
  for (const auto& [asked, found, ratio] : cases) {
    StudyTable table = MakeTable({"x;y;" + asked + ";" + found + ";stale"});
    ComputeRatios(table, French());
    EXPECT_EQ(table.Cell(ColRatio, 1), ratio) << asked << "/" << found;
  }
  // Sorted by ratio, the pairs never asked among the zeros.
  StudyTable table = MakeTable({"a;;10;10;", "b;;;;0,9", "c;;4;0;", "d;;4;3;", "e;;;;", "f;;2000;;"});
  ComputeRatios(table, French());
  EXPECT_EQ(Rows(table), (std::vector<std::string>{"b;;;;", "c;;4;0;0,000", "e;;;;", "f;;2000;;0,000", "d;;4;3;0,375",
                                                   "a;;10;10;1,000"}));
  // 3000 found of 1 asked, typed by hand: "1,500.000" has a group separator, and still ranks last.
  table = MakeTable({"big;;1;3000;", "small;;10;1;"});
  ComputeRatios(table, test::English());
  EXPECT_EQ(Rows(table), (std::vector<std::string>{"small;;10;1;0.100", "big;;1;3000;1,500.000"}));
}

}  // namespace
}  // namespace tenaxo
