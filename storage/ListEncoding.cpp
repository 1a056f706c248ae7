// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListEncoding.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QByteArrayView>
#include <algorithm>
#include <cstdint>
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

// Room for a word written whole past the end (WriteRow).
constexpr size_t kSlack = 16;

// The file's bytes for a UTF-8 text of utf8Size bytes that write(out,
// windows1252) writes at out, in UTF-8 or in Windows-1252; it gives the end of
// what it wrote, or nullptr when the code page lacks a character of the text.
// It may write up to 8 bytes past the UTF-8 text's size and kSlack bytes more.
// encoding is the list's on entry and the one written on return.
template <class Write>
std::string Encoded(size_t utf8Size, FileEncoding& encoding, Write write) {
  std::string bytes(8 + utf8Size + kSlack, '\0');
  if (encoding == FileEncoding::None || encoding == FileEncoding::Windows1252) {
    if (const char* end = write(bytes.data(), true)) {
      encoding = FileEncoding::Windows1252;
      bytes.resize(static_cast<size_t>(end - bytes.data()));
      return bytes;
    }
  }
  // Utf16 too: read from UTF-16, saved as UTF-8 with the mark.
  if (encoding != FileEncoding::Utf8) encoding = FileEncoding::Utf8Bom;
  const size_t mark = encoding == FileEncoding::Utf8 ? 0 : kMarkSize;
  std::memcpy(bytes.data(), kMark, mark);
  bytes.resize(static_cast<size_t>(write(bytes.data() + mark, false) - bytes.data()));
  return bytes;
}

// Copies the size bytes at from to out, reading and writing none around
// them: a cell's few bytes in one or two moves of a word or less.
inline void CopyCell(char* out, const char* from, size_t size) {
  const auto copy = [out, from, size](auto word) {
    std::memcpy(&word, from, sizeof word);
    std::memcpy(out, &word, sizeof word);
    std::memcpy(&word, from + size - sizeof word, sizeof word);
    std::memcpy(out + size - sizeof word, &word, sizeof word);
  };
  if (size > 16) {
    std::memcpy(out, from, size);
  } else if (size >= 8) {
    copy(uint64_t());
  } else if (size >= 4) {
    copy(uint32_t());
  } else if (size >= 2) {
    copy(uint16_t());
  } else if (size == 1) {
    *out = *from;
  }
}

// Writes the row's first cols cells at out, a TAB between cells, CR LF after
// them; its end. out may be written kSlack bytes past it.
char* WriteRow(const RowBlock& row, size_t cols, char* out) {
  const size_t count = std::min(row.Count(), cols);
  const std::string_view texts = row.Texts();
  size_t start = 0;
  for (size_t k = 0; k < count; ++k) {
    const size_t end = row.End(k);
    if (end - start <= 16 && start + 16 <= texts.size()) {
      std::memcpy(out, texts.data() + start, 16);  // a word, the row's next bytes after the cell
    } else {
      CopyCell(out, texts.data() + start, end - start);
    }
    out += end - start;
    *out++ = '\t';
    start = end;
  }
  std::memset(out, '\t', cols - count);
  out += cols - count;
  out[-1] = '\r';  // for the last TAB
  *out++ = '\n';
  return out;
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
  // The pages of the bytes already cut go back to the system as the cutting
  // goes, so a load needs little more memory than the table it makes.
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  uintptr_t kept = (reinterpret_cast<uintptr_t>(bytes.data()) + page - 1) & ~(page - 1);
  return ParseListText(file.text, file.windows1252, [&kept, page](const char* end) {
    const uintptr_t upTo = reinterpret_cast<uintptr_t>(end) & ~(page - 1);
    if (upTo <= kept) return;
    madvise(reinterpret_cast<void*>(kept), upTo - kept, MADV_DONTNEED);
    kept = upTo;
  });
}

std::string EncodeListFile(std::string text, FileEncoding& encoding) {
  return Encoded(text.size(), encoding, [&text](char* out, bool windows1252) -> char* {
    if (windows1252) return Utf8ToWindows1252(text, out);
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
  });
}

std::string ListFileBytes(const StudyTable& grid, FileEncoding& encoding) {
  const auto cols = static_cast<size_t>(grid.ColCount());
  const int rows = grid.RowCount();
  // A TAB between cells and CR LF after each row.
  size_t size = static_cast<size_t>(rows - StudyTable::FixedRows) * (cols + 1);
  // Blocks lie anywhere once rows have moved: each is asked for a few rows
  // ahead of its reading.
  constexpr int kAhead = 8;
  for (int r = StudyTable::FixedRows; r < rows; ++r) {
    grid.Cells(std::min(r + kAhead, rows - 1)).Prefetch();
    const RowBlock& row = grid.Cells(r);
    const size_t count = std::min(row.Count(), cols);
    if (count > 0) size += row.End(count - 1);
  }
  return Encoded(size, encoding, [&](char* out, bool windows1252) -> char* {
    int r = StudyTable::FixedRows;
    if (!windows1252) {
      for (; r < rows; ++r) {
        grid.Cells(std::min(r + kAhead, rows - 1)).Prefetch();
        out = WriteRow(grid.Cells(r), cols, out);
      }
      return out;
    }
    // A few kilobytes of rows at a time are written in UTF-8 a word further
    // on, then converted to where they belong (as Utf8ToWindows1252 allows).
    constexpr ptrdiff_t kChunk = 4096;
    while (r < rows) {
      char* const ahead = out + 8;
      char* end = ahead;
      for (; r < rows && end - ahead < kChunk; ++r) {
        grid.Cells(std::min(r + kAhead, rows - 1)).Prefetch();
        end = WriteRow(grid.Cells(r), cols, end);
      }
      out = Utf8ToWindows1252(std::string_view(ahead, static_cast<size_t>(end - ahead)), out);
      if (!out) return nullptr;
    }
    return out;
  });
}

}  // namespace tenaxo
