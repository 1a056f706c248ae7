// TextToBool on any text, under a French and an English locale: never
// fails; the state it gives, stored as "-1" or "0", reads back as the same
// state; "True" in any letter case is true and "False" false; a decimal
// integer (as CellToInt reads it, hexadecimal left out) is true exactly when
// it is not zero.
#include <QByteArray>

#include "FuzzCheck.h"
#include "Outils.h"
#include "Settings.h"

namespace tenaxo {
namespace {

// Spaces, a sign and decimal digits only: CellToInt's value then stands.
bool PlainInteger(std::string_view text) {
  const size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return false;
  text.remove_prefix(start);
  if (text[0] == '+' || text[0] == '-') text.remove_prefix(1);
  return !text.empty() && fuzz::Digits(text);
}

void Check(std::string_view text, const TextLocale& locale) {
  const bool state = TextToBool(text, locale);
  const std::string about = fuzz::Shown(text) + " reads " + (state ? "true" : "false") + " (separator " +
                            locale.DecimalSeparator() + ")";
  FUZZ_CHECK(TextToBool(BoolToText(state), locale) == state, about + ": its stored form reads otherwise");
  const QByteArray lower = QByteArray(text.data(), static_cast<qsizetype>(text.size())).toLower();  // ASCII only
  if (lower == "true") FUZZ_CHECK(state, about);
  if (lower == "false") FUZZ_CHECK(!state, about);
  if (PlainInteger(text) && CellToInt(text) != 0) FUZZ_CHECK(state, about);
  if (PlainInteger(text) && text.find_first_of("123456789") == std::string_view::npos) FUZZ_CHECK(!state, about);
}

}  // namespace

void fuzz::OneInput(std::string_view input) {
  int32_t number;
  const bool hasNumber = fuzz::Bytes(input, 0, number);
  for (const TextLocale* locale : fuzz::Locales()) {
    FUZZ_CHECK(TextToBool("-1", *locale) && !TextToBool("0", *locale), "the stored forms do not read back");
    Check(input, *locale);
    if (hasNumber) {
      FUZZ_CHECK(TextToBool(IntToStr(number), *locale) == (number != 0), IntToStr(number) + " reads otherwise");
    }
  }
}

}  // namespace tenaxo
