// SPDX-License-Identifier: GPL-3.0-or-later
// The importers on any bytes: import_text reads them as a text, CSV or Anki file, import_kvtml as KVTML
// (README.md lists the checks).
#include <algorithm>

#include "CellText.h"
#include "Errors.h"
#include "ExportList.h"
#include "FuzzCheck.h"
#include "KvtmlReader.h"
#include "KvtmlWriter.h"
#include "Numbers.h"
#include "TextImport.h"
#include "Utf8.h"

using namespace tenaxo;
constexpr bool kKvtml = fuzz::kTarget == "import_kvtml";

// The refusal's message (which must name the file), or the number of rows.
static std::string Read(ImportedList (*reader)(std::string_view, const QString&), std::string_view bytes,
                        ImportedList& list) {
  try {
    list = reader(bytes, QStringLiteral("f"));
  } catch (const Error& e) {
    FUZZ_CHECK(e.Message().startsWith(QStringLiteral("Le fichier \"f\" ")), e.Message().toStdString());
    return e.Message().toStdString();
  }
  return std::to_string(list.rows.size()) + " rows";
}

void fuzz::OneInput(std::string_view input) {
  ImportedList list, text, kvtml;
  const std::string outcome = Read(kKvtml ? ParseKvtml : ParseTextImport, input, list);
  FUZZ_CHECK(!list.rows.empty() || kKvtml || outcome.rfind("Le fichier", 0) == 0, outcome);  // no text without pairs
  if (list.rows.empty()) return;  // refused, or every KVTML entry skipped
  // Rows that a list file can hold, skipped lines in file order.
  size_t width = 5;
  for (const auto& row : list.rows) {
    width = std::max(width, row.size());
    FUZZ_CHECK(row.size() >= 5 && row.size() <= size_t(kMaxImportColumns) && (row.size() == 5 || !row.back().empty()) &&
                   Digits(row[ColDemande]) && Digits(row[ColJuste]) && row[ColRatio].empty() &&
                   (!IsBlank(row[ColGauche]) || !IsBlank(row[ColDroite])),
               outcome);
    for (const auto& cell : row) {
      FUZZ_CHECK(QByteArrayView(cell).isValidUtf8() && cell.find_first_of(std::string_view("\t\r\n\0", 4)) == cell.npos,
                 fuzz::Shown(cell));
    }
  }
  const auto before = [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; };
  FUZZ_CHECK(std::is_sorted(list.skipped.begin(), list.skipped.end(), before), outcome);

  StudyTable table(int(width), list.Pairs() + 1);
  for (int r = 0; r < list.Pairs(); ++r) table.SetRowTexts(r + 1, list.rows[size_t(r)]);
  // Exported as text, the rows come back, but what reads as a cloze again ("{{c{{c1::1}}::y}}" leaves "{{c1::y}}").
  const std::string exported = ExportText(table), again = Read(ParseTextImport, exported, text);
  FUZZ_CHECK((text.rows == list.rows || exported.find("{{c") != std::string::npos) && text.skipped.empty(), again);
  // As KVTML, the counters only where asked, Juste at most Demandé; U+FFFE and U+FFFF (not XML) as U+FFFD.
  const std::string kvtmlAgain = Read(ParseKvtml, KvtmlText(table, QStringLiteral("f")), kvtml);
  for (auto& row : list.rows) {
    for (auto& cell : row) {
      cell = ToUtf8(ToQString(cell).replace(QChar(0xFFFE), QChar(0xFFFD)).replace(QChar(0xFFFF), QChar(0xFFFD)));
    }
    const int asked = CellToInt(row[ColDemande]);
    row[ColDemande] = asked > 0 ? std::to_string(asked) : "";
    row[ColJuste] = asked > 0 ? std::to_string(std::min(asked, CellToInt(row[ColJuste]))) : "";
  }
  FUZZ_CHECK(kvtml.rows == list.rows, kvtmlAgain);
}
