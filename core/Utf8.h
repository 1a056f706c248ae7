// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of the study list, the list names and the settings are Unicode texts
// held as UTF-8 in std::string. These helpers convert them for the toolkit,
// which speaks UTF-16, and count their characters. The encodings of files are
// the business of storage/TextEncoding.h and storage/ListEncoding.h.
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace tenaxo {

// The text of UTF-8 bytes; a byte that is not UTF-8 becomes U+FFFD.
QString ToQString(std::string_view text);

// The UTF-8 of the text; a lone surrogate becomes U+FFFD.
std::string ToUtf8(const QString& text);

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

}  // namespace tenaxo::utf8
