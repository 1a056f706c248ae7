// SPDX-License-Identifier: GPL-3.0-or-later
#include "EspeakVoice.h"

#include <alsa/asoundlib.h>
#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <pcaudiolib/audio.h>

#include <algorithm>
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
  // the English one: an empty language selects it, and a language the engine
  // does not have falls back to it. Selecting a voice takes a millisecond or
  // two beside the speech itself, so it is done for every text.
  void SelectLanguage(const std::string& language) {
    espeak_VOICE wanted{};
    wanted.languages = language.c_str();
    if (espeak_SetVoiceByProperties(&wanted) != EE_OK) espeak_SetVoiceByName("en");
  }

  // With the mutex held. Listing needs only the engine's data folder. The
  // engine lists no variant and no MBROLA voice (those need a program of
  // their own, which may be missing); a language may have several voices.
  std::vector<VoiceLanguage> Languages() {
    espeak_ng_InitializePath(nullptr);
    std::vector<VoiceLanguage> languages;
    for (const espeak_VOICE** voice = espeak_ListVoices(nullptr); *voice != nullptr; ++voice) {
      // "languages": a priority byte, then the code, for each language.
      const std::string code((*voice)->languages + 1);
      const auto same = [&](const VoiceLanguage& known) { return known.Code == code; };
      if (std::none_of(languages.begin(), languages.end(), same)) languages.push_back({code, (*voice)->name});
    }
    return languages;
  }

  // With the mutex held. Tried once per process: a failed start stays
  // failed, with no output to open.
  void Start() {
    if (tried_) return;
    tried_ = true;
    snd_lib_error_set_handler(DropAlsaMessage);
    // The espeak_ng_ calls report a failure instead of printing it and ending
    // the process, as espeak_Initialize does.
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    // Synchronous playback: Synth returns once the text has been played.
    const auto mode = static_cast<espeak_ng_OUTPUT_MODE>(ENOUTPUT_MODE_SYNCHRONOUS | ENOUTPUT_MODE_SPEAK_AUDIO);
    if (status != ENS_OK || espeak_ng_InitializeOutput(mode, 0, nullptr) != ENS_OK) return;
    sampleRate_ = espeak_ng_GetSampleRate();
    // The same choice of output as the engine makes for itself.
    probe_ = create_audio_device_object(nullptr, "Tenaxo", "Tenaxo");
  }

  // The engine prints a line on the terminal when it cannot open the audio
  // output; opening it first, quietly, keeps a missing output silent.
  bool AudioOutputOpens() {
    if (probe_ == nullptr) return false;
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
  int sampleRate_ = 0;
  audio_object* probe_ = nullptr;  // none: the engine could not start
};

}  // namespace

bool EspeakVoice::Speak(const std::string& text, const std::string& language) {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> lock(engine.Mutex());
  engine.Start();
  if (!engine.AudioOutputOpens()) return false;
  engine.SelectLanguage(language);
  // The text is UTF-8 already, as the engine takes it. Its size matters only
  // to asynchronous playback.
  const unsigned flags = espeakCHARS_UTF8 | (text.rfind('<', 0) == 0 ? espeakSSML : 0u);
  return espeak_Synth(text.c_str(), 0, 0, POS_CHARACTER, 0, flags, nullptr, nullptr) == EE_OK;
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
