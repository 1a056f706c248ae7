#include "QuestionCycle.h"

#include <algorithm>
#include <limits>

#include "Numbers.h"
#include "Ranking.h"

namespace tenaxo {

namespace {
// Three draws in four come from this many rows at the top of the ranked list.
constexpr int32_t kWeakestRows = 20;
// The list is ranked again before every fifth question of a series.
constexpr int32_t kRankEvery = 5;

// Counts stop at the largest 32-bit value instead of wrapping to negative.
int32_t PlusOne(int32_t count) { return count == std::numeric_limits<int32_t>::max() ? count : count + 1; }

void AddOne(StudyTable& grid, int col, int row) {
  grid.SetCell(col, row, std::to_string(PlusOne(CellToInt(grid.Cell(col, row)))));
}
}  // namespace

QuestionCycle::QuestionCycle(Session& session, VoiceFactory voices, ConfirmQuestion confirm, SeedClock clock)
    : session_(session),
      voices_(std::move(voices)),
      confirm_(std::move(confirm)),
      clock_(clock ? std::move(clock) : SeedClock(MonotonicCount)) {}

QuestionCycle::~QuestionCycle() = default;

void QuestionCycle::NextQuestion() {
  StudyTable& grid = session_.table;

  // The score of the questions answered so far, this one not yet counted.
  title_ = QStringLiteral("Tenaxo - ") + ToQString(session_.listName) + QString::fromUtf8(" - Réponses justes : ") +
           QString::number(session_.foundCount) + QLatin1Char('/') + QString::number(session_.askedCount);

  if (session_.askedCount % kRankEvery == 0) ComputeRatios();
  session_.askedCount = PlusOne(session_.askedCount);
  awaitingAnswer_ = false;

  random_.Seed(static_cast<uint32_t>(clock_()));
  const auto rows = static_cast<uint32_t>(std::max(grid.DataRowCount(), 1));
  const uint32_t weakest = std::min(rows, static_cast<uint32_t>(kWeakestRows));
  const uint32_t from = random_.Below(4) >= 1 ? weakest : rows;
  session_.questionRow = static_cast<int32_t>(random_.Below(from)) + 1;

  left_ = {"?", PanelColor::Silver};
  right_ = {"?", PanelColor::Silver};

  if (leftFirst_ || random_.Below(2) == 0) {
    RevealLeft(false);
  } else {
    RevealRight(false);
  }
}

void QuestionCycle::RevealLeft(bool byUser) {
  if (session_.questionRow > 0) left_.Caption = session_.table.Cell(ColGauche, session_.questionRow);
  left_.Color = PanelColor::White;
  if (byUser) awaitingAnswer_ = true;
  SpeakLeft();
}

void QuestionCycle::RevealRight(bool byUser) {
  // Before the first question the row is 0 and the header text shows.
  if (session_.questionRow > 0) right_.Color = PanelColor::White;
  right_.Caption = session_.table.Cell(ColDroite, session_.questionRow);
  if (byUser) awaitingAnswer_ = true;
}

void QuestionCycle::RevealBoth(bool byUser) {
  RevealLeft(byUser);
  RevealRight(byUser);
}

bool QuestionCycle::PendingRowInTable() const {
  // The list may have shrunk under a pending question: rows that are gone
  // take no answer.
  return session_.questionRow > 0 && session_.table.IsDataRow(session_.questionRow);
}

void QuestionCycle::AnswerFound() {
  if (PendingRowInTable()) {
    AddOne(session_.table, ColDemande, session_.questionRow);
    AddOne(session_.table, ColJuste, session_.questionRow);
  }
  session_.foundCount = PlusOne(session_.foundCount);
  session_.unsaved = true;
  NextQuestion();
}

void QuestionCycle::AnswerNotFound() {
  if (PendingRowInTable()) AddOne(session_.table, ColDemande, session_.questionRow);
  session_.unsaved = true;
  NextQuestion();
}

void QuestionCycle::NewSeries() {
  session_.ResetSeries();
  ComputeRatios();
  NextQuestion();
}

void QuestionCycle::ConfirmAndResetStats() {
  if (confirm_ && confirm_(QString::fromUtf8("Remise à zéro des statistiques ?"))) ResetStats();
}

void QuestionCycle::ResetStats() {
  StudyTable& grid = session_.table;
  for (int row = StudyTable::FixedRows; row < grid.RowCount(); ++row) {
    for (int col : {ColDemande, ColJuste, ColRatio}) grid.SetCell(col, row, std::string());
  }
}

void QuestionCycle::ComputeRatios() {
  tenaxo::ComputeRatios(session_.table, locale_ ? *locale_ : TextLocale::Current());
}

void QuestionCycle::SetSpeechOn(bool checked) {
  speechOn_ = checked;
  if (!checked) {
    voice_.reset();
    return;
  }
  if (voice_) return;
  try {
    if (voices_) voice_ = voices_();
  } catch (...) {
    voice_.reset();
  }
  if (!voice_) SetSpeechOn(false);
}

void QuestionCycle::SpeakLeft() {
  if (!speechOn_ || !voice_) return;
  if (beforeSpeak_) {
    beforeSpeak_();
    if (!speechOn_ || !voice_) return;
  }
  bool spoken = false;
  try {
    spoken = voice_->Speak(left_.Caption, language_);
  } catch (...) {
    spoken = false;
  }
  // No failure of speech is ever shown: speech just switches itself off.
  if (!spoken) SetSpeechOn(false);
}

}  // namespace tenaxo
