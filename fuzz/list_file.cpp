// SPDX-License-Identifier: GPL-3.0-or-later
// A list file of any bytes: decoded and encoded back, cut into lines and cells, filled into a table and saved, loaded
// and saved again (README.md lists the checks).
#include <QStringDecoder>

#include "FuzzCheck.h"
#include "ListEncoding.h"
#include "ListFormat.h"

using namespace tenaxo;

// Up to a NUL, lines ending at CR LF, CR or LF, cells at TABs; a trailing TAB adds no cell.
static ListLines Reference(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  ListLines lines;
  for (size_t k = 0; k < text.size();) {
    const size_t end = std::min(text.find_first_of("\r\n", k), text.size());
    std::string_view line = text.substr(k, end - k);
    k = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    for (lines.emplace_back(); !line.empty(); line.remove_prefix(std::min(line.find('\t'), line.size() - 1) + 1)) {
      lines.back().emplace_back(line.substr(0, line.find('\t')));
    }
  }
  return lines;
}

void fuzz::OneInput(std::string_view input) {
  // Only a file marked UTF-8 is refused; any other gives UTF-8, encoded back as it was read to the bytes up to a NUL.
  FileEncoding encoding = FileEncoding::None;
  std::string text;
  if (Accepted([&] { text = DecodeListFile(std::string(input), QStringLiteral("f"), encoding); },
               QStringLiteral("Le fichier \"f\" est marqué UTF-8"))) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    FUZZ_CHECK(QString(utf8(QByteArray::fromStdString(text))).toUtf8().toStdString() == text, Shown(text));
    FileEncoding written = encoding;
    FUZZ_CHECK(EncodeListFile(text, written) == input.substr(0, input.find('\0')) && written == encoding &&
                   encoding != FileEncoding::None,
               Shown(text));
  } else {
    FUZZ_CHECK(input.substr(0, 3) == "\xEF\xBB\xBF", "");
  }

  const ListLines lines = ParseListText(input);
  FUZZ_CHECK(lines == Reference(input), "cut otherwise");
  StudyTable first;  // saved, loaded into a table as wide and saved again: the same bytes
  FillTable(first, lines);
  const std::string saved = ListText(first);
  StudyTable second(first.ColCount());  // as wide: a column empty in every row is only trailing TABs
  FillTable(second, ParseListText(saved));
  FUZZ_CHECK(ListText(second) == saved, std::to_string(saved.size()) + " bytes saved");
}
