// SPDX-License-Identifier: GPL-3.0-or-later
#include "EspeakVoice.h"

#include <alsa/asoundlib.h>
#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <pcaudiolib/audio.h>

#include <mutex>
#include <string>
#include <vector>

namespace tenaxo {

namespace {

// libasound writes every failure (no sound card, unknown device...) to the
// terminal unless the program takes its messages. A failed speak is already
// reported by its result, so they go nowhere.
void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

class Engine {
 public:
  static Engine& Instance() {
    static Engine engine;
    return engine;
  }

  std::mutex& Mutex() { return mutex_; }
  bool Started() const { return tried_; }

  // With the mutex held, the engine started. The engine's default voice is
  // the English one; a language it does not have falls back to it.
  void SelectLanguage(const std::string& language) {
    if (selected_ && language == language_) return;
    bool found = false;
    if (!language.empty()) {
      espeak_VOICE wanted{};
      wanted.languages = language.c_str();
      found = espeak_SetVoiceByProperties(&wanted) == EE_OK;
    }
    if (!found) espeak_SetVoiceByName("en");
    selected_ = true;
    language_ = language;
  }

  // With the mutex held. Listing needs only the engine's data folder.
  std::vector<VoiceLanguage> Languages() {
    if (!tried_ && !pathSet_) {
      espeak_ng_InitializePath(nullptr);
      pathSet_ = true;
    }
    std::vector<VoiceLanguage> languages;
    const espeak_VOICE** voices = espeak_ListVoices(nullptr);
    for (size_t k = 0; voices != nullptr && voices[k] != nullptr; ++k) {
      const espeak_VOICE* voice = voices[k];
      // "languages": a priority byte, then the code, for each language.
      if (voice->languages == nullptr || voice->languages[0] == 0 || voice->name == nullptr) continue;
      const std::string code(voice->languages + 1);
      // MBROLA voices need a program of their own, which may be missing.
      const std::string identifier = voice->identifier ? voice->identifier : "";
      if (code.empty() || identifier.rfind("mb/", 0) == 0) continue;
      bool known = false;
      for (const VoiceLanguage& language : languages) known = known || language.Code == code;
      if (!known) languages.push_back(VoiceLanguage{code, voice->name});
    }
    return languages;
  }

  // With the mutex held. Tried once per process: a failed start stays failed.
  bool Start() {
    if (tried_) return ready_;
    tried_ = true;
    snd_lib_error_set_handler(DropAlsaMessage);
    // The espeak_ng_ calls report a failure instead of printing it and ending
    // the process, as espeak_Initialize does.
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    if (status != ENS_OK) return false;
    // Synchronous playback: Synth returns once the text has been played.
    const auto mode = static_cast<espeak_ng_OUTPUT_MODE>(ENOUTPUT_MODE_SYNCHRONOUS | ENOUTPUT_MODE_SPEAK_AUDIO);
    if (espeak_ng_InitializeOutput(mode, 0, nullptr) != ENS_OK) {
      return false;
    }
    sampleRate_ = espeak_ng_GetSampleRate();
    // The same choice of output as the engine makes for itself.
    probe_ = create_audio_device_object(nullptr, "Tenaxo", "Tenaxo");
    ready_ = true;
    return true;
  }

  // The engine prints a line on the terminal when it cannot open the audio
  // output; opening it first, quietly, keeps a missing output silent.
  bool AudioOutputOpens() {
    if (probe_ == nullptr || sampleRate_ <= 0) return false;
    if (audio_object_open(probe_, AUDIO_OBJECT_FORMAT_S16LE, static_cast<uint32_t>(sampleRate_), 1) != 0) {
      return false;
    }
    audio_object_close(probe_);
    return true;
  }

 private:
  Engine() = default;

  std::mutex mutex_;
  bool tried_ = false;
  bool ready_ = false;
  int sampleRate_ = 0;
  audio_object* probe_ = nullptr;
  bool pathSet_ = false;
  bool selected_ = false;
  std::string language_;
};

}  // namespace

bool EspeakVoice::Speak(const std::string& text, const std::string& language) {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> lock(engine.Mutex());
  if (!engine.Start() || !engine.AudioOutputOpens()) return false;
  engine.SelectLanguage(language);
  // The text is UTF-8 already, as the engine takes it.
  const unsigned flags = espeakCHARS_UTF8 | (!text.empty() && text.front() == '<' ? espeakSSML : 0u);
  return espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, flags, nullptr, nullptr) == EE_OK;
}

std::vector<VoiceLanguage> EspeakLanguages() {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> lock(engine.Mutex());
  return engine.Languages();
}

bool EspeakVoice::EngineStarted() {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> lock(engine.Mutex());
  return engine.Started();
}

VoiceFactory EspeakVoices() {
  return [] { return std::make_unique<EspeakVoice>(); };
}

}  // namespace tenaxo
