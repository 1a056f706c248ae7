#include "TextLocale.h"

#include <memory>

#include "Utf8.h"

namespace tenaxo {

namespace {
const char kNarrowNoBreakSpace[] = "\xE2\x80\xAF";
const char kNoBreakSpace[] = "\xC2\xA0";

std::unique_ptr<TextLocale>& CurrentSlot() {
  static std::unique_ptr<TextLocale> current;
  return current;
}

bool StartsAt(std::string_view text, size_t i, std::string_view word) {
  return !word.empty() && text.substr(i, word.size()) == word;
}
}  // namespace

TextLocale::TextLocale(const QLocale& locale)
    : collator_(locale), decimal_(ToUtf8(locale.decimalPoint())), thousands_(ToUtf8(locale.groupSeparator())) {
  collator_.setCaseSensitivity(Qt::CaseInsensitive);
  if (decimal_.empty()) decimal_ = ".";
  if (thousands_.empty() || thousands_ == decimal_) thousands_ = decimal_ == "," ? "." : ",";
  spaceGroups_ = thousands_ == kNarrowNoBreakSpace || thousands_ == kNoBreakSpace || thousands_ == " ";
}

size_t TextLocale::ThousandsSeparatorAt(std::string_view text, size_t i) const {
  if (StartsAt(text, i, thousands_)) return thousands_.size();
  if (!spaceGroups_) return 0;
  for (std::string_view space :
       {std::string_view(kNarrowNoBreakSpace), std::string_view(kNoBreakSpace), std::string_view(" ")}) {
    if (StartsAt(text, i, space)) return space.size();
  }
  return 0;
}

QCollatorSortKey TextLocale::SortKey(std::string_view text) const { return collator_.sortKey(ToQString(text)); }

const TextLocale& TextLocale::Current() {
  auto& slot = CurrentSlot();
  if (!slot) slot = std::make_unique<TextLocale>(QLocale::system());
  return *slot;
}

void TextLocale::SetCurrent(const QLocale& locale) { CurrentSlot() = std::make_unique<TextLocale>(locale); }

}  // namespace tenaxo
