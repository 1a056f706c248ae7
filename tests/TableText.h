#pragma once
// Tables written the short way: one string per data row, cells separated by
// ';' ("a;b;3;2;0,667"), in UTF-8 as the table holds them.
#include <sstream>
#include <string>
#include <vector>

#include "Locales.h"
#include "StudyTable.h"

namespace tenaxo::test {

// The rows cut into cells.
inline std::vector<StudyTable::Row> Split(const std::vector<std::string>& rows) {
  std::vector<StudyTable::Row> cut;
  for (const std::string& row : rows) {
    std::istringstream in(row + ";");
    cut.emplace_back();
    for (std::string cell; std::getline(in, cell, ';');) cut.back().push_back(cell);
  }
  return cut;
}

inline StudyTable MakeTable(const std::vector<std::string>& rows, int cols = 5) {
  StudyTable table(cols, static_cast<int>(rows.size()) + 1);
  const std::vector<StudyTable::Row> cut = Split(rows);
  for (size_t r = 0; r < cut.size(); ++r) table.SetRowTexts(static_cast<int>(r) + 1, cut[r]);
  return table;
}

// The data rows' cells, every column.
inline std::vector<StudyTable::Row> Cells(const StudyTable& table) {
  std::vector<StudyTable::Row> cells;
  for (int r = StudyTable::FixedRows; r < table.RowCount(); ++r) cells.push_back(table.RowTexts(r));
  return cells;
}

// Data rows back in the short form, every column written out.
inline std::vector<std::string> Rows(const StudyTable& table) {
  std::vector<std::string> rows;
  for (int r = 1; r < table.RowCount(); ++r) {
    std::string row = table.Cell(0, r);
    for (int c = 1; c < table.ColCount(); ++c) row += ";" + table.Cell(c, r);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace tenaxo::test
