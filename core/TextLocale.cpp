// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextLocale.h"

#include <unicode/ucol.h>

#include <QString>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "Utf8.h"

namespace tenaxo {

namespace {
constexpr size_t kNotUtf8 = SIZE_MAX;

// The UTF-16 of UTF-8 text into out (room for text.size() units), its length;
// kNotUtf8 when a byte is not UTF-8 (overlong forms, surrogates and values
// past U+10FFFF included).
size_t Utf16Of(std::string_view text, char16_t* out) {
  const auto* byte = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = byte + text.size();
  char16_t* const first = out;
  while (byte < end) {
    const unsigned lead = *byte;
    if (lead < 0x80) {
      *out++ = static_cast<char16_t>(lead);
      ++byte;
      continue;
    }
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0 || lead > 0xF4 || end - byte <= more) return kNotUtf8;
    char32_t c = lead & (0x3Fu >> more);
    for (int k = 1; k <= more; ++k) {
      if ((byte[k] & 0xC0) != 0x80) return kNotUtf8;
      c = c << 6 | (byte[k] & 0x3Fu);
    }
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (c < kLeast[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kNotUtf8;
    if (c >= 0x10000) {
      *out++ = static_cast<char16_t>(0xD7C0 + (c >> 10));
      *out++ = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    } else {
      *out++ = static_cast<char16_t>(c);
    }
    byte += more + 1;
  }
  return static_cast<size_t>(out - first);
}

std::unique_ptr<TextLocale>& CurrentSlot() {
  static std::unique_ptr<TextLocale> current;
  return current;
}
}  // namespace

void TextLocale::CloseCollator::operator()(UCollator* collator) const { ucol_close(collator); }

TextLocale::TextLocale(const QLocale& locale)
    : c_(locale.language() == QLocale::C),
      decimal_(ToUtf8(locale.decimalPoint())),
      thousands_(ToUtf8(locale.groupSeparator())) {
  if (c_) return;
  // Opened and set as QCollator opens and sets it for a case-insensitive
  // comparison.
  UErrorCode status = U_ZERO_ERROR;
  collator_.reset(ucol_open(locale.bcp47Name().replace(u'-', u'_').toLatin1().constData(), &status));
  if (U_FAILURE(status)) {
    collator_.reset();
    return;
  }
  ucol_setAttribute(collator_.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
  status = U_ZERO_ERROR;
  ucol_setAttribute(collator_.get(), UCOL_STRENGTH, UCOL_SECONDARY, &status);
  status = U_ZERO_ERROR;
  ucol_setAttribute(collator_.get(), UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
  status = U_ZERO_ERROR;
  ucol_setAttribute(collator_.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
}

std::string TextLocale::SortKey(std::string_view text) const {
  std::string key;
  AppendSortKey(text, key);
  return key;
}

void TextLocale::AppendSortKey(std::string_view text, std::string& keys) const {
  if (c_) {
    const QByteArray bytes = ToQString(text).toUtf8();
    keys.append(bytes.constData(), qstrnlen(bytes.constData(), static_cast<uint>(bytes.size())));
    return;
  }
  if (!collator_) return;
  thread_local std::vector<char16_t> wide;
  wide.resize(text.size() + 1);
  size_t length = Utf16Of(text, wide.data());
  if (length == kNotUtf8) {  // as ToQString makes it, each wrong byte a U+FFFD
    const QString decoded = ToQString(text);
    wide.assign(decoded.utf16(), decoded.utf16() + decoded.size());
    length = wide.size();
  }
  // The key straight into keys when it fits a first guess; ICU's length
  // counts the closing NUL byte, which keys leave out.
  const size_t start = keys.size();
  int32_t room = static_cast<int32_t>(16 + length + length / 2);
  for (;;) {
    keys.resize(start + static_cast<size_t>(room));
    const int32_t needed = ucol_getSortKey(collator_.get(), wide.data(), static_cast<int32_t>(length),
                                           reinterpret_cast<uint8_t*>(keys.data() + start), room);
    if (needed <= room) {
      keys.resize(start + static_cast<size_t>(std::max(needed - 1, 0)));
      return;
    }
    room = needed;
  }
}

const TextLocale& TextLocale::Current() {
  auto& slot = CurrentSlot();
  if (!slot) slot = std::make_unique<TextLocale>(QLocale::system());
  return *slot;
}

void TextLocale::SetCurrent(const QLocale& locale) { CurrentSlot() = std::make_unique<TextLocale>(locale); }

}  // namespace tenaxo
