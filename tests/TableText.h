#pragma once
// Tables written the short way: one string per data row, cells separated by
// ';' ("a;b;3;2;0,667"), in UTF-8 as the table holds them.
#include <QLocale>
#include <string>
#include <vector>

#include "Ansi.h"
#include "Locales.h"
#include "StudyTable.h"
#include "TextLocale.h"

namespace tenaxo::test {

inline std::vector<std::string> SplitCells(const std::string& row) {
  std::vector<std::string> cells;
  std::string cell;
  for (char c : row) {
    if (c == ';') {
      cells.push_back(cell);
      cell.clear();
    } else {
      cell += c;
    }
  }
  cells.push_back(cell);
  return cells;
}

inline StudyTable MakeTable(const std::vector<std::string>& rows, int cols = 5) {
  StudyTable table(cols, static_cast<int>(rows.size()) + 1);
  for (size_t r = 0; r < rows.size(); ++r) {
    std::vector<AnsiString> cells;
    for (const auto& cell : SplitCells(rows[r])) cells.push_back(cell);
    table.SetRowTexts(static_cast<int>(r) + 1, cells);
  }
  return table;
}

// Data rows back in the short form, every column written out.
inline std::vector<std::string> Rows(const StudyTable& table) {
  std::vector<std::string> rows;
  for (int r = 1; r < table.RowCount(); ++r) {
    std::string row;
    for (int c = 0; c < table.ColCount(); ++c) {
      if (c > 0) row += ';';
      row += table.Cell(c, r);
    }
    rows.push_back(row);
  }
  return rows;
}


}  // namespace tenaxo::test
