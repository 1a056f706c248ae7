#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "EspeakVoice.h"
#include "QuestionCycle.h"
#include "TableText.h"

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
      {"cat", "cat", false},
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

// The engine is one per process, so each case runs in a child process of its
// own (a death test), whose terminal output is checked to be empty. Audio
// goes to no sound server, and to the ALSA configuration given (empty: the
// machine's own, when it has no sound card).
class RealVoice : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  QString Config(const char* name, const char* text) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
  }
  static void UseAudio(const QString& alsaConfig) {
    setenv("PULSE_SERVER", "unix:/nonexistent/tenaxo-no-sound-server", 1);
    if (!alsaConfig.isEmpty()) setenv("ALSA_CONFIG_PATH", QFile::encodeName(alsaConfig).constData(), 1);
  }

  QTemporaryDir dir;
  const ::testing::Matcher<const std::string&> quiet = std::string();
};

int SpeakWithoutSoundDevice() {
  EspeakVoice voice;
  if (EspeakVoice::EngineStarted()) return 2;  // making a voice does nothing
  if (voice.Speak(Ansi("élève"))) return 3;
  if (!EspeakVoice::EngineStarted()) return 4;
  if (voice.Speak("again")) return 5;

  Session session;
  session.SgListe = test::MakeTable({"cat;chat"});
  QuestionCycle cycle(session, EspeakVoices());
  cycle.SetCbFirstLeft(true);
  cycle.SetCbVocal(true);
  if (!cycle.CbVocal()) return 6;
  cycle.NextQuestion();  // speech switches itself off, the question stands
  if (cycle.CbVocal() || cycle.HasVoice() || cycle.PnQL().Caption != "cat") return 7;
  return 0;
}

TEST_F(RealVoice, FailsQuietlyWithoutSoundDevice) {
  const QString config = QDir(QStringLiteral("/dev/snd")).exists() ? Config("none.conf", "") : QString();
  EXPECT_EXIT(
      {
        UseAudio(config);
        std::exit(SpeakWithoutSoundDevice());
      },
      ::testing::ExitedWithCode(0), quiet);
}

int SpeakToNullDevice() {
  EspeakVoice voice;
  if (!voice.Speak(Ansi("élève"))) return 2;
  if (!voice.Speak(Ansi("<speak>chat <break time=\"10ms\"/> chien</speak>"))) return 3;
  if (!EspeakVoice().Speak("")) return 4;  // a second voice shares the engine
  return 0;
}

TEST_F(RealVoice, SpeaksToAnAudioOutput) {
  // ALSA's null device takes the sound and plays it nowhere.
  const QString config = Config("null.conf", "pcm.!default { type null }\n");
  EXPECT_EXIT(
      {
        UseAudio(config);
        std::exit(SpeakToNullDevice());
      },
      ::testing::ExitedWithCode(0), quiet);
}

}  // namespace
}  // namespace tenaxo
