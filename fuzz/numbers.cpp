// Texts read as numbers: cell_to_int, cell_to_float and text_to_bool hold CellToInt, CellToFloat and TextToBool to
// readers written apart from the program's (README.md lists the checks).
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

#include "FuzzCheck.h"
#include "Numbers.h"
#include "Settings.h"

using namespace tenaxo;

// Spaces, a sign, then decimal digits within 32 bits, or hexadecimal ones after "0x", "0X", "$", "x" or "X" taken
// as 32 bits; anything else is 0.
static int32_t ReferenceInt(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  const size_t prefix = text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X" ? 2
                        : text.substr(0, 1).find_first_of("$xX") == 0          ? 1
                                                                               : 0;
  text.remove_prefix(prefix);
  uint64_t n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n, prefix > 0 ? 16 : 10);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  if (prefix > 0) return n > 0xFFFFFFFFu ? 0 : static_cast<int32_t>(negative ? 0u - uint32_t(n) : uint32_t(n));
  const int64_t value = n > (1ull << 32) ? 0 : negative ? -static_cast<int64_t>(n) : static_cast<int64_t>(n);
  return value < INT32_MIN || value > INT32_MAX ? 0 : static_cast<int32_t>(value);
}

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
  if (kTarget == "cell_to_int") {
    FUZZ_CHECK(CellToInt(input) == ReferenceInt(input), std::to_string(CellToInt(input)));
    return;
  }
  const QByteArray bytes(input.data(), qsizetype(input.size()));
  for (const TextLocale* locale : {&test::French(), &test::English()}) {
    const double expected = ReferenceFloat(input, locale->DecimalSeparator()[0]);  // one byte in both locales
    const bool tiny = std::fabs(expected) < DBL_MIN;                               // then the program may read 0
    if (kTarget == "text_to_bool") {
      const bool state = TextToBool(input, *locale);
      FUZZ_CHECK(state == (expected != 0 || bytes.toLower() == "true") || (tiny && expected != 0), "");
      FUZZ_CHECK(TextToBool(BoolToText(state), *locale) == state, BoolToText(state));
      continue;
    }
    const double value = CellToFloat(input, *locale);
    FUZZ_CHECK(value == expected || (tiny && std::fabs(value) < DBL_MIN), Number(value));
  }
}
