// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeldSpeech.h"

namespace tenaxo {

bool HeldSpeech::Release() {
  holding_ = false;
  // A text whose voice went (speech was turned off meanwhile) is not spoken.
  if (!pending_ || !voice_) return true;
  try {
    return voice_->Speak(text_, language_);
  } catch (...) {
    return false;
  }
}

HeldVoice::HeldVoice(std::unique_ptr<Voice> voice, std::shared_ptr<HeldSpeech> hold)
    : voice_(std::move(voice)), hold_(std::move(hold)) {
  hold_->voice_ = voice_.get();
}

HeldVoice::~HeldVoice() {
  if (hold_->voice_ == voice_.get()) hold_->voice_ = nullptr;
}

bool HeldVoice::Speak(const std::string& text, const std::string& language) {
  if (!hold_->holding_) return voice_->Speak(text, language);
  hold_->pending_ = true;
  hold_->text_ = text;
  hold_->language_ = language;
  return true;
}

}  // namespace tenaxo
