// SPDX-License-Identifier: GPL-3.0-or-later
#include "Numbers.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace tenaxo {

namespace {
std::string_view TrimSpaces(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

// Takes a leading "+" or "-" off the text; true for "-".
bool TakeSign(std::string_view& text) {
  const size_t sign = text.find_first_of("+-");
  if (sign != 0) return false;
  const bool negative = text[0] == '-';
  text.remove_prefix(1);
  return negative;
}
}  // namespace

int32_t CellToInt(std::string_view text) {
  // Up to nine plain digits, as counts are: read straight away.
  if (!text.empty() && text.size() <= 9 &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    int32_t value = 0;
    for (const char c : text) value = value * 10 + (c - '0');
    return value;
  }
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  const bool negative = TakeSign(text);
  int base = 10;
  if (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X") {
    base = 16;
    text.remove_prefix(2);
  } else if (text.find_first_of("$xX") == 0) {
    base = 16;
    text.remove_prefix(1);
  }
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  if (base == 10 && value > (negative ? 0x80000000u : 0x7FFFFFFFu)) return 0;
  return static_cast<int32_t>(negative ? 0u - value : value);
}

bool ReadFloat(std::string_view text, std::string_view decimalSeparator, double& value) {
  text = TrimSpaces(text);
  const bool negative = TakeSign(text);
  // The rest in the form from_chars reads: the separator made a point, no
  // other point, and a digit or the point first (no second sign, no "inf").
  if (decimalSeparator != "." && text.find('.') != std::string_view::npos) return false;
  std::string plain(text);
  const size_t point = plain.find(decimalSeparator);
  if (point != std::string::npos) plain.replace(point, decimalSeparator.size(), ".");
  if (plain.find_first_of("0123456789.") != 0) return false;
  double parsed = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
  if (error != std::errc() || end != plain.data() + plain.size()) return false;
  value = negative ? -parsed : parsed;
  return true;
}

double CellToFloat(std::string_view text, const TextLocale& locale) {
  double value = 0;
  return ReadFloat(text, locale.DecimalSeparator(), value) ? value : 0.0;
}

}  // namespace tenaxo
