// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding pairs of the study list by a text typed, as people look for a word:
// letter case, accents and other marks, and the compatibility forms of
// characters (full-width letters, ligatures) make no difference, in every
// script. "ecole" finds "École", "ΑΘΗΝΑ" finds "αθηνα", "strasse" finds
// "Straße".
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "StudyTable.h"

namespace tenaxo {

// A pair found: its row, and the column that holds the text (Gauche first).
struct SearchHit {
  int32_t row;
  int32_t col;
  bool operator==(const SearchHit& other) const { return row == other.row && col == other.col; }
};

class ListSearch {
 public:
  // The text as the search compares it, in UTF-8: compatibility decomposition
  // (NFKD), the marks dropped, the case folded, "ß" as "ss".
  std::string Fold(const QString& text);

  // The rows whose Gauche or Droite holds the text, top to bottom; none for
  // an empty text. The folded texts of the list stay between calls and are
  // read again once the table has changed.
  const std::vector<SearchHit>& Find(const StudyTable& table, const QString& text);
  // What the last Find found.
  const std::vector<SearchHit>& Hits() const { return hits_; }

  // Where to go from a row: the first hit on it or below it, the first below
  // it, the last above it; each goes round the list. An index into the hits,
  // -1 when there are none.
  static int AtOrAfter(const std::vector<SearchHit>& hits, int row);
  static int After(const std::vector<SearchHit>& hits, int row);
  static int Before(const std::vector<SearchHit>& hits, int row);

 private:
  void Read(const StudyTable& table);
  void AppendFolded(std::string_view utf8, std::string& out);
  const std::string& FoldCharacter(char32_t character);

  // Each character met, folded: those of the first 65,536 by their number
  // (0: not met yet; else the place in folded_ plus one), the others by name.
  std::vector<uint32_t> slots_;
  std::vector<std::string> folded_;
  std::unordered_map<char32_t, std::string> others_;
  std::string texts_;             // Gauche and Droite of every data row, folded, each followed by '\0'
  std::vector<uint32_t> starts_;  // where each of those texts starts in texts_
  const StudyTable* table_ = nullptr;
  uint64_t revision_ = 0;
  std::vector<SearchHit> hits_;
};

}  // namespace tenaxo
