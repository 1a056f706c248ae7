// The text importer: any bytes are read as a text, CSV or Anki file. The list
// it gives (or its refusal, naming the file) is checked, then exported as
// tab-separated text and as KVTML and read again: the same pairs come back,
// and the same counters.
#include "ExportList.h"
#include "ImportCheck.h"
#include "Kvtml.h"

void tenaxo::fuzz::OneInput(std::string_view input) {
  ImportedList list;
  try {
    list = ParseTextImport(input, QStringLiteral("f"));
  } catch (const Error& e) {
    CheckRefusal(e, input);
    return;
  }
  CheckList(list, input);

  // A cell may still hold what reads as a cloze ("{{c{{c1::1}}::y}}" leaves
  // "{{c1::y}}"): the round trip holds for the others.
  for (const auto& row : list.rows) {
    for (const auto& cell : row) {
      if (cell.find("{{c") != std::string::npos) return;
    }
  }
  const StudyTable table = TableOf(list);
  const ImportedList text = ParseTextImport(ExportText(table), QStringLiteral("f"));
  FUZZ_CHECK(SameRows(text, list) && text.skipped.empty(),
             "exported as text:\n" + RowsShown(list) + "read back:\n" + RowsShown(text));
  const ImportedList kvtml = ParseKvtml(KvtmlText(table, QStringLiteral("f")), QStringLiteral("f"));
  FUZZ_CHECK(SameRows(kvtml, AfterKvtml(list)),
             "exported as KVTML:\n" + RowsShown(list) + "read back:\n" + RowsShown(kvtml));
}
