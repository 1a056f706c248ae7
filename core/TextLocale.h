// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's locale as the study list sees it: the decimal and thousands
// separators of numbers (UTF-8, as the locale has them; every locale has both,
// and they differ) and the case-insensitive text comparison of the column
// sort. Tests pin a French or
// an English locale.
#include <QLocale>
#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace tenaxo {

class TextLocale {
 public:
  explicit TextLocale(const QLocale& locale);

  const std::string& DecimalSeparator() const { return decimal_; }
  const std::string& ThousandsSeparator() const { return thousands_; }

  // A key for the linguistic comparison ignoring letter case, computed once
  // per text: texts compare as their keys' bytes do (std::string::compare:
  // <0, 0, >0). The comparison is the toolkit's (QCollator, case-insensitive),
  // its keys made by the same library (ICU) set the same way; in the C locale
  // it is that of the UTF-8 bytes, up to a first NUL.
  std::string SortKey(std::string_view text) const;
  // The same key appended to keys.
  void AppendSortKey(std::string_view text, std::string& keys) const;

  // The locale every routine uses unless it is given another one: the user's
  // own (QLocale::system()) until a caller sets a different one.
  static const TextLocale& Current();
  static void SetCurrent(const QLocale& locale);

 private:
  struct CloseCollator {
    void operator()(UCollator* collator) const;
  };
  std::unique_ptr<UCollator, CloseCollator> collator_;  // none in the C locale, or when ICU has none
  bool c_;
  std::string decimal_;
  std::string thousands_;
};

}  // namespace tenaxo
