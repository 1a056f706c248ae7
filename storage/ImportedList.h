// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a reader of another program's file gives: the rows of the new list and
// the lines it left out. QtCore only.
#include <QString>
#include <vector>

#include "StudyTable.h"

namespace tenaxo {

// A line of the file that gave no pair, and why, in the user's words.
struct SkippedLine {
  int line;        // from 1; for a record spread over several lines, its first
  QString reason;  // short French text, e.g. "Gauche et Droite vides"
};

struct ImportedList {
  // In the study table's layout: Gauche, Droite, Demandé, Juste, Ratio, then
  // the file's further fields. Cells are UTF-8 and never hold a TAB, CR, LF or
  // NUL (a list file could not keep them): a line break inside a field is a
  // space. Demandé and Juste are plain decimal digits, or empty when the pair
  // was never asked; Ratio is always empty (the ranking computes it). Every
  // row has at least the five columns.
  std::vector<StudyTable::Row> rows;
  // Lines (or KVTML entries) left out, in file order.
  std::vector<SkippedLine> skipped;

  int Pairs() const { return static_cast<int>(rows.size()); }
};

// Widest row an import makes; a line with more fields is skipped.
constexpr int kMaxImportColumns = 256;

}  // namespace tenaxo
