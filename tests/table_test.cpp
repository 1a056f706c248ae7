#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "CellText.h"
#include "Numbers.h"
#include "TableRows.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::Cells;
using test::French;
using test::Split;
using Texts = std::vector<std::string>;

// Rows that move up or down get a single space in every empty cell.
TEST(TableRows, Routines) {
  const Texts three = {"a;b;3;2;0,667", "c;d;;;", "e;f;;;"};
  const struct {
    const char* name;
    Texts before;
    std::function<void(StudyTable&)> routine;
    Texts after;
  } cases[] = {
      {"delete the first row", three, [](StudyTable& t) { DeleteGridRow(t, 1); }, {"c;d; ; ; ", "e;f; ; ; "}},
      {"delete the last row", three, [](StudyTable& t) { DeleteGridRow(t, 3); }, {"a;b;3;2;0,667", "c;d;;;"}},
      {"delete the only row: emptied", {"x;y;1;1;0,500"}, [](StudyTable& t) { DeleteGridRow(t, 1); }, {";;;;"}},
      {"delete the header: nothing", three, [](StudyTable& t) { DeleteGridRow(t, 0); }, three},
      {"delete below the rows: nothing", three, [](StudyTable& t) { DeleteGridRow(t, 4); }, three},
      {"add to a lone blank row: reused", {" ;  ;;\r\n;"}, [](StudyTable& t) { AddGridRow(t, {}); }, {";;;;"}},
      {"add to a lone row with a count", {";;;x;"}, [](StudyTable& t) { AddGridRow(t, {}); }, {";;;x;", ";;;;"}},
      {"add after a blank last row",
       {"a;;;;", ";;;;"},
       [](StudyTable& t) { AddGridRow(t, {}); },
       {"a;;;;", ";;;;", ";;;;"}},
      {"add texts",
       {"a;;;;"},
       [](StudyTable& t) {
         AddGridRow(t, {"p", "q"});
       },
       {"a;;;;", "p;q;;;"}},
      {"insert in the middle",
       {"a;b;1;1;0,500", "c;d;;;", "e;f;2;0;0,000"},
       [](StudyTable& t) { InsertGridRow(t, 2, {}); },
       {"a;b;1;1;0,500", " ; ; ; ; ", "c;d; ; ; ", "e;f;2;0;0,000"}},
      {"insert at the only row, blank: reused", {";;;;"}, [](StudyTable& t) { InsertGridRow(t, 1, {"p"}); }, {"p;;;;"}},
      {"insert at the header: nothing", {"a;;;;"}, [](StudyTable& t) { InsertGridRow(t, 0, {}); }, {"a;;;;"}},
      {"insert below the rows: nothing", {"a;;;;"}, [](StudyTable& t) { InsertGridRow(t, 2, {}); }, {"a;;;;"}},
      {"clear: one blank row", three, [](StudyTable& t) { ClearGrid(t); }, {";;;;"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StudyTable table = test::MakeTable(c.before);
    c.routine(table);
    EXPECT_EQ(Cells(table), Split(c.after));
  }
}

// What a view is told: a name, and the rows or columns from first to last (-1 when none).
struct Event {
  std::string what;
  int first = -1, last = -1;
  bool operator==(const Event& other) const { return what == other.what && first == other.first && last == other.last; }
};
std::ostream& operator<<(std::ostream& out, const Event& e) { return out << e.what << ' ' << e.first << '-' << e.last; }

struct Log : TableObserver {
  std::vector<Event> events;
  void RowsAboutToBeInserted(int first, int last) override { events.push_back({"insert", first, last}); }
  void RowsInserted() override { events.push_back({"inserted"}); }
  void RowsAboutToBeRemoved(int first, int last) override { events.push_back({"remove", first, last}); }
  void RowsRemoved() override { events.push_back({"removed"}); }
  void ColumnsAboutToBeInserted(int first, int last) override { events.push_back({"columns", first, last}); }
  void ColumnsInserted() override { events.push_back({"columns inserted"}); }
  void CellsChanged(int first, int last) override { events.push_back({"cells", first, last}); }
  void CurrentCellClamped() override { events.push_back({"clamped"}); }
  void AboutToReplaceAll() override { events.push_back({"replace"}); }
  void AllReplaced() override { events.push_back({"replaced"}); }
};

// A table of 5 columns and 10 rows (the header and 9 data rows), its current cell at column 2, row 8.
TEST(StudyTable, TellsItsObserverAndKeepsTheCurrentCellInTheDataRows) {
  const struct {
    const char* name;
    std::function<void(StudyTable&)> change;
    std::vector<Event> told;
    int col, row;  // the current cell after
    int rows = 10, cols = 5;
  } cases[] = {
      {"cells outside the table: nothing",
       [](StudyTable& t) {
         for (auto [c, r] : std::vector<std::pair<int, int>>{{-1, 1}, {5, 1}, {0, 10}, {0, -1}}) t.SetCell(c, r, "x");
       },
       {},
       2,
       8},
      {"a cell", [](StudyTable& t) { t.SetCell(0, 2, "x"); }, {{"cells", 2, 2}}, 2, 8},
      {"a cell as it was: nothing", [](StudyTable& t) { t.SetCell(0, 2, ""); }, {}, 2, 8},
      {"a row's texts", [](StudyTable& t) { t.SetRowTexts(3, {"y"}); }, {{"cells", 3, 3}}, 2, 8},
      {"a row outside the table: nothing", [](StudyTable& t) { t.SetRowTexts(10, {"y"}); }, {}, 2, 8},
      {"rows below the current cell go",
       [](StudyTable& t) { t.SetRowCount(9); },
       {{"remove", 9, 9}, {"removed"}},
       2,
       8,
       9},
      {"the current cell's row goes",
       [](StudyTable& t) { t.SetRowCount(8); },
       {{"remove", 8, 9}, {"removed"}, {"clamped"}},
       2,
       7,
       8},
      {"never fewer than one data row",
       [](StudyTable& t) { t.SetRowCount(0); },
       {{"remove", 2, 9}, {"removed"}, {"clamped"}},
       2,
       1,
       2},
      {"more rows", [](StudyTable& t) { t.SetRowCount(11); }, {{"insert", 10, 10}, {"inserted"}}, 2, 8, 11},
      {"as many rows: nothing", [](StudyTable& t) { t.SetRowCount(10); }, {}, 2, 8},
      {"more columns", [](StudyTable& t) { t.SetColCount(7); }, {{"columns", 5, 6}, {"columns inserted"}}, 2, 8, 10, 7},
      {"fewer columns: nothing", [](StudyTable& t) { t.SetColCount(3); }, {}, 2, 8},
      {"a row deleted above the current cell",
       [](StudyTable& t) { DeleteGridRow(t, 1); },
       {{"cells", 1, 8}, {"remove", 9, 9}, {"removed"}},
       2,
       8,
       9},
      {"a row deleted with the current cell on the last row",
       [](StudyTable& t) {
         t.SetCurrentCell(2, 9);
         DeleteGridRow(t, 8);
       },
       {{"cells", 8, 8}, {"remove", 9, 9}, {"removed"}, {"clamped"}},
       2,
       8,
       9},
      {"a row inserted",
       [](StudyTable& t) { InsertGridRow(t, 2, {}); },
       {{"insert", 10, 10}, {"inserted"}, {"cells", 10, 10}, {"cells", 2, 10}},
       2,
       8,
       11},
      {"every row replaced", [](StudyTable& t) { ClearGrid(t); }, {{"replace"}, {"replaced"}}, 2, 1, 2},
      {"rows wider than the table widen it",
       [](StudyTable& t) {
         t.ReplaceDataRows({{"a"}, {"b", "", "", "", "", "f"}});
       },
       {{"replace"}, {"replaced"}},
       2,
       1,
       3,
       6},
      {"the current cell beyond the table", [](StudyTable& t) { t.SetCurrentCell(9, 99); }, {}, 4, 9},
      {"the current cell on the header", [](StudyTable& t) { t.SetCurrentCell(-1, 0); }, {}, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StudyTable table(5, 10);
    table.SetCurrentCell(2, 8);
    Log log;
    table.SetObserver(&log);
    c.change(table);
    EXPECT_EQ(log.events, c.told);
    EXPECT_EQ(table.CurrentCol(), c.col);
    EXPECT_EQ(table.CurrentRow(), c.row);
    EXPECT_EQ(table.RowCount(), c.rows);
    EXPECT_EQ(table.ColCount(), c.cols);
  }
}

TEST(StudyTable, RowsAndCellsOutsideReadEmpty) {
  StudyTable table(2, 3);
  table.SetRowTexts(0, {"Gauche", "Droite"});
  table.SetRowTexts(2, {"a", "b"});
  table.SetRowCount(2);
  table.SetRowCount(3);
  EXPECT_EQ(table.Cell(0, 2), "") << "rows discarded come back empty";
  EXPECT_EQ(table.Cell(0, 0), "Gauche");
  ClearGrid(table);
  EXPECT_EQ(table.RowTexts(0), (StudyTable::Row{"Gauche", "Droite"})) << "the header stays";
  for (auto [c, r] : std::vector<std::pair<int, int>>{{-1, 0}, {2, 0}, {0, -1}, {0, 2}})
    EXPECT_EQ(table.Cell(c, r), "");
  EXPECT_EQ(table.RowTexts(5), (StudyTable::Row{"", ""}));
}

TEST(Numbers, CellToInt) {
  const struct {
    const char* name;
    std::string_view text;
    int32_t value;
  } cases[] = {
      {"empty", "", 0},
      {"spaces before", " 12", 12},
      {"a space after", "12 ", 0},
      {"plus", "+7", 7},
      {"minus", "-3", -3},
      {"a leading zero", "012", 12},
      {"a space after the sign", "- 1", 0},
      {"a sign alone", "-", 0},
      {"two signs", "+-1", 0},
      {"a control character after", "12\x01", 0},
      {"the largest", "2147483647", 2147483647},
      {"one above the largest", "2147483648", 0},
      {"the lowest", "-2147483648", -2147483647 - 1},
      {"one below the lowest", "-2147483649", 0},
      {"beyond 64 bits", "99999999999999999999", 0},
      {"a decimal", "0,375", 0},
      {"a word", "abc", 0},
      {"hexadecimal after $", "$A0", 160},
      {"after 0x", "0xf9", 249},
      {"after 0X", "0Xbc", 188},
      {"after x", "xDE", 222},
      {"after X", "X10", 16},
      {"with a minus", "-$1F", -31},
      {"all 32 bits", "$FFFFFFFF", -1},
      {"the top bit", "$80000000", -2147483647 - 1},
      {"beyond 32 bits", "$100000000", 0},
      {"a prefix alone", "$", 0},
      {"0x alone", "0x", 0},
      {"a letter past F", "$1G", 0},
      {"only the text given", std::string_view("129").substr(0, 2), 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CellToInt(c.text), c.value);
  }
}

// French: the decimal separator is a comma.
TEST(Numbers, ReadFloatAndCellToFloat) {
  const struct {
    const char* name;
    std::string_view text;
    bool number;
    double value;  // CellToFloat's: 0 when no number
  } cases[] = {
      {"empty", "", false, 0},
      {"a space", " ", false, 0},
      {"spaces around", " 12 ", true, 12},
      {"plus", "+7", true, 7},
      {"minus", "-3", true, -3},
      {"two signs", "+-3", false, 0},
      {"decimals", "0,375", true, 0.375},
      {"no integer digit", ",5", true, 0.5},
      {"no decimal digit", "5,", true, 5},
      {"the separator alone", ",", false, 0},
      {"two separators", "1,2,3", false, 0},
      {"another locale's point", "0.375", false, 0},
      {"thousands grouped", "1 234,5", false, 0},
      {"a space after the sign", "- 1", false, 0},
      {"a word", "abc", false, 0},
      {"infinity", "inf", false, 0},
      {"a control character after", "12\x01", false, 0},
      {"an exponent", "1e3", true, 1000},
      {"a negative exponent", "2E-3", true, 0.002},
      {"decimals and exponent", "-1,5e+2", true, -150},
      {"an exponent without digits", "1e", false, 0},
      {"an exponent sign without digits", "1e+", false, 0},
      {"something after the exponent", "1e3x", false, 0},
      {"too large", "1e+400", false, 0},
      {"too small", "1e-400", false, 0},
      {"beyond 32 bits", "-2147483649", true, -2147483649.0},
      {"only the text given", std::string_view("12,59").substr(0, 4), true, 12.5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    double value = -1;
    EXPECT_EQ(ReadFloat(c.text, ",", value), c.number);
    EXPECT_EQ(value, c.number ? c.value : -1) << "untouched when no number";
    EXPECT_EQ(CellToFloat(c.text, French()), c.value);
  }
  double value = 0;
  EXPECT_TRUE(ReadFloat("0.375", ".", value));
  EXPECT_EQ(value, 0.375);
  EXPECT_EQ(CellToFloat("1,5", test::English()), 0);
}

TEST(CellText, IsBlank) {
  const struct {
    const char* name;
    const char* text;
    bool blank;
  } cases[] = {
      {"empty", "", true},
      {"spaces, CR and LF", " \r\n", true},
      {"a tab", "\t", false},
      {"a letter after a space", " a", false},
      {"a no-break space", "\xC2\xA0", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsBlank(c.text), c.blank);
  }
}

TEST(CellText, CutToken) {
  const struct {
    const char* name;
    std::string source, separator, token, rest;
  } cases[] = {
      {"a suffix", "Anglais.tnx", ".tnx", "Anglais", ""},
      {"the first separator", "a\\b\\c", "\\", "a", "b\\c"},
      {"a separator first", "\tabc", "\t", "", "abc"},
      {"no separator", "abc", "\\", "abc", ""},
      {"a separator of several bytes", "東京・大阪", "・", "東京", "大阪"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string source = c.source, token = "old";
    CutToken(source, c.separator, token);
    EXPECT_EQ(token, c.token);
    EXPECT_EQ(source, c.rest);
  }
}

TEST(Ansi, UnicodeRoundTripsButNoLoneSurrogate) {
  const QString text = QChar(0xFEFF) + QString::fromUtf8("Żółw Ελλάδα 日本語 😀 \xC2\x81");  // U+FEFF first stays
  std::string out;
  EXPECT_TRUE(TryToUtf8(text, out) && ToQString(out) == text);
  out = "kept";
  EXPECT_FALSE(TryToUtf8(QString(QChar(0xD800)) + u'a', out) || TryToUtf8(u'a' + QString(QChar(0xDC00)), out));
  EXPECT_EQ(out, "kept");
  EXPECT_EQ(Utf8Prefix("a\xC3\xA9", 2), "a");
  EXPECT_EQ(Utf8Prefix("a\xC3\xA9", 3), "a\xC3\xA9");
}

}  // namespace
}  // namespace tenaxo
