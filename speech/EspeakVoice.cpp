#include "EspeakVoice.h"

#include <alsa/asoundlib.h>
#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <pcaudiolib/audio.h>

#include <mutex>

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
};

}  // namespace

EngineText ToEngineText(const AnsiString& text) {
  EngineText out;
  out.Utf8 = AnsiToQString(text).toUtf8().toStdString();
  out.Markup = !text.empty() && text.front() == '<';
  return out;
}

bool EspeakVoice::Speak(const AnsiString& text) {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> lock(engine.Mutex());
  if (!engine.Start() || !engine.AudioOutputOpens()) return false;
  const EngineText spoken = ToEngineText(text);
  const unsigned flags = espeakCHARS_UTF8 | (spoken.Markup ? espeakSSML : 0u);
  return espeak_Synth(spoken.Utf8.c_str(), spoken.Utf8.size() + 1, 0, POS_CHARACTER, 0, flags, nullptr, nullptr) ==
         EE_OK;
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
