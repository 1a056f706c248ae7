#pragma once
// What every fuzz target shares: a check that stops the run with a message
// libFuzzer records as a finding, the two pinned locales, and a printable
// form of a byte text for those messages.
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
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

using test::English;
using test::French;

// A folder of its own for the files a target writes, removed at the end of
// the run (a run stopped by a finding leaves it): under $TENAXO_FUZZ_FILES
// (run.sh names one it removes afterwards), else in /dev/shm when it is
// there (a save syncs to disk, which would slow the run a hundredfold),
// else under TMPDIR.
inline const QString& FilesFolder() {
  static const QString base = !qEnvironmentVariableIsEmpty("TENAXO_FUZZ_FILES")
                                  ? qEnvironmentVariable("TENAXO_FUZZ_FILES")
                                  : QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                      : QDir::tempPath();
  static QTemporaryDir folder(base + QStringLiteral("/tenaxo-fuzz-XXXXXX"));
  static const QString path = folder.path();
  if (path.isEmpty()) Fail(__FILE__, __LINE__, "no folder for the files", base.toStdString());
  return path;
}

}  // namespace tenaxo::fuzz

// FUZZ_CHECK(condition, detail): detail is a std::string built only on failure.
#define FUZZ_CHECK(condition, detail)                                               \
  do {                                                                              \
    if (!(condition)) ::tenaxo::fuzz::Fail(__FILE__, __LINE__, #condition, detail); \
  } while (0)
