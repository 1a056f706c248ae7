// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFormat.h"

#include "TextLines.h"

namespace tenaxo {

namespace {

StudyTable::Row CutLine(std::string_view line) {
  StudyTable::Row cells;
  cells.reserve(5);
  while (!line.empty()) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      cells.emplace_back(line);
      break;
    }
    cells.emplace_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  return cells;
}

}  // namespace

ListLines ParseListText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  ListLines lines;
  for (size_t i = 0; i < text.size();) {
    const size_t end = LineEnd(text, i);
    lines.push_back(CutLine(text.substr(i, end - i)));
    i = PastLineEnd(text, end);
  }
  return lines;
}

void FillTable(StudyTable& grid, ListLines lines) { grid.ReplaceDataRows(std::move(lines), kListColumns); }

std::string ListText(const StudyTable& grid) {
  const int cols = grid.ColCount();
  size_t size = 0;
  for (int r = StudyTable::FixedRows; r < grid.RowCount(); ++r) {
    size += static_cast<size_t>(cols) + 1;  // TABs and CR LF
    for (int c = 0; c < cols; ++c) size += grid.Cell(c, r).size();
  }
  std::string text;
  text.reserve(size);
  for (int r = StudyTable::FixedRows; r < grid.RowCount(); ++r) {
    for (int c = 0; c < cols; ++c) {
      if (c > 0) text += '\t';
      text += grid.Cell(c, r);
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace tenaxo
