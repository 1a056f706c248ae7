#include "Numbers.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace tenaxo {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

int32_t CellToInt(std::string_view text) {
  if (text.empty()) return 0;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return 0;  // no digit
  uint64_t value = 0;
  if (hex) {
    // Hexadecimal takes the 32 bits as they stand: $FFFFFFFF is -1.
    for (; i < text.size(); ++i) {
      const int digit = HexValue(text[i]);
      if (digit < 0) return 0;
      value = value * 16 + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFull) return 0;
    }
    const auto bits = static_cast<uint32_t>(value);
    const int64_t signedValue = static_cast<int32_t>(bits);
    return static_cast<int32_t>(negative ? -signedValue : signedValue);
  }
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return 0;
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    if (value > 2147483648ull) return 0;
  }
  if (negative) return static_cast<int32_t>(-static_cast<int64_t>(value));
  if (value > 2147483647ull) return 0;
  return static_cast<int32_t>(value);
}

bool ReadFloat(std::string_view text, std::string_view decimalSeparator, double& value) {
  value = 0;
  if (text.empty()) return true;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string plain;  // the number in the form from_chars reads
  plain.reserve(n);
  bool digits = false;
  bool separator = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      plain += c;
      digits = true;
    } else if (!separator && !decimalSeparator.empty() && text.substr(i, decimalSeparator.size()) == decimalSeparator) {
      plain += '.';
      separator = true;
      i += decimalSeparator.size() - 1;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    bool exponentDigits = false;
    while (i < n && IsDigit(text[i])) {
      plain += text[i++];
      exponentDigits = true;
    }
    if (!exponentDigits) return false;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return false;
  double parsed = 0;
  const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small to hold reads as 0; too large to hold is no number.
    const bool tiny = plain.find("e-") != std::string::npos;
    if (!tiny) return false;
    parsed = 0;
  } else if (result.ec != std::errc() || result.ptr != plain.data() + plain.size() || !std::isfinite(parsed)) {
    return false;
  }
  value = negative ? -parsed : parsed;
  return true;
}

double CellToFloat(std::string_view text, const TextLocale& locale) {
  double value = 0;
  return ReadFloat(text, locale.DecimalSeparator(), value) ? value : 0.0;
}

}  // namespace tenaxo
