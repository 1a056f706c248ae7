// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextEncoding.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "TextLines.h"

namespace tenaxo {

namespace {

// The bytes from 0x80 of Windows-1252 as the toolkit's converter has them, in both directions; ASCII is itself.
struct CodePage {
  std::array<std::array<char, 4>, 256> utf8{};  // bytes, then their count in [3]
  std::vector<uint8_t> byteOf;                  // by code point; 0 when none (ASCII included)

  CodePage() {
    QStringDecoder decoder("windows-1252");
    for (int b = 0x80; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      const QString one = decoder.decode(QByteArrayView(&byte, 1));
      const QByteArray bytes = one.toUtf8();
      auto& entry = utf8[static_cast<size_t>(b)];
      std::memcpy(entry.data(), bytes.constData(), static_cast<size_t>(bytes.size()));
      entry[3] = static_cast<char>(bytes.size());
      const auto point = static_cast<size_t>(one.at(0).unicode());
      if (byteOf.size() <= point) byteOf.resize(point + 1, 0);
      byteOf[point] = static_cast<uint8_t>(b);
    }
  }
};

const CodePage& Windows1252() {
  static const CodePage page;
  return page;
}

std::string Utf16ToUtf8(std::string_view bytes, QStringConverter::Encoding encoding) {
  QStringDecoder decoder(encoding);
  return QString(decoder(QByteArrayView(bytes))).toStdString();
}

}  // namespace

bool IsAscii(std::string_view text) {
  // Every byte or'ed together, with no early exit: the compiler does it many bytes at a time.
  unsigned char bits = 0;
  for (const char c : text) bits |= static_cast<unsigned char>(c);
  return bits < 0x80;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string text;
  AppendWindows1252AsUtf8(bytes, text);
  return text;
}

void AppendWindows1252AsUtf8(std::string_view bytes, std::string& text) {
  const CodePage& page = Windows1252();
  size_t size = bytes.size();
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80)
      size += static_cast<size_t>(page.utf8[static_cast<unsigned char>(c)][3]) - 1;
  }
  const size_t at = text.size();
  text.resize(at + size);
  char* out = text.data() + at;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      *out++ = c;
      continue;
    }
    const auto& entry = page.utf8[b];
    out[0] = entry[0];
    out[1] = entry[1];
    if (entry[3] == 3) out[2] = entry[2];
    out += entry[3];
  }
}

namespace {
// The ASCII bytes at the start of a word whose bytes above 0x7F set high.
size_t AsciiBytesFirst(uint64_t high) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  return static_cast<size_t>(__builtin_ctzll(high)) / 8;
#else
  return static_cast<size_t>(__builtin_clzll(high)) / 8;
#endif
}
}  // namespace

char* Utf8ToWindows1252(std::string_view text, char* out) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  const CodePage& page = Windows1252();
  for (size_t i = 0; i < n;) {
    if (i + 8 <= n) {
      // ASCII stays as it is, eight bytes at a time: every byte of the word
      // is copied, and those from the first that is not ASCII on written
      // again.
      uint64_t word;
      std::memcpy(&word, s + i, 8);
      std::memcpy(out, &word, 8);
      const uint64_t high = word & 0x8080808080808080ull;
      const size_t ascii = high ? AsciiBytesFirst(high) : 8;
      out += ascii;
      i += ascii;
      if (ascii == 8) continue;
    } else if (s[i] < 0x80) {
      *out++ = static_cast<char>(s[i++]);
      continue;
    }
    // The code page's characters lie below U+2123: sequences of 2 or 3 bytes.
    uint32_t point = 0;
    if ((s[i] & 0xE0) == 0xC0 && i + 1 < n && (s[i + 1] & 0xC0) == 0x80) {
      point = (static_cast<uint32_t>(s[i] & 0x1F) << 6) | (s[i + 1] & 0x3Fu);
      i += 2;
    } else if ((s[i] & 0xF0) == 0xE0 && i + 2 < n && (s[i + 1] & 0xC0) == 0x80 && (s[i + 2] & 0xC0) == 0x80) {
      point = (static_cast<uint32_t>(s[i] & 0x0F) << 12) | (static_cast<uint32_t>(s[i + 1] & 0x3F) << 6) |
              (s[i + 2] & 0x3Fu);
      i += 3;
    }
    // Not UTF-8, an overlong form (below 0x80), or a character the code page lacks.
    if (point >= page.byteOf.size() || page.byteOf[point] == 0) return nullptr;
    *out++ = static_cast<char>(page.byteOf[point]);
  }
  return out;
}

int Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& text) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]), second = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
  }
  size_t good = 0;  // the units before the first that is no character
  while (good < units.size()) {
    if (QChar::isHighSurrogate(units[good]) && good + 1 < units.size() && QChar::isLowSurrogate(units[good + 1])) {
      good += 2;
    } else if (QChar::isSurrogate(units[good])) {
      break;
    } else {
      ++good;
    }
  }
  text = QStringView(units).left(static_cast<qsizetype>(good)).toUtf8().toStdString();
  if (good == units.size() && bytes.size() % 2 == 0) return 0;
  return LineEndCount(text) + 1;
}

int FirstLineNotUtf8(std::string_view text) {
  if (QByteArrayView(text).isValidUtf8()) return 0;
  // A line end is never part of a multi-byte sequence: the text is UTF-8
  // exactly when each of its lines is.
  int line = 1;
  for (size_t p = 0; p < text.size(); ++line) {
    const size_t end = LineEnd(text, p);
    if (!QByteArrayView(text.substr(p, end - p)).isValidUtf8()) return line;
    p = PastLineEnd(text, end);
  }
  return 0;
}

std::string_view ImportedTextUtf8(std::string_view bytes, std::string& storage) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  else if (bytes.substr(0, 2) == "\xFF\xFE") return storage = Utf16ToUtf8(bytes.substr(2), QStringConverter::Utf16LE);
  else if (bytes.substr(0, 2) == "\xFE\xFF") return storage = Utf16ToUtf8(bytes.substr(2), QStringConverter::Utf16BE);
  if (QByteArrayView(bytes).isValidUtf8()) return bytes;
  return storage = Windows1252ToUtf8(bytes);
}

}  // namespace tenaxo
