#pragma once
// The voice over the espeak-ng engine: synchronous playback on the default
// audio output, the engine's default voice, nothing tuned.
//
// The engine is one per process. It is started at the first Speak of any
// voice (making a voice does nothing) and stays up for the rest of the run;
// all voices share it, one text at a time. When there is no engine data, no
// audio output, or the engine refuses the text, Speak says false without a
// word on the terminal.
#include <string>

#include "Voice.h"

namespace tenaxo {

class EspeakVoice : public Voice {
 public:
  bool Speak(const AnsiString& text) override;

  // Whether any voice of this process has contacted the engine yet.
  static bool EngineStarted();
};

// Makes EspeakVoice objects, for QuestionCycle.
VoiceFactory EspeakVoices();

// A text as it goes to the engine: UTF-8, read as markup when it starts with "<".
struct EngineText {
  std::string Utf8;
  bool Markup = false;
};
EngineText ToEngineText(const AnsiString& text);

}  // namespace tenaxo
