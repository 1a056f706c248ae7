#include <gtest/gtest.h>

#include <tuple>

#include "FakeVoice.h"
#include "QuestionCycle.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::Rows;
using Texts = std::vector<std::string>;

class Quiz : public ::testing::Test {
 protected:
  void SetUp() override {
    cycle = std::make_unique<QuestionCycle>(
        session, test::FakeVoices(voices),
        [this](const QString& question) { return questions.push_back(question), confirm; }, [this] { return clock++; });
    cycle->SetLocale(&test::French());
    Texts rows;  // L1;R1 ... L30;R30
    for (int i = 1; i <= 30; ++i) rows.push_back("L" + std::to_string(i) + ";R" + std::to_string(i));
    Load(rows);
  }
  void Load(const Texts& rows) {
    session.table = test::MakeTable(rows);
    session.table.SetRowTexts(0, {"Gauche", "Droite", "Demandé", "Juste", "Ratio"});
  }
  // The card as the user sees it: both panels, "(silver)" when masked, then
  // "Oui/Non" while the "Réponse trouvée ?" panel shows.
  std::string Card() const {
    auto panel = [](const AnswerPanel& p) { return p.Caption + (p.Color == PanelColor::Silver ? "(silver)" : ""); };
    return panel(cycle->LeftSide()) + " | " + panel(cycle->RightSide()) + (cycle->AwaitingAnswer() ? " | Oui/Non" : "");
  }

  Session session;
  std::shared_ptr<test::VoiceLog> voices = std::make_shared<test::VoiceLog>();
  std::vector<QString> questions;
  bool confirm = true;
  uint64_t clock = 0;
  std::unique_ptr<QuestionCycle> cycle;
};

// Three draws: below 4 (0: from the whole list, else from the first 20 rows),
// the row, below 2 (0: the left side shows).
TEST_F(Quiz, ClockValuePicksRowAndSide) {
  // clock, left first, card
  const std::vector<std::tuple<uint64_t, bool, std::string>> cases = {
      {1, false, "L26 | ?(silver)"},                 // seeds 134775814, 3698175007, 870078620: 0, 25 of 30, 0
      {2, false, "?(silver) | R21"},                 // seeds 269551627, 2966606904, 2336949529: 0, 20 of 30, 1
      {8, false, "?(silver) | R14"},                 // seeds 1078206505, 2872165582, 2548240391: 1, 13 of 20, 1
      {10, false, "L7 | ?(silver)"},                 // seeds 1347758131, 1409029376, 1187014913: 1, 6 of 20, 0
      {(7ull << 32) | 2, false, "?(silver) | R21"},  // low 32 bits only
      {2, true, "L21 | ?(silver)"},                  // "Montrer à gauche en premier"
  };
  for (const auto& [value, firstLeft, card] : cases) {
    cycle->SetLeftFirst(firstLeft);
    for (int again = 0; again < 2; ++again) {  // reseeded at every question
      clock = value;
      cycle->NextQuestion();
      EXPECT_EQ(Card(), card) << value;
    }
  }
}

TEST_F(Quiz, RevealsBeforeAnyQuestion) {
  // No question pending (row 0): the left keeps its caption; the right shows the header, still masked.
  Load({"a;b"});
  for (uint64_t c : {2, 1}) {  // the right side shown, then the left one
    clock = c;
    cycle->NextQuestion();
    session.questionRow = 0;
    c == 2 ? cycle->RevealLeft(true) : cycle->RevealRight(true);
    EXPECT_EQ(Card(), c == 2 ? "? | b | Oui/Non" : "a | Droite(silver) | Oui/Non");
  }
}

TEST_F(Quiz, RanksBeforeEveryFifthQuestionOfASeries) {
  std::vector<int> rankedAt;
  for (int q = 1; q <= 11; ++q) {
    for (int r = 1; r <= 30; ++r) session.table.SetCell(ColRatio, r, "stale");
    cycle->NextQuestion();
    if (session.table.Cell(ColRatio, 1) != "stale") rankedAt.push_back(q);
  }
  EXPECT_EQ(rankedAt, (std::vector<int>{1, 6, 11}));
}

TEST_F(Quiz, AnswersBookIntoThePendingRowOnly) {
  // Before, pending row, "Oui", after.
  const std::vector<std::tuple<std::string, int, bool, std::string>> cases = {
      {"a;b;3;1;0,5", 1, true, "a;b;4;2;0,5"},  // the ratio waits for the next ranking
      {"a;b;3;1;0,5", 1, false, "a;b;4;1;0,5"},
      {"a;b;2147483647;2147483646;", 1, true, "a;b;2147483647;2147483647;"},  // no wrap to negative
  };
  for (const auto& [pair, pending, yes, after] : cases) {
    Load({pair});
    session.askedCount = 1;  // no ranking at the next question
    session.questionRow = pending;
    session.unsaved = false;
    yes ? cycle->AnswerFound() : cycle->AnswerNotFound();
    EXPECT_EQ(Rows(session.table), Texts{after}) << pair << (yes ? " Oui" : " Non");
    EXPECT_EQ(session.questionRow, 1) << "the next question, from the one row there is";
    EXPECT_TRUE(session.unsaved);
  }
}

TEST_F(Quiz, ResetOfTheStatisticsAsksFirst) {
  const Texts before = {"b;x;4;3;0,375", "a;y;2;0;0,000"};
  Load(before);
  session.askedCount = 7;
  confirm = false;
  cycle->ConfirmAndResetStats();
  EXPECT_EQ(Rows(session.table), before);
  confirm = true;
  cycle->ConfirmAndResetStats();
  EXPECT_EQ(questions, std::vector<QString>(2, QString::fromUtf8("Remise à zéro des statistiques ?")));
  EXPECT_EQ(Rows(session.table), (Texts{"b;x;;;", "a;y;;;"}));
  EXPECT_FALSE(session.unsaved) << "nothing to save";
  EXPECT_EQ(session.askedCount, 7) << "no new question";
}

TEST_F(Quiz, ClicksRevealAndSpeakTheLeftSide) {
  cycle->SetSpeechOn(true);
  cycle->SetSpeechOn(true);  // restored as it already was: still one voice
  Texts seen;                // the card as each text is spoken
  cycle->SetBeforeSpeak([&] { seen.push_back(Card()); });
  clock = 2;  // right side shown; the right side is never spoken
  cycle->NextQuestion();
  cycle->RevealRight(true);  // the side already shown: the answer panel only
  EXPECT_EQ(Card(), "?(silver) | R21 | Oui/Non");
  EXPECT_TRUE(voices->spoken.empty());
  cycle->RevealLeft(true);
  cycle->RevealLeft(true);  // every further click speaks again
  clock = 1;                // left side shown
  cycle->NextQuestion();
  cycle->RevealBoth(true);  // the left is revealed and spoken before the right
  EXPECT_EQ(Card(), "L26 | R26 | Oui/Non");
  EXPECT_EQ(voices->spoken, (Texts{"L21", "L21", "L26", "L26"}));
  EXPECT_EQ(seen,
            (Texts{"L21 | R21 | Oui/Non", "L21 | R21 | Oui/Non", "L26 | ?(silver)", "L26 | ?(silver) | Oui/Non"}));
  EXPECT_EQ(voices->made, 1);  // a voice exists exactly while speech is on
  cycle->SetSpeechOn(false);
  EXPECT_EQ(voices->alive, 0);
  QuestionCycle mute(session);  // no voice can be made: speech does not stay on
  mute.SetSpeechOn(true);
  EXPECT_FALSE(mute.SpeechOn());
}

}  // namespace
}  // namespace tenaxo
