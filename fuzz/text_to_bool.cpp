// TextToBool on any text, under a French and an English locale: never
// fails; the state it gives, stored as "-1" or "0", reads back as the same
// state; "True" in any letter case is true and "False" false; a decimal
// integer (as CellToInt reads it, hexadecimal left out) is true exactly when
// it is not zero.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "Outils.h"
#include "Settings.h"

namespace tenaxo {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Spaces, a sign and decimal digits only: CellToInt's value then stands.
bool PlainInteger(std::string_view text) {
  const size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return false;
  text.remove_prefix(start);
  if (text[0] == '+' || text[0] == '-') text.remove_prefix(1);
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

void Check(std::string_view text, const TextLocale& locale) {
  const bool state = TextToBool(text, locale);
  const std::string about = fuzz::Shown(text) + " reads " + (state ? "true" : "false") + " (separator " +
                            locale.DecimalSeparator() + ")";
  FUZZ_CHECK(TextToBool(BoolToText(state), locale) == state, about + ": its stored form reads otherwise");
  const std::string lower = Lower(text);
  if (lower == "true") FUZZ_CHECK(state, about);
  if (lower == "false") FUZZ_CHECK(!state, about);
  if (PlainInteger(text) && CellToInt(text) != 0) FUZZ_CHECK(state, about);
  if (PlainInteger(text) && text.find_first_of("123456789") == std::string_view::npos) FUZZ_CHECK(!state, about);
}

}  // namespace
}  // namespace tenaxo

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace tenaxo;
  for (const TextLocale* locale : {&fuzz::French(), &fuzz::English()}) {
    FUZZ_CHECK(TextToBool("-1", *locale) && !TextToBool("0", *locale), "the stored forms do not read back");
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tenaxo;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(text, fuzz::French());
  Check(text, fuzz::English());
  if (size >= 4) {
    int32_t number;
    std::memcpy(&number, data, 4);
    for (const TextLocale* locale : {&fuzz::French(), &fuzz::English()}) {
      FUZZ_CHECK(TextToBool(IntToStr(number), *locale) == (number != 0), IntToStr(number) + " reads otherwise");
    }
  }
  return 0;
}
