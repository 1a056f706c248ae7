// Loading and saving a list of 100,000 pairs, as the buttons do it: the file
// read whole and cut into the table, or the table written to a new file that
// replaces the old one once flushed to disk.
#include <benchmark/benchmark.h>

#include <QLocale>
#include <QTemporaryDir>

#include "ListCommands.h"
#include "ListFiles.h"
#include "Ranking.h"
#include "Words.h"

namespace tenaxo {
namespace {

// A ranked list of realistic pairs, as a saved list holds them.
StudyTable RankedList(int rows) {
  StudyTable table = bench::MakeList(rows);
  ComputeRatios(table, TextLocale(QLocale(QLocale::French, QLocale::France)));
  return table;
}

struct Folder {
  Folder() { SetAppFolder(dir.path()); }
  ~Folder() { SetAppFolder(QString()); }
  QTemporaryDir dir;
};

ListWindow Window(const AnsiString& name) {
  const auto yes = [](const QString&) { return true; };
  return ListWindow{[name] { return name; }, yes, yes, [](const QStringList&) {}, [] {}};
}

void BM_LoadList(benchmark::State& state) {
  Folder folder;
  const StudyTable list = RankedList(static_cast<int>(state.range(0)));
  const AnsiString text = ListText(list);
  WriteListFile(ListFilePath("Bench"), text);
  Session session;
  ListCommands commands(session, Window("Bench"));
  for (auto _ : state) {
    commands.LoadList();
    benchmark::DoNotOptimize(session.SgListe.Cell(0, 1));
  }
  state.counters["MB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
  state.counters["TableMB"] = static_cast<double>(session.SgListe.MemoryUsage()) / (1024.0 * 1024.0);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_LoadList)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SaveList(benchmark::State& state) {
  Folder folder;
  Session session;
  session.SgListe = RankedList(static_cast<int>(state.range(0)));
  session.FListName = "Bench";
  ListCommands commands(session, Window("Bench"));
  for (auto _ : state) {
    commands.SaveList();
  }
  const double bytes = static_cast<double>(ListText(session.SgListe).size());
  state.counters["MB"] = bytes / (1024.0 * 1024.0);
  state.SetBytesProcessed(static_cast<int64_t>(static_cast<double>(state.iterations()) * bytes));
}
BENCHMARK(BM_SaveList)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo
