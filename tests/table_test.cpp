#include <gtest/gtest.h>

#include <functional>

#include "Outils.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::French;
using test::MakeTable;
using test::Rows;

struct RowCase {
  const char* name;
  std::vector<std::string> before;
  std::function<void(StudyTable&)> operation;
  std::vector<std::string> after;
};

class RowOperations : public ::testing::TestWithParam<RowCase> {};

TEST_P(RowOperations, GiveTheExpectedTable) {
  const RowCase& c = GetParam();
  StudyTable table = MakeTable(c.before);
  table.SetCell(0, 0, "Gauche");
  c.operation(table);
  EXPECT_EQ(Rows(table), c.after);
  EXPECT_EQ(table.Cell(0, 0), "Gauche") << "the header row is never touched";
}

const std::vector<std::string> kThree = {"a;b;3;2;0,667", "c;d;;;", "e;f;;;"};

INSTANTIATE_TEST_SUITE_P(
    Table, RowOperations,
    ::testing::Values(
        RowCase{"DeleteFirstOfThree", kThree, [](StudyTable& t) { DeleteGridRow(t, 1); },
                {"c;d; ; ; ", "e;f; ; ; "}},
        RowCase{"DeleteLast", kThree, [](StudyTable& t) { DeleteGridRow(t, 3); }, {"a;b;3;2;0,667", "c;d;;;"}},
        RowCase{"DeleteOnlyRowEmptiesIt", {"x;y;1;1;0,500"}, [](StudyTable& t) { DeleteGridRow(t, 1); }, {";;;;"}},
        RowCase{"DeleteHeaderChangesNothing", {"x;y;1;1;0,500"}, [](StudyTable& t) { DeleteGridRow(t, 0); },
                {"x;y;1;1;0,500"}},
        RowCase{"DeleteBeyondChangesNothing", {"x;y;1;1;0,500"}, [](StudyTable& t) { DeleteGridRow(t, 2); },
                {"x;y;1;1;0,500"}},
        RowCase{"DeleteNegativeChangesNothing", kThree, [](StudyTable& t) { DeleteGridRow(t, -1); }, kThree},
        RowCase{"AddReusesLoneBlankRow", {" ;  ;;\r\n;"}, [](StudyTable& t) { AddGridRow(t, {}); }, {";;;;"}},
        RowCase{"AddAfterLoneFilledRow", {";;;x;"}, [](StudyTable& t) { AddGridRow(t, {}); }, {";;;x;", ";;;;"}},
        RowCase{"AddAfterBlankLastOfThree", {"a;;;;", "b;;;;", ";;;;"}, [](StudyTable& t) { AddGridRow(t, {}); },
                {"a;;;;", "b;;;;", ";;;;", ";;;;"}},
        RowCase{"AddWithTexts", {"a;;;;"}, [](StudyTable& t) { AddGridRow(t, {"p", "q"}); }, {"a;;;;", "p;q;;;"}},
        RowCase{"AddDropsTextsBeyondLastColumn", {"a;;;;"},
                [](StudyTable& t) { AddGridRow(t, {"1", "2", "3", "4", "5", "6"}); }, {"a;;;;", "1;2;3;4;5"}},
        RowCase{"InsertInTheMiddle", {"a;b;1;1;0,500", "c;d;;;", "e;f;2;0;0,000"},
                [](StudyTable& t) { InsertGridRow(t, 2, {}); },
                {"a;b;1;1;0,500", " ; ; ; ; ", "c;d; ; ; ", "e;f;2;0;0,000"}},
        RowCase{"InsertAtTheLastRow", {"a;;;;", "b;;;;"}, [](StudyTable& t) { InsertGridRow(t, 2, {}); },
                {"a;;;;", " ; ; ; ; ", "b; ; ; ; "}},
        RowCase{"InsertReusesLoneBlankRow", {";;;;"}, [](StudyTable& t) { InsertGridRow(t, 1, {}); }, {";;;;"}},
        RowCase{"InsertAtHeaderChangesNothing", {"a;;;;"}, [](StudyTable& t) { InsertGridRow(t, 0, {}); }, {"a;;;;"}},
        RowCase{"InsertBeyondChangesNothing", {"a;;;;"}, [](StudyTable& t) { InsertGridRow(t, 2, {}); }, {"a;;;;"}},
        RowCase{"MovedTextsArriveUnchanged", {"x;;;;", "a \"b\", c;\r\n;  ;;"},
                [](StudyTable& t) { DeleteGridRow(t, 1); }, {"a \"b\", c;\r\n;  ; ; "}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StudyTable, ClearKeepsColumnsAndDiscardsRowsForGood) {
  StudyTable table(7, 10);
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 7; ++c) table.SetCell(c, r, "v");
  ClearGrid(table);
  EXPECT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.ColCount(), 7);
  EXPECT_EQ(Rows(table), std::vector<std::string>{";;;;;;"});
  EXPECT_EQ(table.Cell(6, 0), "v");
  table.SetRowCount(10);
  for (int r = 1; r < 10; ++r)
    for (int c = 0; c < 7; ++c) EXPECT_EQ(table.Cell(c, r), "") << c << "," << r;
}

TEST(StudyTable, OutsideReadsEmptyAndWritesNothing) {
  StudyTable table;
  EXPECT_EQ(table.RowCount(), 5);
  EXPECT_EQ(table.ColCount(), 5);
  for (auto [c, r] : std::vector<std::pair<int, int>>{{-1, 1}, {5, 1}, {0, 5}, {0, -1}, {1000000, 1000000}}) {
    table.SetCell(c, r, "x");
    EXPECT_EQ(table.Cell(c, r), "");
  }
  EXPECT_EQ(Rows(table), std::vector<std::string>(4, ";;;;"));
  table.SetColCount(7);
  EXPECT_EQ(table.Cell(6, 4), "");
  table.SetColCount(3);
  EXPECT_EQ(table.ColCount(), 7) << "the table never narrows";
}

TEST(StudyTable, CurrentCellFollowsTheLastRowWhenRowsGo) {
  StudyTable table(5, 10);
  table.SetCurrentCell(2, 8);
  table.SetRowCount(4);
  EXPECT_EQ(table.CurrentRow(), 3);
  EXPECT_EQ(table.CurrentCol(), 2);
  ClearGrid(table);
  EXPECT_EQ(table.CurrentRow(), 1);
  table.SetCurrentCell(9, 0);
  EXPECT_EQ(table.CurrentCol(), 4);
  EXPECT_EQ(table.CurrentRow(), 1) << "the header row never becomes current";
}

struct Conversion {
  const char* text;
  bool blank;
  int32_t integer;
  double number;  // with a decimal comma
};

TEST(Conversions, ReadAnyTextWithoutFailing) {
  const std::vector<Conversion> cases = {
      {"", true, 0, 0},
      {" ", true, 0, 0},
      {" \r\n", true, 0, 0},
      {"\t", false, 0, 0},
      {"12", false, 12, 12},
      {" 12", false, 12, 12},
      {"12 ", false, 0, 12},
      {"+7", false, 7, 7},
      {"-3", false, -3, -3},
      {"2147483647", false, 2147483647, 2147483647.0},
      {"2147483648", false, 0, 2147483648.0},
      {"-2147483648", false, -2147483647 - 1, -2147483648.0},
      {"-2147483649", false, 0, -2147483649.0},
      {"99999999999999999999", false, 0, 1e20},
      {"0,375", false, 0, 0.375},
      {"0.375", false, 0, 0},
      {"1e3", false, 0, 1000},
      {"1 234,5", false, 0, 0},
      {"abc", false, 0, 0},
      {"$1F", false, 31, 0},
      {"0x10", false, 16, 0},
      {"$FFFFFFFF", false, -1, 0},
      {"$100000000", false, 0, 0},
      {"-", false, 0, 0},
      {",5", false, 0, 0.5},
      {"5,", false, 0, 5},
      {",", false, 0, 0},
      {"1,2,3", false, 0, 0},
      {"1e", false, 0, 0},
      {"1e+400", false, 0, 0},
      {"1e-400", false, 0, 0},
      {"- 1", false, 0, 0},
      {"12\x01", false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("text \"") + c.text + "\"");
    EXPECT_EQ(IsBlank(c.text), c.blank);
    EXPECT_EQ(CellToInt(c.text), c.integer);
    EXPECT_DOUBLE_EQ(CellToFloat(c.text, French()), c.number);
  }
  EXPECT_DOUBLE_EQ(CellToFloat("0.375", test::English()), 0.375);
  EXPECT_DOUBLE_EQ(CellToFloat("0,375", test::English()), 0);
}

TEST(Texts, PartsAndTokens) {
  EXPECT_EQ(LeftPart("abc", 2), "ab");
  EXPECT_EQ(LeftPart("abc", 5), "abc");
  EXPECT_EQ(LeftPart("abc", 0), "");
  EXPECT_EQ(LeftPart("abc", -1), "");
  EXPECT_EQ(RightPart("abc", 2), "bc");
  EXPECT_EQ(RightPart("abc", 3), "abc");
  EXPECT_EQ(RightPart("abc", 9), "abc");
  EXPECT_EQ(RightPart("abc", 0), "");

  struct Cut {
    std::string source, separator, token, rest;
  };
  for (const Cut& c : std::vector<Cut>{{"Anglais.tnx", ".tnx", "Anglais", ""},
                                       {"Tenaxo\\Liste", "\\", "Tenaxo", "Liste"},
                                       {"abc", "\t", "abc", ""},
                                       {"\tabc", "\t", "", "abc"},
                                       {"abc", "", "abc", ""},
                                       {"a.TNX", ".tnx", "a.TNX", ""}}) {
    std::string source = c.source;
    std::string token = "old";
    CutToken(source, c.separator, token);
    EXPECT_EQ(token, c.token) << c.source;
    EXPECT_EQ(source, c.rest) << c.source;
  }
}

TEST(Ansi, EveryByteRoundTrips) {
  for (int b = 1; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    AnsiString back;
    ASSERT_TRUE(QStringToAnsi(AnsiToQString(one), back)) << b;
    EXPECT_EQ(back, one) << b;
  }
  AnsiString out = "kept";
  EXPECT_FALSE(QStringToAnsi(QString::fromUtf8("caf\xC3\xA9 \xE2\x98\x83"), out));
  EXPECT_EQ(out, "kept");
  EXPECT_EQ(FirstUnencodable(QString::fromUtf8("ok \xE2\x82\xAC \xE2\x98\x83")), QChar(0x2603));
}

}  // namespace
}  // namespace tenaxo
