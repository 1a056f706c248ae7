#include "Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

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

bool ReadGroupedFloat(std::string_view text, const TextLocale& locale, double& value) {
  if (ReadFloat(text, locale.DecimalSeparator(), value)) return true;
  std::string plain;
  plain.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t separator = locale.ThousandsSeparatorAt(text, i);
    if (separator > 0) {
      i += separator;
    } else {
      plain += text[i++];
    }
  }
  return ReadFloat(plain, locale.DecimalSeparator(), value);
}

namespace {
__extension__ typedef __int128 Int128;

// Digits of |value| rounded half away from zero at `decimals` decimals, or at
// the 15th significant digit when that comes first: returns the integer part
// and the decimals as digit strings.
void RoundedDigits(double value, int decimals, std::string& integerPart, std::string& fraction) {
  const double magnitude = std::fabs(value);
  static const double kLimits[16] = {1e15, 1e14, 1e13, 1e12, 1e11, 1e10, 1e9, 1e8,
                                     1e7,  1e6,  1e5,  1e4,  1e3,  1e2,  1e1, 1e0};
  if (decimals <= 15 && magnitude < kLimits[decimals]) {
    // At most 15 digits: exact integer arithmetic on the binary value.
    Int128 q = 0;
    if (magnitude > 0) {
      int exponent = 0;
      const double m = std::frexp(magnitude, &exponent);
      const auto mantissa = static_cast<uint64_t>(std::ldexp(m, 53));
      const int shift = 53 - exponent;  // magnitude = mantissa / 2^shift, shift > 0 here
      Int128 scaled = mantissa;
      for (int k = 0; k < decimals; ++k) scaled *= 10;
      if (shift < 127) {
        q = scaled >> shift;
        const Int128 rest = scaled - (q << shift);
        if (rest >= (static_cast<Int128>(1) << (shift - 1))) ++q;
      }
    }
    std::string digits;
    do {
      digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(q % 10)));
      q /= 10;
    } while (q > 0);
    if (digits.size() < static_cast<size_t>(decimals) + 1) {
      digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
    }
    integerPart = digits.substr(0, digits.size() - static_cast<size_t>(decimals));
    fraction = digits.substr(digits.size() - static_cast<size_t>(decimals));
    return;
  }
  // Large values or many decimals: work on the exact decimal expansion.
  std::vector<char> buffer(1500);
  std::snprintf(buffer.data(), buffer.size(), "%.1100f", magnitude);
  std::string expansion(buffer.data());
  const size_t point = expansion.find('.');
  std::string digits = expansion.substr(0, point) + expansion.substr(point + 1);
  const size_t intLength = point;
  const size_t firstSignificant = std::min(digits.find_first_not_of('0'), digits.size());
  const size_t keep = std::min(intLength + static_cast<size_t>(decimals), firstSignificant + 15);
  const bool roundUp = keep < digits.size() && digits[keep] >= '5';
  std::string kept = digits.substr(0, keep);
  if (kept.size() < intLength + static_cast<size_t>(decimals)) {
    kept.append(intLength + static_cast<size_t>(decimals) - kept.size(), '0');
  }
  if (roundUp) {
    size_t k = keep;
    while (k > 0 && kept[k - 1] == '9') kept[--k] = '0';
    if (k > 0) {
      ++kept[k - 1];
    } else {
      kept.insert(kept.begin(), '1');
    }
  }
  const size_t newIntLength = kept.size() - static_cast<size_t>(decimals);
  integerPart = kept.substr(0, newIntLength);
  const size_t firstNonZero = integerPart.find_first_not_of('0');
  integerPart = firstNonZero == std::string::npos ? "0" : integerPart.substr(firstNonZero);
  fraction = kept.substr(newIntLength);
}
}  // namespace

std::string FormatNumber(double value, int decimals, const TextLocale& locale) {
  if (!std::isfinite(value)) value = 0;
  decimals = std::clamp(decimals, 0, 18);
  std::string integerPart;
  std::string fraction;
  RoundedDigits(value, decimals, integerPart, fraction);
  const bool allZero =
      integerPart.find_first_not_of('0') == std::string::npos && fraction.find_first_not_of('0') == std::string::npos;
  std::string text;
  text.reserve(integerPart.size() * 2 + fraction.size() + 2);
  if (value < 0 && !allZero) text += '-';
  for (size_t k = 0; k < integerPart.size(); ++k) {
    if (k > 0 && (integerPart.size() - k) % 3 == 0) text += locale.ThousandsSeparator();
    text += integerPart[k];
  }
  if (decimals > 0) {
    text += locale.DecimalSeparator();
    text += fraction;
  }
  return text;
}

}  // namespace tenaxo
