// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The voice over the espeak-ng engine: synchronous playback on the default
// audio output, the voice of the language asked for (English by default),
// nothing tuned.
//
// The engine is one per process. It is started at the first Speak of any
// voice (making a voice does nothing) and stays up for the rest of the run;
// all voices share it, one text at a time. When there is no engine data, no
// audio output, or the engine refuses the text, Speak says false without a
// word on the terminal.
#include <string>
#include <vector>

#include "Voice.h"

namespace tenaxo {

class EspeakVoice : public Voice {
 public:
  bool Speak(const std::string& text, const std::string& language) override;

  // Whether any voice of this process has contacted the engine yet.
  static bool EngineStarted();
};

// Makes EspeakVoice objects, for QuestionCycle.
VoiceFactory EspeakVoices();

// The languages of the engine's installed voices, one entry a language code,
// named as the engine names the voice ("French", "Polish"...). Does not start
// the engine; an engine without data gives none.
std::vector<VoiceLanguage> EspeakLanguages();

}  // namespace tenaxo
