#pragma once
// The user's locale as the study list sees it: the decimal and thousands
// separators of numbers (as Windows-1252 bytes) and the case-insensitive text
// comparison of the column sort. Tests pin a French or an English locale.
#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <string_view>

namespace tenaxo {

class TextLocale {
 public:
  explicit TextLocale(const QLocale& locale);

  char DecimalSeparator() const { return decimal_; }
  char ThousandsSeparator() const { return thousands_; }

  // Linguistic comparison ignoring letter case: <0, 0, >0.
  int Compare(std::string_view a, std::string_view b) const;
  // A key whose comparison agrees with Compare, computed once per text.
  QCollatorSortKey SortKey(std::string_view text) const;

  // The locale every routine uses unless it is given another one: the user's
  // own (QLocale::system()) until a caller sets a different one.
  static const TextLocale& Current();
  static void SetCurrent(const QLocale& locale);

 private:
  QCollator collator_;
  char decimal_;
  char thousands_;
};

}  // namespace tenaxo
