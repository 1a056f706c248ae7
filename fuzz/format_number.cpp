// FormatNumber then CellToFloat, under a French and an English locale.
//
// A ratio-sized value (finite and rounding below 1000 in magnitude, so
// written without a thousands separator) with 3 decimals: the text is a
// sign, 1 to 3 digits, the locale's decimal separator and 3 decimals; its
// number q/1000 is the value rounded half away from zero (checked exactly:
// the value times 1000 is exact in the 64-bit mantissa of a long double),
// "-" only when a digit is not 0, and CellToFloat reads it back as q/1000.
//
// Any double with 0 to 18 decimals: never fails, a non-finite value is 0,
// the digits are grouped by threes, and with the groups taken out the text
// reads back within half a unit of its last decimal plus the 15
// significant digits' rounding; a text without a thousands separator reads
// back with CellToFloat as the C library reads it.
#include <QVariant>
#include <cmath>

#include "FuzzCheck.h"
#include "Outils.h"

namespace tenaxo {
namespace {
using fuzz::Number;

// Finite and rounding to less than 1000 at 3 decimals (exact: see above).
bool RatioSized(double value) {
  return std::isfinite(value) && std::fabs(static_cast<long double>(value) * 1000.0L) < 999999.5L;
}

void CheckRatio(double value, const TextLocale& locale) {
  const AnsiString text = FormatNumber(value, 3, locale);
  const std::string about = Number(value) + " gives " + fuzz::Shown(text);
  // Form: -?d{1,3} separator ddd
  size_t k = 0;
  const bool minus = !text.empty() && text[0] == '-';
  if (minus) ++k;
  int64_t q = 0;
  size_t integerDigits = 0;
  while (k < text.size() && text[k] >= '0' && text[k] <= '9') {
    q = q * 10 + (text[k++] - '0');
    ++integerDigits;
  }
  FUZZ_CHECK(integerDigits >= 1 && integerDigits <= 3, about);
  FUZZ_CHECK(integerDigits == 1 || text[minus ? 1 : 0] != '0', about + ": a leading zero");
  const std::string& decimal = locale.DecimalSeparator();
  FUZZ_CHECK(text.compare(k, decimal.size(), decimal) == 0, about + ": no decimal separator");
  k += decimal.size();
  FUZZ_CHECK(text.size() - k == 3, about + ": not 3 decimals");
  for (; k < text.size(); ++k) {
    FUZZ_CHECK(text[k] >= '0' && text[k] <= '9', about);
    q = q * 10 + (text[k] - '0');
  }
  FUZZ_CHECK(!(minus && q == 0), about + ": a minus on zero");
  FUZZ_CHECK(!minus || value < 0, about + ": a minus on a positive value");
  if (minus) q = -q;

  const long double scaled = static_cast<long double>(value) * 1000.0L;  // exact
  const long double distance = std::fabs(scaled - static_cast<long double>(q));
  FUZZ_CHECK(distance <= 0.5L, about + ": not the nearest thousandth");
  if (distance == 0.5L) {
    FUZZ_CHECK(std::fabs(static_cast<long double>(q)) > std::fabs(scaled), about + ": a half not rounded away from zero");
  }

  const double back = CellToFloat(text, locale);
  FUZZ_CHECK(back == static_cast<double>(q) / 1000.0, about + " reads back " + Number(back));
  FUZZ_CHECK(std::fabs(back - value) <= 0.0005 + 1e-12, about + " reads back " + Number(back));
}

void CheckAny(double value, int decimals, const TextLocale& locale) {
  const AnsiString text = FormatNumber(value, decimals, locale);
  const std::string about = Number(value) + " with " + std::to_string(decimals) + " decimals gives " + fuzz::Shown(text);
  FUZZ_CHECK(FormatNumber(QVariant(value), decimals, locale) == text, about + ": the variant formats otherwise");
  if (!std::isfinite(value)) value = 0;

  const size_t point = decimals > 0 ? text.rfind(locale.DecimalSeparator()) : text.size();
  FUZZ_CHECK(point != AnsiString::npos, about + ": no decimal separator");
  FUZZ_CHECK(text.size() - point == (decimals > 0 ? static_cast<size_t>(decimals) + locale.DecimalSeparator().size() : 0),
             about + ": wrong decimals");
  // Integer part: digits grouped by threes from the right.
  std::string plain;
  const size_t first = text[0] == '-' ? 1 : 0;
  size_t run = 0;
  const std::string& group = locale.ThousandsSeparator();
  for (size_t k = point; k > first;) {
    if (k - first >= group.size() && text.compare(k - group.size(), group.size(), group) == 0) {
      k -= group.size();
      FUZZ_CHECK(run == 3 && k > first, about + ": a misplaced group separator");
      run = 0;
    } else {
      --k;
      FUZZ_CHECK(text[k] >= '0' && text[k] <= '9' && run < 3, about + ": not grouped by threes");
      ++run;
      plain.insert(plain.begin(), text[k]);
    }
  }
  FUZZ_CHECK(run >= 1, about + ": no integer digit");
  FUZZ_CHECK(plain.size() == 1 || plain[0] != '0', about + ": a leading zero");
  plain.insert(0, text.substr(0, first));
  if (decimals > 0) {
    plain += '.';
    plain += text.substr(point + locale.DecimalSeparator().size());
  }
  const bool zero = plain.find_first_not_of("-0,.") == std::string::npos;
  FUZZ_CHECK(!(first == 1 && zero), about + ": a minus on zero");

  if (text.find(locale.ThousandsSeparator()) == AnsiString::npos) {
    std::string c = text;
    if (decimals > 0) c.replace(point, locale.DecimalSeparator().size(), ".");
    const double expected = std::strtod(c.c_str(), nullptr);
    FUZZ_CHECK(CellToFloat(text, locale) == expected,
               about + " reads back " + Number(CellToFloat(text, locale)) + ", strtod " + Number(expected));
  }
  // Read back in long double: the 15 digits of a value near the largest
  // double may round beyond it.
  const long double back = std::strtold(plain.c_str(), nullptr);
  const long double tolerance = 0.5L * std::pow(10.0L, -decimals) * (1 + 1e-9L) + std::fabs(value) * 1e-14L;
  FUZZ_CHECK(std::fabs(back - value) <= tolerance, about + " reads back " + Number(static_cast<double>(back)));
}

}  // namespace

void fuzz::OneInput(std::string_view input) {
  double value;
  if (!fuzz::Bytes(input, 0, value)) return;
  const int decimals = input.size() > 8 ? static_cast<unsigned char>(input[8]) % 19 : 3;
  // A ratio in the range the quiz makes: Juste over Demandé.
  int32_t asked = 0, found = 0;
  const bool quiz = fuzz::Bytes(input, 8, asked) && fuzz::Bytes(input, 12, found) && asked != 0;
  const double ratio = quiz ? static_cast<double>(found) / static_cast<double>(asked) : 0;
  for (const TextLocale* locale : fuzz::Locales()) {
    if (RatioSized(value)) CheckRatio(value, *locale);
    if (quiz && RatioSized(ratio)) CheckRatio(ratio, *locale);
    CheckAny(value, decimals, *locale);
  }
}

}  // namespace tenaxo
