#pragma once
// What every fuzz target shares: libFuzzer's entry points, a check that
// stops the run with a message libFuzzer records as a finding, the two pinned
// locales, a printable form of a byte text or a number for those messages,
// and a folder for the files a target writes. Each target includes it once
// and defines only fuzz::OneInput, the checks of one input.
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <array>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "Locales.h"
#include "TextLocale.h"

namespace tenaxo::fuzz {

// Bytes as C escapes, cut after 200 of them.
inline std::string Shown(std::string_view text) {
  std::string out = "\"";
  size_t n = 0;
  for (unsigned char c : text) {
    if (++n > 200) {
      out += "...";
      break;
    }
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out + "\"";
}

[[noreturn]] inline void Fail(const char* file, int line, const char* what, const std::string& detail) {
  std::fprintf(stderr, "\n%s:%d: check failed: %s\n%s\n", file, line, what, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

// The checks of one input, defined by each target.
void OneInput(std::string_view input);

using test::English;
using test::French;
inline std::array<const TextLocale*, 2> Locales() { return {&French(), &English()}; }

// What a message adds to name the input.
inline std::string Input(std::string_view input) { return "; input " + Shown(input); }

inline std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// Every byte a decimal digit (true for no byte).
inline bool Digits(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

// The bytes of the input from offset `at` as a T, false when it is too short.
template <typename T>
bool Bytes(std::string_view input, size_t at, T& out) {
  if (input.size() < at + sizeof(T)) return false;
  std::memcpy(&out, input.data() + at, sizeof(T));
  return true;
}

// A file named `name` in a folder of its own for the files a target writes,
// removed at the end of the run (a run stopped by a finding leaves it): under $TENAXO_FUZZ_FILES
// (run.sh names one it removes afterwards), else in /dev/shm when it is
// there (a save syncs to disk, which would slow the run a hundredfold),
// else under TMPDIR.
inline QString FilePath(const QString& name) {
  static const QString base = !qEnvironmentVariableIsEmpty("TENAXO_FUZZ_FILES")
                                  ? qEnvironmentVariable("TENAXO_FUZZ_FILES")
                                  : QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                      : QDir::tempPath();
  static QTemporaryDir folder(base + QStringLiteral("/tenaxo-fuzz-XXXXXX"));
  static const QString path = folder.path();
  if (path.isEmpty()) Fail(__FILE__, __LINE__, "no folder for the files", base.toStdString());
  return path + QLatin1Char('/') + name;
}

}  // namespace tenaxo::fuzz

// FUZZ_CHECK(condition, detail): detail is a std::string built only on failure.
#define FUZZ_CHECK(condition, detail)                                               \
  do {                                                                              \
    if (!(condition)) ::tenaxo::fuzz::Fail(__FILE__, __LINE__, #condition, detail); \
  } while (0)

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C");  // strtod reads the point
  return 0;
}

// An exception a target does not expect is a finding too.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  try {
    tenaxo::fuzz::OneInput(input);
  } catch (const std::exception& e) {
    tenaxo::fuzz::Fail(__FILE__, __LINE__, "an unexpected exception", e.what() + tenaxo::fuzz::Input(input));
  }
  return 0;
}
