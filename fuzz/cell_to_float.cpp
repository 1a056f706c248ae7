// CellToFloat on any text, under a French and an English locale: never
// fails, and agrees with a reader written apart from it (the form checked
// by hand, the value by the C library's strtod): leading spaces, a sign,
// digits with at most one locale decimal separator, an exponent, trailing
// spaces; anything else, or an overflow, is 0. A value too small for a
// normal double may read as 0.
//
// FormatNumber of the same text as a variant (bytes or a string) formats
// the number CellToFloat reads, 0 for anything else.
#include <QByteArray>
#include <QVariant>
#include <cerrno>
#include <cfloat>
#include <cmath>

#include "FuzzCheck.h"
#include "Outils.h"

namespace tenaxo {
namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

// The text in the C locale's form, or false when it is not a number.
bool ReferenceForm(std::string_view text, char separator, std::string& plain) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return false;
  size_t end = text.find_last_not_of(' ') + 1;
  text = text.substr(i, end - i);
  plain.clear();
  size_t k = 0;
  if (text[k] == '+' || text[k] == '-') plain += text[k++];
  int digits = 0, separators = 0;
  for (; k < text.size() && (Digit(text[k]) || text[k] == separator); ++k) {
    if (text[k] == separator) {
      if (++separators > 1) return false;
      plain += '.';
    } else {
      ++digits;
      plain += text[k];
    }
  }
  if (digits == 0) return false;
  if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
    plain += text[k++];
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) plain += text[k++];
    int exponent = 0;
    for (; k < text.size() && Digit(text[k]); ++k, ++exponent) plain += text[k];
    if (exponent == 0) return false;
  }
  return k == text.size();
}

double ReferenceFloat(std::string_view text, char separator) {
  std::string plain;
  if (!ReferenceForm(text, separator, plain)) return 0;
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(plain.c_str(), &end);
  if (end != plain.c_str() + plain.size()) return 0;
  if (std::isinf(value)) return 0;  // overflow
  return value;
}

void Check(std::string_view text, const TextLocale& locale) {
  const double value = CellToFloat(text, locale);
  // The pinned locales write their decimal separator with one byte.
  const double expected = ReferenceFloat(text, locale.DecimalSeparator()[0]);
  const bool same = value == expected || (std::fabs(value) < DBL_MIN && std::fabs(expected) < DBL_MIN);
  FUZZ_CHECK(same && !std::isnan(value), fuzz::Shown(text) + " reads " + fuzz::Number(value) + ", expected " +
                                             fuzz::Number(expected) + " (separator " + locale.DecimalSeparator() + ")");

  const AnsiString formatted = FormatNumber(value, 3, locale);
  const AnsiString fromBytes = FormatNumber(QVariant(QByteArray(text.data(), static_cast<qsizetype>(text.size()))), 3, locale);
  FUZZ_CHECK(fromBytes == formatted, fuzz::Shown(text) + " as bytes formats " + fromBytes + ", as a number " + formatted);
  const AnsiString fromString = FormatNumber(QVariant(AnsiToQString(text)), 3, locale);
  FUZZ_CHECK(fromString == formatted, fuzz::Shown(text) + " as a string formats " + fromString + ", as a number " + formatted);
}

}  // namespace

void fuzz::OneInput(std::string_view input) {
  for (const TextLocale* locale : fuzz::Locales()) Check(input, *locale);
}

}  // namespace tenaxo
