#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "EspeakVoice.h"

// Sanitizer builds: the audio layer under the engine loses libasound's
// hardware parameter block at each open of the output; not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libasound.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

namespace tenaxo {
namespace {

TEST(EspeakVoice, TextGoesToTheEngineAsUtf8) {
  struct Case {
    AnsiString text;
    std::string utf8;
    bool markup;
  };
  const std::vector<Case> cases = {
      {"\xE9l\xE8ve", "\xC3\xA9l\xC3\xA8ve", false},  // élève
      {"\x80 \x9C", "\xE2\x82\xAC \xC5\x93", false},   // € œ, the code page's own places
      {"<speak>chat</speak>", "<speak>chat</speak>", true},
      {" <b>", " <b>", false},
      {"", "", false},
  };
  for (const auto& c : cases) {
    const EngineText text = ToEngineText(c.text);
    EXPECT_EQ(text.Utf8, c.utf8) << c.utf8;
    EXPECT_EQ(text.Markup, c.markup) << c.utf8;
  }
}

// Real voices, with an audio output (heard: every text is spoken) or none
// (every text fails). 0 when so.
int SpeakThrough(bool heard) {
  EspeakVoice voice;
  if (EspeakVoice::EngineStarted()) return 2;  // making a voice does not start the engine
  if (voice.Speak(Ansi("élève")) != heard || !EspeakVoice::EngineStarted()) return 3;
  if (voice.Speak(Ansi("<speak>chat <break time=\"10ms\"/> chien</speak>")) != heard) return 4;
  if (EspeakVoice().Speak("") != heard) return 5;  // a second voice shares the engine
  return 0;
}

// The engine is one per process, so each case runs in a child process of its
// own (a death test) that must exit with 0 and print nothing. Audio goes to no
// sound server, and to the ALSA configuration given (none: the machine's own).
void SpeakInChildProcess(const char* alsaConfig, bool heard) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("alsa.conf"));
  QFile file(path);
  if (alsaConfig) {
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(alsaConfig) >= 0 && file.flush());
  }
  const ::testing::Matcher<const std::string&> nothingPrinted = std::string();
  EXPECT_EXIT(
      {
        setenv("PULSE_SERVER", "unix:/nonexistent/tenaxo-no-sound-server", 1);
        if (alsaConfig) setenv("ALSA_CONFIG_PATH", QFile::encodeName(path).constData(), 1);
        std::exit(SpeakThrough(heard));
      },
      ::testing::ExitedWithCode(0), nothingPrinted);
}

TEST(RealVoice, FailsQuietlyWithoutSoundDevice) {
  // A machine with a sound card gets an ALSA configuration with no device.
  SpeakInChildProcess(QDir(QStringLiteral("/dev/snd")).exists() ? "" : nullptr, false);
}

TEST(RealVoice, SpeaksToAnAudioOutput) {
  // ALSA's null device takes the sound and plays it nowhere.
  SpeakInChildProcess("pcm.!default { type null }\n", true);
}

}  // namespace
}  // namespace tenaxo
