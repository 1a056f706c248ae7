#include "ListEncoding.h"

#include <QStringDecoder>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Errors.h"
#include "Utf8.h"

namespace tenaxo {

namespace {

constexpr char kMark[] = "\xEF\xBB\xBF";
constexpr size_t kMarkSize = 3;

// Windows-1252 as the toolkit's converter has it (the five bytes the code page
// leaves free stand for the C1 controls of the same number), in both directions.
struct CodePage {
  std::array<std::array<char, 4>, 256> utf8{};  // bytes, then their count in [3]
  std::vector<int16_t> byteOf;                  // by code point; -1 when none

  CodePage() {
    QStringDecoder decoder("windows-1252");
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      const QString one = decoder.decode(QByteArrayView(&byte, 1));
      const QByteArray bytes = one.toUtf8();
      auto& entry = utf8[static_cast<size_t>(b)];
      std::memcpy(entry.data(), bytes.constData(), static_cast<size_t>(bytes.size()));
      entry[3] = static_cast<char>(bytes.size());
      const auto point = static_cast<size_t>(one.at(0).unicode());
      if (byteOf.size() <= point) byteOf.resize(point + 1, -1);
      byteOf[point] = static_cast<int16_t>(b);
    }
  }
};

const CodePage& Windows1252() {
  static const CodePage page;
  return page;
}

bool Ascii(std::string_view text) {
  size_t i = 0;
  for (; i + 32 <= text.size(); i += 32) {
    uint64_t words[4];
    std::memcpy(words, text.data() + i, 32);
    if ((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ull) return false;
  }
  for (; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  }
  return true;
}

// Where the text stops being UTF-8 (npos when it is valid); multiByte tells
// whether it holds a sequence of two bytes or more.
size_t FirstBadUtf8(std::string_view text, bool& multiByte) {
  multiByte = false;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    if (s[i] < 0x80) {
      ++i;
      // Runs of ASCII, eight bytes at a time.
      while (i + 8 <= n) {
        uint64_t word;
        std::memcpy(&word, s + i, 8);
        if (word & 0x8080808080808080ull) break;
        i += 8;
      }
      continue;
    }
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (s[i] >= 0xC2 && s[i] <= 0xDF) {
      length = 2;
    } else if (s[i] >= 0xE0 && s[i] <= 0xEF) {
      length = 3;
      if (s[i] == 0xE0) low = 0xA0;   // no overlong form
      if (s[i] == 0xED) high = 0x9F;  // no surrogate
    } else if (s[i] >= 0xF0 && s[i] <= 0xF4) {
      length = 4;
      if (s[i] == 0xF0) low = 0x90;
      if (s[i] == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
      return i;
    }
    if (i + length > n || s[i + 1] < low || s[i + 1] > high) return i;
    for (size_t k = 2; k < length; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return i;
    }
    multiByte = true;
    i += length;
  }
  return std::string_view::npos;
}

// The line of the text that holds offset, counted from 1 as the list reader
// cuts lines: CR LF, a lone CR and a lone LF each end one.
int LineAt(std::string_view text, size_t offset) {
  int line = 1;
  for (size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n'))) ++line;
  }
  return line;
}

std::string FromWindows1252(std::string_view bytes) {
  const CodePage& page = Windows1252();
  size_t size = bytes.size();
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80)
      size += static_cast<size_t>(page.utf8[static_cast<unsigned char>(c)][3]) - 1;
  }
  std::string text(size, '\0');
  char* out = text.data();
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
  return text;
}

// The Windows-1252 bytes of the UTF-8 text; false when the code page lacks
// one of its characters.
bool ToWindows1252(std::string_view text, std::string& bytes) {
  const CodePage& page = Windows1252();
  bytes.resize(text.size());
  char* out = bytes.data();
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    if (s[i] < 0x80) {
      // ASCII stays as it is, eight bytes at a time.
      while (i + 8 <= n) {
        uint64_t word;
        std::memcpy(&word, s + i, 8);
        if (word & 0x8080808080808080ull) break;
        std::memcpy(out, &word, 8);
        out += 8;
        i += 8;
      }
      while (i < n && s[i] < 0x80) *out++ = static_cast<char>(s[i++]);
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
    if (point < 0x80) return false;  // not UTF-8, or an overlong form
    if (point >= page.byteOf.size() || page.byteOf[point] < 0) return false;
    *out++ = static_cast<char>(page.byteOf[point]);
  }
  bytes.resize(static_cast<size_t>(out - bytes.data()));
  return true;
}

}  // namespace

std::string DecodeListFile(std::string bytes, const QString& path, FileEncoding& encoding) {
  const size_t nul = bytes.find('\0');
  if (nul != std::string::npos) bytes.resize(nul);
  bool multiByte = false;
  if (bytes.compare(0, kMarkSize, kMark) == 0) {
    const std::string_view text = std::string_view(bytes).substr(kMarkSize);
    const size_t bad = FirstBadUtf8(text, multiByte);
    if (bad != std::string_view::npos) {
      throw Error(QStringLiteral("Le fichier \"%1\" est marqué UTF-8, mais sa ligne %2 n'est pas de l'UTF-8 valide.")
                      .arg(path)
                      .arg(LineAt(text, bad)));
    }
    encoding = FileEncoding::Utf8Bom;
    bytes.erase(0, kMarkSize);
    return bytes;
  }
  if (Ascii(bytes)) {
    encoding = FileEncoding::Windows1252;
    return bytes;
  }
  if (FirstBadUtf8(bytes, multiByte) == std::string_view::npos && multiByte) {
    encoding = FileEncoding::Utf8;
    return bytes;
  }
  encoding = FileEncoding::Windows1252;
  return FromWindows1252(bytes);
}

std::string EncodeListFile(std::string text, FileEncoding& encoding) {
  switch (encoding) {
    case FileEncoding::Utf8: return text;
    case FileEncoding::Utf8Bom: return text.insert(0, kMark);
    case FileEncoding::None:
    case FileEncoding::Windows1252: break;
  }
  if (Ascii(text)) {
    encoding = FileEncoding::Windows1252;
    return text;
  }
  std::string bytes;
  if (ToWindows1252(text, bytes)) {
    encoding = FileEncoding::Windows1252;
    return bytes;
  }
  encoding = FileEncoding::Utf8Bom;
  return text.insert(0, kMark);
}

}  // namespace tenaxo
