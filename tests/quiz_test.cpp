#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "FakeVoice.h"
#include "QuestionCycle.h"
#include "TableText.h"

namespace tenaxo {
namespace {
using test::FakeVoices;
using test::MakeTable;
using test::Rows;
using test::VoiceLog;

TEST(Random, DrawsAsComputedByHand) {
  struct Case {
    uint32_t seed, n, nextSeed, result;
  };
  // next = seed * 134775813 + 1 mod 2^32, result = (n * next) >> 32
  const std::vector<Case> cases = {
      {0, 4, 1, 0},
      {1, 21, 134775814, 0},                   // 21 * 134775814 = 2830292094 < 2^32
      {0xFFFFFFFFu, 10, 4160191484u, 9},       // -134775813 + 1; 41601914840 / 2^32 = 9.69
      {0x12345678u, 1000, 3411775577u, 794},   // 3411775577000 / 2^32 = 794.37
      {0x80000000u, 2, 0x80000001u, 1},        // 2^31 * odd = 2^31 mod 2^32
      {123456789, 7, 2335298922u, 3},
      {5, 0, 673879066, 0},                    // a draw below 0 gives 0 and still steps
  };
  for (const auto& c : cases) {
    Random random(c.seed);
    EXPECT_EQ(random.Below(c.n), c.result) << c.seed;
    EXPECT_EQ(random.SeedValue(), c.nextSeed) << c.seed;
  }
  Random random(42);
  EXPECT_EQ(random.Below(4), 1u);
  EXPECT_EQ(random.Below(20), 17u);
  EXPECT_EQ(random.Below(2), 0u);
  EXPECT_EQ(random.SeedValue(), 882243745u);
}

class Quiz : public ::testing::Test {
 protected:
  void SetUp() override {
    cycle = std::make_unique<QuestionCycle>(
        session, FakeVoices(voices),
        [this](const QString& question) {
          questions.push_back(question);
          return confirm;
        },
        [this] { return clock++; });
    cycle->SetLocale(&test::French());
  }

  void Load(const std::vector<std::string>& rows, const char* name = "Anglais") {
    session.SgListe = MakeTable(rows);
    session.SgListe.SetRowTexts(0, {"Gauche", "Droite", Ansi("Demandé"), "Juste", "Ratio"});
    session.FListName = Ansi(name);
  }
  void LoadNumbered(int n) {
    std::vector<std::string> rows;
    for (int i = 1; i <= n; ++i) rows.push_back("L" + std::to_string(i) + ";R" + std::to_string(i));
    Load(rows);
  }
  // Which side the card shows as the question: "L", "R" (the other masked).
  std::string ShownSide() const {
    const bool left = cycle->PnQL().Color == PanelColor::White;
    const bool right = cycle->PnQR().Color == PanelColor::White;
    return left && !right ? "L" : right && !left ? "R" : "?";
  }
  std::string Title() const { return cycle->Title().toStdString(); }

  Session session;
  std::shared_ptr<VoiceLog> voices = std::make_shared<VoiceLog>();
  std::vector<QString> questions;
  bool confirm = true;
  uint64_t clock = 0;
  std::unique_ptr<QuestionCycle> cycle;
};

TEST_F(Quiz, ClockValuePicksRowAndSide) {
  struct Case {
    uint64_t clock;
    bool firstLeft;
    int row;
    std::string side;
  };
  // 30 rows. Clock 1: draws 0 of 4 (whole list), 25 of 30, 0 of 2.
  const std::vector<Case> cases = {
      {1, false, 26, "L"},         {2, false, 21, "R"},  {10, false, 7, "L"}, {8, false, 14, "R"},
      {(7ull << 32) | 2, false, 21, "R"},  // only the low 32 bits count
      {2, true, 21, "L"},
  };
  LoadNumbered(30);
  for (const auto& c : cases) {
    cycle->SetCbFirstLeft(c.firstLeft);
    for (int again = 0; again < 2; ++again) {  // reseeded at every question
      clock = c.clock;
      cycle->NextQuestion();
      EXPECT_EQ(session.FQuestionRow, c.row) << c.clock;
      EXPECT_EQ(ShownSide(), c.side) << c.clock;
    }
  }
}

TEST_F(Quiz, DrawFavoursTheFirstTwentyRows) {
  // Every clock value from 0 on: the counts are fixed, so the bounds are exact
  // for this run and leave room only for the generator's own unevenness.
  for (int n : {21, 7, 20, 2, 1}) {
    LoadNumbered(n);
    clock = 0;
    const int questions = 84000;
    std::map<int, int> drawn;
    for (int q = 0; q < questions; ++q) {
      cycle->NextQuestion();
      ++drawn[session.FQuestionRow];
    }
    const int m = std::min(n, 20);
    ASSERT_EQ(static_cast<int>(drawn.size()), n);
    for (const auto& [row, times] : drawn) {
      ASSERT_GE(row, 1);
      ASSERT_LE(row, n);
      const double expected = (row <= m ? 3.0 / (4 * m) : 0.0) + 1.0 / (4 * n);
      EXPECT_NEAR(double(times) / questions, expected, expected * 0.02) << n << " rows, row " << row;
    }
  }
}

TEST_F(Quiz, CardFromDesignToQuestionToReveal) {
  EXPECT_EQ(cycle->PnQL().Caption, "PnQL");
  EXPECT_EQ(cycle->PnQR().Caption, "PnQR");
  EXPECT_EQ(ShownSide(), "?");  // both white
  EXPECT_TRUE(cycle->PnReponseVisible());
  EXPECT_EQ(Title(), "Tenaxo");

  LoadNumbered(30);
  clock = 2;  // row 21, right side shown
  cycle->NextQuestion();
  EXPECT_EQ(cycle->PnQR().Caption, "R21");
  EXPECT_EQ(cycle->PnQL().Caption, "?");
  EXPECT_EQ(cycle->PnQL().Color, PanelColor::Silver);
  EXPECT_FALSE(cycle->PnReponseVisible());

  cycle->PnQRClick(true);  // the side already shown: the answer panel, nothing revealed
  EXPECT_TRUE(cycle->PnReponseVisible());
  EXPECT_EQ(cycle->PnQL().Caption, "?");

  clock = 2;
  cycle->NextQuestion();
  cycle->PnQLClick(true);
  EXPECT_EQ(cycle->PnQL().Caption, "L21");
  EXPECT_EQ(cycle->PnQL().Color, PanelColor::White);
  EXPECT_TRUE(cycle->PnReponseVisible());

  clock = 1;  // left shown
  cycle->NextQuestion();
  cycle->PnFicheClick(true);
  EXPECT_EQ(cycle->PnQL().Caption, "L26");
  EXPECT_EQ(cycle->PnQR().Caption, "R26");
  EXPECT_EQ(cycle->PnQR().Color, PanelColor::White);
  EXPECT_TRUE(cycle->PnReponseVisible());
}

TEST_F(Quiz, OptionFirstLeftShowsTheLeftSideEveryTime) {
  LoadNumbered(30);
  std::map<std::string, int> sides;
  for (bool firstLeft : {true, false}) {
    cycle->SetCbFirstLeft(firstLeft);
    for (int q = 0; q < 40; ++q) {
      cycle->NextQuestion();
      ++sides[(firstLeft ? "first " : "") + ShownSide()];
    }
  }
  EXPECT_EQ(sides["first L"], 40);
  EXPECT_GT(sides["L"], 5);
  EXPECT_GT(sides["R"], 5);
}

TEST_F(Quiz, RevealsBeforeAnyQuestion) {
  Load({"a;b"});
  cycle->PnQLClick(true);  // keeps its design caption
  EXPECT_EQ(cycle->PnQL().Caption, "PnQL");
  EXPECT_EQ(cycle->PnQL().Color, PanelColor::White);
  cycle->PnQRClick(true);  // row 0 is the header row
  EXPECT_EQ(cycle->PnQR().Caption, "Droite");
  EXPECT_EQ(cycle->PnQR().Color, PanelColor::White);
  EXPECT_EQ(Rows(session.SgListe), std::vector<std::string>{"a;b;;;"});

  cycle->BtOuiClick();  // nothing pending: nothing booked, one found all the same
  EXPECT_EQ(Rows(session.SgListe), std::vector<std::string>{"a;b;;;"});
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 1/0");
  EXPECT_TRUE(session.Unsaved);
}

TEST_F(Quiz, TitleHoldsTheScoreOfTheAnsweredQuestions) {
  LoadNumbered(3);
  cycle->NextQuestion();
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 0/0");
  cycle->BtOuiClick();
  cycle->BtOuiClick();
  cycle->BtNonClick();
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 2/3");
  EXPECT_EQ(session.FAskedCount, 4);
  EXPECT_EQ(session.FFoundCount, 2);

  cycle->Button3Click();
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 0/0");
  EXPECT_EQ(session.FAskedCount, 1);

  session.FListName.clear();
  cycle->NextQuestion();
  EXPECT_EQ(Title(), "Tenaxo -  - Réponses justes : 0/1");
}

TEST_F(Quiz, RanksBeforeEveryFifthQuestionOfASeries) {
  LoadNumbered(4);
  auto markStale = [&] {
    for (int r = 1; r <= 4; ++r) session.SgListe.SetCell(ColRatio, r, "stale");
  };
  auto ranked = [&] { return session.SgListe.Cell(ColRatio, 1) != "stale"; };
  std::vector<int> rankedAt;
  for (int q = 1; q <= 11; ++q) {
    markStale();
    cycle->NextQuestion();
    if (ranked()) rankedAt.push_back(q);
  }
  EXPECT_EQ(rankedAt, (std::vector<int>{1, 6, 11}));

  markStale();
  cycle->Button3Click();  // a new series starts ranked
  EXPECT_TRUE(ranked());
}

TEST_F(Quiz, AnswersBookIntoThePendingRow) {
  struct Case {
    std::string asked, found;
    bool yes;
    std::string askedAfter, foundAfter;
  };
  const std::vector<Case> cases = {
      {"3", "1", true, "4", "2"},     {"3", "1", false, "4", "1"},   {"", "", true, "1", "1"},
      {"abc", "x", true, "1", "1"},   {"abc", "x", false, "1", "x"}, {"-5", "0", true, "-4", "1"},
      // counts stop at the largest 32-bit number instead of going negative
      {"2147483647", "2147483646", true, "2147483647", "2147483647"},
      {"2147483647", "2147483647", false, "2147483647", "2147483647"},
  };
  for (const auto& c : cases) {
    Load({"a;b;" + c.asked + ";" + c.found + ";0,5"});
    session.Unsaved = false;
    session.FFoundCount = 0;
    session.FAskedCount = 1;  // no ranking at this question or the next
    cycle->NextQuestion();
    c.yes ? cycle->BtOuiClick() : cycle->BtNonClick();
    EXPECT_EQ(Rows(session.SgListe)[0], "a;b;" + c.askedAfter + ";" + c.foundAfter + ";0,5")
        << c.asked << "/" << c.found << (c.yes ? " Oui" : " Non");
    EXPECT_EQ(session.FFoundCount, c.yes ? 1 : 0);
    EXPECT_TRUE(session.Unsaved);
  }
}

TEST_F(Quiz, SeriesCountersStopAtTheLargestNumber) {
  Load({"a;b"});
  session.FAskedCount = INT32_MAX;
  session.FFoundCount = INT32_MAX;
  cycle->BtOuiClick();
  EXPECT_EQ(session.FAskedCount, INT32_MAX);
  EXPECT_EQ(session.FFoundCount, INT32_MAX);
  EXPECT_EQ(Title(), "Tenaxo - Anglais - Réponses justes : 2147483647/2147483647");
}

TEST_F(Quiz, ResetOfTheStatisticsAsksFirst) {
  Load({"b;x;4;3;0,375", "a;y;2;0;0,000"});
  cycle->NextQuestion();
  cycle->BtOuiClick();
  session.Unsaved = false;
  const auto before = Rows(session.SgListe);
  const auto title = Title();
  const int32_t asked = session.FAskedCount, found = session.FFoundCount, row = session.FQuestionRow;

  confirm = false;
  cycle->Button4Click();
  EXPECT_EQ(Rows(session.SgListe), before);

  confirm = true;
  cycle->Button4Click();
  EXPECT_EQ(questions, (std::vector<QString>{QString::fromUtf8("Remise à zéro des statistiques ?"),
                                             QString::fromUtf8("Remise à zéro des statistiques ?")}));
  EXPECT_EQ(Rows(session.SgListe), (std::vector<std::string>{before[0].substr(0, 4) + ";;",
                                                             before[1].substr(0, 4) + ";;"}));
  EXPECT_FALSE(session.Unsaved);
  EXPECT_EQ(Title(), title);
  EXPECT_EQ(session.FAskedCount, asked);
  EXPECT_EQ(session.FFoundCount, found);
  EXPECT_EQ(session.FQuestionRow, row);

  Load({"a;b;1;1;"});  // no one to ask: declined
  QuestionCycle unasked(session);
  unasked.Button4Click();
  EXPECT_EQ(Rows(session.SgListe)[0], "a;b;1;1;");
}

TEST_F(Quiz, LoneBlankRow) {
  Load({""});
  for (int q = 0; q < 20; ++q) {
    cycle->NextQuestion();
    EXPECT_EQ(session.FQuestionRow, 1);
    const AnswerPanel& shown = ShownSide() == "L" ? cycle->PnQL() : cycle->PnQR();
    EXPECT_EQ(shown.Caption, "");
    EXPECT_EQ(shown.Color, PanelColor::White);
  }
  cycle->BtOuiClick();
  EXPECT_EQ(session.SgListe.Cell(ColDemande, 1), "1");
  EXPECT_EQ(session.SgListe.Cell(ColJuste, 1), "1");
  EXPECT_EQ(session.SgListe.RowCount(), 2);
}

TEST_F(Quiz, PendingRowGoneAfterTheListShrank) {
  LoadNumbered(30);
  clock = 1;
  cycle->NextQuestion();
  ASSERT_EQ(session.FQuestionRow, 26);
  session.SgListe.SetRowCount(4);  // three pairs left
  const auto before = Rows(session.SgListe);

  cycle->PnFicheClick(true);  // reads give empty text
  EXPECT_EQ(cycle->PnQL().Caption, "");
  EXPECT_EQ(cycle->PnQR().Caption, "");
  for (bool yes : {true, false}) {
    session.FQuestionRow = 26;
    yes ? cycle->BtOuiClick() : cycle->BtNonClick();
    EXPECT_EQ(Rows(session.SgListe), before) << "nothing booked";
    EXPECT_EQ(session.SgListe.RowCount(), 4);
    EXPECT_GE(session.FQuestionRow, 1);
    EXPECT_LE(session.FQuestionRow, 3);
  }
  EXPECT_EQ(session.FFoundCount, 1);
  EXPECT_TRUE(session.Unsaved);
}

// ---------------------------------------------------------------- speech

TEST_F(Quiz, VoiceExistsExactlyWhileSpeechIsOn) {
  EXPECT_FALSE(cycle->CbVocal());
  EXPECT_FALSE(cycle->HasVoice());
  cycle->SetCbVocal(true);
  cycle->SetCbVocal(true);  // restored as it already was: still one voice
  EXPECT_TRUE(cycle->HasVoice());
  EXPECT_EQ(voices->made, 1);
  cycle->SetCbVocal(false);
  EXPECT_EQ(voices->alive, 0);

  voices->refuseToMake = true;
  cycle->SetCbVocal(true);
  EXPECT_FALSE(cycle->CbVocal());
  EXPECT_FALSE(cycle->HasVoice());

  QuestionCycle mute(session);  // no voices at all
  mute.SetCbVocal(true);
  EXPECT_FALSE(mute.CbVocal());
}

TEST_F(Quiz, LeftTextIsSpokenWheneverItIsShownOrRevealed) {
  LoadNumbered(30);
  cycle->SetCbVocal(true);
  cycle->PnQLClick(true);  // before any question: what the panel holds
  EXPECT_EQ(voices->spoken, std::vector<std::string>{"PnQL"});
  voices->spoken.clear();

  clock = 2;  // right side shown: silent until the left is revealed
  cycle->NextQuestion();
  cycle->PnQRClick(true);
  EXPECT_TRUE(voices->spoken.empty());
  cycle->PnQLClick(true);
  cycle->PnQLClick(true);
  EXPECT_EQ(voices->spoken, (std::vector<std::string>{"L21", "L21"}));

  clock = 1;  // left side shown
  cycle->NextQuestion();
  EXPECT_EQ(voices->spoken.back(), "L26");

  cycle->SetCbFirstLeft(true);
  clock = 2;
  cycle->NextQuestion();
  EXPECT_EQ(voices->spoken.back(), "L21");

  // On the card: the left side is spoken on its own look, before the right is revealed.
  std::vector<std::string> seen;
  voices->onSpeak = [&] {
    seen.push_back(cycle->PnQL().Caption + "|" + cycle->PnQR().Caption +
                   (cycle->PnQL().Color == PanelColor::White ? "|white" : "|silver"));
  };
  cycle->PnFicheClick(true);
  EXPECT_EQ(seen, std::vector<std::string>{"L21|?|white"});
  EXPECT_EQ(voices->spoken.size(), 5u);
}

TEST_F(Quiz, SpeechFailureSwitchesSpeechOffOnce) {
  for (bool raise : {false, true}) {
    LoadNumbered(30);
    voices->spoken.clear();
    cycle->SetCbFirstLeft(true);
    cycle->SetCbVocal(true);
    voices->fail = !raise;
    voices->raise = raise;
    int shownBeforeSpeaking = 0;
    cycle->SetBeforeSpeak([&] { shownBeforeSpeaking += cycle->PnQL().Caption != "?"; });
    clock = 10;
    cycle->NextQuestion();
    EXPECT_FALSE(cycle->CbVocal());
    EXPECT_EQ(voices->alive, 0);
    EXPECT_EQ(cycle->PnQL().Caption, "L7");
    EXPECT_EQ(cycle->PnQL().Color, PanelColor::White);
    cycle->PnQLClick(true);
    cycle->BtOuiClick();  // the quiz goes on, silently
    EXPECT_EQ(voices->spoken, std::vector<std::string>{"L7"});
    EXPECT_EQ(shownBeforeSpeaking, 1);
  }
}

}  // namespace
}  // namespace tenaxo
