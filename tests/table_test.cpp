// SPDX-License-Identifier: GPL-3.0-or-later
// The study table and its rows, numbers and texts in cells, the column sort and the ranking.
#include <gtest/gtest.h>

#include <QCollator>
#include <random>

#include "ColumnSort.h"
#include "Numbers.h"
#include "Ranking.h"
#include "TableRows.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using namespace test;
using Texts = std::vector<std::string>;

// What a view is told: a name, and the rows from first to last (-1 when none).
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

// A change: the data rows after, what the view is told, the current cell; moved rows get spaces in empty cells.
TEST(StudyTable, ChangesTellTheViewAndKeepTheCurrentCellInTheDataRows) {
  enum Change { Cell, Delete, Insert, Add, Clear, Replace, Sort, Current };
  const Texts three = {"a;b;3;2;0,667", "c;d;;;", "e;f;;;"}, blank = {";;;;"};
  const Event inserted{"inserted", -1, -1}, removed{"removed", -1, -1}, clamped{"clamped", -1, -1},
      replace{"replace", -1, -1}, replaced{"replaced", -1, -1};
  const std::vector<std::tuple<const char*, Texts, int, Change, int, Texts, std::vector<Event>, int, int>> cases = {
      // clang-format off
      {"a cell", three, 1, Cell, 2, {three[0], "x;d;;;", three[2]}, {{"cells", 2, 2}}, 2, 1},
      {"a cell as it was: nothing", {"x"}, 1, Cell, 1, {"x;;;;"}, {}, 2, 1},
      {"delete", three, 1, Delete, 1, {"c;d; ; ; ", "e;f; ; ; "}, {{"cells", 1, 2}, {"remove", 3, 3}, removed}, 2, 1},
      {"delete, a full row but for Gauche", {"a;b;;;", ";q;1;1;0,500"}, 1, Delete, 1, {" ;q;1;1;0,500"},
       {{"cells", 1, 1}, {"remove", 2, 2}, removed}, 2, 1},
      {"delete under the current cell", three, 3, Delete, 2, {three[0], "e;f; ; ; "},
       {{"cells", 2, 2}, {"remove", 3, 3}, removed, clamped}, 2, 2},
      {"delete the only row: emptied", {"x;y;1;1;0,500"}, 1, Delete, 1, blank, {{"cells", 1, 1}}, 2, 1},
      {"delete the header: nothing", three, 1, Delete, 0, three, {}, 2, 1},
      {"delete below the rows: nothing", three, 1, Delete, 4, three, {}, 2, 1},
      {"insert", three, 1, Insert, 2, {three[0], "p;q; ; ; ", "c;d; ; ; ", "e;f; ; ; "},
       {{"insert", 4, 4}, inserted, {"cells", 4, 4}, {"cells", 2, 4}}, 2, 1},
      {"insert at a lone blank row: reused", blank, 1, Insert, 1, {"p;q;;;"}, {{"cells", 1, 1}}, 2, 1},
      {"add to a lone blank row: reused", {" ;  ;;\r\n;"}, 1, Add, 0, {"p;q;;;"}, {{"cells", 1, 1}}, 2, 1},
      {"add to a lone row with a count", {";;;x;"}, 1, Add, 0, {";;;x;", "p;q;;;"},
       {{"insert", 2, 2}, inserted, {"cells", 2, 2}}, 2, 1},
      {"cleared", three, 3, Clear, 0, blank, {replace, replaced}, 2, 1},
      {"every row replaced, wider", three, 3, Replace, 0, {"a;;;;;", "b;;;;;f"}, {replace, replaced}, 2, 1},
      {"sorted", three, 1, Sort, 0, {three[2], three[1], three[0]}, {{"cells", 1, 3}}, 2, 1},
      {"the current cell beyond the table", three, 1, Current, 9, three, {}, 4, 3},
      {"the current cell on the header", three, 1, Current, -1, three, {}, 0, 1},
      // clang-format on
  };
  for (const auto& [name, before, current, change, arg, after, told, col, row] : cases) {
    SCOPED_TRACE(name);
    StudyTable table = MakeTable(before);
    table.SetCurrentCell(2, current);
    Log log;
    table.SetObserver(&log);
    if (change == Cell) table.SetCell(0, arg, "x");
    if (change == Delete) DeleteGridRow(table, arg);
    if (change == Insert) InsertGridRow(table, arg, {"p", "q"});
    if (change == Add) AddGridRow(table, {"p", "q"});
    if (change == Clear) ClearGrid(table);
    if (change == Replace) table.ReplaceDataRows({{"a"}, {"b", "", "", "", "", "f"}});
    if (change == Sort) SortGrid(table, 0, sfDescending);
    if (change == Current) table.SetCurrentCell(arg, arg * 11);
    EXPECT_EQ(Cells(table), Split(after));
    EXPECT_EQ(log.events, told);
    EXPECT_EQ(table.CurrentCol(), col);
    EXPECT_EQ(table.CurrentRow(), row);
  }
  StudyTable table(1, 2);
  for (auto [c, r] : {std::pair{-1, 1}, {1, 1}, {0, -1}, {0, 2}}) {
    table.SetCell(c, r, "x");
    EXPECT_EQ(table.Cell(c, r), "") << "outside: " << c << ", " << r;
  }
  const size_t held = table.MemoryUsage();
  table.SetCell(0, 1, std::string(1000, 'x'));
  // A block of 1,005 bytes and the heap's size word, rounded up to 16 bytes by glibc's heap, not by the sanitizer's.
  EXPECT_GE(table.MemoryUsage() - held, 1005u + 8);
  EXPECT_LE(table.MemoryUsage() - held, 1005u + 8 + 15);
  table.SetCell(0, 1, "");
  EXPECT_EQ(table.Cells(1).Count(), 0u) << "an emptied last cell goes";
}

// CellToInt, and ReadFloat with a decimal comma (text that is no number leaves the value alone).
TEST(Numbers, IntegersAndDecimals) {
  const std::vector<std::tuple<const char*, std::string_view, int32_t, bool, double>> cases = {
      {"empty", "", 0, false, 0},
      {"spaces around", " 12 ", 0, true, 12},
      {"spaces before", " 12", 12, true, 12},
      {"the lowest integer", "-2147483648", -2147483647 - 1, true, -2147483648.0},
      {"one above the largest", "2147483648", 0, true, 2147483648.0},
      {"hexadecimal after 0x", "0xf9", 249, false, 0},
      {"all 32 bits, after $", "$FFFFFFFF", -1, false, 0},
      {"beyond 32 bits", "$100000000", 0, false, 0},
      {"decimals", "0,375", 0, true, 0.375},
      {"two separators", "1,2,3", 0, false, 0},
      {"another locale's point", "0.375", 0, false, 0},
      {"only the text given", std::string_view("1259").substr(0, 2), 12, true, 12}};
  for (const auto& [name, text, integer, number, decimal] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(CellToInt(text), integer);
    double value = -1;
    EXPECT_EQ(ReadFloat(text, ",", value), number);
    EXPECT_EQ(value, number ? decimal : -1);
  }
  EXPECT_EQ(CellToFloat("0.375", TextLocale(QLocale(QLocale::English, QLocale::UnitedStates))), 0.375);
}

// A cell keeps a byte-order mark first, a cut keeps whole characters, characters are written as the toolkit does.
TEST(Utf8, ConversionsAndCuts) {
  const QString text = QChar(0xFEFF) + QString::fromUtf8("Żółw Ελλάδα 日本語 😀 \xC2\x81");
  EXPECT_EQ(ToQString(ToUtf8(text)), text);
  for (const auto& [bytes, size, start] :
       {std::tuple{"a\xC3\xA9", 2, "a"}, {"a\xC3\xA9", 3, "a\xC3\xA9"}, {"\xA9\xA9", 1, ""}})
    EXPECT_EQ(Utf8Prefix(bytes, size), start) << size;
  for (char32_t c = 0; c <= 0x10FFFF; c += c < 0x10080 ? 1 : 0x3F) {
    if (QChar::isSurrogate(c)) continue;
    std::string bytes;
    utf8::AppendUtf8(bytes, c);
    ASSERT_EQ(bytes, QStringView(QChar::fromUcs4(c)).toUtf8().toStdString()) << std::hex << c;
  }
}

// The exchange sort written plainly (row i swapped with each later greater one); a column outside sorts nothing.
std::vector<StudyTable::Row> ExchangeSorted(const StudyTable& table, int column, int flags) {
  std::vector<StudyTable::Row> rows = Cells(table);
  for (size_t i = 0; i < rows.size() && column >= 0 && column < table.ColCount(); ++i) {
    for (size_t j = i + 1; j < rows.size(); ++j) {
      const std::string &a = rows[i].at(column), &b = rows[j].at(column);
      const bool greater = (flags & sfNumeric) ? CellToFloat(a, French()) > CellToFloat(b, French())
                                               : French().SortKey(a).compare(French().SortKey(b)) > 0;
      if (greater != ((flags & sfDescending) != 0)) std::swap(rows[i], rows[j]);
    }
  }
  return rows;
}

// Random tables with many equal keys: every row arrives where the exchange sort puts it, every cell unchanged.
TEST(Sort, AgreesWithTheExchangeSortOnRandomTables) {
  std::mt19937 random(20261206);
  const Texts numbers = {"", " ", "0", "1", "2", "0,5", "abc", "-1", "1e0", "2,0", "10"};
  // Control characters and the soft hyphen among the words: collation weighs them apart.
  const Texts words = {"",    "a", "A", "b",     "B",       "ab",       "Ab",  "été",
                       "ÉTÉ", "z", " ", "a\x1F", "\u007Fb", "a\u00ADb", "\x01"};
  for (int round = 0; round < 1000; ++round) {
    const int n = round % 100 == 0 ? 300 : 1 + static_cast<int>(random() % 14);
    const int variety = 1 + static_cast<int>(random() % 5);
    const size_t base = random() % words.size();  // which few words this table draws from
    StudyTable table(3, n + 1);
    for (int r = 1; r <= n; ++r)
      table.SetRowTexts(
          r, {words[(base + random() % variety) % words.size()], std::to_string(r), numbers[random() % (variety + 3)]});
    const int column = round % 50 == 1 ? 3 - 4 * (round % 100 / 50) : random() % 2 ? 0 : 2;  // now and then -1 or 3
    const int flags = (column == 2 ? sfNumeric : 0) | (random() % 2 ? sfDescending : 0);
    const auto expected = ExchangeSorted(table, column, flags);
    SortGrid(table, column, flags, French());
    ASSERT_EQ(Cells(table), expected) << "round " << round << " column " << column << " flags " << flags;
  }
}

// Keys order texts as the toolkit's case-insensitive collation keys do, wrong UTF-8 and the C locale included.
TEST(Sort, KeysOrderAsTheToolkitsKeys) {
  // Wrong UTF-8 next to the U+FFFD it becomes.
  // clang-format off
  const Texts words = {"", "a", "A", "été", "ÉTÉ", "e\u0301te", "ete", "b", "B", "\xC3", "a\xFF", "\xF8\x88", "😀",
                       "\uFEFFb", "a\x1F", "a\xED\xA0\x80", "a\uFFFD\uFFFD\uFFFD", "\x80", "\xC0\xAF", "\uFFFD", "z"};
  // clang-format on
  for (const QLocale& locale : {QLocale(QLocale::French, QLocale::France), QLocale::c()}) {
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const TextLocale text(locale);
    const auto key = [&](const std::string& word) { return collator.sortKey(ToQString(word)); };
    for (const std::string& a : words)  // each pair both ways: equal keys come out too
      for (const std::string& b : words)
        EXPECT_EQ(text.SortKey(a).compare(text.SortKey(b)) < 0, key(a).compare(key(b)) < 0) << a << " / " << b;
  }
}

// Ratio = Juste / Demandé (doubled below 10), three decimals half away from zero; none for 0; in French.
TEST(Ranking, RatiosAndOrder) {
  const std::vector<std::tuple<const char*, std::string, std::string, std::string>> cases = {
      {"9 asked: doubled", "9", "9", "0,500"},
      {"10 asked", "10", "10", "1,000"},
      {"never asked", "", "4", ""},
      {"a half rounds up", "16", "1", "0,063"},
      {"a negative half rounds down", "16", "-1", "-0,063"},
      {"just below a half", "2000", "749", "0,374"},
      {"no minus on a zero", "2500", "-1", "0,000"},
      {"the largest found", "1", "2147483647", "1\u202F073\u202F741\u202F823,500"}};
  for (const auto& [name, asked, found, ratio] : cases) {
    SCOPED_TRACE(name);
    StudyTable table = MakeTable({"x;y;" + asked + ";" + found + ";stale"});
    ComputeRatios(table, French());
    EXPECT_EQ(table.Cell(ColRatio, 1), ratio);
  }
  // Lowest first by the ratio as written (equal keys stay in order); pairs never asked count as 0.
  StudyTable table = MakeTable({"b;;;;0,9", "p;;1000;333;", "q;;3;2;", "r;;4;0;", "a;;10;10;", "c;;4;3;"});
  ComputeRatios(table, French());
  EXPECT_EQ(Cells(table),
            Split({"b;;;;", "r;;4;0;0,000", "q;;3;2;0,333", "p;;1000;333;0,333", "c;;4;3;0,375", "a;;10;10;1,000"}));
}

}  // namespace
}  // namespace tenaxo
