// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first text held until the window's first picture: the window comes up
// at once and the first word is heard with the card on screen. From then on
// the voice speaks at once.
#include <memory>
#include <string>

#include "Voice.h"

namespace tenaxo {

// The hold: shared by the window, which releases it, and every voice the
// quiz makes for it.
class HeldSpeech {
 public:
  // True until Release. Meanwhile a text spoken waits, the last one alone.
  bool Holding() const { return holding_; }
  // Ends the hold and speaks the text that waits, if any; called once. False
  // when that text could not be spoken (the voice failed or threw).
  bool Release();

 private:
  friend class HeldVoice;
  bool holding_ = true;
  bool pending_ = false;
  std::string text_;
  std::string language_;
  Voice* voice_ = nullptr;  // the voice of the last held voice made, while it lives
};

// Speaks through voice once hold has been released; until then the text
// waits in hold.
class HeldVoice : public Voice {
 public:
  HeldVoice(std::unique_ptr<Voice> voice, std::shared_ptr<HeldSpeech> hold);
  ~HeldVoice() override;
  bool Speak(const std::string& text, const std::string& language) override;

 private:
  std::unique_ptr<Voice> voice_;
  std::shared_ptr<HeldSpeech> hold_;
};

}  // namespace tenaxo
