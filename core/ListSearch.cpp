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

// The character that starts at text[at], at moved past it; a byte that
// starts no character of UTF-8 is read as U+FFFD.
char32_t Decode(std::string_view text, size_t& at) {
  const auto byte = [&](size_t k) { return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u; };
  const unsigned lead = byte(at);
  const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead <= 0xDF ? 2 : 0;
  char32_t character = lead & (0x7Fu >> length);
  bool valid = length > 0;
  for (size_t k = 1; valid && k < length; ++k) {
    valid = (byte(at + k) & 0xC0) == 0x80;
    character = character << 6 | (byte(at + k) & 0x3F);
  }
  // Overlong forms, surrogates and numbers beyond Unicode are no characters either.
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  valid = valid && character >= kLeast[length] && (character < 0xD800 || character > 0xDFFF) && character <= 0x10FFFF;
  at += valid ? length : 1;
  return valid ? character : 0xFFFD;
}

// Decomposing, dropping marks and folding case all work character by
// character once the marks are gone, so each character is folded once and
// kept: reading a list of 100,000 pairs takes a few milliseconds.
const std::string& ListSearch::FoldCharacter(char32_t character) {
  uint32_t* slot = nullptr;
  if (character < 0x10000) {
    if (slots_.empty()) slots_.assign(0x10000, 0);
    slot = &slots_[character];
    if (*slot != 0) return folded_[*slot - 1];
  } else if (auto found = others_.find(character); found != others_.end()) {
    return found->second;
  }
  const QString decomposed = QString::fromUcs4(&character, 1).normalized(QString::NormalizationForm_KD);
  QString kept;
  for (const char32_t part : decomposed.toUcs4()) {
    if (!IsMark(part)) kept += QString::fromUcs4(&part, 1);
  }
  std::string folded = ToUtf8(kept.toCaseFolded());
  if (folded == "ß") folded = "ss";
  if (!slot) return others_.emplace(character, std::move(folded)).first->second;
  folded_.push_back(std::move(folded));
  *slot = static_cast<uint32_t>(folded_.size());
  return folded_.back();
}

void ListSearch::AppendFolded(std::string_view utf8, std::string& out) {
  for (size_t at = 0; at < utf8.size();) {
    const char c = utf8[at];
    if (static_cast<unsigned char>(c) < 0x80) {
      out += c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
      ++at;
    } else {
      out += FoldCharacter(Decode(utf8, at));
    }
  }
}

std::string ListSearch::Fold(const QString& text) {
  std::string folded;
  AppendFolded(ToUtf8(text), folded);
  return folded;
}

void ListSearch::Read(const StudyTable& table) {
  texts_.clear();
  starts_.clear();
  for (int row = StudyTable::FixedRows; table.IsDataRow(row); ++row) {
    for (int col : {ColGauche, ColDroite}) {
      starts_.push_back(static_cast<uint32_t>(texts_.size()));
      AppendFolded(table.Cell(col, row), texts_);
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
