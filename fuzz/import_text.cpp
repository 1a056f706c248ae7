// The text importer: any bytes are read as a text, CSV or Anki file. The list
// it gives (or its refusal, naming the file) is checked, then exported as
// tab-separated text and as KVTML and read again: the same pairs come back,
// and the same counters.
#include <cstdint>

#include "ExportList.h"
#include "ImportCheck.h"
#include "Kvtml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tenaxo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  ImportedList list;
  try {
    list = ParseTextImport(input, QStringLiteral("f"));
  } catch (const Error& e) {
    fuzz::CheckRefusal(e, input);
    return 0;
  }
  fuzz::CheckList(list, input);

  // A cell may still hold what reads as a cloze ("{{c{{c1::1}}::y}}" leaves
  // "{{c1::y}}"): the round trip holds for the others.
  for (const auto& row : list.rows) {
    for (const auto& cell : row) {
      if (cell.find("{{c") != std::string::npos) return 0;
    }
  }
  const StudyTable table = fuzz::TableOf(list);
  const ImportedList text = ParseTextImport(ExportText(table), QStringLiteral("f"));
  FUZZ_CHECK(fuzz::SameRows(text, list) && text.skipped.empty(),
             "exported as text:\n" + fuzz::RowsShown(list) + "read back:\n" + fuzz::RowsShown(text));
  const ImportedList kvtml = ParseKvtml(KvtmlText(table, QStringLiteral("f")), QStringLiteral("f"));
  FUZZ_CHECK(fuzz::SameRows(kvtml, fuzz::AfterKvtml(list)),
             "exported as KVTML:\n" + fuzz::RowsShown(list) + "read back:\n" + fuzz::RowsShown(kvtml));
  return 0;
}
