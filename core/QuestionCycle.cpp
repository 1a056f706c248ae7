// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuestionCycle.h"

#include <algorithm>
#include <limits>

#include "Numbers.h"
#include "Ranking.h"

namespace tenaxo {

namespace {
// Three draws in four come from this many rows at the top of the ranked list.
constexpr uint32_t kWeakestRows = 20;
// The list is ranked before the first question of a series and every fifth one after it.
constexpr int32_t kRankEvery = 5;

// Counts stop at the largest 32-bit value instead of wrapping to negative.
int32_t PlusOne(int32_t count) { return count == std::numeric_limits<int32_t>::max() ? count : count + 1; }

void AddOne(StudyTable& grid, int col, int row) {
  grid.SetCell(col, row, std::to_string(PlusOne(CellToInt(grid.Cell(col, row)))));
}
}  // namespace

QuestionCycle::QuestionCycle(Session& session, VoiceFactory voices, SeedClock clock)
    : session_(session), voices_(std::move(voices)), clock_(clock ? std::move(clock) : SeedClock(MonotonicCount)) {}

QuestionCycle::~QuestionCycle() = default;

void QuestionCycle::NextQuestion() {
  scoreAtDraw_ = SeriesScore{session_.listName, session_.foundCount, session_.askedCount};
  if (session_.askedCount % kRankEvery == 0) ComputeRatios();
  session_.askedCount = PlusOne(session_.askedCount);
  awaitingAnswer_ = false;

  random_.seed(static_cast<uint32_t>(clock_()));
  const auto rows = static_cast<uint32_t>(session_.table.DataRowCount());
  const uint32_t from = Below(random_, 4) >= 1 ? std::min(rows, kWeakestRows) : rows;
  session_.questionRow = static_cast<int32_t>(Below(random_, from)) + 1;

  left_ = {std::nullopt, true};
  right_ = {std::nullopt, true};
  const bool left = leftFirst_ || Below(random_, 2) == 0;
  draw_ = {session_.questionRow, session_.askedCount, session_.foundCount, left, scoreAtDraw_};
  if (left) {
    RevealLeft(false);
  } else {
    RevealRight(false);
  }
}

void QuestionCycle::Ask(const Draw& draw) {
  draw_ = draw;
  session_.questionRow = draw.questionRow;
  session_.askedCount = draw.askedCount;
  session_.foundCount = draw.foundCount;
  scoreAtDraw_ = draw.scoreAtDraw;
  awaitingAnswer_ = draw.questionRow == 0;
  if (awaitingAnswer_) {
    left_ = right_ = CardSide{};
    return;
  }
  left_ = {std::nullopt, true};
  right_ = {std::nullopt, true};
  CardSide& shown = draw.leftShown ? left_ : right_;
  shown = {std::string(session_.table.Cell(draw.leftShown ? ColGauche : ColDroite, draw.questionRow)), false};
}

void QuestionCycle::RevealLeft(bool byUser) {
  if (session_.questionRow > 0) left_.text = session_.table.Cell(ColGauche, session_.questionRow);
  left_.hidden = false;
  if (byUser) awaitingAnswer_ = true;
  SpeakLeft();
}

void QuestionCycle::RevealRight(bool byUser) {
  right_ = {std::string(session_.table.Cell(ColDroite, session_.questionRow)), false};
  if (byUser) awaitingAnswer_ = true;
}

void QuestionCycle::RevealBoth(bool byUser) {
  RevealLeft(byUser);
  RevealRight(byUser);
}

// The list may have shrunk under a pending question: rows that are gone take no answer.
void QuestionCycle::AnswerFound() {
  if (session_.table.IsDataRow(session_.questionRow)) {
    AddOne(session_.table, ColDemande, session_.questionRow);
    AddOne(session_.table, ColJuste, session_.questionRow);
    Book(true);
  }
  session_.foundCount = PlusOne(session_.foundCount);
  session_.unsaved = true;
  NextQuestion();
}

void QuestionCycle::AnswerNotFound() {
  if (session_.table.IsDataRow(session_.questionRow)) {
    AddOne(session_.table, ColDemande, session_.questionRow);
    Book(false);
  }
  session_.unsaved = true;
  NextQuestion();
}

void QuestionCycle::Book(bool found) {
  if (!onAnswer_) return;
  const StudyTable& grid = session_.table;
  onAnswer_({session_.listName, std::string(grid.Cell(ColGauche, session_.questionRow)),
             std::string(grid.Cell(ColDroite, session_.questionRow)), draw_.leftShown, found, session_.askedCount});
}

// The series starts at no question asked, so the next one ranks the list.
void QuestionCycle::NewSeries() {
  session_.ResetSeries();
  NextQuestion();
}

void QuestionCycle::ResetStats() {
  StudyTable& grid = session_.table;
  for (int row = StudyTable::FixedRows; grid.IsDataRow(row); ++row) {
    for (int col : {ColDemande, ColJuste, ColRatio}) grid.SetCell(col, row, std::string());
  }
}

void QuestionCycle::ComputeRatios() { tenaxo::ComputeRatios(session_.table); }

void QuestionCycle::SetSpeechOn(bool on) {
  if (!on) {
    voice_.reset();
    return;
  }
  if (voice_) return;
  try {
    voice_ = voices_();
  } catch (...) {
    // No voice: speech stays off.
  }
}

void QuestionCycle::SpeakLeft() {
  if (!voice_ || !left_.text) return;
  if (beforeSpeak_) beforeSpeak_();
  bool spoken = false;
  try {
    spoken = voice_->Speak(*left_.text, language_);
  } catch (...) {
    // Not spoken.
  }
  // A failure of speech is never shown: speech just switches itself off.
  if (!spoken) voice_.reset();
}

}  // namespace tenaxo
