#pragma once
// The quiz: one pair of the study list is drawn, one side shown on the card,
// the other masked; the user reveals it and answers "Oui" or "Non", which is
// booked into the pair's Demandé and Juste and into the series score, and the
// next question follows at once.
//
// The main window owns one QuestionCycle over its Session, calls the handlers
// below from its controls' events and, after every call, copies the card
// state (both answer panels, the "Réponse trouvée ?" panel, the title and the
// two check boxes) into its widgets. The cycle may uncheck "Synthèse vocale à
// gauche" by itself when speaking fails; copying SpeechOn() back after each
// call is how the window learns of it (SetSpeechOn is idempotent, so a
// check box signal raised by that copy does no harm).
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Random.h"
#include "Session.h"
#include "TextLocale.h"
#include "Voice.h"

namespace tenaxo {

// Masked panels are silver (192, 192, 192), revealed ones white (255, 255, 255).
enum class PanelColor { White, Silver };

struct AnswerPanel {
  std::string Caption;
  PanelColor Color = PanelColor::White;
};

class QuestionCycle {
 public:
  // Asks a yes/no question ("OK" / "Annuler"); true goes on.
  using ConfirmQuestion = std::function<bool(const QString&)>;

  // voices makes the voice while speech is on (none: speech cannot be turned
  // on); confirm asks before the statistics are reset (none: the reset is
  // declined); clock reseeds the generator (none: the monotonic clock).
  explicit QuestionCycle(Session& session, VoiceFactory voices = {}, ConfirmQuestion confirm = {},
                         SeedClock clock = {});
  ~QuestionCycle();
  QuestionCycle(const QuestionCycle&) = delete;
  QuestionCycle& operator=(const QuestionCycle&) = delete;

  // ---- handlers
  // Title, ranking before the 1st, 6th, 11th... question of the series, the
  // draw, both panels masked, then the question side shown (and spoken when
  // it is the left one and speech is on).
  void NextQuestion();
  // Reveal a side. byUser: true for a click by the user, which also shows
  // the "Réponse trouvée ?" panel; false when NextQuestion shows the side.
  void RevealLeft(bool byUser);
  void RevealRight(bool byUser);
  // A click on the free area of the card: left, then right.
  void RevealBoth(bool byUser);
  void AnswerFound();
  void AnswerNotFound();
  // "Nouvelle série de question".
  void NewSeries();
  // "RAZ Statistiques": asks "Remise à zéro des statistiques ?", then ResetStats.
  void ConfirmAndResetStats();
  // Empties Demandé, Juste and Ratio of every pair.
  void ResetStats();
  // Ranks the list: ratios recomputed, lowest first.
  void ComputeRatios();

  // ---- card state, to mirror into the widgets
  const AnswerPanel& LeftSide() const { return left_; }
  const AnswerPanel& RightSide() const { return right_; }
  bool AwaitingAnswer() const { return awaitingAnswer_; }
  // The window title: "Tenaxo" until the first question.
  const QString& Title() const { return title_; }

  // ---- the two option boxes
  // "Synthèse vocale à gauche". Setting it is the box's click handler: a voice
  // exists exactly while it is checked; when no voice can be made the box
  // goes back to unchecked. Starts unchecked, with no voice: the window sets
  // the stored state once at start-up.
  bool SpeechOn() const { return speechOn_; }
  void SetSpeechOn(bool checked);
  bool HasVoice() const { return voice_ != nullptr; }
  // The language the left text is spoken in (the engine's code, stored as
  // the setting "Voix"); empty for English.
  const std::string& SpokenLanguage() const { return language_; }
  void SetSpokenLanguage(std::string language) { language_ = std::move(language); }
  // "Montrer à gauche en premier".
  bool LeftFirst() const { return leftFirst_; }
  void SetLeftFirst(bool checked) { leftFirst_ = checked; }

  // Called just before a text is spoken, once the card shows it: the window
  // mirrors and repaints here so the text is seen while it is heard.
  void SetBeforeSpeak(std::function<void()> hook) { beforeSpeak_ = std::move(hook); }
  // The locale of the ratios; none: TextLocale::Current().
  void SetLocale(const TextLocale* locale) { locale_ = locale; }

  Session& State() { return session_; }
  const Session& State() const { return session_; }

 private:
  void SpeakLeft();
  bool PendingRowInTable() const;

  Session& session_;
  VoiceFactory voices_;
  ConfirmQuestion confirm_;
  SeedClock clock_;
  const TextLocale* locale_ = nullptr;
  std::function<void()> beforeSpeak_;
  Random random_;

  AnswerPanel left_{"PnQL", PanelColor::White};
  AnswerPanel right_{"PnQR", PanelColor::White};
  bool awaitingAnswer_ = true;
  QString title_ = QStringLiteral("Tenaxo");
  bool speechOn_ = false;
  bool leftFirst_ = false;
  std::unique_ptr<Voice> voice_;
  std::string language_;
};

}  // namespace tenaxo
