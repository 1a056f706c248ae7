// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A voice for tests: logs what it is told to speak and fails on demand, by result or by exception.
#include <stdexcept>

#include "Voice.h"

namespace tenaxo::test {

struct VoiceLog {
  std::vector<std::string> spoken, languages;  // the texts (UTF-8), and the language asked for each
  int made = 0, alive = 0;                     // voices made, voices not yet destroyed
  bool fail = false, raise = false;            // Speak says false, or throws
  std::function<void()> speaking;              // called as each text is spoken
};

struct FakeVoice : Voice {
  explicit FakeVoice(std::shared_ptr<VoiceLog> voices) : log(std::move(voices)) { ++log->made, ++log->alive; }
  ~FakeVoice() override { --log->alive; }
  bool Speak(const std::string& text, const std::string& language) override {
    log->spoken.push_back(text), log->languages.push_back(language);
    if (log->speaking) log->speaking();
    if (log->raise) throw std::runtime_error("no speech engine");
    return !log->fail;
  }
  std::shared_ptr<VoiceLog> log;
};

inline VoiceFactory FakeVoices(const std::shared_ptr<VoiceLog>& log) {
  return [log] { return std::make_unique<FakeVoice>(log); };
}

}  // namespace tenaxo::test
