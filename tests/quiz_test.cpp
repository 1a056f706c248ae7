#include <gtest/gtest.h>

#include <limits>

#include "FakeVoice.h"
#include "QuestionCycle.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::Rows;
using Texts = std::vector<std::string>;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// A session of pairs L1;R1 ... under their header, and a quiz over it whose clock reads `clock`.
struct Rig {
  explicit Rig(int pairs = 30) {
    Texts rows;
    for (int i = 1; i <= pairs; ++i) rows.push_back("L" + std::to_string(i) + ";R" + std::to_string(i));
    Load(rows);
  }
  void Load(const Texts& rows) {
    session.table = test::MakeTable(rows);
    session.table.SetRowTexts(0, {"Gauche", "Droite", "Demandé", "Juste", "Ratio"});
  }
  void Ask(uint64_t at) {
    clock = at;
    cycle.NextQuestion();
  }

  Session session;
  std::shared_ptr<test::VoiceLog> voices = std::make_shared<test::VoiceLog>();
  uint64_t clock = 0;
  QuestionCycle cycle{session, test::FakeVoices(voices), [this] { return clock; }};
};

class QuizTest : public ::testing::Test {
 protected:
  void SetUp() override { TextLocale::SetCurrent(QLocale(QLocale::French, QLocale::France)); }
};

void ExpectSide(const CardSide& side, std::optional<std::string> text, bool hidden) {
  EXPECT_EQ(side.text, text);
  EXPECT_EQ(side.hidden, hidden);
}

// Three draws from the clock's low 32 bits: below 4 (0: from the whole list, else from the 20 weakest rows), the row,
// below 2 (0: the left side is the question).
TEST_F(QuizTest, TheClockPicksTheRow) {
  const struct {
    const char* name;
    int pairs;
    uint64_t clock;
    int32_t row;
  } cases[] = {
      {"19 pairs, from the weakest", 19, 106, 19},
      {"20 pairs, from the weakest", 20, 106, 20},
      {"21 pairs: the 21st is not among the 20 weakest", 21, 106, 20},
      {"21 pairs, one draw in four from the whole list", 21, 65, 21},
      {"the clock's low 32 bits only", 21, (7ull << 32) | 106, 20},
      {"one pair", 1, 106, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig(c.pairs);
    rig.Ask(c.clock);
    EXPECT_EQ(rig.session.questionRow, c.row);
    rig.Ask(c.clock);  // reseeded at every question
    EXPECT_EQ(rig.session.questionRow, c.row);
  }
}

TEST_F(QuizTest, TheClockPicksTheSideShown) {
  const struct {
    const char* name;
    uint64_t clock;
    bool leftFirst;
    std::optional<std::string> left, right;  // none: hidden
  } cases[] = {
      {"the left side", 1, false, "L26", std::nullopt},
      {"the right side", 2, false, std::nullopt, "R21"},
      {"\"Montrer à gauche en premier\"", 2, true, "L21", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.cycle.SetLeftFirst(c.leftFirst);
    rig.Ask(c.clock);
    ExpectSide(rig.cycle.LeftSide(), c.left, !c.left);
    ExpectSide(rig.cycle.RightSide(), c.right, !c.right);
    EXPECT_FALSE(rig.cycle.AwaitingAnswer());
  }
}

// Each reveal by the user awaits the answer. Before the first question the left side has no text to show and the
// right side shows its column's header.
TEST_F(QuizTest, Reveals) {
  const struct {
    const char* name;
    std::optional<uint64_t> question;  // the clock of a question first, if any
    void (QuestionCycle::*reveal)(bool);
    std::optional<std::string> left, right;  // none: no text, hidden when a question is pending
  } cases[] = {
      {"the left before any question", std::nullopt, &QuestionCycle::RevealLeft, std::nullopt, std::nullopt},
      {"the right before any question", std::nullopt, &QuestionCycle::RevealRight, std::nullopt, "Droite"},
      {"both before any question", std::nullopt, &QuestionCycle::RevealBoth, std::nullopt, "Droite"},
      {"the hidden side", 2, &QuestionCycle::RevealLeft, "L21", "R21"},
      {"the side shown", 2, &QuestionCycle::RevealRight, std::nullopt, "R21"},
      {"both", 1, &QuestionCycle::RevealBoth, "L26", "R26"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    if (c.question) rig.Ask(*c.question);
    (rig.cycle.*c.reveal)(true);
    ExpectSide(rig.cycle.LeftSide(), c.left, c.question && !c.left);
    ExpectSide(rig.cycle.RightSide(), c.right, c.question && !c.right);
    EXPECT_TRUE(rig.cycle.AwaitingAnswer());
  }
}

// The score is noted as each question is drawn, before it counts; counts stop at the largest 32-bit value.
TEST_F(QuizTest, AnswersAndScores) {
  const struct {
    const char* name;
    std::string pair;  // the one pair, pending
    int32_t asked, found;
    void (QuestionCycle::*answer)();
    std::string booked;
    SeriesScore score;
    int32_t askedAfter;
  } cases[] = {
      {"Oui", "a;b;3;1;0,5", 1, 0, &QuestionCycle::AnswerFound, "a;b;4;2;0,5", {"liste", 1, 1}, 2},
      {"Non", "a;b;3;1;0,5", 1, 0, &QuestionCycle::AnswerNotFound, "a;b;4;1;0,5", {"liste", 0, 1}, 2},
      {"counts that are no number count from 0",
       "a;b;x;;",
       1,
       0,
       &QuestionCycle::AnswerFound,
       "a;b;1;1;",
       {"liste", 1, 1},
       2},
      {"counts at their largest stay",
       "a;b;2147483647;2147483647;",
       kMax,
       kMax,
       &QuestionCycle::AnswerFound,
       "a;b;2147483647;2147483647;",
       {"liste", kMax, kMax},
       kMax},
      {"one below the largest",
       "a;b;2147483646;2147483646;",
       kMax - 1,
       kMax - 1,
       &QuestionCycle::AnswerFound,
       "a;b;2147483647;2147483647;",
       {"liste", kMax, kMax - 1},
       kMax},
      {"a question", "a;b;3;1;0,5", 6, 2, &QuestionCycle::NextQuestion, "a;b;3;1;0,5", {"liste", 2, 6}, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Load({c.pair});
    rig.session.questionRow = 1;
    rig.session.listName = "liste";
    rig.session.askedCount = c.asked;
    rig.session.foundCount = c.found;
    (rig.cycle.*c.answer)();
    EXPECT_EQ(Rows(rig.session.table), Texts{c.booked});
    ASSERT_TRUE(rig.cycle.ScoreAtDraw());
    EXPECT_EQ(rig.cycle.ScoreAtDraw()->listName, c.score.listName);
    EXPECT_EQ(rig.cycle.ScoreAtDraw()->found, c.score.found);
    EXPECT_EQ(rig.cycle.ScoreAtDraw()->asked, c.score.asked);
    EXPECT_EQ(rig.session.askedCount, c.askedAfter);
    EXPECT_EQ(rig.session.unsaved, c.answer != &QuestionCycle::NextQuestion);
  }
}

TEST_F(QuizTest, NoScoreBeforeTheFirstQuestionAndNoAnswerToARowGone) {
  Rig rig(2);
  EXPECT_FALSE(rig.cycle.ScoreAtDraw());
  EXPECT_TRUE(rig.cycle.AwaitingAnswer());
  rig.session.questionRow = 3;  // the list shrank under the question
  rig.cycle.AnswerFound();
  EXPECT_EQ(Rows(rig.session.table), (Texts{"L1;R1;;;", "L2;R2;;;"}));
  EXPECT_EQ(rig.session.foundCount, 1);
  EXPECT_TRUE(rig.session.unsaved);
}

// The list is ranked before the 1st, 6th, 11th... question of a series; a new series starts again at the 1st.
TEST_F(QuizTest, RanksBeforeEveryFifthQuestion) {
  const struct {
    const char* name;
    int32_t asked;
    void (QuestionCycle::*step)();
    bool ranked;
  } cases[] = {
      {"1st", 0, &QuestionCycle::NextQuestion, true},
      {"2nd", 1, &QuestionCycle::NextQuestion, false},
      {"5th", 4, &QuestionCycle::NextQuestion, false},
      {"6th", 5, &QuestionCycle::NextQuestion, true},
      {"7th", 6, &QuestionCycle::NextQuestion, false},
      {"11th", 10, &QuestionCycle::NextQuestion, true},
      {"at the largest", kMax, &QuestionCycle::NextQuestion, false},
      {"a new series", 3, &QuestionCycle::NewSeries, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Load({"a;;4;1;stale", "b;;4;3;stale"});
    rig.session.askedCount = c.asked;
    rig.session.foundCount = 1;
    (rig.cycle.*c.step)();
    EXPECT_EQ(rig.session.table.Cell(ColRatio, 1), c.ranked ? "0,125" : "stale");
    if (c.step == &QuestionCycle::NewSeries) {
      EXPECT_EQ(rig.session.askedCount, 1);
      EXPECT_EQ(rig.session.foundCount, 0);
    }
  }
}

TEST_F(QuizTest, ResettingTheStatisticsEmptiesTheCountsOnly) {
  Rig rig;
  rig.Load({"b;x;4;3;0,375", "a;y;2;0;0,000"});
  rig.session.askedCount = 7;
  rig.cycle.ResetStats();
  EXPECT_EQ(Rows(rig.session.table), (Texts{"b;x;;;", "a;y;;;"}));
  EXPECT_FALSE(rig.session.unsaved);
  EXPECT_EQ(rig.session.askedCount, 7);
}

// The left text is spoken as it is revealed, after the card shows it; a failure to speak switches speech off.
TEST_F(QuizTest, Speech) {
  const struct {
    const char* name;
    std::function<void(Rig&)> act;
    Texts spoken;
    bool on;
    std::string language = "";
  } cases[] = {
      {"the left side asked", [](Rig& r) { r.Ask(1); }, {"L26"}, true},
      {"the right side asked, then revealed",
       [](Rig& r) {
         r.Ask(2);
         r.cycle.RevealRight(true);
       },
       {},
       true},
      {"every reveal of the left",
       [](Rig& r) {
         r.Ask(2);
         r.cycle.RevealLeft(true);
         r.cycle.RevealBoth(true);
       },
       {"L21", "L21"},
       true},
      {"no text before the first question", [](Rig& r) { r.cycle.RevealLeft(true); }, {}, true},
      {"in the language chosen",
       [](Rig& r) {
         r.cycle.SetSpokenLanguage("pl");
         r.Ask(1);
       },
       {"L26"},
       true,
       "pl"},
      {"speech off",
       [](Rig& r) {
         r.cycle.SetSpeechOn(false);
         r.Ask(1);
       },
       {},
       false},
      {"speaking fails",
       [](Rig& r) {
         r.voices->fail = true;
         r.Ask(1);
       },
       {"L26"},
       false},
      {"speaking throws",
       [](Rig& r) {
         r.voices->raise = true;
         r.Ask(1);
       },
       {"L26"},
       false},
      {"the card shown switches speech off",
       [](Rig& r) {
         r.cycle.SetBeforeSpeak([&r] { r.cycle.SetSpeechOn(false); });
         r.Ask(1);
       },
       {},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.cycle.SetSpeechOn(true);
    std::vector<std::optional<std::string>> seen;  // the left side as each text is about to be spoken
    rig.cycle.SetBeforeSpeak([&] { seen.push_back(rig.cycle.LeftSide().text); });
    c.act(rig);
    EXPECT_EQ(rig.voices->spoken, c.spoken);
    EXPECT_EQ(seen.size(), c.spoken.size());
    for (size_t k = 0; k < seen.size() && k < c.spoken.size(); ++k) EXPECT_EQ(seen[k], c.spoken[k]);
    for (const std::string& language : rig.voices->languages) EXPECT_EQ(language, c.language);
    EXPECT_EQ(rig.cycle.SpeechOn(), c.on);
    EXPECT_EQ(rig.voices->alive, c.on ? 1 : 0) << "a voice exists exactly while speech is on";
  }
}

TEST_F(QuizTest, SpeechNeedsAVoice) {
  const struct {
    const char* name;
    VoiceFactory voices;
    bool on;
  } cases[] = {
      {"none can be made", [] { return std::unique_ptr<Voice>(); }, false},
      {"making one throws", []() -> std::unique_ptr<Voice> { throw std::runtime_error("no engine"); }, false},
      {"no maker", {}, false},
      {"one made", test::FakeVoices(std::make_shared<test::VoiceLog>()), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session session;
    QuestionCycle cycle(session, c.voices);
    cycle.SetSpeechOn(true);
    EXPECT_EQ(cycle.SpeechOn(), c.on);
  }
  Rig rig;
  rig.cycle.SetSpeechOn(true);
  rig.cycle.SetSpeechOn(true);  // set again as it was: still the one voice
  EXPECT_EQ(rig.voices->made, 1);
}

}  // namespace
}  // namespace tenaxo
