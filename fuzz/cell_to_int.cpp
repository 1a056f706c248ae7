// CellToInt agrees with a reader written apart from it; IntToStr of any 32-bit number reads back.
#include <charconv>

#include "FuzzCheck.h"
#include "Outils.h"

using namespace tenaxo;

// Spaces, a sign, then decimal digits within 32 bits, or hexadecimal ones after "0x", "0X", "$", "x" or "X" taken
// as 32 bits; anything else is 0.
static int32_t ReferenceInt(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  const size_t prefix = text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X" ? 2
                        : text.substr(0, 1).find_first_of("$xX") == 0        ? 1
                                                                              : 0;
  text.remove_prefix(prefix);
  uint64_t n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n, prefix > 0 ? 16 : 10);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  if (prefix > 0) return n > 0xFFFFFFFFu ? 0 : static_cast<int32_t>(negative ? 0u - uint32_t(n) : uint32_t(n));
  const int64_t value = n > (1ull << 32) ? 0 : negative ? -static_cast<int64_t>(n) : static_cast<int64_t>(n);
  return value < INT32_MIN || value > INT32_MAX ? 0 : static_cast<int32_t>(value);
}

void fuzz::OneInput(std::string_view input) {
  FUZZ_CHECK(CellToInt(input) == ReferenceInt(input), std::to_string(CellToInt(input)));
  int32_t number;
  if (fuzz::Bytes(input, 0, number)) FUZZ_CHECK(CellToInt(IntToStr(number)) == number, IntToStr(number));
}
