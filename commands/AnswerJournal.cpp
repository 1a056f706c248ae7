// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnswerJournal.h"

#include <QDir>

#include "AnswerHistory.h"

namespace tenaxo {

std::optional<QString> AnswerJournal::Open() { return Tell(journal_.Open()); }

std::optional<QString> AnswerJournal::Record(const BookedAnswer& answer, const QDateTime& at) {
  // The questions of a series are numbered from 1 up: a number that does not
  // grow starts another series.
  const bool newSeries = answer.seriesQuestion <= lastQuestion_ || lastQuestion_ < 0;
  lastQuestion_ = answer.seriesQuestion;
  return Tell(journal_.Add({at.toSecsSinceEpoch(), DayNumber(at.date()), answer.listName, answer.left, answer.right,
                            answer.leftShown, answer.found, newSeries}));
}

std::optional<QString> AnswerJournal::Tell(const std::optional<JournalFault>& fault) {
  if (!fault || told_) return std::nullopt;
  told_ = true;
  return FaultMessage(*fault, journal_.Path());
}

QString AnswerJournal::FaultMessage(const JournalFault& fault, const QString& path) {
  const QString file = QDir::toNativeSeparators(path);
  const QString goesOn =
      QStringLiteral(" Les questions continuent et la liste compte les réponses ; le journal ne les garde pas.");
  switch (fault.kind) {
    case JournalFault::CannotOpen:
      return QStringLiteral("Le journal des réponses « %1 » ne peut pas être ouvert.").arg(file) + goesOn;
    case JournalFault::ReadOnly:
      return QStringLiteral("Le journal des réponses « %1 » est en lecture seule.").arg(file) + goesOn;
    case JournalFault::Full:
      return QStringLiteral(
                 "Le journal des réponses « %1 » ne peut plus être écrit : le disque est plein ou "
                 "refuse l'écriture.")
                 .arg(file) +
             goesOn;
    case JournalFault::Locked:
      return QStringLiteral("Le journal des réponses « %1 » est verrouillé par un autre programme.").arg(file) + goesOn;
    case JournalFault::SetAside:
      return QStringLiteral(
                 "Le journal des réponses était endommagé : il a été mis de côté sous « %1 » et un nouveau "
                 "journal a été commencé.")
          .arg(QDir::toNativeSeparators(fault.setAside));
    case JournalFault::Newer:
      return QStringLiteral(
                 "Le journal des réponses « %1 » a été écrit par une version plus récente de Tenaxo : il est "
                 "laissé tel quel, les statistiques sont en lecture seule et les réponses n'y sont pas notées.")
          .arg(file);
    case JournalFault::Failed: break;
  }
  return QStringLiteral("Le journal des réponses « %1 » n'a pas pu être écrit (%2).").arg(file, fault.detail) + goesOn;
}

}  // namespace tenaxo
