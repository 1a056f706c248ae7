// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tables written the short way: one string per data row, cells separated by ';' ("a;b;3;2;0,667"), in UTF-8; the
// French locale, whatever the machine's own settings are.
#include <sstream>
#include <string>
#include <vector>

#include "StudyTable.h"
#include "TextLocale.h"

namespace tenaxo::test {

inline const TextLocale& French() {
  static const TextLocale locale{QLocale(QLocale::French, QLocale::France)};
  return locale;
}
inline std::vector<StudyTable::Row> Split(const std::vector<std::string>& rows) {
  std::vector<StudyTable::Row> cut(rows.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    std::istringstream in(rows[r] + ";");
    for (std::string cell; std::getline(in, cell, ';');) cut[r].push_back(cell);
  }
  return cut;
}
inline StudyTable MakeTable(const std::vector<std::string>& rows, int cols = 5) {
  StudyTable table(cols, static_cast<int>(rows.size()) + 1);
  table.ReplaceDataRows(Split(rows));
  return table;
}
inline std::vector<StudyTable::Row> Cells(const StudyTable& table) {
  std::vector<StudyTable::Row> cells;
  for (int r = StudyTable::FixedRows; r < table.RowCount(); ++r) cells.push_back(table.RowTexts(r));
  return cells;
}

}  // namespace tenaxo::test
