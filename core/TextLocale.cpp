#include "TextLocale.h"

#include <memory>

#include "Ansi.h"

namespace tenaxo {

namespace {
// A separator that Windows-1252 cannot hold (the narrow no-break space of
// recent French locales, say) is replaced by the nearest byte it has.
char SeparatorByte(const QString& separator, char fallback) {
  AnsiString bytes;
  if (QStringToAnsi(separator, bytes) && bytes.size() == 1) return bytes[0];
  if (separator.size() == 1 && separator[0].isSpace()) return '\xA0';
  return fallback;
}

std::unique_ptr<TextLocale>& CurrentSlot() {
  static std::unique_ptr<TextLocale> current;
  return current;
}
}  // namespace

TextLocale::TextLocale(const QLocale& locale)
    : collator_(locale),
      decimal_(SeparatorByte(locale.decimalPoint(), '.')),
      thousands_(SeparatorByte(locale.groupSeparator(), ',')) {
  collator_.setCaseSensitivity(Qt::CaseInsensitive);
  if (thousands_ == decimal_) thousands_ = decimal_ == ',' ? '.' : ',';
}

int TextLocale::Compare(std::string_view a, std::string_view b) const {
  return collator_.compare(AnsiToQString(a), AnsiToQString(b));
}

QCollatorSortKey TextLocale::SortKey(std::string_view text) const {
  return collator_.sortKey(AnsiToQString(text));
}

const TextLocale& TextLocale::Current() {
  auto& slot = CurrentSlot();
  if (!slot) slot = std::make_unique<TextLocale>(QLocale::system());
  return *slot;
}

void TextLocale::SetCurrent(const QLocale& locale) {
  CurrentSlot() = std::make_unique<TextLocale>(locale);
}

}  // namespace tenaxo
