#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "FakeVoice.h"
#include "QuestionCycle.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::Rows;

TEST(Random, DrawsAsComputedByHand) {
  struct Case {
    uint32_t seed, n, nextSeed, result;
  };
  // next = seed * 134775813 + 1 mod 2^32, result = (n * next) >> 32
  const std::vector<Case> cases = {
      {0, 4, 1, 0},
      {0xFFFFFFFFu, 10, 4160191484u, 9},      // -134775813 + 1; 41601914840 / 2^32 = 9.69
      {0x12345678u, 1000, 3411775577u, 794},  // 3411775577000 / 2^32 = 794.37
      {0x80000000u, 2, 0x80000001u, 1},       // 2^31 * odd = 2^31 mod 2^32
      {5, 0, 673879066, 0},                   // a draw below 0 gives 0 and still steps
  };
  for (const auto& c : cases) {
    Random random(c.seed);
    EXPECT_EQ(random.Below(c.n), c.result) << c.seed;
    EXPECT_EQ(random.SeedValue(), c.nextSeed) << c.seed;
  }
}

class Quiz : public ::testing::Test {
 protected:
  void SetUp() override {
    cycle = std::make_unique<QuestionCycle>(
        session, test::FakeVoices(voices),
        [this](const QString& question) {
          questions.push_back(question);
          return confirm;
        },
        [this] { return clock++; });
    cycle->SetLocale(&test::French());
  }
  void Load(const std::vector<std::string>& rows) {
    session.SgListe = test::MakeTable(rows);
    session.SgListe.SetRowTexts(0, {"Gauche", "Droite", Ansi("Demandé"), "Juste", "Ratio"});
    session.FListName = "Anglais";
  }
  void LoadNumbered(int n) {  // L1;R1 ... Ln;Rn
    std::vector<std::string> rows;
    for (int i = 1; i <= n; ++i) rows.push_back("L" + std::to_string(i) + ";R" + std::to_string(i));
    Load(rows);
  }
  // The card as the user sees it: both panels, "(silver)" when masked, then
  // "Oui/Non" while the "Réponse trouvée ?" panel shows.
  std::string Card() const {
    auto panel = [](const AnswerPanel& p) { return p.Caption + (p.Color == PanelColor::Silver ? "(silver)" : ""); };
    return panel(cycle->PnQL()) + " | " + panel(cycle->PnQR()) + (cycle->PnReponseVisible() ? " | Oui/Non" : "");
  }
  std::string Title() const { return cycle->Title().toStdString(); }

  Session session;
  std::shared_ptr<test::VoiceLog> voices = std::make_shared<test::VoiceLog>();
  std::vector<QString> questions;
  bool confirm = true;
  uint64_t clock = 0;
  std::unique_ptr<QuestionCycle> cycle;
};

TEST_F(Quiz, ClockValuePicksRowAndSide) {
  struct Case {
    uint64_t clock;
    bool firstLeft;
    std::string card;
  };
  // 30 rows. Clock 1: draws 0 of 4 (whole list), 25 of 30, 0 of 2 (left).
  const std::vector<Case> cases = {
      {1, false, "L26 | ?(silver)"}, {2, false, "?(silver) | R21"}, {10, false, "L7 | ?(silver)"},
      {8, false, "?(silver) | R14"}, {(7ull << 32) | 2, false, "?(silver) | R21"},  // low 32 bits only
      {2, true, "L21 | ?(silver)"},                                                  // "Montrer à gauche en premier"
  };
  LoadNumbered(30);
  for (const auto& c : cases) {
    cycle->SetCbFirstLeft(c.firstLeft);
    for (int again = 0; again < 2; ++again) {  // reseeded at every question
      clock = c.clock;
      cycle->NextQuestion();
      EXPECT_EQ(Card(), c.card) << c.clock;
    }
  }
}

TEST_F(Quiz, DrawFavoursTheFirstTwentyRows) {
  // Clock values 0 to 8399, so the same counts at every run, within 2% of the
  // exact share: with 21 rows, rows 1-20 at 3/80 + 1/84 (415 of 8400) and row
  // 21 at 1/84 (100); 20 rows or fewer, uniformly.
  struct Case {
    int rows, first20, row21;
  };
  for (const Case& c : {Case{21, 415, 100}, Case{20, 420, 0}, Case{7, 1200, 0}}) {
    LoadNumbered(c.rows);
    clock = 0;
    std::map<int, int> drawn;
    for (int q = 0; q < 8400; ++q) {
      cycle->NextQuestion();
      ++drawn[session.FQuestionRow];
    }
    EXPECT_EQ(drawn.size(), static_cast<size_t>(c.rows)) << "a row outside 1.." << c.rows;
    for (int row = 1; row <= c.rows; ++row) {
      const int expected = row <= 20 ? c.first20 : c.row21;
      EXPECT_NEAR(drawn[row], expected, expected * 0.02) << c.rows << " rows, row " << row;
    }
  }
}

TEST_F(Quiz, RevealsBeforeAnyQuestion) {
  // A masked panel with no question pending (row 0, as at start-up): the left
  // keeps its caption and turns white, the right shows the header text and
  // keeps its colour.
  Load({"a;b"});
  clock = 2;  // right side shown, left masked
  cycle->NextQuestion();
  session.FQuestionRow = 0;
  cycle->PnQLClick(true);
  EXPECT_EQ(Card(), "? | b | Oui/Non");
  clock = 1;  // left side shown, right masked
  cycle->NextQuestion();
  session.FQuestionRow = 0;
  cycle->PnQRClick(true);
  EXPECT_EQ(Card(), "a | Droite(silver) | Oui/Non");
}

TEST_F(Quiz, TitleHoldsTheScoreOfTheAnsweredQuestions) {
  LoadNumbered(3);
  cycle->BtOuiClick();  // "Oui" with no question drawn yet still counts
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 1/0");
  cycle->Button3Click();  // a new series
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 0/0");
  cycle->BtOuiClick();
  cycle->BtOuiClick();
  cycle->BtNonClick();
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 2/3");

  session.FListName.clear();
  session.FAskedCount = INT32_MAX;  // the counts stop there instead of going negative
  session.FFoundCount = INT32_MAX;
  cycle->BtOuiClick();
  cycle->BtNonClick();
  EXPECT_EQ(Title(), "Tenaxo -  - Réponses justes : 2147483647/2147483647");
}

TEST_F(Quiz, RanksBeforeEveryFifthQuestionOfASeries) {
  LoadNumbered(4);
  std::vector<int> rankedAt;
  for (int q = 1; q <= 11; ++q) {
    for (int r = 1; r <= 4; ++r) session.SgListe.SetCell(ColRatio, r, "stale");
    cycle->NextQuestion();
    if (session.SgListe.Cell(ColRatio, 1) != "stale") rankedAt.push_back(q);
  }
  EXPECT_EQ(rankedAt, (std::vector<int>{1, 6, 11}));
}

TEST_F(Quiz, AnswersBookIntoThePendingRowOnly) {
  struct Case {
    std::string pair;
    int pending;  // 1: the pair; 2: a row gone, the list having shrunk under the question
    bool yes;
    std::string after;
  };
  const std::vector<Case> cases = {
      {"a;b;3;1;0,5", 1, true, "a;b;4;2;0,5"},  // the ratio waits for the next ranking
      {"a;b;3;1;0,5", 1, false, "a;b;4;1;0,5"},
      {"", 1, true, ";;1;1;"},  // a list of one blank row
      // counts stop at the largest 32-bit number instead of going negative
      {"a;b;2147483647;2147483646;", 1, true, "a;b;2147483647;2147483647;"},
      {"a;b;2147483647;5;", 1, false, "a;b;2147483647;5;"},
      {"a;b;3;1;", 0, true, "a;b;3;1;"},  // no question drawn yet
      {"a;b;3;1;", 2, true, "a;b;3;1;"},
      {"a;b;3;1;", 2, false, "a;b;3;1;"},
  };
  for (const auto& c : cases) {
    Load({c.pair});
    session.FAskedCount = 1;  // no ranking at the next question
    session.FQuestionRow = c.pending;
    session.Unsaved = false;
    c.yes ? cycle->BtOuiClick() : cycle->BtNonClick();
    EXPECT_EQ(Rows(session.SgListe), std::vector<std::string>{c.after}) << c.pair << (c.yes ? " Oui" : " Non");
    EXPECT_EQ(session.FQuestionRow, 1) << "the next question, from the one row there is";
    EXPECT_TRUE(session.Unsaved);
  }
}

TEST_F(Quiz, ResetOfTheStatisticsAsksFirst) {
  const std::vector<std::string> before = {"b;x;4;3;0,375", "a;y;2;0;0,000"};
  Load(before);
  session.FAskedCount = 7;
  confirm = false;
  cycle->Button4Click();
  EXPECT_EQ(Rows(session.SgListe), before);
  confirm = true;
  cycle->Button4Click();
  EXPECT_EQ(questions, std::vector<QString>(2, QString::fromUtf8("Remise à zéro des statistiques ?")));
  EXPECT_EQ(Rows(session.SgListe), (std::vector<std::string>{"b;x;;;", "a;y;;;"}));
  // Nothing to save, and no new question.
  EXPECT_FALSE(session.Unsaved);
  EXPECT_EQ(session.FAskedCount, 7);
}

// ---------------------------------------------------------------- speech

TEST_F(Quiz, ClicksRevealAndSpeakTheLeftSide) {
  LoadNumbered(30);
  EXPECT_FALSE(cycle->HasVoice());
  cycle->SetCbVocal(true);
  cycle->SetCbVocal(true);  // restored as it already was: still one voice
  std::vector<std::string> seen;  // the card as each text is spoken
  cycle->SetBeforeSpeak([&] { seen.push_back(Card()); });

  clock = 2;  // right side shown; the right side is never spoken
  cycle->NextQuestion();
  cycle->PnQRClick(true);  // the side already shown: the answer panel only
  EXPECT_EQ(Card(), "?(silver) | R21 | Oui/Non");
  EXPECT_TRUE(voices->spoken.empty());
  cycle->PnQLClick(true);
  cycle->PnQLClick(true);  // every further click speaks again
  clock = 1;               // left side shown
  cycle->NextQuestion();
  cycle->PnFicheClick(true);  // the left is revealed and spoken before the right
  EXPECT_EQ(Card(), "L26 | R26 | Oui/Non");

  EXPECT_EQ(voices->spoken, (std::vector<std::string>{"L21", "L21", "L26", "L26"}));
  EXPECT_EQ(seen, (std::vector<std::string>{"L21 | R21 | Oui/Non", "L21 | R21 | Oui/Non", "L26 | ?(silver)",
                                            "L26 | ?(silver) | Oui/Non"}));
  // A voice exists exactly while speech is on.
  EXPECT_EQ(voices->made, 1);
  cycle->SetCbVocal(false);
  EXPECT_EQ(voices->alive, 0);
}

TEST_F(Quiz, SpeechFailureSwitchesSpeechOffOnce) {
  for (bool raise : {false, true}) {
    Load({"a;b"});
    voices->spoken.clear();
    voices->fail = !raise;
    voices->raise = raise;
    cycle->SetCbFirstLeft(true);
    cycle->SetCbVocal(true);
    cycle->NextQuestion();
    EXPECT_FALSE(cycle->CbVocal());
    EXPECT_EQ(voices->alive, 0);
    EXPECT_EQ(Card(), "a | ?(silver)");  // the question stands
    cycle->PnQLClick(true);
    cycle->BtOuiClick();  // the quiz goes on, silently
    EXPECT_EQ(voices->spoken, std::vector<std::string>{"a"});
  }
  QuestionCycle mute(session);  // no voice can be made: speech does not stay on
  mute.SetCbVocal(true);
  EXPECT_FALSE(mute.CbVocal());
}

}  // namespace
}  // namespace tenaxo
