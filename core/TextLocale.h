// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's locale as the study list sees it: the decimal and thousands
// separators of numbers (UTF-8, as the locale has them; every locale has both,
// and they differ) and the case-insensitive text comparison of the column
// sort. Tests pin a French or
// an English locale.
#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <string>
#include <string_view>

namespace tenaxo {

class TextLocale {
 public:
  explicit TextLocale(const QLocale& locale);

  const std::string& DecimalSeparator() const { return decimal_; }
  const std::string& ThousandsSeparator() const { return thousands_; }

  // A key for the linguistic comparison ignoring letter case, computed once
  // per text; keys compare with QCollatorSortKey::compare (<0, 0, >0).
  QCollatorSortKey SortKey(std::string_view text) const;

  // The locale every routine uses unless it is given another one: the user's
  // own (QLocale::system()) until a caller sets a different one.
  static const TextLocale& Current();
  static void SetCurrent(const QLocale& locale);

 private:
  QCollator collator_;
  std::string decimal_;
  std::string thousands_;
};

}  // namespace tenaxo
