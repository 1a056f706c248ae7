// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>

#include "FakeVoice.h"
#include "QuestionCycle.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::Cells;
using test::Split;
using Texts = std::vector<std::string>;
using Text = std::optional<std::string>;
using Answer = void (QuestionCycle::*)();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

Texts Pairs(int n) {
  Texts rows;
  for (int i = 1; i <= n; ++i) rows.push_back("L" + std::to_string(i) + ";R" + std::to_string(i));
  return rows;
}

// The rows under their header in the list "liste", speech on, and a quiz whose clock reads `clock`.
struct Rig {
  explicit Rig(const Texts& rows = Pairs(30)) {
    session.table = test::MakeTable(rows);
    session.table.SetRowTexts(0, {"Gauche", "Droite", "Demandé", "Juste", "Ratio"});
    session.listName = "liste";
    TextLocale::SetCurrent(QLocale(QLocale::French, QLocale::France));
    cycle.SetSpeechOn(true);
  }
  void Ask(uint64_t at) {
    clock = at;
    if (at) cycle.NextQuestion();
  }
  // Both sides: text, hidden.
  std::tuple<Text, bool, Text, bool> Card() const {
    return {cycle.LeftSide().text, cycle.LeftSide().hidden, cycle.RightSide().text, cycle.RightSide().hidden};
  }

  Session session;
  std::shared_ptr<test::VoiceLog> voices = std::make_shared<test::VoiceLog>();
  uint64_t clock = 0;
  QuestionCycle cycle{session, test::FakeVoices(voices), [this] { return clock; }};
};

// Three draws from the clock's low 32 bits, reseeded at every question: below 4 (0: the whole list, else the 20
// weakest rows), the row, below 2 (0, or "Montrer à gauche en premier": the left side shows). A reveal by the user
// awaits the answer. Before the first question (clock 0): no score, no left text, the right side's header.
TEST(Quiz, QuestionsAndReveals) {
  using Reveal = void (QuestionCycle::*)(bool);
  const Reveal none = nullptr, both = &QuestionCycle::RevealBoth;
  const std::vector<std::tuple<const char*, int, uint64_t, bool, Reveal, int32_t, Text, Text>> cases = {
      {"20 pairs, from the weakest", 20, 106, false, none, 20, "L20", {}},
      {"21 pairs: the 21st is not among the 20 weakest", 21, 106, false, none, 20, "L20", {}},
      {"21 pairs, one draw in four from the whole list", 21, 65, false, none, 21, "L21", {}},
      {"the clock's low 32 bits only", 21, (7ull << 32) | 106, false, none, 20, "L20", {}},
      {"the right side", 30, 2, false, none, 21, {}, "R21"},
      {"\"Montrer à gauche en premier\"", 30, 2, true, none, 21, "L21", {}},
      {"the hidden side revealed", 30, 2, false, &QuestionCycle::RevealLeft, 21, "L21", "R21"},
      {"the side shown revealed", 30, 2, false, &QuestionCycle::RevealRight, 21, {}, "R21"},
      {"both revealed", 30, 1, false, both, 26, "L26", "R26"},
      {"before any question", 30, 0, false, none, 0, {}, {}},
      {"both revealed before any question", 30, 0, false, both, 0, {}, "Droite"}};
  for (const auto& [name, pairs, clock, leftFirst, reveal, row, left, right] : cases) {
    SCOPED_TRACE(name);
    Rig rig(Pairs(pairs));
    rig.cycle.SetLeftFirst(leftFirst);
    rig.Ask(clock);
    rig.Ask(clock);
    if (reveal) (rig.cycle.*reveal)(true);
    EXPECT_EQ(rig.session.questionRow, row);
    EXPECT_EQ(rig.Card(), std::make_tuple(left, clock && !left, right, clock && !right));
    EXPECT_EQ(rig.cycle.AwaitingAnswer(), reveal || !clock);
    EXPECT_EQ(rig.cycle.ScoreAtDraw().has_value(), clock != 0);
  }
}

// An answer books into the pending pair (if still there), then the next question notes the score (found, asked) before
// it counts; counts stop at the largest 32-bit value. The 1st, 6th, 11th... question of a series is ranked first.
TEST(Quiz, AnswersScoresAndRanking) {
  const std::string largest = "a;b;2147483647;2147483647;", pair = "a;b;3;1;0,5", ranked = "a;b;3;1;0,167";
  const Answer next = &QuestionCycle::NextQuestion, yes = &QuestionCycle::AnswerFound;
  const std::vector<std::tuple<const char*, std::string, int, int32_t, int32_t, Answer, std::string, int32_t, int32_t>>
      cases = {
          {"Oui", pair, 1, 1, 0, yes, "a;b;4;2;0,5", 1, 1},
          {"Non", pair, 1, 1, 0, &QuestionCycle::AnswerNotFound, "a;b;4;1;0,5", 0, 1},
          {"the pair gone", pair, 2, 1, 0, yes, pair, 1, 1},
          {"counts that are no number", "a;b;x;;", 1, 1, 0, yes, "a;b;1;1;", 1, 1},
          {"one below the largest", "a;b;2147483646;2147483646;", 1, kMax - 1, kMax - 1, yes, largest, kMax, kMax - 1},
          {"the largest", largest, 1, kMax, kMax, yes, largest, kMax, kMax},
          {"the 1st question", pair, 1, 0, 0, next, ranked, 0, 0},
          {"the 6th", pair, 1, 5, 2, next, ranked, 2, 5},
          {"the 7th", pair, 1, 6, 2, next, pair, 2, 6},
          {"a new series", pair, 1, 3, 2, &QuestionCycle::NewSeries, ranked, 0, 0}};
  for (const auto& [name, before, pending, asked, found, answer, booked, foundShown, askedShown] : cases) {
    SCOPED_TRACE(name);
    Rig rig({before});
    rig.session.questionRow = pending;
    rig.session.askedCount = asked;
    rig.session.foundCount = found;
    (rig.cycle.*answer)();
    EXPECT_EQ(Cells(rig.session.table), Split({booked}));
    const std::optional<SeriesScore>& score = rig.cycle.ScoreAtDraw();
    ASSERT_TRUE(score);
    EXPECT_EQ(std::tie(score->listName, score->found, score->asked), std::make_tuple("liste", foundShown, askedShown));
    EXPECT_EQ(rig.session.askedCount, askedShown == kMax ? kMax : askedShown + 1);
    EXPECT_EQ(rig.session.unsaved, answer == yes || answer == &QuestionCycle::AnswerNotFound);
  }
}

TEST(Quiz, ResettingTheStatisticsEmptiesTheCountsOnly) {
  Rig rig({"b;x;4;3;0,375", "a;y;2;0;0,000"});
  rig.session.askedCount = 7;
  rig.cycle.ResetStats();
  EXPECT_EQ(Cells(rig.session.table), Split({"b;x;;;", "a;y;;;"}));
  EXPECT_FALSE(rig.session.unsaved);
  EXPECT_EQ(rig.session.askedCount, 7);
}

// The left text is spoken as it is revealed, once the card shows it, in the language chosen; a voice exists exactly
// while speech is on, and a failure to speak, by result or by exception, switches speech off.
TEST(Quiz, Speech) {
  enum Voices { Speak, Fail, Raise, Off };
  const std::vector<std::tuple<const char*, uint64_t, int, Voices, Texts>> cases = {
      {"the left side asked", 1, 0, Speak, {"L26"}},
      {"the right side asked", 2, 0, Speak, {}},
      {"each click on the left", 2, 2, Speak, {"L21", "L21"}},
      {"no text before the first question", 0, 1, Speak, {}},
      {"speaking fails", 1, 0, Fail, {"L26"}},
      {"speaking throws", 1, 0, Raise, {"L26"}},
      {"speech switched off", 1, 0, Off, {}}};
  for (const auto& [name, question, leftClicks, voices, spoken] : cases) {
    SCOPED_TRACE(name);
    Rig rig;
    rig.cycle.SetSpeechOn(voices != Off);  // as it was, or off
    rig.cycle.SetSpokenLanguage("pl");
    rig.voices->fail = voices == Fail;
    rig.voices->raise = voices == Raise;
    Texts seen;  // the left side as each text is about to be spoken
    rig.cycle.SetBeforeSpeak([&] { seen.push_back(rig.cycle.LeftSide().text.value_or("none")); });
    rig.Ask(question);
    for (int k = 0; k < leftClicks; ++k) rig.cycle.RevealLeft(true);
    EXPECT_EQ(rig.voices->spoken, spoken);
    EXPECT_EQ(seen, spoken);
    EXPECT_EQ(rig.voices->languages, Texts(spoken.size(), "pl"));
    EXPECT_EQ(rig.cycle.SpeechOn(), voices == Speak);
    EXPECT_EQ(rig.voices->made, 1);
    EXPECT_EQ(rig.voices->alive, voices == Speak ? 1 : 0);
  }
  // No voice made, or making one throws: speech stays off.
  for (const VoiceFactory& maker : {VoiceFactory([] { return std::unique_ptr<Voice>(); }),
                                    VoiceFactory([]() -> std::unique_ptr<Voice> { throw std::runtime_error("x"); })}) {
    Session session;
    QuestionCycle cycle(session, maker);
    cycle.SetSpeechOn(true);
    EXPECT_FALSE(cycle.SpeechOn());
  }
}

}  // namespace
}  // namespace tenaxo
