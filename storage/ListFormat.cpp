// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ListEncoding.h"
#include "TextEncoding.h"

namespace tenaxo {

namespace {

constexpr uint64_t kHighBits = 0x8080808080808080u, kLowBits = 0x7F7F7F7F7F7F7F7Fu;
uint64_t Word(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}
// Bit 7 set in each byte of the word below 14.
uint64_t BelowFourteen(uint64_t word) { return ~(((word & kLowBits) + 0x7272727272727272u) | word) & kHighBits; }

// The lines of the text, which holds no NUL; add(cells, bytes, ascii) adds
// the text of each cell's bytes to its line.
template <class Add>
ListLines Cut(std::string_view text, Add add) {
  const char* p = text.data();
  const char* const end = p + text.size();
  ListLines lines;
  size_t width = kListColumns;  // the cells of the line before, at least those of every list
  while (p != end) {
    StudyTable::Row& cells = lines.emplace_back();
    cells.reserve(width);
    const char* cell = p;
    uint64_t bits = 0;  // the cell's bytes or'ed: no bit 7 set when it is ASCII
    for (;; ++p) {
      // Only TAB, LF and CR (9, 10 and 13) end a cell: eight bytes at a time
      // while none is below 14, then one at a time.
      for (uint64_t word; end - p >= 8 && !BelowFourteen(word = Word(p)); p += 8) bits |= word;
      while (p != end && static_cast<unsigned char>(*p) > '\r') bits |= static_cast<unsigned char>(*p++);
      if (p == end || *p == '\n' || *p == '\r') break;
      if (*p == '\t') {
        add(cells, std::string_view(cell, static_cast<size_t>(p - cell)), !(bits & kHighBits));
        cell = p + 1;
        bits = 0;
      }
    }
    // The rest of the line is empty after a TAB: no cell.
    if (p != cell) add(cells, std::string_view(cell, static_cast<size_t>(p - cell)), !(bits & kHighBits));
    width = std::max<size_t>(kListColumns, cells.size());
    if (p != end) p += *p == '\r' && p + 1 != end && p[1] == '\n' ? 2 : 1;
  }
  return lines;
}

}  // namespace

ListLines ParseListText(std::string_view text, bool windows1252) {
  text = text.substr(0, text.find('\0'));
  if (!windows1252)
    return Cut(text, [](StudyTable::Row& cells, std::string_view bytes, bool) { cells.emplace_back(bytes); });
  return Cut(text, [](StudyTable::Row& cells, std::string_view bytes, bool ascii) {
    if (ascii) cells.emplace_back(bytes);
    else cells.push_back(Windows1252ToUtf8(bytes));
  });
}

void FillTable(StudyTable& grid, ListLines lines) { grid.ReplaceDataRows(std::move(lines), kListColumns); }

std::string ListText(const StudyTable& grid) {
  FileEncoding utf8 = FileEncoding::Utf8;
  return ListFileBytes(grid, utf8);
}

}  // namespace tenaxo
