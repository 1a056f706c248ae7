#include <gtest/gtest.h>

#include "Outils.h"
#include "Ranking.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::English;
using test::French;
using test::MakeTable;
using test::Rows;

TEST(Ranking, RatioOfEachRow) {
  struct Case {
    std::string asked, found, french, english;
  };
  const std::vector<Case> cases = {
      {"4", "3", "0,375", "0.375"},   {"9", "9", "0,500", "0.500"},     {"10", "10", "1,000", "1.000"},
      {"12", "9", "0,750", "0.750"},  {"16", "1", "0,063", "0.063"},    {"5", "0", "0,000", "0.000"},
      {"-3", "3", "-0,500", "-0.500"}, {"", "4", "", ""},               {"0", "1", "", ""},
      {"abc", "1", "", ""},           {"3", "", "0,000", "0.000"},
      // counts far out of the usual range must not wrap
      {"-2147483648", "1", "0,000", "0.000"},
  };
  for (const auto& c : cases) {
    for (bool french : {true, false}) {
      StudyTable table = MakeTable({"x;y;" + c.asked + ";" + c.found + ";stale"});
      ComputeRatios(table, french ? French() : English());
      const std::string expected = french ? c.french : c.english;
      EXPECT_EQ(table.Cell(ColRatio, 1), expected) << c.asked << "/" << c.found;
    }
  }
}

TEST(Ranking, SortsByRatioWithNeverAskedAmongTheZeros) {
  StudyTable table = MakeTable({"a;;10;10;", "b;;;;0,9", "c;;4;0;", "d;;4;3;", "e;;;;", "f;;2000;;"});
  ComputeRatios(table, French());
  EXPECT_EQ(Rows(table), (std::vector<std::string>{"b;;;;", "c;;4;0;0,000", "e;;;;", "f;;2000;;0,000",
                                                   "d;;4;3;0,375", "a;;10;10;1,000"}));
  const auto once = Rows(table);
  ComputeRatios(table, French());
  EXPECT_EQ(Rows(table), once) << "ranking twice gives the same order";
}

TEST(Ranking, HugeRatiosRankLast) {
  // 3000 found of 2 asked, typed by hand: 1 500,000 carries a group separator.
  StudyTable table = MakeTable({"big;;1;3000;", "small;;10;1;"});
  ComputeRatios(table, English());
  EXPECT_EQ(table.Cell(ColRatio, 2), "1,500.000");
  EXPECT_EQ(table.Cell(0, 1), "small");
}

TEST(Ranking, LoneBlankRowGetsAnEmptyRatio) {
  StudyTable table = MakeTable({";;;;0,5"});
  ComputeRatios(table, French());
  EXPECT_EQ(Rows(table), std::vector<std::string>{";;;;"});
}

TEST(FormatNumber, RoundsHalfAwayFromZeroOnTheExactValue) {
  struct Case {
    double value;
    int decimals;
    std::string french;
  };
  const std::vector<Case> cases = {
      {0, 3, "0,000"},
      {0.0625, 3, "0,063"},
      {-0.0625, 3, "-0,063"},
      {0.375, 3, "0,375"},
      {1.0 / 3, 3, "0,333"},
      {2.0 / 3, 3, "0,667"},
      {-0.5, 3, "-0,500"},
      {-0.0004, 3, "0,000"},
      {0.3745, 3, "0,374"},  // the double lies just below the half
      {0.0005, 3, "0,001"},  // and this one just above
      {999.9996, 3, "1\u202F" "000,000"},
      {1234.5, 0, "1\u202F" "235"},
      {2.5, 0, "3"},
      {1e15, 3, "1\u202F" "000\u202F" "000\u202F" "000\u202F" "000\u202F" "000,000"},
      {123456789012.3456, 3, "123\u202F" "456\u202F" "789\u202F" "012,346"},
      {1234567890123.4567, 3, "1\u202F" "234\u202F" "567\u202F" "890\u202F" "123,460"},
      {0.123456789012345678, 18, "0,123456789012346000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.decimals, French()), c.french) << c.value;
  }
  EXPECT_EQ(FormatNumber(1234.5, 3, English()), "1,234.500");
}

TEST(FormatNumber, TakesNullNumbersAndTexts) {
  EXPECT_EQ(FormatNumber(QVariant(), 3, French()), "0,000");
  EXPECT_EQ(FormatNumber(QVariant(QStringLiteral("abc")), 3, French()), "0,000");
  EXPECT_EQ(FormatNumber(QVariant(QStringLiteral("0,0625")), 3, French()), "0,063");
  EXPECT_EQ(FormatNumber(QVariant(7), 3, French()), "7,000");
}

}  // namespace
}  // namespace tenaxo
