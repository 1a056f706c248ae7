// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the fuzz targets share: libFuzzer's entry point, FUZZ_CHECK (a failed check prints what failed and stops the
// run: libFuzzer keeps and prints the input), a folder for written files. No locale is set: strtod reads "1.5".
#include <QByteArray>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "Locales.h"

namespace tenaxo::fuzz {

constexpr std::string_view kTarget = TENAXO_FUZZ_TARGET;  // a source may serve two targets
void OneInput(std::string_view input);                    // the target's checks

inline std::string Shown(std::string_view text) {
  return '"' + QByteArray(text.data(), qsizetype(text.size())).toPercentEncoding().toStdString() + '"';
}
inline bool Digits(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

// In a folder of its own under $TENAXO_FUZZ_FILES (run.sh names one), else under /dev/shm (a save syncs).
inline QString FilePath(const QString& name) {
  static QTemporaryDir folder(qEnvironmentVariable("TENAXO_FUZZ_FILES", QStringLiteral("/dev/shm")) +
                              QStringLiteral("/tenaxo-fuzz-XXXXXX"));
  return folder.filePath(name);
}

}  // namespace tenaxo::fuzz

#define FUZZ_CHECK(condition, detail)                                                         \
  do {                                                                                        \
    if (!(condition))                                                                         \
      std::fprintf(stderr, "\n%s:%d: check failed: %s\n%s\n", __FILE__, __LINE__, #condition, \
                   std::string(detail).c_str()),                                              \
          std::abort();                                                                       \
  } while (0)

// An exception let out ends the run through std::terminate, which prints its what(): a finding too.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tenaxo::fuzz::OneInput(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
