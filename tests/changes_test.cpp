// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>

#include "ColumnSort.h"
#include "Ranking.h"
#include "TableChanges.h"
#include "TableRows.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::French;

// Every row, the header included.
std::vector<StudyTable::Row> All(const StudyTable& table) {
  std::vector<StudyTable::Row> rows;
  for (int r = 0; r < table.RowCount(); ++r) rows.push_back(table.RowTexts(r));
  return rows;
}

// Each change recorded on three pairs, then undone and made again twice: every cell as before, then as after, exactly
// (the single spaces of the rows that moved, the header, the width); nothing of it recorded again.
TEST(TableChanges, UndoAndRedoGiveBackTheTableExactly) {
  const std::pair<const char*, std::function<void(StudyTable&)>> cases[] = {
      {"a cell typed into three times",
       [](StudyTable& t) {
         for (auto s : {"x", "xy", "xyz"}) t.SetCell(0, 2, s);
       }},
      {"cells here and there, one twice",
       [](StudyTable& t) { t.SetCell(2, 1, "7"), t.SetCell(1, 2, "x"), t.SetCell(2, 1, ""), t.SetCell(0, 1, "b"); }},
      {"a row's texts", [](StudyTable& t) { t.SetRowTexts(1, {"p"}); }},
      {"a row added",
       [](StudyTable& t) {
         AddGridRow(t, {"p", "q"});
       }},
      {"a row inserted", [](StudyTable& t) { InsertGridRow(t, 2, {"p"}); }},
      {"the first row deleted", [](StudyTable& t) { DeleteGridRow(t, 1); }},
      {"the last row deleted", [](StudyTable& t) { DeleteGridRow(t, 3); }},
      {"sorted in reverse", [](StudyTable& t) { SortGrid(t, 0, sfDescending, French()); }},
      {"ranked", [](StudyTable& t) { ComputeRatios(t, French()); }},
      {"emptied", [](StudyTable& t) { ClearGrid(t); }},
      {"replaced by a wider list",
       [](StudyTable& t) {
         t.ReplaceDataRows({{"w", "", "", "", "", "f"}});
       }},
      {"one after another",
       [](StudyTable& t) {
         InsertGridRow(t, 1, {"p"});
         t.SetCell(2, 4, "9");
         DeleteGridRow(t, 2);
         SortGrid(t, 2, sfNumeric, French());
         AddGridRow(t, {});
       }},
  };
  for (const auto& [name, change] : cases) {
    SCOPED_TRACE(name);
    StudyTable table = test::MakeTable({"a;b;3;2;", "c;d;;;", "e;f;1;;"});
    table.SetCell(0, 0, "h");
    const auto before = All(table);
    TableChanges changes;
    table.SetRecorder(&changes);
    change(table);
    const auto after = All(table);
    TableChanges again;
    table.SetRecorder(&again);
    for (int round = 0; round < 2; ++round) {
      changes.Undo(table);
      EXPECT_EQ(All(table), before);
      changes.Redo(table);
      EXPECT_EQ(All(table), after);
    }
    EXPECT_TRUE(again.Empty());
    EXPECT_EQ(table.Recorder(), &again);
  }
}

// A row order is kept as runs of rows that follow each other, or whole when runs take more room.
TEST(TableChanges, OrdersTakeTheRoomOfTheirRuns) {
  const std::tuple<const char*, std::vector<int>, size_t> cases[] = {{"unchanged", {0, 1, 2, 3, 4, 5}, 8},
                                                                     {"turned round", {5, 4, 3, 2, 1, 0}, 8},
                                                                     {"the first row last", {1, 2, 3, 4, 5, 0}, 16},
                                                                     {"scrambled", {3, 0, 5, 1, 4, 2}, 24}};
  for (const auto& [name, order, bytes] : cases) {
    EXPECT_EQ(TableChanges::Order(order).Forward(), order) << name;
    EXPECT_EQ(TableChanges::Order(order).MemoryUsage(), bytes) << name;
  }
}

}  // namespace
}  // namespace tenaxo
