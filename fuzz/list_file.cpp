// SPDX-License-Identifier: GPL-3.0-or-later
// A list file of any bytes: decoded, encoded back, cut into cells, saved, loaded and saved again (checks: README.md).
#include <QStringDecoder>

#include "FuzzCheck.h"
#include "ListEncoding.h"
#include "ListFormat.h"

using namespace tenaxo;

// Up to a NUL, lines ending at CR LF, CR or LF, cells at TABs; a trailing TAB adds no cell.
static std::vector<StudyTable::Row> Reference(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<StudyTable::Row> lines;
  for (size_t k = 0; k < text.size();) {
    const size_t end = std::min(text.find_first_of("\r\n", k), text.size());
    std::string_view line = text.substr(k, end - k);
    k = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    for (lines.emplace_back(); !line.empty(); line.remove_prefix(std::min(line.find('\t'), line.size() - 1) + 1))
      lines.back().emplace_back(line.substr(0, line.find('\t')));
  }
  return lines;
}

void fuzz::OneInput(std::string_view input) {
  // Refused: bad UTF-8 or UTF-16 after its mark, a NUL before text; else encoded back as read, UTF-16 as UTF-8 + mark.
  const std::string_view kept = input.substr(0, input.find_last_not_of('\0') + 1);
  FileEncoding encoding = FileEncoding::None;
  std::string text;
  if (Accepted([&] { text = DecodeListFile(std::string(input), QStringLiteral("f"), encoding); },
               QStringLiteral("Le fichier \"f\" "))) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    FUZZ_CHECK(QString(utf8(QByteArray::fromStdString(text))).toUtf8().toStdString() == text, Shown(text));
    FileEncoding written = encoding;
    const std::string bytes = EncodeListFile(text, written);
    const bool utf16 = encoding == FileEncoding::Utf16;
    FUZZ_CHECK(utf16 ? bytes == "\xEF\xBB\xBF" + text && written == FileEncoding::Utf8Bom
                     : bytes == kept && written == encoding && encoding != FileEncoding::None,
               Shown(text));
  } else {
    const std::string_view mark =
        input.substr(0, input.substr(0, 2) == "\xFF\xFE" || input.substr(0, 2) == "\xFE\xFF" ? 2 : 3);
    FUZZ_CHECK(mark == "\xEF\xBB\xBF" || mark.size() == 2 || kept.find('\0') != kept.npos, "");
  }

  const ListRows lines = ParseListText(input, false);
  const std::vector<StudyTable::Row> reference = Reference(input);
  FUZZ_CHECK(lines.rows.size() == reference.size(), "lines otherwise");
  size_t width = kListColumns;
  for (size_t k = 0; k < reference.size(); ++k) {  // a row keeps no empty cells at its end
    FUZZ_CHECK(lines.rows[k].Count() <= reference[k].size(), "cells otherwise");
    for (size_t c = 0; c < reference[k].size(); ++c)
      FUZZ_CHECK(lines.rows[k].Cell(c) == reference[k][c], "cut otherwise");
    width = std::max(width, reference[k].size());
  }
  FUZZ_CHECK(lines.width == width, "width otherwise");
  StudyTable first;  // saved and read back: the same cells, but for a last column empty in every row
  FillTable(first, lines);
  const std::string saved = ListText(first);
  StudyTable second;
  FillTable(second, ParseListText(saved, false));
  FUZZ_CHECK(second.RowCount() == first.RowCount() && second.ColCount() <= first.ColCount(), "rows or columns");
  for (int row = StudyTable::FixedRows; row < first.RowCount(); ++row) {
    StudyTable::Row cells = second.RowTexts(row);
    cells.resize(first.ColCount());
    FUZZ_CHECK(cells == first.RowTexts(row), std::to_string(saved.size()) + " bytes saved");
  }
}
