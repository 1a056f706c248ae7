// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListEncoding.h"

#include <QByteArrayView>
#include <cstring>

#include "Errors.h"
#include "TextEncoding.h"
#include "TextLines.h"

namespace tenaxo {

namespace {
constexpr char kMark[] = "\xEF\xBB\xBF";
constexpr size_t kMarkSize = 3;

// The text of a list file whose bytes pass the checks of DecodeListFile, less
// its mark and the NULs that end it; bytes become UTF-8 when they were UTF-16.
struct FileText {
  std::string_view text;
  bool windows1252;  // the text is Windows-1252 bytes, some of them above 0x7F
};
FileText CheckedText(std::string& bytes, const QString& path, FileEncoding& encoding) {
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
  const std::string_view text = bytes;
  if (littleEndian || bigEndian) return {text, false};
  if (text.substr(0, kMarkSize) == kMark) {
    if (const int line = FirstLineNotUtf8(text.substr(kMarkSize))) {
      throw Error(QStringLiteral("Le fichier \"%1\" est marqué UTF-8, mais sa ligne %2 n'est pas de l'UTF-8 valide.")
                      .arg(path)
                      .arg(line));
    }
    encoding = FileEncoding::Utf8Bom;
    return {text.substr(kMarkSize), false};
  }
  if (IsAscii(text)) {
    encoding = FileEncoding::Windows1252;
    return {text, false};
  }
  // Not ASCII: valid UTF-8 holds a sequence of two bytes or more.
  encoding = QByteArrayView(text).isValidUtf8() ? FileEncoding::Utf8 : FileEncoding::Windows1252;
  return {text, encoding == FileEncoding::Windows1252};
}

// The file's bytes for a UTF-8 text of utf8Size bytes that write(out) writes
// at out. encoding is the list's on entry and the one written on return.
template <class Write>
std::string Encoded(size_t utf8Size, FileEncoding& encoding, Write write) {
  const bool codePage = encoding == FileEncoding::None || encoding == FileEncoding::Windows1252;
  // Room for the mark before the text; for Windows-1252, a word, so that the
  // text converts where it is (Utf8ToWindows1252).
  const size_t room = codePage ? 8 : encoding == FileEncoding::Utf8 ? 0 : kMarkSize;
  std::string bytes(room + utf8Size, '\0');
  write(bytes.data() + room);
  if (codePage) {
    if (const char* end = Utf8ToWindows1252(std::string_view(bytes).substr(room), bytes.data())) {
      encoding = FileEncoding::Windows1252;
      bytes.resize(static_cast<size_t>(end - bytes.data()));
      return bytes;
    }
    bytes.resize(kMarkSize + utf8Size);
    write(bytes.data() + kMarkSize);  // over what the conversion wrote
  }
  // Utf16 too: read from UTF-16, saved as UTF-8 with the mark.
  if (encoding != FileEncoding::Utf8) encoding = FileEncoding::Utf8Bom;
  std::memcpy(bytes.data(), kMark, encoding == FileEncoding::Utf8 ? 0 : kMarkSize);
  return bytes;
}

}  // namespace

std::string DecodeListFile(std::string bytes, const QString& path, FileEncoding& encoding) {
  const FileText file = CheckedText(bytes, path, encoding);
  if (file.windows1252) return Windows1252ToUtf8(file.text);
  bytes.erase(0, static_cast<size_t>(file.text.data() - bytes.data()));
  return bytes;
}

ListRows DecodeListLines(std::string bytes, const QString& path, FileEncoding& encoding) {
  const FileText file = CheckedText(bytes, path, encoding);
  return ParseListText(file.text, file.windows1252);
}

std::string EncodeListFile(std::string text, FileEncoding& encoding) {
  return Encoded(text.size(), encoding, [&text](char* out) { std::memcpy(out, text.data(), text.size()); });
}

std::string ListFileBytes(const StudyTable& grid, FileEncoding& encoding) {
  const int cols = grid.ColCount(), rows = grid.RowCount();
  // A TAB between cells and CR LF after each row.
  size_t size = static_cast<size_t>(rows - StudyTable::FixedRows) * static_cast<size_t>(cols + 1);
  for (int r = StudyTable::FixedRows; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) size += std::string_view(grid.Cell(c, r)).size();
  }
  return Encoded(size, encoding, [&](char* out) {
    for (int r = StudyTable::FixedRows; r < rows; ++r) {
      for (int c = 0; c < cols; ++c) {
        if (c > 0) *out++ = '\t';
        const std::string_view cell = grid.Cell(c, r);
        if (!cell.empty()) std::memcpy(out, cell.data(), cell.size());  // an empty cell may have no bytes at all
        out += cell.size();
      }
      *out++ = '\r';
      *out++ = '\n';
    }
  });
}

}  // namespace tenaxo
