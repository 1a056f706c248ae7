// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CellText.h"
#include "ColumnSort.h"
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
  enum Routine { Delete, Add, Insert, Clear };
  const std::vector<std::tuple<const char*, Texts, Routine, int, Texts>> cases = {
      {"delete the first row", three, Delete, 1, {"c;d; ; ; ", "e;f; ; ; "}},
      {"delete the last row", three, Delete, 3, {"a;b;3;2;0,667", "c;d;;;"}},
      {"delete the only row: emptied", {"x;y;1;1;0,500"}, Delete, 1, {";;;;"}},
      {"delete the header: nothing", three, Delete, 0, three},
      {"delete below the rows: nothing", three, Delete, 4, three},
      {"add to a lone blank row: reused", {" ;  ;;\r\n;"}, Add, 0, {"p;q;;;"}},
      {"add to a lone row with a count", {";;;x;"}, Add, 0, {";;;x;", "p;q;;;"}},
      {"add after a blank last row", {"a;;;;", ";;;;"}, Add, 0, {"a;;;;", ";;;;", "p;q;;;"}},
      {"insert", {"a;b;1;;", "c;d;;;", "e"}, Insert, 2, {"a;b;1;;", "p;q; ; ; ", "c;d; ; ; ", "e; ; ; ; "}},
      {"insert at a lone blank row: reused", {";;;;"}, Insert, 1, {"p;q;;;"}},
      {"insert at the header: nothing", {"a;;;;"}, Insert, 0, {"a;;;;"}},
      {"insert below the rows: nothing", {"a;;;;"}, Insert, 2, {"a;;;;"}},
      {"clear: one blank row", three, Clear, 0, {";;;;"}}};
  for (const auto& [name, before, routine, row, after] : cases) {
    SCOPED_TRACE(name);
    StudyTable table = test::MakeTable(before);
    table.SetCell(0, 0, "h");
    if (routine == Delete) DeleteGridRow(table, row);
    if (routine == Add) AddGridRow(table, {"p", "q"});
    if (routine == Insert) InsertGridRow(table, row, {"p", "q"});
    if (routine == Clear) ClearGrid(table);
    EXPECT_EQ(Cells(table), Split(after));
    EXPECT_EQ(table.Cell(0, 0), "h") << "the header stays";
  }
}

// What a view is told: a name, and the rows or columns from first to last (-1 when none).
using Event = std::tuple<std::string, int, int>;
struct Log : TableObserver {
  std::vector<Event> events;
  void RowsAboutToBeInserted(int first, int last) override { events.push_back({"insert", first, last}); }
  void RowsInserted() override { events.push_back({"inserted", -1, -1}); }
  void RowsAboutToBeRemoved(int first, int last) override { events.push_back({"remove", first, last}); }
  void RowsRemoved() override { events.push_back({"removed", -1, -1}); }
  void ColumnsAboutToBeInserted(int first, int last) override { events.push_back({"columns", first, last}); }
  void ColumnsInserted() override { events.push_back({"columns inserted", -1, -1}); }
  void CellsChanged(int first, int last) override { events.push_back({"cells", first, last}); }
  void CurrentCellClamped() override { events.push_back({"clamped", -1, -1}); }
  void AboutToReplaceAll() override { events.push_back({"replace", -1, -1}); }
  void AllReplaced() override { events.push_back({"replaced", -1, -1}); }
};

// A table of 5 columns and 10 rows (the header and 9 data rows), its current cell at column 2 of the row given; then
// what its view is told, and the current cell and the size (column, row, rows, columns).
TEST(StudyTable, TellsItsObserverAndKeepsTheCurrentCellInTheDataRows) {
  enum Change { Cell, RowTexts, Append, Delete, Insert, Sort, Replace, Current };
  const Event inserted{"inserted", -1, -1}, removed{"removed", -1, -1}, clamped{"clamped", -1, -1};
  using Shape = std::tuple<int, int, int, int>;
  const std::vector<std::tuple<const char*, int, Change, int, int, std::vector<Event>, Shape>> cases = {
      {"a cell", 8, Cell, 0, 2, {{"cells", 2, 2}}, {2, 8, 10, 5}},
      {"a cell as it was: nothing", 8, Cell, 0, 1, {}, {2, 8, 10, 5}},
      {"a row's texts", 8, RowTexts, 3, 0, {{"cells", 3, 3}}, {2, 8, 10, 5}},
      {"appended", 8, Append, 0, 0, {{"insert", 10, 10}, inserted}, {2, 8, 11, 5}},
      {"deleted", 8, Delete, 1, 0, {{"cells", 1, 8}, {"remove", 9, 9}, removed}, {2, 8, 9, 5}},
      {"deleted under the cell", 9, Delete, 8, 0, {{"cells", 8, 8}, {"remove", 9, 9}, removed, clamped}, {2, 8, 9, 5}},
      {"inserted", 8, Insert, 2, 0, {{"insert", 10, 10}, inserted, {"cells", 10, 10}, {"cells", 2, 10}}, {2, 8, 11, 5}},
      {"sorted", 8, Sort, 0, 0, {{"cells", 1, 9}}, {2, 8, 10, 5}},
      {"every row replaced, wider", 8, Replace, 0, 0, {{"replace", -1, -1}, {"replaced", -1, -1}}, {2, 1, 3, 6}},
      {"the current cell beyond the table", 8, Current, 9, 99, {}, {4, 9, 10, 5}},
      {"the current cell on the header", 8, Current, -1, 0, {}, {0, 1, 10, 5}}};
  for (const auto& [name, current, change, a, b, told, after] : cases) {
    SCOPED_TRACE(name);
    StudyTable table(5, 10);
    table.SetCell(0, 1, "x");
    table.SetCurrentCell(2, current);
    Log log;
    table.SetObserver(&log);
    if (change == Cell) table.SetCell(a, b, "x");
    if (change == RowTexts) table.SetRowTexts(a, {"y"});
    if (change == Append) table.AppendRow();
    if (change == Delete) DeleteGridRow(table, a);
    if (change == Insert) InsertGridRow(table, a, {});
    if (change == Sort) SortGrid(table, 0, sfDescending);
    if (change == Replace) table.ReplaceDataRows({{"a"}, {"b", "", "", "", "", "f"}});
    if (change == Current) table.SetCurrentCell(a, b);
    EXPECT_EQ(log.events, told);
    EXPECT_EQ(Shape(table.CurrentCol(), table.CurrentRow(), table.RowCount(), table.ColCount()), after);
  }
}

// Bytes held, for the memory budget: a cell too long to be held in place adds its heap block (capacity and NUL).
// Cells outside the table read empty and take no text.
TEST(StudyTable, MemoryUsageAndCellsOutside) {
  StudyTable table(1, 2);
  const size_t empty = table.MemoryUsage();
  table.SetCell(0, 1, std::string(15, 'x'));
  EXPECT_EQ(table.MemoryUsage(), empty);
  table.SetCell(0, 1, std::string(16, 'x'));
  EXPECT_EQ(table.MemoryUsage(), empty + table.Cell(0, 1).capacity() + 1);
  EXPECT_EQ(StudyTable(2, 0).RowCount(), 2) << "the header and a data row at least";
  for (auto [c, r] : std::vector<std::pair<int, int>>{{-1, 1}, {1, 1}, {0, -1}, {0, 2}}) {
    table.SetCell(c, r, "x");
    EXPECT_EQ(table.Cell(c, r), "") << c << ", " << r;
  }
}

// CellToInt, then ReadFloat and CellToFloat in French (a decimal comma): CellToFloat gives 0 for no number, ReadFloat
// leaves the value alone.
TEST(Numbers, IntegersAndDecimals) {
  const std::vector<std::tuple<const char*, std::string_view, int32_t, bool, double>> cases = {
      {"empty", "", 0, false, 0},
      {"spaces around", " 12 ", 0, true, 12},
      {"spaces before", " 12", 12, true, 12},
      {"minus", "-3", -3, true, -3},
      {"the largest integer", "2147483647", 2147483647, true, 2147483647},
      {"one above", "2147483648", 0, true, 2147483648.0},
      {"the lowest integer", "-2147483648", -2147483647 - 1, true, -2147483648.0},
      {"hexadecimal after $", "$A0", 160, false, 0},
      {"after 0x", "0xf9", 249, false, 0},
      {"with a minus", "-$1F", -31, false, 0},
      {"all 32 bits", "$FFFFFFFF", -1, false, 0},
      {"beyond 32 bits", "$100000000", 0, false, 0},
      {"a letter past F", "$1G", 0, false, 0},
      {"decimals", "0,375", 0, true, 0.375},
      {"no decimal digit", "5,", 0, true, 5},
      {"the separator alone", ",", 0, false, 0},
      {"two separators", "1,2,3", 0, false, 0},
      {"another locale's point", "0.375", 0, false, 0},
      {"thousands grouped", "1 234,5", 0, false, 0},
      {"an exponent", "1e3", 0, true, 1000},
      {"too large", "1e+400", 0, false, 0},
      {"only the text given", std::string_view("1259").substr(0, 2), 12, true, 12}};
  for (const auto& [name, text, integer, number, decimal] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(CellToInt(text), integer);
    double value = -1;
    EXPECT_EQ(ReadFloat(text, ",", value), number);
    EXPECT_EQ(value, number ? decimal : -1);
    EXPECT_EQ(CellToFloat(text, French()), decimal);
  }
  EXPECT_EQ(CellToFloat("0.375", test::English()), 0.375);
  EXPECT_EQ(CellToFloat("1,5", test::English()), 0);
}

TEST(CellText, IsBlankAndCutToken) {
  const std::vector<std::tuple<const char*, const char*, bool>> blanks = {{"empty", "", true},
                                                                          {"spaces, CR and LF", " \r\n", true},
                                                                          {"a tab", "\t", false},
                                                                          {"a no-break space", "\xC2\xA0", false}};
  for (const auto& [name, text, blank] : blanks) EXPECT_EQ(IsBlank(text), blank) << name;
  const std::vector<std::tuple<const char*, std::string, std::string, std::string, std::string>> cuts = {
      {"a suffix", "Anglais.tnx", ".tnx", "Anglais", ""},
      {"the first separator", "a\\b\\c", "\\", "a", "b\\c"},
      {"a separator first", "\tabc", "\t", "", "abc"},
      {"no separator", "abc", "\\", "abc", ""},
      {"a separator of several bytes", "東京・大阪", "・", "東京", "大阪"}};
  for (const auto& [name, text, separator, token, rest] : cuts) {
    SCOPED_TRACE(name);
    std::string source = text, cut = "old";
    CutToken(source, separator, cut);
    EXPECT_EQ(cut, token);
    EXPECT_EQ(source, rest);
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
  EXPECT_EQ(Utf8Prefix("\xA9\xA9", 1), "");
}

}  // namespace
}  // namespace tenaxo
