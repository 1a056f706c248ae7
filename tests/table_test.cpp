#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "CellText.h"
#include "Numbers.h"
#include "TableRows.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::French;
using test::Rows;
using Texts = std::vector<std::string>;

TEST(RowRoutines, GiveTheExpectedTable) {
  const Texts three = {"a;b;3;2;0,667", "c;d;;;", "e;f;;;"};
  const auto del = [](int r) { return [r](StudyTable& t) { DeleteGridRow(t, r); }; };
  const auto insert = [](int r) { return [r](StudyTable& t) { InsertGridRow(t, r, {}); }; };
  const auto add = [](CellTexts texts) { return [texts](StudyTable& t) { AddGridRow(t, texts); }; };
  // before, routine, after
  const std::vector<std::tuple<Texts, std::function<void(StudyTable&)>, Texts>> cases = {
      // Rows that move up or down get a single space in every empty cell.
      {three, del(1), {"c;d; ; ; ", "e;f; ; ; "}},
      {three, del(3), {"a;b;3;2;0,667", "c;d;;;"}},
      {{"x;y;1;1;0,500"}, del(1), {";;;;"}},  // the only row is emptied
      {three, del(0), three},
      {{" ;  ;;\r\n;"}, add({}), {";;;;"}},  // a lone blank row is reused
      {{";;;x;"}, add({}), {";;;x;", ";;;;"}},
      {{"a;;;;", "b;;;;", ";;;;"}, add({}), {"a;;;;", "b;;;;", ";;;;", ";;;;"}},
      {{"a;;;;"}, add({"p", "q"}), {"a;;;;", "p;q;;;"}},
      {{"a;b;1;1;0,500", "c;d;;;", "e;f;2;0;0,000"},
       insert(2),
       {"a;b;1;1;0,500", " ; ; ; ; ", "c;d; ; ; ", "e;f;2;0;0,000"}},
      {{";;;;"}, insert(1), {";;;;"}},
      {{"a;;;;"}, insert(0), {"a;;;;"}},
      {{"a;;;;"}, insert(2), {"a;;;;"}},
  };
  for (size_t k = 0; k < cases.size(); ++k) {
    StudyTable table = test::MakeTable(std::get<0>(cases[k]));
    std::get<1>(cases[k])(table);
    EXPECT_EQ(Rows(table), std::get<2>(cases[k])) << "case " << k;
  }
}

// Records what a view is told, in order.
struct Log : TableObserver {
  Texts events;
  void Add(std::string what, int a, int b) { events.push_back(what + std::to_string(a) + '-' + std::to_string(b)); }
  void RowsAboutToBeInserted(int first, int last) override { Add("insert ", first, last); }
  void RowsInserted() override { events.push_back("inserted"); }
  void RowsAboutToBeRemoved(int first, int last) override { Add("remove ", first, last); }
  void RowsRemoved() override { events.push_back("removed"); }
  void ColumnsAboutToBeInserted(int first, int last) override { Add("columns ", first, last); }
  void ColumnsInserted() override { events.push_back("columns inserted"); }
  void CellsChanged(int first, int last) override { Add("cells ", first, last); }
  void CurrentCellClamped() override { events.push_back("clamped"); }
  void AboutToReplaceAll() override { events.push_back("replace"); }
  void AllReplaced() override { events.push_back("replaced"); }
};

TEST(StudyTable, KeepsTheCurrentCellInTheDataRowsAndTellsItsObserver) {
  StudyTable table(5, 10);
  Log log;
  table.SetObserver(&log);
  for (auto [c, r] : std::vector<std::pair<int, int>>{{-1, 1}, {5, 1}, {0, 10}, {0, -1}, {1000000, 1000000}}) {
    table.SetCell(c, r, "x");  // outside the table: nothing written, nothing told
    EXPECT_EQ(table.Cell(c, r), "");
  }
  const auto current = [&] { return std::make_pair(table.CurrentCol(), table.CurrentRow()); };
  table.SetCurrentCell(9, 99);
  EXPECT_EQ(current(), std::make_pair(4, 9));
  table.SetCurrentCell(2, 8);
  table.SetRowCount(4);
  EXPECT_EQ(current(), std::make_pair(2, 3));
  table.SetRowCount(5);
  table.SetRowCount(4);  // the current cell stays on the last row: nothing clamped
  table.SetCell(0, 2, "x");
  table.SetCell(0, 2, "x");
  table.SetRowTexts(3, {"y"});
  DeleteGridRow(table, 1);
  EXPECT_EQ(current(), std::make_pair(2, 2));
  table.SetColCount(7);
  table.SetColCount(3);  // the table never narrows
  for (int r = 0; r < 3; ++r) table.SetCell(6, r, "v");
  ClearGrid(table);
  EXPECT_EQ(current(), std::make_pair(2, 1));
  EXPECT_EQ(Rows(table), Texts{";;;;;;"});
  EXPECT_EQ(table.Cell(6, 0), "v");
  table.SetRowCount(3);
  EXPECT_EQ(table.Cell(6, 2), "") << "discarded rows come back empty";
  table.SetCurrentCell(-1, 0);
  EXPECT_EQ(current(), std::make_pair(0, 1)) << "the header row never becomes current";
  EXPECT_EQ(log.events,
            (Texts{"remove 4-9", "removed",     "clamped",          "insert 4-4", "inserted",   "remove 4-4",
                   "removed",    "cells 2-2",   "cells 3-3",        "cells 1-2",  "remove 3-3", "removed",
                   "clamped",    "columns 5-6", "columns inserted", "cells 0-0",  "cells 1-1",  "cells 2-2",
                   "replace",    "replaced",    "insert 2-2",       "inserted"}));
}

TEST(Conversions, CellToInt) {
  // Hexadecimal after "$", "x", "X", "0x" or "0X", every digit letter in either case.
  const std::vector<std::pair<const char*, int32_t>> cases = {{"", 0},
                                                              {" 12", 12},
                                                              {"12 ", 0},
                                                              {"+7", 7},
                                                              {"-3", -3},
                                                              {"012", 12},
                                                              {"- 1", 0},
                                                              {"-", 0},
                                                              {"12\x01", 0},
                                                              {"2147483647", 2147483647},
                                                              {"2147483648", 0},
                                                              {"-2147483648", -2147483647 - 1},
                                                              {"-2147483649", 0},
                                                              {"99999999999999999999", 0},
                                                              {"0,375", 0},
                                                              {"abc", 0},
                                                              {"$A0", 160},
                                                              {"0xf9", 249},
                                                              {"0Xbc", 188},
                                                              {"xDE", 222},
                                                              {"X10", 16},
                                                              {"-$1F", -31},
                                                              {"$e", 14},
                                                              {"$FFFFFFFF", -1},
                                                              {"$100000000", 0},
                                                              {"$", 0},
                                                              {"$1G", 0},
                                                              {"$g", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(CellToInt(text), value) << '"' << text << '"';
  EXPECT_EQ(CellToInt(std::string_view("129").substr(0, 2)), 12) << "only the text given is read";
}

TEST(Conversions, CellToFloat) {
  // Text, ReadFloat's answer, value (CellToFloat's, 0 where no number; one too small to hold is 0).
  const std::vector<std::tuple<const char*, bool, double>> cases = {{"", false, 0},
                                                                    {" ", false, 0},
                                                                    {" 12 ", true, 12},
                                                                    {"+7", true, 7},
                                                                    {"-3", true, -3},
                                                                    {"0,375", true, 0.375},
                                                                    {",5", true, 0.5},
                                                                    {"5,", true, 5},
                                                                    {",", false, 0},
                                                                    {"1,2,3", false, 0},
                                                                    {"0.375", false, 0},
                                                                    {"1 234,5", false, 0},
                                                                    {"-", false, 0},
                                                                    {"- 1", false, 0},
                                                                    {"abc", false, 0},
                                                                    {"12\x01", false, 0},
                                                                    {"1e3", true, 1000},
                                                                    {"2E-3", true, 0.002},
                                                                    {"-1,5e+2", true, -150},
                                                                    {"1e", false, 0},
                                                                    {"1e+", false, 0},
                                                                    {"1e3x", false, 0},
                                                                    {"1e+400", false, 0},
                                                                    {"1e-400", false, 0},
                                                                    {"-2147483649", true, -2147483649.0},
                                                                    {"99999999999999999999", true, 1e20}};
  for (const auto& [text, number, expected] : cases) {
    SCOPED_TRACE(std::string("text \"") + text + "\"");
    double value = -1;
    EXPECT_EQ(ReadFloat(text, ",", value), number);
    EXPECT_DOUBLE_EQ(number ? value : 0, expected);
    EXPECT_DOUBLE_EQ(CellToFloat(text, French()), expected);
  }
  EXPECT_DOUBLE_EQ(CellToFloat(std::string_view("12,59").substr(0, 4), French()), 12.5);
}

TEST(Texts, BlanksAndTokens) {
  for (const char* text : {"", " \r\n", "\n\r "}) EXPECT_TRUE(IsBlank(text)) << text;
  for (const char* text : {"\t", " a", "\xC2\xA0", "\xE3\x80\x80"}) EXPECT_FALSE(IsBlank(text)) << text;
  // Source, separator, token, what is left.
  for (const auto& [text, separator, token, rest] :
       std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
           {"Anglais.tnx", ".tnx", "Anglais", ""}, {"\tabc", "\t", "", "abc"}, {"東京・大阪", "・", "東京", "大阪"}}) {
    std::string source = text, cut = "old";
    CutToken(source, separator, cut);
    EXPECT_EQ(cut + "|" + source, token + "|" + rest) << text;
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
