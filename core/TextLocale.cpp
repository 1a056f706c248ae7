// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextLocale.h"

#include <memory>

#include "Utf8.h"

namespace tenaxo {

namespace {
std::unique_ptr<TextLocale>& CurrentSlot() {
  static std::unique_ptr<TextLocale> current;
  return current;
}
}  // namespace

TextLocale::TextLocale(const QLocale& locale)
    : collator_(locale), decimal_(ToUtf8(locale.decimalPoint())), thousands_(ToUtf8(locale.groupSeparator())) {
  collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

QCollatorSortKey TextLocale::SortKey(std::string_view text) const { return collator_.sortKey(ToQString(text)); }

const TextLocale& TextLocale::Current() {
  auto& slot = CurrentSlot();
  if (!slot) slot = std::make_unique<TextLocale>(QLocale::system());
  return *slot;
}

void TextLocale::SetCurrent(const QLocale& locale) { CurrentSlot() = std::make_unique<TextLocale>(locale); }

}  // namespace tenaxo
