// Texts read as numbers, under a French and an English locale, held to a reader written apart from the program's.
// cell_to_float: CellToFloat reads that number, and FormatNumber of the text as a variant (bytes or string) formats
// it. text_to_bool: TextToBool is true for a number other than 0 or "True" in any letter case, and the state reads
// back from the text BoolToText stores it as.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "FuzzCheck.h"
#include "Outils.h"
#include "Settings.h"

using namespace tenaxo;

// Spaces, a sign, digits with at most one decimal separator, an exponent, spaces: strtod reads the same on these
// characters, the separator made a point. Anything else, or an overflow, is 0.
static double ReferenceFloat(std::string_view text, char separator) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  std::string plain(text.substr(0, text.find_last_not_of(' ') + 1));
  if (plain.empty() || plain.find_first_not_of("0123456789+-eE" + std::string(1, separator)) != plain.npos) return 0;
  std::replace(plain.begin(), plain.end(), separator, '.');
  char* end = nullptr;
  const double value = std::strtod(plain.c_str(), &end);
  return end == plain.c_str() + plain.size() && std::isfinite(value) ? value : 0;
}

void fuzz::OneInput(std::string_view input) {
  const QByteArray bytes(input.data(), qsizetype(input.size()));
  for (const TextLocale* locale : {&test::French(), &test::English()}) {
    const double expected = ReferenceFloat(input, locale->DecimalSeparator()[0]);  // one byte in both locales
    const bool tiny = std::fabs(expected) < DBL_MIN;  // then the program may read 0
    if (fuzz::kTarget == "text_to_bool") {
      const bool state = TextToBool(input, *locale);
      FUZZ_CHECK(state == (expected != 0 || bytes.toLower() == "true") || (tiny && expected != 0), "");
      FUZZ_CHECK(TextToBool(BoolToText(state), *locale) == state, BoolToText(state));
      continue;
    }
    const double value = CellToFloat(input, *locale);
    FUZZ_CHECK(value == expected || (tiny && std::fabs(value) < DBL_MIN), Number(value));
    for (const QVariant& text : {QVariant(bytes), QVariant(AnsiToQString(input))}) {
      FUZZ_CHECK(FormatNumber(text, 3, *locale) == FormatNumber(value, 3, *locale), FormatNumber(text, 3, *locale));
    }
  }
}
