#pragma once
// Tables written the short way: one string per data row, cells separated by
// ';' ("a;b;3;2;0,667"), in UTF-8 as the table holds them.
#include <sstream>
#include <string>
#include <vector>

#include "Locales.h"
#include "StudyTable.h"

namespace tenaxo::test {

inline StudyTable MakeTable(const std::vector<std::string>& rows, int cols = 5) {
  StudyTable table(cols, static_cast<int>(rows.size()) + 1);
  for (size_t r = 0; r < rows.size(); ++r) {
    std::vector<std::string> cells;
    std::istringstream in(rows[r] + ";");
    for (std::string cell; std::getline(in, cell, ';');) cells.push_back(cell);
    table.SetRowTexts(static_cast<int>(r) + 1, cells);
  }
  return table;
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
