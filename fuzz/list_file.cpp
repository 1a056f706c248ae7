// The list file reader: any bytes are read as a list file into a fresh study
// list, the list is saved and read again, and the second list must equal the
// first.
//
// "Equal" is cell for cell, with missing cells read as empty: a column that
// is empty in every row is written as trailing TABs only, which add no cell,
// so the second list may be narrower than the first, but never wider, and
// every text and every row must be there. The file is also held against a
// line cutter written apart from the program's (lines at CR LF, CR or LF, a
// NUL ends the text, cells at TABs, one trailing TAB adds nothing).
//
// The same bytes are also decoded as a list file is (UTF-8 with or without
// the mark, or Windows-1252): the text must be UTF-8, and encoding it back in
// the encoding found must give the bytes up to the first NUL; only a file
// with the mark may be refused.
#include <QStringDecoder>
#include <vector>

#include "Errors.h"
#include "FuzzCheck.h"
#include "ListEncoding.h"
#include "ListFiles.h"

namespace tenaxo {
namespace {

std::vector<std::vector<std::string>> ReferenceLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> raw;
  std::string line;
  bool open = false;  // a line has begun since the last end
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      raw.push_back(line);
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
      open = true;
    }
  }
  if (open) raw.push_back(line);

  std::vector<std::vector<std::string>> lines;
  for (const std::string& l : raw) {
    std::vector<std::string> cells;
    if (!l.empty()) {
      std::string cell;
      for (char c : l) {
        if (c == '\t') {
          cells.push_back(cell);
          cell.clear();
        } else {
          cell += c;
        }
      }
      if (l.back() != '\t') cells.push_back(cell);
    }
    lines.push_back(cells);
  }
  return lines;
}

std::string Where(int col, int row, const std::string& a, const std::string& b) {
  return "column " + std::to_string(col) + ", row " + std::to_string(row) + ": " + fuzz::Shown(a) +
         " against " + fuzz::Shown(b);
}

// Both lists, cell for cell, a missing cell being empty.
void ExpectSameCells(const StudyTable& first, const StudyTable& second, std::string_view input) {
  FUZZ_CHECK(first.RowCount() == second.RowCount(),
             std::to_string(first.RowCount()) + " rows, then " + std::to_string(second.RowCount()) +
                 fuzz::Input(input));
  FUZZ_CHECK(second.ColCount() <= first.ColCount(),
             std::to_string(first.ColCount()) + " columns, then " + std::to_string(second.ColCount()));
  for (int r = StudyTable::FixedRows; r < first.RowCount(); ++r) {
    for (int c = 0; c < first.ColCount(); ++c) {
      FUZZ_CHECK(first.Cell(c, r) == second.Cell(c, r),
                 Where(c, r, first.Cell(c, r), second.Cell(c, r)) + fuzz::Input(input));
    }
  }
}

}  // namespace

void fuzz::OneInput(std::string_view input) {
  static const QString path = fuzz::FilePath(QStringLiteral("Fuzz.tnx"));
  // The encodings: decoded, then encoded back byte for byte.
  const std::string_view text = input.substr(0, input.find('\0'));
  FileEncoding encoding = FileEncoding::None;
  std::string decoded;
  bool refused = false;
  try {
    decoded = DecodeListFile(std::string(input), path, encoding);
  } catch (const Error&) {
    refused = true;
  }
  if (refused) {
    FUZZ_CHECK(text.substr(0, 3) == "\xEF\xBB\xBF", "refused without the mark" + fuzz::Input(input));
  } else {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString unicode = utf8.decode(QByteArrayView(decoded.data(), static_cast<qsizetype>(decoded.size())));
    FUZZ_CHECK(!utf8.hasError() && unicode.toUtf8().toStdString() == decoded,
               "decoded to bytes that are not UTF-8" + fuzz::Input(input));
    FUZZ_CHECK(encoding != FileEncoding::None, "no encoding found" + fuzz::Input(input));
    FileEncoding written = encoding;
    FUZZ_CHECK(EncodeListFile(decoded, written) == text && written == encoding,
               "encoded back otherwise" + fuzz::Input(input));
  }

  // The file as read.
  const ListLines lines = ParseListText(input);
  const auto reference = ReferenceLines(input);
  FUZZ_CHECK(lines.size() == reference.size(), std::to_string(lines.size()) + " lines, the reference finds " +
                                                   std::to_string(reference.size()) + fuzz::Input(input));
  for (size_t l = 0; l < lines.size(); ++l) {
    FUZZ_CHECK(lines[l] == reference[l], "line " + std::to_string(l) + " cut differently" + fuzz::Input(input));
  }

  // The table it fills: every line a row, every cell in place, the table as
  // wide as the widest line and never narrower than the window made it.
  StudyTable first;
  const int startCols = first.ColCount();
  FillTable(first, lines);
  const size_t rows = std::max<size_t>(lines.size(), 1);
  FUZZ_CHECK(static_cast<size_t>(first.DataRowCount()) == rows,
             std::to_string(first.DataRowCount()) + " data rows for " + std::to_string(lines.size()) + " lines");
  size_t widest = static_cast<size_t>(startCols);
  for (const auto& line : lines) widest = std::max(widest, line.size());
  FUZZ_CHECK(static_cast<size_t>(first.ColCount()) == widest,
             std::to_string(first.ColCount()) + " columns for lines up to " + std::to_string(widest));
  for (size_t l = 0; l < lines.size(); ++l) {
    const int r = static_cast<int>(l) + StudyTable::FixedRows;
    for (int c = 0; c < first.ColCount(); ++c) {
      const std::string expected = static_cast<size_t>(c) < lines[l].size() ? lines[l][static_cast<size_t>(c)] : "";
      FUZZ_CHECK(first.Cell(c, r) == expected, Where(c, r, first.Cell(c, r), expected));
    }
  }

  // Saved and read again through the file routines.
  const AnsiString saved = ListText(first);
  WriteListFile(path, saved);
  const AnsiString read = ReadListFile(path);
  FUZZ_CHECK(read == saved, "the file holds " + std::to_string(read.size()) + " bytes of " +
                                std::to_string(saved.size()) + " written");

  StudyTable second;
  FillTable(second, ParseListText(read));
  ExpectSameCells(first, second, input);

  // Saved once more at the first list's width, the bytes do not move.
  second.SetColCount(first.ColCount());
  FUZZ_CHECK(ListText(second) == saved, "the second save differs" + fuzz::Input(input));
}

}  // namespace tenaxo
