// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quiz: one pair of the study list is drawn, one side shown on the card,
// the other hidden; the user reveals it and answers "Oui" or "Non", which is
// booked into the pair's Demandé and Juste and into the series score, and the
// next question follows at once.
//
// The main window owns one QuestionCycle over its Session, calls the handlers
// below from its controls' events and, after every call, shows the state
// (both sides, whether an answer is awaited, the score at the draw, the two
// options). The cycle may switch speech off by itself when speaking fails;
// reading SpeechOn() after each call is how the window learns of it
// (SetSpeechOn is idempotent, so a check box signal raised by showing it does
// no harm).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Random.h"
#include "Session.h"
#include "Voice.h"

namespace tenaxo {

// One side of the card.
struct CardSide {
  // What the side shows; none until a text is put there: the first question
  // puts one on each side, and revealing the right side before it puts the
  // header of its column.
  std::optional<std::string> text;
  bool hidden = false;  // drawn and not revealed yet
};

// An answer as it is booked: the pair as the list holds it, the side the
// question showed, and the question's number in its series (1 for the first;
// 0 for an answer given before the series' first question).
struct BookedAnswer {
  std::string listName;
  std::string left;
  std::string right;
  bool leftShown = false;
  bool found = false;
  int32_t seriesQuestion = 0;
};

// The score of the series: questions answered "Oui" of those asked.
struct SeriesScore {
  std::string listName;
  int32_t found = 0;
  int32_t asked = 0;
};

// A question as it was drawn, with the series then: what undoing an answer
// gives back.
struct Draw {
  int32_t questionRow = 0;
  int32_t askedCount = 0;
  int32_t foundCount = 0;
  bool leftShown = false;  // the question side: left, or right
  std::optional<SeriesScore> scoreAtDraw;
};

class QuestionCycle {
 public:
  // voices makes the voice while speech is on (a null result or an
  // exception: speech stays off); clock reseeds the generator (none: the
  // monotonic clock).
  QuestionCycle(Session& session, VoiceFactory voices, SeedClock clock = {});
  ~QuestionCycle();
  QuestionCycle(const QuestionCycle&) = delete;
  QuestionCycle& operator=(const QuestionCycle&) = delete;

  // ---- handlers
  // The score noted, the list ranked before the 1st, 6th, 11th... question of
  // the series, the question counted, the draw, both sides hidden, then the
  // question side revealed (and spoken when it is the left one).
  void NextQuestion();
  // Reveal a side. byUser: true for a click by the user, which also awaits
  // the answer; false when NextQuestion reveals the question side. Before
  // the first question the left side keeps no text.
  void RevealLeft(bool byUser);
  void RevealRight(bool byUser);
  // A click on the free area of the card: left, then right.
  void RevealBoth(bool byUser);
  void AnswerFound();
  void AnswerNotFound();
  // "Nouvelle série de question".
  void NewSeries();
  // Empties Demandé, Juste and Ratio of every pair.
  void ResetStats();
  // Ranks the list: ratios recomputed, lowest first.
  void ComputeRatios();
  // The pending question as it was drawn (before the first: the state at
  // start); Ask puts such a question back on the card, its question side
  // shown with the pair's text now and the other hidden, the series counts
  // and score as they were, and no answer awaited until a reveal (the state
  // at start for the one before the first).
  const Draw& LastDraw() const { return draw_; }
  void Ask(const Draw& draw);

  // ---- the card
  const CardSide& LeftSide() const { return left_; }
  const CardSide& RightSide() const { return right_; }
  // "Oui" and "Non" can be answered: from the start, and after a reveal by
  // the user until the next question.
  bool AwaitingAnswer() const { return awaitingAnswer_; }
  // The score as it stood when the pending question was drawn, that question
  // not counted yet; none before the first question.
  const std::optional<SeriesScore>& ScoreAtDraw() const { return scoreAtDraw_; }

  // ---- the two options
  // "Synthèse vocale à gauche": a voice exists exactly while speech is on;
  // when no voice can be made speech stays off. Starts off.
  bool SpeechOn() const { return voice_ != nullptr; }
  void SetSpeechOn(bool on);
  // The language the left text is spoken in (the engine's code); empty for
  // English.
  const std::string& SpokenLanguage() const { return language_; }
  void SetSpokenLanguage(std::string language) { language_ = std::move(language); }
  // "Montrer à gauche en premier".
  bool LeftFirst() const { return leftFirst_; }
  void SetLeftFirst(bool on) { leftFirst_ = on; }

  // Called just before a text is spoken, once the card shows it: the window
  // shows the state and repaints here so the text is seen while it is heard.
  // It leaves speech on.
  void SetBeforeSpeak(std::function<void()> hook) { beforeSpeak_ = std::move(hook); }
  // Called with every answer booked into a pair, before the next question.
  void SetOnAnswer(std::function<void(const BookedAnswer&)> hook) { onAnswer_ = std::move(hook); }

 private:
  void SpeakLeft();
  void Book(bool found);

  Session& session_;
  VoiceFactory voices_;
  SeedClock clock_;
  std::function<void()> beforeSpeak_;
  std::function<void(const BookedAnswer&)> onAnswer_;
  Random random_;

  CardSide left_;
  CardSide right_;
  bool awaitingAnswer_ = true;
  std::optional<SeriesScore> scoreAtDraw_;
  Draw draw_;
  bool leftFirst_ = false;
  std::unique_ptr<Voice> voice_;
  std::string language_;
};

}  // namespace tenaxo
