// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListSearch.h"

#include <QList>
#include <algorithm>

namespace tenaxo {

namespace {
bool IsMark(char32_t character) {
  switch (QChar::category(character)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing: return true;
    default: return false;
  }
}
}  // namespace

// Decomposing, dropping marks and folding case all work character by
// character once the marks are gone, so each character is folded once and
// kept: reading a list of 100,000 pairs stays within a few milliseconds.
const std::string& ListSearch::FoldCharacter(char32_t character) {
  auto found = folds_.find(character);
  if (found != folds_.end()) return found->second;
  const QString decomposed = QString::fromUcs4(&character, 1).normalized(QString::NormalizationForm_KD);
  QString kept;
  for (const char32_t part : decomposed.toUcs4()) {
    if (!IsMark(part)) kept += QString::fromUcs4(&part, 1);
  }
  std::string folded = ToUtf8(kept.toCaseFolded());
  if (folded == "ß") folded = "ss";
  return folds_.emplace(character, std::move(folded)).first->second;
}

std::string ListSearch::Fold(const QString& text) {
  std::string folded;
  folded.reserve(static_cast<size_t>(text.size()));
  for (qsizetype k = 0; k < text.size(); ++k) {
    const char16_t unit = text[k].unicode();
    if (unit < 0x80) {
      folded += static_cast<char>(unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit);
    } else if (QChar::isHighSurrogate(unit) && k + 1 < text.size() && text[k + 1].isLowSurrogate()) {
      folded += FoldCharacter(QChar::surrogateToUcs4(unit, text[k + 1].unicode()));
      ++k;
    } else {
      folded += FoldCharacter(unit);
    }
  }
  return folded;
}

void ListSearch::Read(const StudyTable& table) {
  texts_.clear();
  starts_.clear();
  for (int row = StudyTable::FixedRows; table.IsDataRow(row); ++row) {
    for (int col : {ColGauche, ColDroite}) {
      starts_.push_back(static_cast<uint32_t>(texts_.size()));
      const std::string& cell = table.Cell(col, row);
      if (std::all_of(cell.begin(), cell.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        for (char c : cell) texts_ += c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
      } else {
        texts_ += Fold(ToQString(cell));
      }
      texts_ += '\0';
    }
  }
  table_ = &table;
  revision_ = table.Revision();
}

const std::vector<SearchHit>& ListSearch::Find(const StudyTable& table, const QString& text) {
  hits_.clear();
  std::string needle = Fold(text);
  needle.erase(std::remove(needle.begin(), needle.end(), '\0'), needle.end());
  if (needle.empty()) return hits_;
  if (table_ != &table || revision_ != table.Revision()) Read(table);
  for (size_t at = texts_.find(needle); at != std::string::npos; at = texts_.find(needle, at)) {
    const auto cell = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), at) - starts_.begin() - 1);
    hits_.push_back({static_cast<int32_t>(cell / 2) + StudyTable::FixedRows, static_cast<int32_t>(cell % 2)});
    // The next row: a pair is found once.
    const size_t next = cell / 2 * 2 + 2;
    if (next >= starts_.size()) break;
    at = starts_[next];
  }
  return hits_;
}

int ListSearch::AtOrAfter(const std::vector<SearchHit>& hits, int row) {
  if (hits.empty()) return -1;
  const auto hit = std::lower_bound(hits.begin(), hits.end(), row, [](const SearchHit& h, int r) { return h.row < r; });
  return hit == hits.end() ? 0 : static_cast<int>(hit - hits.begin());
}

int ListSearch::After(const std::vector<SearchHit>& hits, int row) { return AtOrAfter(hits, row + 1); }

int ListSearch::Before(const std::vector<SearchHit>& hits, int row) {
  if (hits.empty()) return -1;
  const auto hit = std::lower_bound(hits.begin(), hits.end(), row, [](const SearchHit& h, int r) { return h.row < r; });
  return hit == hits.begin() ? static_cast<int>(hits.size()) - 1 : static_cast<int>(hit - hits.begin()) - 1;
}

}  // namespace tenaxo
