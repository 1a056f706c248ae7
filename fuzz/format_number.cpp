// The Ratio column as ComputeRatios writes and ranks it, under a French and an English locale, for rows of Demandé
// and Juste taken from the input (README.md lists the checks).
#include <cmath>
#include <cstring>
#include <map>

#include "FuzzCheck.h"
#include "Ranking.h"

using namespace tenaxo;

// The text's value in thousandths; NAN unless it has three decimals, integer digits grouped by threes without a
// leading 0, and a minus only before a digit other than 0.
static long double Thousandths(const std::string& text, const TextLocale& locale) {
  const std::string &point = locale.DecimalSeparator(), &group = locale.ThousandsSeparator();
  const size_t sign = text.rfind('-', 0) == 0, end = text.rfind(point);
  if (end == std::string::npos || text.size() != end + point.size() + 3) return NAN;
  std::string digits = text.substr(sign, end - sign), grouped;
  for (size_t at; (at = digits.find(group)) != std::string::npos;) digits.erase(at, group.size());
  for (size_t k = 0; k < digits.size(); ++k)
    grouped += (k > 0 && (digits.size() - k) % 3 == 0 ? group : "") + digits[k];
  digits += text.substr(end + point.size());
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  if (text.substr(sign, end - sign) != grouped || grouped.empty() || !fuzz::Digits(digits) ||
      (grouped.size() > 1 && grouped[0] == '0') || (sign && zero)) {
    return NAN;
  }
  return std::strtold(digits.c_str(), nullptr) * (sign ? -1 : 1);
}

void fuzz::OneInput(std::string_view input) {
  const int rows = static_cast<int>(std::min<size_t>(input.size() / 8, 50));
  for (const TextLocale* locale : {&test::French(), &test::English()}) {
    StudyTable table(5, rows + 1);
    std::map<std::string, long double> exact;  // by pair: the double Juste / Demandé times 1000, NAN without one
    for (int r = 0; r < rows; ++r) {
      int32_t counts[2];  // Demandé, Juste
      std::memcpy(counts, input.data() + 8 * r, 8);
      table.SetRowTexts(r + 1, {std::to_string(r), "", std::to_string(counts[0]), std::to_string(counts[1]), "old"});
      const int64_t divisor = counts[0] < 10 ? 2 * int64_t{counts[0]} : counts[0];
      exact[std::to_string(r)] =
          divisor ? static_cast<long double>(static_cast<double>(counts[1]) / divisor) * 1000 : NAN;
    }
    ComputeRatios(table, *locale);
    // Every pair once, its ratio rounded half away from zero; lowest first, the pairs without one as 0.
    long double previous = -INFINITY;
    for (int r = 1; r <= rows; ++r) {
      const std::string &name = table.Cell(ColGauche, r), &text = table.Cell(ColRatio, r);
      const std::string about = "pair " + name + ": " + fuzz::Shown(text);
      FUZZ_CHECK(exact.count(name) == 1, about + " twice");
      const long double expected = exact[name], shown = text.empty() ? 0 : Thousandths(text, *locale);
      const long double off = std::fabs(expected - shown);
      exact.erase(name);
      FUZZ_CHECK(
          std::isnan(expected) ? text.empty() : off < 0.5L || (off == 0.5L && std::fabs(shown) > std::fabs(expected)),
          about);
      FUZZ_CHECK(shown >= previous, about + " after a greater ratio");
      previous = shown;
    }
  }
}
