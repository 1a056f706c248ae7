// SPDX-License-Identifier: GPL-3.0-or-later
// The importers on any bytes: import_text as text, CSV or Anki, import_kvtml as KVTML (checks: README.md).
#include <algorithm>

#include "CellText.h"
#include "ExportList.h"
#include "FuzzCheck.h"
#include "KvtmlReader.h"
#include "KvtmlWriter.h"
#include "Numbers.h"
#include "TextImport.h"
#include "Utf8.h"

using namespace tenaxo;

// The rows read: at least one, or none when the file was refused with a message naming it.
static ImportedList Read(ImportedList (*reader)(std::string_view, const QString&), std::string_view bytes) {
  ImportedList list;
  const bool read =
      fuzz::Accepted([&] { list = reader(bytes, QStringLiteral("f")); }, QStringLiteral("Le fichier \"f\" "));
  FUZZ_CHECK(!read || !list.rows.empty(), "no pair, yet not refused");
  return list;
}

static bool Digits(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

void fuzz::OneInput(std::string_view input) {
  const bool kvtml = kTarget == "import_kvtml";
  ImportedList list = Read(kvtml ? ParseKvtml : ParseTextImport, input);
  if (list.rows.empty()) return;
  // Rows that a list file can hold, skipped lines in file order.
  size_t width = 5;
  for (const auto& row : list.rows) {
    width = std::max(width, row.size());
    FUZZ_CHECK(row.size() >= 5 && row.size() <= size_t(kMaxImportColumns) && (row.size() == 5 || !row.back().empty()) &&
                   Digits(row[ColDemande]) && Digits(row[ColJuste]) && row[ColRatio].empty() &&
                   (!IsBlank(row[ColGauche]) || !IsBlank(row[ColDroite])),
               std::to_string(row.size()) + " cells");
    for (const auto& cell : row)
      FUZZ_CHECK(QByteArrayView(cell).isValidUtf8() && cell.find_first_of(std::string_view("\t\r\n\0", 4)) == cell.npos,
                 Shown(cell));
  }
  const auto before = [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; };
  FUZZ_CHECK(std::is_sorted(list.skipped.begin(), list.skipped.end(), before), "skipped lines out of order");

  StudyTable table(int(width), list.Pairs() + 1);
  for (int r = 0; r < list.Pairs(); ++r) table.SetRowTexts(r + 1, list.rows[size_t(r)]);
  // Exported as text, the rows come back, but what reads as a cloze again ("{{c{{c1::1}}::y}}" leaves "{{c1::y}}").
  const std::string exported = ExportText(table);
  const ImportedList text = Read(ParseTextImport, exported);
  FUZZ_CHECK((text.rows == list.rows || exported.find("{{c") != std::string::npos) && text.skipped.empty(), exported);
  // As KVTML, the counters only where asked, Juste at most Demandé; U+FFFE and U+FFFF (not XML) as U+FFFD.
  const std::string written = KvtmlText(table, QStringLiteral("f"));
  for (auto& row : list.rows) {
    for (auto& cell : row)
      cell = ToUtf8(ToQString(cell).replace(QChar(0xFFFE), QChar(0xFFFD)).replace(QChar(0xFFFF), QChar(0xFFFD)));
    const int asked = CellToInt(row[ColDemande]);
    row[ColDemande] = asked > 0 ? std::to_string(asked) : "";
    row[ColJuste] = asked > 0 ? std::to_string(std::min(asked, CellToInt(row[ColJuste]))) : "";
  }
  FUZZ_CHECK(Read(ParseKvtml, written).rows == list.rows, written);
}
