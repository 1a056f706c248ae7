#include <gtest/gtest.h>

#include <QStringDecoder>

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

// Texts in Windows-1252 give what they gave when cells were bytes of that
// code page (each byte one character); other scripts count characters too.
TEST(Texts, CountCharactersNotBytes) {
  QStringDecoder codePage("windows-1252");
  for (int b = 1; b < 256; ++b) {
    const std::string bytes = std::string("a") + static_cast<char>(b) + "c";
    const AnsiString text = Utf8(codePage.decode(QByteArray::fromStdString(bytes)));
    const auto old = [&](const std::string& part) { return Utf8(codePage.decode(QByteArray::fromStdString(part))); };
    SCOPED_TRACE(b);
    for (int n = 0; n <= 4; ++n) {
      EXPECT_EQ(LeftPart(text, n), old(bytes.substr(0, static_cast<size_t>(n))));
      EXPECT_EQ(RightPart(text, n), old(n >= 3 ? bytes : bytes.substr(static_cast<size_t>(3 - n))));
    }
    EXPECT_EQ(IsBlank(text.substr(1, text.size() - 2)), b == ' ' || b == '\r' || b == '\n');
    EXPECT_EQ(CellToInt("1" + text.substr(1, text.size() - 2)), b >= '0' && b <= '9' ? 10 + (b - '0') : 0);
  }
  struct Case {
    std::string text;
    int n;
    std::string left, right;
  };
  const std::vector<Case> cases = {
      {"Żółw", 2, "Żó", "łw"},
      {"日本語", 1, "日", "語"},
      {"Ελλάδα", 5, "Ελλάδ", "λλάδα"},
      {"a😀b", 2, "a😀", "😀b"},  // four bytes, one character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LeftPart(c.text, c.n), c.left);
    EXPECT_EQ(RightPart(c.text, c.n), c.right);
  }
  std::string source = "Москва\tМосква";
  std::string token;
  CutToken(source, "\t", token);
  EXPECT_EQ(token, "Москва");
  EXPECT_EQ(source, "Москва");
  source = "東京・大阪";
  CutToken(source, "・", token);
  EXPECT_EQ(token, "東京");
  EXPECT_EQ(source, "大阪");
  EXPECT_FALSE(IsBlank("\xE3\x80\x80"));  // an ideographic space is no blank, as U+00A0 was none
}

TEST(Texts, NumbersUseTheLocaleSeparators) {
  // French groups thousands with U+202F; the ranking reads back its own
  // texts and those of lists written with U+00A0 or a plain space.
  EXPECT_EQ(FormatNumber(1234.5, 3, French()), "1\u202F234,500");
  for (const char* text : {"1\u202F234,5", "1\u00A0234,5", "1 234,5"}) {
    double value = 0;
    EXPECT_TRUE(ReadGroupedFloat(text, French(), value)) << text;
    EXPECT_DOUBLE_EQ(value, 1234.5) << text;
    EXPECT_DOUBLE_EQ(CellToFloat(text, French()), 0) << text;  // cells take no groups
  }
  double value = 0;
  EXPECT_FALSE(ReadGroupedFloat("1 234.5", test::English(), value));
  EXPECT_TRUE(ReadGroupedFloat("1,234.5", test::English(), value));
  EXPECT_DOUBLE_EQ(value, 1234.5);
  // A decimal separator of two bytes (Arabic, U+066B) is read and written.
  const TextLocale arabic{QLocale(QLocale::Arabic, QLocale::Egypt)};
  const std::string point = arabic.DecimalSeparator();
  EXPECT_DOUBLE_EQ(CellToFloat("0" + point + "375", arabic), 0.375);
  EXPECT_EQ(FormatNumber(0.375, 3, arabic), "0" + point + "375");
}

TEST(Ansi, UnicodeRoundTripsButNoLoneSurrogate) {
  const QString text = QChar(0xFEFF) + QString::fromUtf8("Żółw Ελλάδα 日本語 😀 \xC2\x81");  // U+FEFF first stays
  AnsiString out;
  ASSERT_TRUE(QStringToAnsi(text, out));
  EXPECT_EQ(AnsiToQString(out), text);
  out = "kept";
  EXPECT_FALSE(QStringToAnsi(QString(QChar(0xD800)) + u'a', out));
  EXPECT_FALSE(QStringToAnsi(QString(u'a') + QChar(0xDC00), out));
  EXPECT_EQ(out, "kept");
  EXPECT_EQ(Utf8Prefix("a\xC3\xA9", 2), "a");
  EXPECT_EQ(Utf8Prefix("a\xC3\xA9", 3), "a\xC3\xA9");
}

}  // namespace
}  // namespace tenaxo
