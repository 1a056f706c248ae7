// FormatNumber, under a French and an English locale, of a double from the input with 0 to 18 decimals and of a
// ratio Juste / Demandé with 3 (README.md lists the checks).
#include <cmath>
#include <cstring>

#include "FuzzCheck.h"
#include "Numbers.h"

using namespace tenaxo;

static void Check(double value, int decimals, const TextLocale& locale) {
  const std::string text = FormatNumber(value, decimals, locale);
  const std::string about = fuzz::Number(value) + ", " + std::to_string(decimals) + " decimals: " + fuzz::Shown(text);
  value = std::isfinite(value) ? value : 0;
  // The decimals asked, the integer digits grouped by threes without a leading 0, a minus only before a digit other
  // than 0 of a value below 0.
  const std::string &point = locale.DecimalSeparator(), &group = locale.ThousandsSeparator();
  const size_t sign = text[0] == '-', end = decimals > 0 ? text.rfind(point) : text.size();
  FUZZ_CHECK(end != std::string::npos && text.size() - end == (decimals > 0 ? point.size() + decimals : 0), about);
  const std::string fraction = text.substr(decimals > 0 ? end + point.size() : end);
  std::string digits = text.substr(sign, end - sign), grouped;
  for (size_t at; (at = digits.find(group)) != std::string::npos;) digits.erase(at, group.size());
  for (size_t k = 0; k < digits.size(); ++k) {
    grouped += (k > 0 && (digits.size() - k) % 3 == 0 ? group : "") + digits[k];
  }
  FUZZ_CHECK(text.substr(sign, end - sign) == grouped && fuzz::Digits(digits + fraction) && !digits.empty() &&
                 (digits.size() == 1 || digits[0] != '0') &&
                 (!sign || (value < 0 && (digits + fraction).find_first_not_of('0') != std::string::npos)),
             about);
  // The value within half a unit of the last decimal, and the rounding to 15 significant digits.
  const long double scale = std::pow(10.0L, decimals);
  const long double back = std::strtold((text.substr(0, sign) + digits + "." + fraction).c_str(), nullptr);
  FUZZ_CHECK(std::fabs(back - value) <= 0.5L / scale * (1 + 1e-9L) + std::fabs(value) * 1e-14L, about);
  // Exact in a long double up to 4 decimals: below 10^14, rounded half away from zero, and it reads back.
  const long double scaled = value * scale, q = std::strtold((text.substr(0, sign) + digits + fraction).c_str(), 0);
  if (decimals > 4 || std::fabs(scaled) >= 1e14L) return;
  double read = 0;
  FUZZ_CHECK((std::fabs(scaled - q) < 0.5L || (std::fabs(scaled - q) == 0.5L && std::fabs(q) > std::fabs(scaled))) &&
                 ReadGroupedFloat(text, locale, read) && read == double(q) / double(scale),
             about + " reads " + fuzz::Number(read));
}

void fuzz::OneInput(std::string_view input) {
  struct {
    double value;
    int32_t asked, found;  // a ratio Juste / Demandé
  } in{};
  if (input.size() < sizeof in.value) return;
  std::memcpy(&in, input.data(), std::min(input.size(), sizeof in));
  for (const TextLocale* locale : {&test::French(), &test::English()}) {
    Check(in.value, input.size() > 8 ? static_cast<unsigned char>(input[8]) % 19 : 3, *locale);
    if (input.size() >= 16 && in.asked != 0) Check(static_cast<double>(in.found) / in.asked, 3, *locale);
  }
}
