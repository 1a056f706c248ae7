// CellToInt on any text: never fails, and agrees with a reader written apart
// from it: leading spaces, a sign, then decimal digits within 32 bits, or
// hexadecimal digits after "$", "x", "X" or "0x" taken as 32 bits; anything
// else is 0. Every 32-bit number written by IntToStr also reads back.
#include <charconv>

#include "FuzzCheck.h"
#include "Outils.h"

namespace tenaxo {
namespace {

bool AllOf(std::string_view text, int base) {
  for (char c : text) {
    const bool decimal = c >= '0' && c <= '9';
    const bool hex = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!(decimal || (base == 16 && hex))) return false;
  }
  return !text.empty();
}

int32_t ReferenceInt(std::string_view text) {
  const size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return 0;
  text.remove_prefix(start);
  bool negative = false;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X") {
    base = 16;
    text.remove_prefix(2);
  } else if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X')) {
    base = 16;
    text.remove_prefix(1);
  }
  if (!AllOf(text, base)) return 0;
  uint64_t magnitude = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return 0;
  if (base == 16) {
    if (magnitude > 0xFFFFFFFFu) return 0;
    const uint32_t bits = static_cast<uint32_t>(magnitude);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
  }
  const int64_t value = negative ? -static_cast<int64_t>(std::min<uint64_t>(magnitude, 1ull << 40))
                                 : static_cast<int64_t>(std::min<uint64_t>(magnitude, 1ull << 40));
  if (value < INT32_MIN || value > INT32_MAX) return 0;
  return static_cast<int32_t>(value);
}

}  // namespace

void fuzz::OneInput(std::string_view input) {
  const int32_t value = CellToInt(input);
  const int32_t expected = ReferenceInt(input);
  FUZZ_CHECK(value == expected, fuzz::Shown(input) + " reads " + std::to_string(value) + ", expected " +
                                    std::to_string(expected));
  int32_t number;
  if (fuzz::Bytes(input, 0, number)) {
    const AnsiString written = IntToStr(number);
    FUZZ_CHECK(CellToInt(written) == number, written + " reads " + std::to_string(CellToInt(written)));
  }
}

}  // namespace tenaxo
