// The Ratio column as ComputeRatios writes and ranks it, under a French and an English locale, for rows of Demandé
// and Juste taken from the input (README.md lists the checks).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "FuzzCheck.h"
#include "Ranking.h"

using namespace tenaxo;

// The text's value in thousandths, when it has three decimals, integer digits grouped by threes without a leading 0,
// and a minus only before a digit other than 0.
static bool ReadRatio(const std::string& text, const TextLocale& locale, long double& thousandths) {
  const std::string &point = locale.DecimalSeparator(), &group = locale.ThousandsSeparator();
  const size_t sign = text.rfind('-', 0) == 0, end = text.rfind(point);
  if (end == std::string::npos || text.size() != end + point.size() + 3) return false;
  std::string digits = text.substr(sign, end - sign), grouped;
  for (size_t at; (at = digits.find(group)) != std::string::npos;) digits.erase(at, group.size());
  for (size_t k = 0; k < digits.size(); ++k)
    grouped += (k > 0 && (digits.size() - k) % 3 == 0 ? group : "") + digits[k];
  const std::string all = digits + text.substr(end + point.size());
  if (text.substr(sign, end - sign) != grouped || digits.empty() || !fuzz::Digits(all) ||
      (digits.size() > 1 && digits[0] == '0') || (sign && all.find_first_not_of('0') == std::string::npos)) {
    return false;
  }
  thousandths = std::strtold(all.c_str(), nullptr) * (sign ? -1 : 1);
  return true;
}

void fuzz::OneInput(std::string_view input) {
  const size_t rows = std::min<size_t>(input.size() / 8, 50);
  if (rows == 0) return;
  for (const TextLocale* locale : {&test::French(), &test::English()}) {
    StudyTable table(5, static_cast<int>(rows) + 1);
    std::map<std::string, long double> expected;  // pair name: its ratio exactly, NAN when none
    for (size_t r = 0; r < rows; ++r) {
      int32_t asked = 0, found = 0;
      std::memcpy(&asked, input.data() + 8 * r, 4);
      std::memcpy(&found, input.data() + 8 * r + 4, 4);
      const std::string name = std::to_string(r);
      table.SetRowTexts(static_cast<int>(r) + 1, {name, "", std::to_string(asked), std::to_string(found), "old"});
      const int64_t divisor = asked < 10 ? 2 * int64_t{asked} : asked;
      // The double's value times 1000, exact in a long double.
      expected[name] = divisor == 0 ? NAN : static_cast<long double>(static_cast<double>(found) / divisor) * 1000;
    }
    ComputeRatios(table, *locale);
    // Every pair once, with its ratio rounded half away from zero; sorted by it, the pairs without one as 0.
    long double previous = -INFINITY;
    for (size_t r = 1; r <= rows; ++r) {
      const std::string name = table.Cell(ColGauche, static_cast<int>(r)),
                        text = table.Cell(ColRatio, static_cast<int>(r));
      const auto it = expected.find(name);
      FUZZ_CHECK(it != expected.end(), "row " + name + " twice");
      const long double exact = it->second;
      expected.erase(it);
      long double shown = 0;
      const std::string about = "row " + name + ": " + fuzz::Shown(text);
      if (std::isnan(exact)) {
        FUZZ_CHECK(text.empty(), about);
      } else {
        FUZZ_CHECK(ReadRatio(text, *locale, shown), about);
        const long double off = std::fabs(exact - shown);
        FUZZ_CHECK(off < 0.5L || (off == 0.5L && std::fabs(shown) > std::fabs(exact)), about);
      }
      FUZZ_CHECK(shown >= previous, about + " after a greater ratio");
      previous = shown;
    }
  }
}
