// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list file format: one tab-separated text file per study list, named
// after the list with the extension ".tnx" (ListFolder.h).
//
// The cells' text (ListEncoding.h turns it into the file's bytes and back:
// UTF-8 or Windows-1252); one line per data row, every column joined by one
// TAB; CR LF after every line. Read back, CR LF, a lone CR and a lone LF each
// end a line (LF then CR is two ends), a last line without an end is read,
// and a NUL byte ends the text.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "StudyTable.h"

namespace tenaxo {

// The lines of a list file, one row each.
struct ListRows {
  std::vector<RowBlock> rows;
  // The cells of the widest line, at least kListColumns: a row keeps no
  // empty cells at its end, the line it came from counts them.
  size_t width = kListColumns;
};

// The text up to its first NUL, cut into lines and each line into cells:
// cut at TABs from the left, stopping once the rest is empty, so a single
// trailing TAB adds no cell and an empty line has no cell. windows1252: the
// text is the bytes of a Windows-1252 file, each cell then made UTF-8. cut,
// when given, is told every 256 KiB or so that the bytes before end are read
// for good.
ListRows ParseListText(std::string_view text, bool windows1252,
                       const std::function<void(const char* end)>& cut = nullptr);

// Replaces the study list by the lines: one data row per line (one blank data
// row when there is none), the table as wide as the widest line and at least
// kListColumns wide, however wide it was before.
void FillTable(StudyTable& grid, ListRows lines);

// The UTF-8 text of the list file for the table: every data row, every
// column (ListFileBytes in ListEncoding.h gives it in the list's encoding).
std::string ListText(const StudyTable& grid);

}  // namespace tenaxo
