// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalQueries.h"

#include <QDateTime>
#include <QSaveFile>
#include <QSqlQuery>
#include <QVariant>

#include "Errors.h"
#include "Utf8.h"

namespace tenaxo {

namespace {
// The query run with its %1 replaced by the condition on the list, its
// name bound to ":list", or by nothing for every list.
QSqlQuery Run(const Journal& journal, const QString& sql, const ListScope& list, const QString& condition) {
  QSqlQuery query(journal.Database());
  if (!journal.IsOpen()) return query;
  query.setForwardOnly(true);
  query.prepare(sql.arg(list ? condition : QString()));
  if (list) query.bindValue(QStringLiteral(":list"), ToQString(*list));
  query.exec();
  return query;
}

// A CSV field: quoted when it holds a quote, a comma or a line end.
QByteArray Field(const QByteArray& text) {
  if (!text.contains('"') && !text.contains(',') && !text.contains('\n') && !text.contains('\r')) return text;
  return '"' + QByteArray(text).replace('"', "\"\"") + '"';
}

[[noreturn]] void CannotCreate(const QString& path, const QSaveFile& file) {
  throw Error(QStringLiteral("Impossible de créer le fichier \"%1\". %2").arg(path, file.errorString()));
}
}  // namespace

std::vector<DayCount> AnswersPerDay(const Journal& journal, const ListScope& list) {
  QSqlQuery query =
      Run(journal, QStringLiteral("SELECT day, sum(asked), sum(found) FROM days %1 GROUP BY day ORDER BY day"), list,
          QStringLiteral("WHERE list = (SELECT id FROM lists WHERE name = :list)"));
  std::vector<DayCount> days;
  while (query.next()) days.push_back({query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt()});
  return days;
}

std::vector<PairCount> ResistingPairs(const Journal& journal, const ListScope& list, int32_t minAsked, int32_t count) {
  QSqlQuery query = Run(journal,
                        QStringLiteral("SELECT lists.name, left_text, right_text, asked, found FROM pairs "
                                       "JOIN lists ON lists.id = list WHERE asked >= %2 %1 "
                                       "ORDER BY CAST(found AS REAL) / asked, asked DESC, pairs.id LIMIT %3")
                            .arg(QStringLiteral("%1"), QString::number(minAsked), QString::number(count)),
                        list, QStringLiteral("AND name = :list"));
  std::vector<PairCount> pairs;
  while (query.next()) {
    pairs.push_back({ToUtf8(query.value(0).toString()), ToUtf8(query.value(1).toString()),
                     ToUtf8(query.value(2).toString()), query.value(3).toInt(), query.value(4).toInt()});
  }
  return pairs;
}

void ExportJournalCsv(const Journal& journal, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) CannotCreate(path, file);
  QByteArray text = "date,liste,gauche,droite,question,trouvee,serie\r\n";
  QSqlQuery query = Run(journal,
                        QStringLiteral("SELECT time, lists.name, left_text, right_text, left_shown, answers.found, "
                                       "series FROM answers JOIN pairs ON pairs.id = pair JOIN lists ON lists.id = "
                                       "pairs.list %1 ORDER BY answers.id"),
                        std::nullopt, QString());
  while (query.next()) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(query.value(0).toLongLong());
    text += local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate).toUtf8() + ',' +
            Field(query.value(1).toString().toUtf8()) + ',' + Field(query.value(2).toString().toUtf8()) + ',' +
            Field(query.value(3).toString().toUtf8()) + ',' +
            (query.value(4).toInt() ? QByteArrayLiteral("gauche") : QByteArrayLiteral("droite")) + ',' +
            QByteArray::number(query.value(5).toInt()) + ',' + QByteArray::number(query.value(6).toLongLong()) + "\r\n";
    if (text.size() >= (1 << 16)) {
      if (file.write(text) != text.size()) break;
      text.clear();
    }
  }
  if (file.write(text) != text.size() || !file.commit()) {
    throw Error(QStringLiteral("Erreur d'écriture dans le flux"));
  }
}

}  // namespace tenaxo
