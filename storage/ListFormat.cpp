// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFormat.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

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

// A pair asked and without its ratio gets one when the list is ranked, of
// five characters ("0,667"): its block is made with room for them and the
// ends of the cells up to it, so it is not made again then.
size_t RatioRoom(const std::vector<std::string_view>& cells) {
  const bool asked = cells.size() > ColDemande && !cells[ColDemande].empty();
  if (!asked || (cells.size() > ColRatio && !cells[ColRatio].empty())) return 0;
  return 5 + ColRatio + 1 - std::min<size_t>(cells.size(), ColRatio + 1);
}

// The rows of the text, which holds no NUL. Each cell is a view of the
// text's bytes; in a Windows-1252 text, a cell with a byte above 0x7F is made
// UTF-8 in a buffer kept for the line.
ListRows Cut(std::string_view text, bool windows1252, const std::function<void(const char*)>& cut) {
  constexpr ptrdiff_t kCutReport = 1 << 18;
  const char* p = text.data();
  const char* const end = p + text.size();
  ListRows lines;
  std::vector<std::string_view> cells;
  std::vector<std::pair<size_t, size_t>> decoded;  // the cells made UTF-8, and where each ends in utf8
  std::string utf8;
  const char* reported = p;
  while (p != end) {
    cells.clear();
    decoded.clear();
    utf8.clear();
    const char* cell = p;
    uint64_t bits = 0;  // the cell's bytes or'ed: no bit 7 set when it is ASCII
    const auto add = [&] {
      cells.emplace_back(cell, static_cast<size_t>(p - cell));
      if (!windows1252 || !(bits & kHighBits)) return;
      AppendWindows1252AsUtf8(cells.back(), utf8);
      decoded.emplace_back(cells.size() - 1, utf8.size());
    };
    for (;; ++p) {
      // Only TAB, LF and CR (9, 10 and 13) end a cell: eight bytes at a time
      // while none is below 14, then one at a time.
      for (uint64_t word; end - p >= 8 && !BelowFourteen(word = Word(p)); p += 8) bits |= word;
      while (p != end && static_cast<unsigned char>(*p) > '\r') bits |= static_cast<unsigned char>(*p++);
      if (p == end || *p == '\n' || *p == '\r') break;
      if (*p == '\t') {
        add();
        cell = p + 1;
        bits = 0;
      }
    }
    // The rest of the line is empty after a TAB: no cell.
    if (p != cell) add();
    // The views of decoded cells, once utf8 no longer moves.
    size_t start = 0;
    for (const auto& [k, stop] : decoded) {
      cells[k] = std::string_view(utf8).substr(start, stop - start);
      start = stop;
    }
    lines.rows.push_back(RowBlock::Of(cells, cells.size(), RatioRoom(cells)));
    lines.width = std::max(lines.width, cells.size());
    if (p != end) p += *p == '\r' && p + 1 != end && p[1] == '\n' ? 2 : 1;
    if (cut && p - reported >= kCutReport) cut(reported = p);
  }
  return lines;
}

}  // namespace

ListRows ParseListText(std::string_view text, bool windows1252, const std::function<void(const char*)>& cut) {
  return Cut(text.substr(0, text.find('\0')), windows1252, cut);
}

void FillTable(StudyTable& grid, ListRows lines) {
  grid.ReplaceDataRows(std::move(lines.rows), static_cast<int>(std::min<size_t>(lines.width, INT_MAX)));
}

std::string ListText(const StudyTable& grid) {
  FileEncoding utf8 = FileEncoding::Utf8;
  return ListFileBytes(grid, utf8);
}

}  // namespace tenaxo
