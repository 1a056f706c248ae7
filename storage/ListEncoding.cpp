// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListEncoding.h"

#include <QByteArrayView>

#include "Errors.h"
#include "TextEncoding.h"
#include "TextLines.h"

namespace tenaxo {

namespace {
constexpr char kMark[] = "\xEF\xBB\xBF";
constexpr size_t kMarkSize = 3;
}  // namespace

std::string DecodeListFile(std::string bytes, const QString& path, FileEncoding& encoding) {
  const bool littleEndian = bytes.compare(0, 2, "\xFF\xFE") == 0, bigEndian = bytes.compare(0, 2, "\xFE\xFF") == 0;
  if (littleEndian || bigEndian) {
    std::string text;
    if (const int line = Utf16ToUtf8(std::string_view(bytes).substr(2), bigEndian, text)) {
      throw Error(QStringLiteral("Le fichier \"%1\" est marqué UTF-16, mais sa ligne %2 n'est pas de l'UTF-16 valide.")
                      .arg(path)
                      .arg(line));
    }
    bytes.swap(text);
    encoding = FileEncoding::Utf16;
  }
  // A text holds no NUL: one before the end is a file of no list encoding
  // (UTF-16 without its mark, or no text at all); NULs that end it are none of
  // the list.
  const size_t nul = bytes.find('\0');
  if (nul != std::string::npos) {
    if (bytes.find_first_not_of('\0', nul) != std::string::npos) {
      throw Error(QStringLiteral("Le fichier \"%1\" n'est pas une liste : sa ligne %2 contient un caractère nul "
                                 "(texte UTF-16 sans marque, ou fichier qui n'est pas du texte).")
                      .arg(path)
                      .arg(LineEndCount(std::string_view(bytes).substr(0, nul)) + 1));
    }
    bytes.resize(nul);
  }
  if (littleEndian || bigEndian) return bytes;
  if (bytes.compare(0, kMarkSize, kMark) == 0) {
    if (const int line = FirstLineNotUtf8(std::string_view(bytes).substr(kMarkSize))) {
      throw Error(QStringLiteral("Le fichier \"%1\" est marqué UTF-8, mais sa ligne %2 n'est pas de l'UTF-8 valide.")
                      .arg(path)
                      .arg(line));
    }
    encoding = FileEncoding::Utf8Bom;
    bytes.erase(0, kMarkSize);
    return bytes;
  }
  if (IsAscii(bytes)) {
    encoding = FileEncoding::Windows1252;
    return bytes;
  }
  // Not ASCII: valid UTF-8 holds a sequence of two bytes or more.
  if (QByteArrayView(bytes).isValidUtf8()) {
    encoding = FileEncoding::Utf8;
    return bytes;
  }
  encoding = FileEncoding::Windows1252;
  return Windows1252ToUtf8(bytes);
}

std::string EncodeListFile(std::string text, FileEncoding& encoding) {
  switch (encoding) {
    case FileEncoding::Utf8: return text;
    case FileEncoding::Utf16: encoding = FileEncoding::Utf8Bom; return text.insert(0, kMark);
    case FileEncoding::Utf8Bom: return text.insert(0, kMark);
    case FileEncoding::None:
    case FileEncoding::Windows1252: break;
  }
  if (IsAscii(text)) {
    encoding = FileEncoding::Windows1252;
    return text;
  }
  std::string bytes;
  if (Utf8ToWindows1252(text, bytes)) {
    encoding = FileEncoding::Windows1252;
    return bytes;
  }
  encoding = FileEncoding::Utf8Bom;
  return text.insert(0, kMark);
}

}  // namespace tenaxo
