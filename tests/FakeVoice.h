#pragma once
// A voice for tests: logs what it is told to speak and fails on demand, by result or by exception.
#include <stdexcept>

#include "Voice.h"

namespace tenaxo::test {

struct VoiceLog {
  std::vector<std::string> spoken;     // UTF-8
  std::vector<std::string> languages;  // the language asked for, text by text
  int made = 0, alive = 0;             // voices made, voices not yet destroyed
  bool fail = false, raise = false;    // Speak says false, or throws
  std::function<void()> speaking;      // called as each text is spoken
};

class FakeVoice : public Voice {
 public:
  explicit FakeVoice(std::shared_ptr<VoiceLog> log) : log_(std::move(log)) { ++log_->made, ++log_->alive; }
  ~FakeVoice() override { --log_->alive; }
  bool Speak(const std::string& text, const std::string& language) override {
    log_->spoken.push_back(text);
    log_->languages.push_back(language);
    if (log_->speaking) log_->speaking();
    if (log_->raise) throw std::runtime_error("no speech engine");
    return !log_->fail;
  }

 private:
  std::shared_ptr<VoiceLog> log_;
};

inline VoiceFactory FakeVoices(const std::shared_ptr<VoiceLog>& log) {
  return [log] { return std::make_unique<FakeVoice>(log); };
}

}  // namespace tenaxo::test
