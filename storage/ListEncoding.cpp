// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListEncoding.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QByteArrayView>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "BackgroundSink.h"
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

// The encoding of a list written in UTF-8 (what a list of that encoding
// becomes when it cannot be, or is not, written in Windows-1252): Utf16 too is
// saved as UTF-8 with the mark.
FileEncoding Utf8Written(FileEncoding encoding) {
  return encoding == FileEncoding::Utf8 ? FileEncoding::Utf8 : FileEncoding::Utf8Bom;
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
// them; its end. out may be written kSlack bytes past it. A cell of 16 bytes
// or fewer goes as one word of 16 bytes, and the next cell's write covers what
// it wrote past the cell; the last 16 bytes of the texts are read from a copy,
// so no word is read past their end.
char* WriteRow(const RowBlock& row, size_t cols, char* out) {
  constexpr size_t kWord = 16;
  const size_t count = std::min(row.Count(), cols);
  const std::string_view texts = row.Texts();
  const size_t size = texts.size(), tailStart = size > kWord ? size - kWord : 0;
  char tail[2 * kWord] = {};
  CopyCell(tail, texts.data() + tailStart, size - tailStart);
  size_t start = 0;
  for (size_t k = 0; k < count; ++k) {
    const size_t end = row.End(k);
    if (end - start <= kWord) {
      const char* const from = start + kWord <= size ? texts.data() + start : tail + (start - tailStart);
      std::memcpy(out, from, kWord);
    } else {
      std::memcpy(out, texts.data() + start, end - start);
    }
    out += end - start;
    *out++ = '\t';
    start = end;
  }
  const size_t missing = cols - count;
  if (missing <= 8) {
    std::memcpy(out, "\t\t\t\t\t\t\t\t", 8);
  } else {
    std::memset(out, '\t', missing);
  }
  out += missing;
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
  if (encoding == FileEncoding::None || encoding == FileEncoding::Windows1252) {
    std::string bytes(text.size(), '\0');
    if (const char* end = Utf8ToWindows1252(text, bytes.data())) {
      encoding = FileEncoding::Windows1252;
      bytes.resize(static_cast<size_t>(end - bytes.data()));
      return bytes;
    }
  }
  encoding = Utf8Written(encoding);
  if (encoding == FileEncoding::Utf8Bom) text.insert(0, kMark, kMarkSize);
  return text;
}

namespace {

// The list's rows in UTF-8 after the buffer's first `used` bytes, handed to
// the sink in pieces of kPiece bytes or a little more, each built while it
// stays in the processor's cache, whole rows only.
constexpr size_t kPiece = 1 << 16;
void WriteRows(const StudyTable& grid, std::string& buffer, size_t used, ByteSink& sink) {
  // Blocks lie anywhere once rows have moved: each is asked for a few rows
  // ahead of its reading.
  constexpr int kAhead = 8;
  const auto cols = static_cast<size_t>(grid.ColCount());
  const int rows = grid.RowCount();
  for (int r = StudyTable::FixedRows; r < rows; ++r) {
    grid.Cells(std::min(r + kAhead, rows - 1)).Prefetch();
    const RowBlock& row = grid.Cells(r);
    const size_t count = std::min(row.Count(), cols);
    // A TAB between cells and CR LF after the row.
    const size_t room = used + (count > 0 ? row.End(count - 1) : 0) + cols + 1 + kSlack;
    if (room > buffer.size()) buffer.resize(std::max(room, kPiece + kPiece / 4));
    used = static_cast<size_t>(WriteRow(row, cols, buffer.data() + used) - buffer.data());
    if (used >= kPiece) {
      sink.Hand(buffer, used);
      used = 0;
    }
  }
  if (used > 0) sink.Append(std::string_view(buffer.data(), used));
}

// Passes pieces of whole lines of UTF-8 on in Windows-1252, or throws
// NotInCodePage when the code page lacks one of their characters.
struct NotInCodePage {};
class Windows1252Sink : public ByteSink {
 public:
  explicit Windows1252Sink(ByteSink& to) : to_(to) {}
  void Append(std::string_view utf8) override {
    if (bytes_.size() < utf8.size()) bytes_.resize(utf8.size());
    const char* const end = Utf8ToWindows1252(utf8, bytes_.data());
    if (!end) throw NotInCodePage();
    to_.Append(std::string_view(bytes_.data(), static_cast<size_t>(end - bytes_.data())));
  }
  void Restart() override { to_.Restart(); }

 private:
  ByteSink& to_;
  std::string bytes_;
};

// The whole file in one string.
class StringSink : public ByteSink {
 public:
  void Append(std::string_view bytes) override { text.append(bytes); }
  void Restart() override { text.clear(); }
  std::string text;
};

}  // namespace

void WriteListBytes(const StudyTable& grid, FileEncoding& encoding, ByteSink& sink) {
  // The rows are made on this thread while the sink takes the last piece on
  // another, and a Windows-1252 list is converted there.
  std::string buffer;
  if (encoding == FileEncoding::None || encoding == FileEncoding::Windows1252) {
    try {
      Windows1252Sink windows1252(sink);
      BackgroundSink background(windows1252);
      WriteRows(grid, buffer, 0, background);
      background.Finish();
      encoding = FileEncoding::Windows1252;
      return;
    } catch (const NotInCodePage&) {
      sink.Restart();
    }
  }
  encoding = Utf8Written(encoding);
  const size_t mark = encoding == FileEncoding::Utf8 ? 0 : kMarkSize;
  buffer.resize(std::max(buffer.size(), mark));
  std::memcpy(buffer.data(), kMark, mark);
  BackgroundSink background(sink);
  WriteRows(grid, buffer, mark, background);
  background.Finish();
}

std::string ListFileBytes(const StudyTable& grid, FileEncoding& encoding) {
  StringSink sink;
  WriteListBytes(grid, encoding, sink);
  return std::move(sink.text);
}

}  // namespace tenaxo
