// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A voice that reads a text aloud. The quiz speaks the left text of a pair
// through it while "Synthèse vocale à gauche" is checked; the speech engine
// behind it lives elsewhere (speech/), tests use a fake one.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Utf8.h"

namespace tenaxo {

class Voice {
 public:
  virtual ~Voice() = default;
  // Speaks text (UTF-8) in the language given (the engine's language code,
  // "fr" or "pl" say; empty for English) and returns once it has been
  // spoken. A language the engine no longer has speaks English. False when it
  // could not be spoken: no engine, no audio output, or the engine refused
  // the text. A text starting with "<" is read as markup. Implementations may
  // also throw; callers treat that as false.
  virtual bool Speak(const std::string& text, const std::string& language) = 0;
};

// Makes a voice. Making one must not contact the engine (that waits for the
// first Speak). A null result or an exception means no voice could be made.
using VoiceFactory = std::function<std::unique_ptr<Voice>()>;

// A language the engine can speak: its code, and its name to show.
struct VoiceLanguage {
  std::string Code;
  std::string Name;
};
// The languages installed, in no particular order.
using VoiceLanguages = std::function<std::vector<VoiceLanguage>()>;

}  // namespace tenaxo
