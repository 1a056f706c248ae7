#pragma once
// A voice for tests: records what it is told to speak and can be told to
// fail, by result or by exception.
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Voice.h"

namespace tenaxo::test {

struct VoiceLog {
  std::vector<std::string> spoken;  // UTF-8
  int made = 0;
  int alive = 0;
  bool fail = false;
  bool raise = false;
  bool refuseToMake = false;
  std::function<void()> onSpeak;  // runs as a text is spoken
};

class FakeVoice : public Voice {
 public:
  explicit FakeVoice(std::shared_ptr<VoiceLog> log) : log_(std::move(log)) {
    ++log_->made;
    ++log_->alive;
  }
  ~FakeVoice() override { --log_->alive; }

  bool Speak(const AnsiString& text) override {
    log_->spoken.push_back(AnsiToQString(text).toStdString());
    if (log_->onSpeak) log_->onSpeak();
    if (log_->raise) throw std::runtime_error("no speech engine");
    return !log_->fail;
  }

 private:
  std::shared_ptr<VoiceLog> log_;
};

inline VoiceFactory FakeVoices(const std::shared_ptr<VoiceLog>& log) {
  return [log]() -> std::unique_ptr<Voice> {
    if (log->refuseToMake) return nullptr;
    return std::make_unique<FakeVoice>(log);
  };
}

}  // namespace tenaxo::test
