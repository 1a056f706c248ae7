#pragma once
// What both import targets check of a list read from any bytes.
#include <string>

#include "Errors.h"
#include "FuzzCheck.h"
#include "ImportList.h"
#include "Outils.h"
#include "Utf8.h"

namespace tenaxo::fuzz {

inline std::string RowsShown(const ImportedList& list) {
  std::string text;
  for (const auto& row : list.rows) {
    for (const auto& cell : row) text += Shown(cell) + " ";
    text += "\n";
  }
  for (const auto& s : list.skipped) text += std::to_string(s.line) + ":" + s.reason.toStdString() + "\n";
  return text;
}

// The list fits the study table: at least one pair, five to 256 columns, no
// trailing empty further column, cells of UTF-8 without TAB, CR, LF or NUL,
// counters in digits, no ratio, Gauche or Droite not blank; skipped lines in
// file order.
inline void CheckList(const ImportedList& list, std::string_view input) {
  FUZZ_CHECK(list.Pairs() > 0, "no pair; input " + Shown(input));
  for (const auto& row : list.rows) {
    FUZZ_CHECK(row.size() >= 5 && row.size() <= static_cast<size_t>(kMaxImportColumns),
               std::to_string(row.size()) + " cells; input " + Shown(input));
    FUZZ_CHECK(row.size() == 5 || !row.back().empty(), "a trailing empty column; input " + Shown(input));
    for (const auto& cell : row) {
      FUZZ_CHECK(utf8::IsUtf8(cell) && cell.find_first_of(std::string("\t\r\n\0", 4)) == std::string::npos,
                 "cell " + Shown(cell) + "; input " + Shown(input));
    }
    FUZZ_CHECK(Digits(row[ColDemande]) && Digits(row[ColJuste]) && row[ColRatio].empty(),
               "counters " + Shown(row[ColDemande]) + " " + Shown(row[ColJuste]) + " " + Shown(row[ColRatio]));
    FUZZ_CHECK(!IsBlank(row[ColGauche]) || !IsBlank(row[ColDroite]), "a blank pair; input " + Shown(input));
  }
  for (size_t k = 0; k < list.skipped.size(); ++k) {
    FUZZ_CHECK(list.skipped[k].line >= 1 && (k == 0 || list.skipped[k].line >= list.skipped[k - 1].line) &&
                   !list.skipped[k].reason.isEmpty(),
               "skipped lines " + RowsShown(list));
  }
}

// The rows as a study table, as wide as the widest.
inline StudyTable TableOf(const ImportedList& list) {
  size_t width = 5;
  for (const auto& row : list.rows) width = std::max(width, row.size());
  StudyTable table(static_cast<int>(width), list.Pairs() + 1);
  for (int r = 0; r < list.Pairs(); ++r) table.SetRowTexts(r + 1, list.rows[static_cast<size_t>(r)]);
  return table;
}

// A refusal names the file.
inline void CheckRefusal(const Error& e, std::string_view input) {
  FUZZ_CHECK(e.Message().startsWith(QStringLiteral("Le fichier \"f\" ")),
             e.Message().toStdString() + "; input " + Shown(input));
}

// The rows a KVTML export of the list gives back: the same texts (but the
// two non-characters XML cannot hold, which become U+FFFD); counters only
// where asked, Juste at most Demandé.
inline ImportedList AfterKvtml(ImportedList list) {
  for (auto& row : list.rows) {
    for (auto& cell : row) {
      for (size_t at = 0; (at = cell.find("\xEF\xBF", at)) != std::string::npos; at += 3) {
        if (at + 2 < cell.size() && (cell[at + 2] == '\xBE' || cell[at + 2] == '\xBF')) cell[at + 2] = '\xBD';
      }
    }
    const int asked = CellToInt(row[ColDemande]);
    row[ColDemande] = asked > 0 ? std::to_string(asked) : "";
    row[ColJuste] = asked > 0 ? std::to_string(std::min(asked, CellToInt(row[ColJuste]))) : "";
  }
  return list;
}

inline bool SameRows(const ImportedList& a, const ImportedList& b) { return a.rows == b.rows; }

}  // namespace tenaxo::fuzz
