#pragma once
// Texts of the study list, the list names and the settings are Unicode texts
// held as UTF-8 in std::string. These helpers convert them for the toolkit,
// which speaks UTF-16, and count their characters. The encodings of list
// files are the business of storage/ListEncoding.h.
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace tenaxo {

// The text of UTF-8 bytes; a byte that is not UTF-8 becomes U+FFFD.
QString ToQString(std::string_view text);

// The UTF-8 of the text; a lone surrogate becomes U+FFFD.
std::string ToUtf8(const QString& text);

// The UTF-8 of the text. False (out unchanged) when it holds a lone
// surrogate, which no file can keep.
bool TryToUtf8(const QString& text, std::string& out);

// Characters are counted as code points: a UTF-8 sequence is one character
// (a continuation byte belongs to the character before it).
size_t CharacterCount(std::string_view text);
// The byte offset where character n begins (the size when there are fewer).
size_t CharacterOffset(std::string_view text, size_t n);
// The longest start of text that holds at most maxBytes bytes and does not
// cut a character.
std::string_view Utf8Prefix(std::string_view text, size_t maxBytes);

}  // namespace tenaxo

namespace tenaxo::utf8 {

inline void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Well-formed UTF-8: no overlong form, no surrogate, nothing above U+10FFFF.
inline bool IsUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* end = p + s.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int more;
    uint32_t min;
    uint32_t value;
    if ((c & 0xE0) == 0xC0) {
      more = 1, min = 0x80, value = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      more = 2, min = 0x800, value = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      more = 3, min = 0x10000, value = c & 0x07;
    } else {
      return false;
    }
    if (end - p <= more) return false;
    for (int k = 1; k <= more; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
      value = (value << 6) | (p[k] & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    p += more + 1;
  }
  return true;
}

}  // namespace tenaxo::utf8
