// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fuzz targets' entry point, FUZZ_CHECK (prints what failed and aborts: libFuzzer keeps the input), refusals.
#include <QByteArray>
#include <cstdio>
#include <string>

#include "Errors.h"

#define FUZZ_CHECK(condition, detail) \
  ((condition) ? void() : tenaxo::fuzz::Failed(__FILE__, __LINE__, #condition, std::string(detail)))

namespace tenaxo::fuzz {

constexpr std::string_view kTarget = TENAXO_FUZZ_TARGET;  // a source may serve two targets
void OneInput(std::string_view input);                    // the target's checks

[[noreturn]] inline void Failed(const char* file, int line, const char* condition, const std::string& detail) {
  std::fprintf(stderr, "\n%s:%d: check failed: %s\n%s\n", file, line, condition, detail.c_str());
  std::abort();
}

inline std::string Shown(std::string_view text) {
  return '"' + QByteArray(text.data(), qsizetype(text.size())).toPercentEncoding().toStdString() + '"';
}

// Runs the action: true when it went through, false when it was refused with a message that starts with the prefix.
template <typename Action>
bool Accepted(const Action& action, const QString& prefix) {
  try {
    action();
    return true;
  } catch (const Error& e) {
    FUZZ_CHECK(e.Message().startsWith(prefix), e.Message().toStdString());
    return false;
  }
}

}  // namespace tenaxo::fuzz

// Any other exception ends the run through std::terminate, which prints its what(): a finding too.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tenaxo::fuzz::OneInput(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
