// SPDX-License-Identifier: GPL-3.0-or-later
// The undo record of the study list and the search, below the window.
#include <gtest/gtest.h>

#include <functional>

#include "ColumnSort.h"
#include "ListSearch.h"
#include "Ranking.h"
#include "TableChanges.h"
#include "TableRows.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::French;

// Every row, the header last.
std::vector<StudyTable::Row> All(const StudyTable& table) {
  auto rows = test::Cells(table);
  return rows.push_back(table.RowTexts(0)), rows;
}

// Each change undone and made again twice: every cell, the header and the width exactly; nothing recorded again.
TEST(TableChanges, UndoAndRedoGiveBackTheTableExactly) {
  const StudyTable::Row pq = {"p", "q"}, wide = {"w", "", "", "", "", "f"};
  const std::pair<const char*, std::function<void(StudyTable&)>> cases[] = {
      {"a cell typed into three times",
       [](StudyTable& t) { t.SetCell(0, 2, "x"), t.SetCell(0, 2, "xy"), t.SetCell(0, 2, "xyz"); }},
      {"cells here and there, one twice",
       [](StudyTable& t) { t.SetCell(2, 1, "7"), t.SetCell(1, 2, "x"), t.SetCell(2, 1, ""), t.SetCell(0, 1, "b"); }},
      {"a row's texts", [](StudyTable& t) { t.SetRowTexts(1, {"p"}); }},
      {"a row added", [&](StudyTable& t) { AddGridRow(t, pq); }},
      {"the last row deleted", [](StudyTable& t) { DeleteGridRow(t, 3); }},
      {"ranked", [](StudyTable& t) { ComputeRatios(t, French()); }},
      {"replaced by a wider list", [&](StudyTable& t) { t.ReplaceDataRows(std::vector(1, wide)); }},
      {"one after another",
       [&](StudyTable& t) {
         InsertGridRow(t, 1, pq), t.SetCell(2, 4, "9"), DeleteGridRow(t, 2), SortGrid(t, 2, sfNumeric, French()),
             AddGridRow(t, StudyTable::Row());
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

// A row order comes back whole, in runs up or down when they take less room than the order itself.
TEST(TableChanges, OrdersComeBackInTheirRoom) {  // clang-format off
  const std::pair<const char*, std::vector<int>> cases[] = {{"none", {}}, {"one", {0}}, {"up", {0, 1, 2, 3, 4}},
      {"down", {4, 3, 2, 1, 0}}, {"two runs", {3, 4, 2, 1, 0}}, {"shuffled", {2, 0, 3, 1, 4}}};  // clang-format on
  for (const auto& [name, order] : cases) {
    SCOPED_TRACE(name);
    const TableChanges::Order kept(order);
    EXPECT_EQ(kept.Forward(), order);
    const std::vector<int> back = kept.Backward();
    for (size_t k = 0; k < order.size(); ++k) EXPECT_EQ(back.at(static_cast<size_t>(order[k])), static_cast<int>(k));
    EXPECT_LE(kept.MemoryUsage(), std::max<size_t>(2, order.size()) * sizeof(int32_t));
  }
}

// The text as the search compares it: no case, no marks, no compatibility forms, in every script.
TEST(ListSearch, FoldsCaseMarksAndForms) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"French accents", "Tenaxo École ÇA", "tenaxo ecole ca"},
      {"Greek breathing, accent, final sigma", "Ἀθῆναι ς", "αθηναι σ"},
      {"sharp s", "Straße", "strasse"},
      {"ligature", "ﬁn", "fin"},
      {"kana voicing mark", "が", "か"},
      {"dotted capital I", "İ", "i"},
      {"beyond 16 bits", "𝐀", "a"},
  };
  ListSearch search;
  for (const auto& [name, text, folded] : cases) EXPECT_EQ(search.Fold(QString::fromUtf8(text)), folded) << name;
}

// The pairs holding a text in Gauche or Droite, each once, Gauche first; none across the columns; changes seen.
TEST(ListSearch, FindsPairsByGaucheOrDroite) {
  StudyTable table = test::MakeTable({"École;school", "lycée;high SCHOOL", "αθηνα;Athènes", "ecolier;pupil",
                                      "x;y;école", "\xE9t\xE0\x80\xED\xA0\x80\xED\xBF\xBF;", "x\u0080\u0800;"});
  const std::tuple<const char*, const char*, std::vector<SearchHit>> cases[] = {
      {"either column, Gauche first", "e", {{1, 0}, {2, 0}, {3, 1}, {4, 0}}},
      {"across the columns", "ecoleschool", {}},
      {"nothing typed", "", {}},
      {"nowhere", "zz", {}},
      {"the least characters of two and three bytes, no U+FFFD", "x\uFFFD", {}},
      {"bytes that are no UTF-8, one U+FFFD each", "\uFFFDt\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD", {{6, 0}}},
  };
  ListSearch search;
  for (const auto& [name, text, hits] : cases) EXPECT_EQ(search.Find(table, QString::fromUtf8(text)), hits) << name;
  EXPECT_EQ(search.Find(table, QStringLiteral("ecole") + QChar(0) + QStringLiteral("school")), std::vector<SearchHit>())
      << "a NUL typed joins no columns";
  table.SetCell(1, 5, "ÉCOLE");
  EXPECT_EQ(search.Find(table, QStringLiteral("ecole")), (std::vector<SearchHit>{{1, 0}, {5, 1}}));
}

}  // namespace
}  // namespace tenaxo
