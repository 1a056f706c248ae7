// The KVTML importer: any bytes are read as a KVTML file, by the program's
// reader (its own scanner for plain documents, QXmlStreamReader for the rest)
// and by QXmlStreamReader alone; both must give the same list or the same
// refusal. The list is checked, exported as KVTML and read again.
#include "ImportCheck.h"
#include "Kvtml.h"

namespace tenaxo {
namespace {

using Reader = ImportedList (*)(std::string_view, const QString&);

std::string Outcome(std::string_view input, Reader read, ImportedList& list) {
  try {
    list = read(input, QStringLiteral("f"));
  } catch (const Error& e) {
    fuzz::CheckRefusal(e, input);
    return e.Message().toStdString();
  }
  return fuzz::RowsShown(list);
}

}  // namespace

void fuzz::OneInput(std::string_view input) {
  ImportedList list, reference;
  const std::string outcome = Outcome(input, ParseKvtml, list);
  const std::string expected = Outcome(input, ParseKvtmlWithQt, reference);
  FUZZ_CHECK(outcome == expected, "read:\n" + outcome + "\nQXmlStreamReader reads:\n" + expected + "\ninput " +
                                      fuzz::Shown(input));
  if (list.rows.empty()) return;
  fuzz::CheckList(list, input);

  const ImportedList again = ParseKvtml(KvtmlText(fuzz::TableOf(list), QStringLiteral("f")), QStringLiteral("f"));
  FUZZ_CHECK(fuzz::SameRows(again, fuzz::AfterKvtml(list)),
             "exported as KVTML:\n" + fuzz::RowsShown(list) + "read back:\n" + fuzz::RowsShown(again));
}

}  // namespace tenaxo
