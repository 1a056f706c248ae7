// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <set>

#include "EspeakVoice.h"
#include "FakeVoice.h"
#include "QuestionCycle.h"
#include "TableText.h"

// Sanitizer builds: libasound's leak at each open of the output is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libasound.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

namespace tenaxo {
namespace {
using namespace test;
using Texts = std::vector<std::string>;
using Text = std::optional<std::string>;
using Action = void (QuestionCycle::*)();

// A quiz on "liste", speech in Polish, its clock `clock`; `seen`: the left side as each text is to be spoken.
struct Rig {
  explicit Rig(const Texts& rows) {
    session.table = MakeTable(rows);
    session.table.SetRowTexts(0, {"Gauche", "Droite", "Demandé", "Juste", "Ratio"});
    session.listName = "liste";
    TextLocale::SetCurrent(QLocale(QLocale::French, QLocale::France));
    cycle.SetSpeechOn(true);
    cycle.SetSpokenLanguage("pl");
    cycle.SetBeforeSpeak([this] { seen.push_back(cycle.LeftSide().text.value_or("none")); });
  }
  Session session;
  std::shared_ptr<VoiceLog> voices = std::make_shared<VoiceLog>();
  uint64_t clock = 0;
  Texts seen;
  QuestionCycle cycle{session, FakeVoices(voices), [this] { return clock; }};
};

// Draws from the clock (list part, row, side), reveals, the first question, and speech turned off by its failures.
TEST(Quiz, QuestionsRevealsAndSpeech) {
  using Reveal = void (QuestionCycle::*)(bool);
  enum Voices { Speak, Fail, Raise, Off };
  const Reveal none = nullptr, both = &QuestionCycle::RevealBoth;
  // The pairs, the clock, the option, the reveal, the voice; the pending row, the texts shown, the left one spoken.
  const std::vector<std::tuple<const char*, int, uint64_t, bool, Reveal, Voices, int32_t, Text, Text, size_t>> cases = {
      {"21 pairs: the 21st is not among the 20 weakest", 21, 106, false, none, Speak, 20, "L20", {}, 2},
      {"21 pairs, one draw in four from the whole list", 21, 65, false, none, Speak, 21, "L21", {}, 2},
      {"the right side", 30, 2, false, none, Speak, 21, {}, "R21", 0},
      {"\"Montrer à gauche en premier\"", 30, 2, true, none, Speak, 21, "L21", {}, 2},
      {"the hidden side revealed", 30, 2, false, &QuestionCycle::RevealLeft, Speak, 21, "L21", "R21", 1},
      {"the side shown revealed", 30, 2, false, &QuestionCycle::RevealRight, Speak, 21, {}, "R21", 0},
      {"both revealed", 30, 1, false, both, Speak, 26, "L26", "R26", 3},
      {"before any question", 30, 0, false, none, Speak, 0, {}, {}, 0},
      {"both revealed before any question", 30, 0, false, both, Speak, 0, {}, "Droite", 0},
      {"speaking fails", 30, 1, false, none, Fail, 26, "L26", {}, 1},
      {"speaking throws", 30, 1, false, none, Raise, 26, "L26", {}, 1},
      {"speech off", 30, 1, false, none, Off, 26, "L26", {}, 0}};
  for (const auto& [name, pairs, clock, leftFirst, reveal, voices, row, left, right, spoken] : cases) {
    SCOPED_TRACE(name);
    Texts rows;  // L1;R1, L2;R2...
    for (int i = 1; i <= pairs; ++i) rows.push_back("L" + std::to_string(i) + ";R" + std::to_string(i));
    Rig rig(rows);
    rig.cycle.SetLeftFirst(leftFirst);
    rig.cycle.SetSpeechOn(voices != Off);  // as it was, or off
    rig.voices->fail = voices == Fail, rig.voices->raise = voices == Raise;
    rig.clock = clock;  // 0: no question asked
    if (clock) rig.cycle.NextQuestion(), rig.cycle.NextQuestion();
    if (reveal) (rig.cycle.*reveal)(true);
    EXPECT_EQ(rig.session.questionRow, row);
    EXPECT_EQ(rig.cycle.LeftSide().text, left);
    EXPECT_EQ(rig.cycle.LeftSide().hidden, clock && !left);
    EXPECT_EQ(rig.cycle.RightSide().text, right);
    EXPECT_EQ(rig.cycle.RightSide().hidden, clock && !right);
    EXPECT_EQ(rig.cycle.AwaitingAnswer(), reveal || !clock);
    EXPECT_EQ(rig.voices->spoken, Texts(spoken, left.value_or("")));
    EXPECT_EQ(rig.seen, rig.voices->spoken);
    EXPECT_EQ(rig.voices->languages, Texts(spoken, "pl"));
    EXPECT_EQ(rig.cycle.SpeechOn(), voices == Speak);
    EXPECT_EQ(rig.voices->made, 1);
    EXPECT_EQ(rig.voices->alive, voices == Speak ? 1 : 0);
  }
  Session session;
  QuestionCycle cycle(session, []() -> std::unique_ptr<Voice> { throw std::runtime_error("no engine"); });
  cycle.SetSpeechOn(true);
  EXPECT_FALSE(cycle.SpeechOn());
}

// An answer books into the pending pair, the score is noted before it counts; questions 1, 6, 11... rank first.
TEST(Quiz, AnswersScoresAndRanking) {
  const std::string largest = "a;b;2147483647;2147483647;", pair = "a;b;3;1;0,5", ranked = "a;b;3;1;0,167";
  const Action next = &QuestionCycle::NextQuestion, yes = &QuestionCycle::AnswerFound,
               no = &QuestionCycle::AnswerNotFound;
  using Score = std::optional<std::pair<int32_t, int32_t>>;
  const std::vector<std::tuple<const char*, std::string, int, int32_t, int32_t, Action, std::string, Score, int32_t>>
      cases = {{"Oui", pair, 1, 1, 0, yes, "a;b;4;2;0,5", {{1, 1}}, 2},
               {"Non", pair, 1, 1, 0, no, "a;b;4;1;0,5", {{0, 1}}, 2},
               {"the pair gone", pair, 2, 1, 0, yes, pair, {{1, 1}}, 2},
               {"counts that are no number", "a;b;x;;", 1, 1, 0, yes, "a;b;1;1;", {{1, 1}}, 2},
               {"the largest", largest, 1, INT32_MAX, INT32_MAX, yes, largest, {{INT32_MAX, INT32_MAX}}, INT32_MAX},
               {"the 1st question", pair, 1, 0, 0, next, ranked, {{0, 0}}, 1},
               {"the 6th", pair, 1, 5, 2, next, ranked, {{2, 5}}, 6},
               {"the 7th", pair, 1, 6, 2, next, pair, {{2, 6}}, 7},
               {"a new series", pair, 1, 3, 2, &QuestionCycle::NewSeries, ranked, {{0, 0}}, 1},
               {"the statistics reset", pair, 1, 3, 2, &QuestionCycle::ResetStats, "a;b;;;", {}, 3}};
  for (const auto& [name, before, pending, asked, found, action, booked, score, askedAfter] : cases) {
    SCOPED_TRACE(name);
    Rig rig({before});
    rig.session.questionRow = pending;
    rig.session.askedCount = asked;
    rig.session.foundCount = found;
    (rig.cycle.*action)();
    EXPECT_EQ(Cells(rig.session.table), Split({booked}));
    EXPECT_EQ(rig.session.askedCount, askedAfter);
    EXPECT_EQ(rig.session.unsaved, action == yes || action == no);
    const std::optional<SeriesScore>& drawn = rig.cycle.ScoreAtDraw();
    ASSERT_EQ(drawn.has_value(), score.has_value());
    if (!score) continue;
    EXPECT_EQ(drawn->listName, "liste");
    EXPECT_EQ(drawn->found, score->first);
    EXPECT_EQ(drawn->asked, score->second);
  }
}

// One engine per process: each case in a death test, silent; sound to a file or nowhere; heard lengths by language.
TEST(RealVoice, SpeaksInTheLanguageAskedAndFailsQuietlyWithoutAnOutput) {
  const std::tuple<const char*, const char*, double, double> cases[] = {
      {"1997", "", 1.1, 1.3},   {"1997", "xx-gone", 1.1, 1.3},           {"1997", "fr", 0.97, 1.03},
      {"1997", "pl", 1.6, 1.9}, {"<speak>1997</speak>", "fr", 1.1, 1.4}, {"1997 &amp; 1997", "fr", 2.2, 2.6}};
  QTemporaryDir dir;
  const QString sound = dir.filePath("sound.raw");
  const QByteArray config = QFile::encodeName(dir.filePath("alsa.conf"));
  const std::string toFile =
      "pcm.!default { type file slave.pcm { type null } format raw file \"" + sound.toStdString() + "\" }";
  for (const bool output : {true, false}) {
    const auto speak = [&] {
      setenv("PULSE_SERVER", "unix:/nonexistent/tenaxo-no-sound-server", 1);
      setenv("ALSA_CONFIG_PATH", config.constData(), 1);
      std::set<std::string> codes;  // listed only where nothing is heard: the first text finds the engine's data alone
      for (const VoiceLanguage& voice : output ? std::vector<VoiceLanguage>() : EspeakLanguages())
        if (!codes.insert(voice.Code).second) std::fprintf(stderr, "%s twice\n", voice.Code.c_str());
      if (!output && codes.count("fr-fr") + codes.count("pl") != 2) std::fprintf(stderr, "no French or Polish\n");
      if (EspeakVoice voice; EspeakVoice::EngineStarted()) std::fprintf(stderr, "started before the first text\n");
      const auto bytes = [&](const char* text, const char* language) {
        const qint64 before = QFileInfo(sound).size();
        if (EspeakVoice().Speak(text, language) != output) std::fprintf(stderr, "%s: heard %d\n", text, !output);
        return static_cast<double>(QFileInfo(sound).size() - before);
      };
      const double french = bytes("1997", "fr");
      for (const auto& [text, language, low, high] : cases) {
        const double ratio = bytes(text, language) / french;
        if (output && !(ratio >= low && ratio <= high)) std::fprintf(stderr, "%s in %s: %.2f\n", text, language, ratio);
      }
      std::exit(EspeakVoice::EngineStarted() ? 0 : 1);
    };
    std::ofstream(config.constData()) << (output ? toFile : "");
    EXPECT_EXIT(speak(), ::testing::ExitedWithCode(0), ::testing::Matcher<const std::string&>(std::string()));
  }
}

}  // namespace
}  // namespace tenaxo
