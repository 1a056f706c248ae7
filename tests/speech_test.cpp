// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <set>

#include "EspeakVoice.h"

// Sanitizer builds: the audio layer under the engine loses libasound's hardware parameter block at each open of the
// output; not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libasound.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

namespace tenaxo {
namespace {

TEST(EspeakVoice, ListsTheInstalledLanguagesOnceEach) {
  std::set<std::string> codes;
  for (const VoiceLanguage& voice : EspeakLanguages()) EXPECT_TRUE(codes.insert(voice.Code).second) << voice.Code;
  for (const char* code : {"en-gb", "fr-fr", "pl", "el", "ja"}) EXPECT_EQ(codes.count(code), 1u) << code;
  EXPECT_FALSE(EspeakVoice::EngineStarted());  // listing does not start the engine
}

// The engine is one per process, so each run is a child process (a death test) that must exit with 0 and print
// nothing. A real voice for each text, all sharing the engine the first text starts: every text is heard with an
// audio output, none without. Audio goes to no sound server, and to the ALSA configuration given (none: the
// machine's own).
void SpeakInChildProcess(const char* alsaConfig, bool heard) {
  QTemporaryDir dir;
  QFile file(dir.filePath(QStringLiteral("alsa.conf")));
  ASSERT_TRUE(!alsaConfig || (file.open(QIODevice::WriteOnly) && file.write(alsaConfig) >= 0 && file.flush()));
  const std::vector<std::tuple<const char*, const char*, const char*>> cases = {
      {"English by default", "élève", ""},
      {"markup", "<speak>chat <break time=\"10ms\"/> chien</speak>", "fr"},
      {"nothing", "", "fr"},
      {"other scripts", "Ελληνικά 日本語", "el"},
      {"a language gone: English, without a word", "hello", "xx-gone"}};
  EXPECT_EXIT(
      {
        setenv("PULSE_SERVER", "unix:/nonexistent/tenaxo-no-sound-server", 1);
        if (alsaConfig) setenv("ALSA_CONFIG_PATH", QFile::encodeName(file.fileName()).constData(), 1);
        if (EspeakVoice voice; EspeakVoice::EngineStarted()) std::fprintf(stderr, "a voice started the engine\n");
        for (const auto& [name, text, language] : cases) {
          const bool spoken = EspeakVoice().Speak(text, language);
          if (spoken != heard || !EspeakVoice::EngineStarted()) std::fprintf(stderr, "%s: spoken %d\n", name, spoken);
        }
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), ::testing::Matcher<const std::string&>(std::string()));
}

TEST(RealVoice, SpeaksToAnAudioOutputAndFailsQuietlyWithoutOne) {
  // ALSA's null device takes the sound and plays it nowhere; a machine with a sound card gets a configuration without.
  SpeakInChildProcess("pcm.!default { type null }\n", true);
  SpeakInChildProcess(QFile::exists(QStringLiteral("/dev/snd")) ? "" : nullptr, false);
}

}  // namespace
}  // namespace tenaxo
