// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers read from and written to the cells: cell_to_int, cell_to_float and text_to_bool hold CellToInt,
// CellToFloat and TextToBool to readers written apart from the program's; format_number holds ComputeRatios to Qt's
// own number formatting (README.md lists the checks).
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>

#include "FuzzCheck.h"
#include "Numbers.h"
#include "Ranking.h"
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

// Rows of Demandé and Juste, 32 bits each: every pair's ratio Juste / Demandé (Demandé doubled below 10), as a double
// times 1000 exactly in a long double, rounded half away from zero and written by Qt with three decimals; no ratio
// when Demandé is 0. The rows are sorted by the ratio, those without one as 0.
static void CheckRatios(std::string_view input, const QLocale& qt) {
  const TextLocale locale(qt);
  const int rows = static_cast<int>(std::min<size_t>(input.size() / 8, 50));
  StudyTable table(5, rows + 1);
  std::map<std::string, long double> expected;  // by pair: the ratio in thousandths, NAN without one
  for (int r = 0; r < rows; ++r) {
    int32_t counts[2];
    std::memcpy(counts, input.data() + 8 * r, 8);
    table.SetRowTexts(r + 1, {std::to_string(r), "", std::to_string(counts[0]), std::to_string(counts[1]), "old"});
    const int64_t divisor = counts[0] < 10 ? 2 * int64_t{counts[0]} : counts[0];
    expected[std::to_string(r)] =
        divisor ? std::round(static_cast<long double>(static_cast<double>(counts[1]) / divisor) * 1000) : NAN;
  }
  ComputeRatios(table, locale);
  long double previous = -INFINITY;
  for (int r = 1; r <= rows; ++r) {
    const std::string &name = table.Cell(ColGauche, r), &text = table.Cell(ColRatio, r);
    FUZZ_CHECK(expected.count(name) == 1, "pair " + name + " twice");
    const long double ratio = std::isnan(expected[name]) ? 0 : expected[name];
    const std::string written =
        std::isnan(expected[name]) ? "" : qt.toString(double(ratio) / 1000 + 0.0, 'f', 3).toStdString();
    FUZZ_CHECK(text == written, "pair " + name + ": " + fuzz::Shown(text) + ", not " + fuzz::Shown(written));
    FUZZ_CHECK(ratio >= previous, "pair " + name + " after a greater ratio");
    previous = ratio;
    expected.erase(name);
  }
}

void fuzz::OneInput(std::string_view input) {
  if (kTarget == "cell_to_int") {
    FUZZ_CHECK(CellToInt(input) == ReferenceInt(input), std::to_string(CellToInt(input)));
    return;
  }
  for (const TextLocale* locale : {&test::French(), &test::English()}) {
    const double expected = ReferenceFloat(input, locale->DecimalSeparator()[0]);  // one byte in both locales
    const bool tiny = std::fabs(expected) < DBL_MIN;                               // then the program may read 0
    if (kTarget == "format_number") {
      CheckRatios(input, QLocale(locale == &test::French() ? QLocale::French : QLocale::English));
    } else if (kTarget == "text_to_bool") {
      const bool state = TextToBool(input, *locale);
      const bool isTrue = QByteArray(input.data(), qsizetype(input.size())).toLower() == "true";
      FUZZ_CHECK(state == (expected != 0 || isTrue) || (tiny && expected != 0), "");
      FUZZ_CHECK(TextToBool(BoolToText(state), *locale) == state, BoolToText(state));
    } else {
      const double value = CellToFloat(input, *locale);
      FUZZ_CHECK(value == expected || (tiny && std::fabs(value) < DBL_MIN),
                 QByteArray::number(value, 'g', 17).toStdString());
    }
  }
}
