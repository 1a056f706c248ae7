// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The journal as the main window keeps it: opened at the first answer or
// the first look at the statistics, every answer the quiz books written to
// it. A journal that cannot be opened or written never stops the quiz: its
// first fault of the run gives a message for the window to show, later ones
// none.
#include <QDateTime>
#include <QString>
#include <optional>

#include "Journal.h"
#include "QuestionCycle.h"

namespace tenaxo {

class AnswerJournal {
 public:
  explicit AnswerJournal(QString path = Journal::DefaultPath()) : journal_(std::move(path)) {}

  // Opens the journal; the message to show, if any.
  std::optional<QString> Open();
  // Writes the answer, booked at that moment; the message to show, if any.
  std::optional<QString> Record(const BookedAnswer& answer, const QDateTime& at = QDateTime::currentDateTime());

  Journal& Store() { return journal_; }

  // What the user is told of a fault of the journal at that path.
  static QString FaultMessage(const JournalFault& fault, const QString& path);

 private:
  std::optional<QString> Tell(const std::optional<JournalFault>& fault);

  Journal journal_;
  bool told_ = false;
  int32_t lastQuestion_ = -1;  // the series number of the last answer recorded
};

}  // namespace tenaxo
