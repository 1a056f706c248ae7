// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of answers: the time one answer adds (under 1 ms), on a new
// journal and on a journal of a million answers; the statistics window opened
// (under 200 ms) and its period changed (under 100 ms) on that journal of
// 1,000,000 answers over 5 years and 50 lists; its bytes per answer (at most
// 100, the "bytes_per_answer" counter).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <map>
#include <random>

#include "AnswerJournal.h"
#include "StatisticsWindow.h"

namespace tenaxo {
namespace {

constexpr int kLists = 50, kPairsPerList = 200, kDays = 5 * 365 + 1, kAnswers = 1'000'000;
const QDate kLastDay = QDate::currentDate();

std::string ListName(int list) { return "Liste " + std::to_string(list); }
std::string Left(int pair) { return "mot " + std::to_string(pair); }
std::string Right(int pair) { return "traduction " + std::to_string(pair); }

// The journal of a million answers, made once (in the program's own schema,
// rows written in bulk) and kept in the system's temporary folder.
QString BigJournal() {
  const QString path =
      QDir::temp().filePath(QStringLiteral("tenaxo-bench-journal-%1.sqlite").arg(kLastDay.toJulianDay()));
  if (QFileInfo::exists(path)) return path;
  QFile::remove(path + QStringLiteral(".part"));
  {
    Journal journal(path + QStringLiteral(".part"));
    journal.Open();
    QSqlDatabase db = journal.Database();
    db.transaction();
    QSqlQuery query(db);
    for (int list = 0; list < kLists; ++list) {
      query.exec(QStringLiteral("INSERT INTO lists(name) VALUES('%1')").arg(ToQString(ListName(list))));
    }
    std::vector<std::array<int, 2>> pairs(kLists * kPairsPerList);
    std::map<std::pair<int, int>, std::array<int, 2>> days;
    std::mt19937 random(1);
    const int64_t lastDay = DayNumber(kLastDay);
    query.prepare(QStringLiteral("INSERT INTO answers(time, series, pair, left_shown, found) VALUES(?, ?, ?, ?, ?)"));
    for (int k = 0; k < kAnswers; ++k) {
      const int64_t day = lastDay - kDays + 1 + int64_t{k} * kDays / kAnswers;
      const int pair = static_cast<int>(random() % pairs.size());
      const int found = random() % 10 < 7 ? 1 : 0;
      query.addBindValue(static_cast<qlonglong>(day * 86400 + 60 * (k % 600)));
      query.addBindValue(k / 20 + 1);
      query.addBindValue(pair + 1);
      query.addBindValue(k % 2);
      query.addBindValue(found);
      query.exec();
      pairs[pair][0] += 1;
      pairs[pair][1] += found;
      auto& count = days[{pair / kPairsPerList + 1, static_cast<int>(day)}];
      count[0] += 1;
      count[1] += found;
    }
    query.prepare(
        QStringLiteral("INSERT INTO pairs(id, list, left_text, right_text, asked, found) VALUES(?,?,?,?,?,?)"));
    for (size_t pair = 0; pair < pairs.size(); ++pair) {
      for (const QVariant& value :
           {QVariant(static_cast<int>(pair) + 1), QVariant(static_cast<int>(pair) / kPairsPerList + 1),
            QVariant(ToQString(Left(static_cast<int>(pair)))), QVariant(ToQString(Right(static_cast<int>(pair)))),
            QVariant(pairs[pair][0]), QVariant(pairs[pair][1])}) {
        query.addBindValue(value);
      }
      query.exec();
    }
    query.prepare(QStringLiteral("INSERT INTO days(list, day, asked, found) VALUES(?, ?, ?, ?)"));
    for (const auto& [key, count] : days) {
      for (int value : {key.first, key.second, count[0], count[1]}) query.addBindValue(value);
      query.exec();
    }
    db.commit();
    query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
  }
  QFile::rename(path + QStringLiteral(".part"), path);
  return path;
}

int64_t CountAnswers(const Journal& journal) {
  QSqlQuery query(journal.Database());
  query.exec(QStringLiteral("SELECT count(*) FROM answers"));
  return query.next() ? query.value(0).toLongLong() : 0;
}

// One answer written, to a new journal (0) or to a copy of the big one (1).
void BM_JournalAnswer(benchmark::State& state) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("journal.sqlite"));
  if (state.range(0) == 1) QFile::copy(BigJournal(), path);
  AnswerJournal journal(path);
  journal.Open();
  const int64_t before = CountAnswers(journal.Store());
  std::mt19937 random(2);
  int n = 0;
  for (auto _ : state) {
    const int pair = static_cast<int>(random() % (kLists * kPairsPerList));
    const BookedAnswer answer{ListName(pair / kPairsPerList), Left(pair), Right(pair), n % 2 == 0, n % 3 != 0, ++n};
    if (journal.Record(answer)) state.SkipWithError("not written");
  }
  const int64_t written = CountAnswers(journal.Store()) - before;
  if (written != n) state.SkipWithError("answers missing");
}
BENCHMARK(BM_JournalAnswer)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The events run until the chart has been painted.
void Painted(QWidget* chart, benchmark::State& state) {
  struct Watch : QObject {
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
      painted = painted || event->type() == QEvent::Paint;
      return false;
    }
  } watch;
  chart->installEventFilter(&watch);
  for (int k = 0; k < 100 && !watch.painted; ++k) QCoreApplication::processEvents();
  chart->removeEventFilter(&watch);
  if (!watch.painted) state.SkipWithError("not painted");
}

// The big journal: its size per answer, and the statistics window on it.
struct BigWindow {
  BigWindow() : journal(BigJournal()) {
    journal.Open();
    session.listName = ListName(7);
    session.table = StudyTable(5, kPairsPerList + 1);
    for (int row = 1; row <= kPairsPerList; ++row) {
      session.table.SetCell(ColGauche, row, Left(row));
      session.table.SetCell(ColDemande, row, std::to_string(row % 30));
      session.table.SetCell(ColJuste, row, std::to_string(row % 30 / 2));
    }
  }
  double BytesPerAnswer() {
    return static_cast<double>(QFileInfo(journal.Store().Path()).size()) /
           static_cast<double>(CountAnswers(journal.Store()));
  }
  AnswerJournal journal;
  Session session;
};

// From nothing to the window painted, for the study list (0) or every list (1).
void BM_StatisticsOpen(benchmark::State& state) {
  BigWindow big;
  for (auto _ : state) {
    StatisticsWindow window(big.journal, big.session, nullptr);
    window.CbScope->setCurrentIndex(static_cast<int>(state.range(0)));
    window.Reload();
    window.show();
    Painted(window.ChAnswers->viewport(), state);
  }
  state.counters["bytes_per_answer"] = big.BytesPerAnswer();
}
BENCHMARK(BM_StatisticsOpen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Another period, painted, for the study list (0) or every list (1).
void BM_StatisticsPeriod(benchmark::State& state) {
  BigWindow big;
  StatisticsWindow window(big.journal, big.session, nullptr);
  window.CbScope->setCurrentIndex(static_cast<int>(state.range(0)));
  window.Reload();
  window.show();
  QCoreApplication::processEvents();
  int period = 0;
  for (auto _ : state) {
    period = (period + 1) % 3;
    window.CbPeriod->setCurrentIndex(period);
    Painted(window.ChAnswers->viewport(), state);
  }
}
BENCHMARK(BM_StatisticsPeriod)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo
