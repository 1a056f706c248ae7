// SPDX-License-Identifier: GPL-3.0-or-later
// The undo history and the search on a list of 100,000 pairs: the memory
// 10,000 steps keep, and the time a key typed into the search field takes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include "ColumnSort.h"
#include "ListFolder.h"
#include "ListHistory.h"
#include "Settings.h"
#include "TFTenaxo.h"
#include "TableRows.h"
#include "Words.h"

namespace tenaxo {
namespace {

constexpr int kRows = 100000;

size_t HeapInUse() { return mallinfo2().uordblks; }

// 10,000 steps as a long session makes them: answers (the list ranked at
// every fifth question), and every 25 steps a word typed into a cell, a row
// inserted and a row deleted, and every 500 a header sort (its whole order
// kept). The bytes the steps hold by their own count, and as the heap grew.
void BM_UndoHistory10000Steps(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Session session;
    session.table = bench::MakeList(kRows);
    QuestionCycle cycle(
        session, [] { return std::unique_ptr<Voice>(); }, [n = uint64_t{0}]() mutable { return ++n; });
    cycle.NextQuestion();
    const size_t heap = HeapInUse();
    ListHistory history(session, cycle);
    state.ResumeTiming();
    for (int step = 0; step < 10000; ++step) {
      history.Begin();
      const int row = 1 + step * 7919 % (kRows - 1);
      if (step % 500 == 499) {
        SortGrid(session.table, step / 500 % 2, 0);
      } else if (step % 25 == 5) {
        session.table.SetCell(ColGauche, row, "mot tapé " + std::to_string(step));
      } else if (step % 25 == 10) {
        InsertGridRow(session.table, row, {});
      } else if (step % 25 == 15) {
        DeleteGridRow(session.table, row);
      } else {
        history.Name(QStringLiteral("la réponse"), true);
        step % 3 != 0 ? cycle.AnswerFound() : cycle.AnswerNotFound();
      }
      history.End();
    }
    state.PauseTiming();
    state.counters["table_MB"] = static_cast<double>(session.table.MemoryUsage()) / 1e6;
    state.counters["held_MB"] = static_cast<double>(history.MemoryUsage()) / 1e6;
    state.counters["heap_MB"] = static_cast<double>(HeapInUse() - heap) / 1e6;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoHistory10000Steps)->Iterations(1)->Unit(benchmark::kMillisecond);

// The window with 100,000 pairs shown and its search field open.
struct SearchWindow {
  QTemporaryDir folder;
  std::unique_ptr<TFTenaxo> window;
  SearchWindow() {
    SetAppFolder(folder.path());
    Settings::SetUserFile(folder.path() + QStringLiteral("/Tenaxo.ini"));
    window = std::make_unique<TFTenaxo>([] { return std::unique_ptr<Voice>(); });
    window->show();
    QCoreApplication::processEvents();
    const StudyTable list = bench::MakeList(kRows);
    std::vector<StudyTable::Row> rows;
    for (int row = 1; row <= kRows; ++row) rows.push_back(list.RowTexts(row));
    window->State().table.ReplaceDataRows(std::move(rows));
    window->CbVisuListe->setChecked(true);
    window->AcRechercherClick();
    QCoreApplication::processEvents();
  }
  ~SearchWindow() {
    window.reset();
    SetAppFolder(QString());
    Settings::SetUserFile(QString());
  }
  // One key into the field, up to the picture it leads to.
  void Type(QChar character) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
    QCoreApplication::sendEvent(window->EdRecherche, &press);
    QCoreApplication::processEvents();
  }
};

// Each key of words typed one after another ("ma", "été"... are the list's
// syllables), the field emptied between words; changed (1): the list changed
// before each key, which has it read again.
void BM_SearchKeystroke(benchmark::State& state) {
  SearchWindow search;
  const QString typed = QStringLiteral("marité crè ten ");
  qsizetype next = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QChar character = typed[next++ % typed.size()];
    if (character == u' ') {
      search.window->EdRecherche->clear();
      character = typed[next++ % typed.size()];
    }
    if (state.range(0) != 0) search.window->State().table.SetCell(ColDroite, 1, std::to_string(next));
    state.ResumeTiming();
    search.Type(character);
  }
}
BENCHMARK(BM_SearchKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo
