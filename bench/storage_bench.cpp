// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving a list of 100,000 pairs, as the buttons do it: the file
// read whole and cut into the table, or the table written to a new file that
// replaces the old one once flushed to disk.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QLocale>
#include <QTemporaryDir>

#include "FileIo.h"
#include "FileStamp.h"
#include "ListCommands.h"
#include "ListEncoding.h"
#include "ListFolder.h"
#include "ListFormat.h"
#include "Ranking.h"
#include "Words.h"

namespace tenaxo {
namespace {

// A ranked list of realistic pairs, as a saved list holds them.
StudyTable RankedList(int rows, bench::Script script = bench::Script::Latin) {
  StudyTable table = bench::MakeList(rows, 42, script);
  ComputeRatios(table, TextLocale(QLocale(QLocale::French, QLocale::France)));
  return table;
}

struct Folder {
  Folder() { SetAppFolder(dir.path()); }
  ~Folder() { SetAppFolder(QString()); }
  QTemporaryDir dir;
};

ListWindow Window(const std::string& name) {
  const auto yes = [](const QString&) { return true; };
  return ListWindow{[name] { return name; }, yes, yes, [](const QStringList&) {}, [] {}, [](const QString&) {}};
}

// Latin words are saved in Windows-1252; Cyrillic (second argument 1) or
// CJK (2) ones in UTF-8 with the mark.
void BM_LoadList(benchmark::State& state) {
  Folder folder;
  const StudyTable list = RankedList(static_cast<int>(state.range(0)), static_cast<bench::Script>(state.range(1)));
  FileEncoding encoding = FileEncoding::None;
  const std::string text = EncodeListFile(ListText(list), encoding);
  WriteFileAtomically(ListFilePath("Bench"), text);
  Session session;
  ListCommands commands(session, Window("Bench"));
  for (auto _ : state) {
    commands.LoadList();
    benchmark::DoNotOptimize(session.table.Cell(0, 1));
  }
  state.counters["MB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
  state.counters["TableMB"] = static_cast<double>(session.table.MemoryUsage()) / (1024.0 * 1024.0);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_LoadList)->Args({100000, 0})->Args({100000, 1})->Args({100000, 2})->Unit(benchmark::kMillisecond);

void BM_SaveList(benchmark::State& state) {
  Folder folder;
  Session session;
  session.table = RankedList(static_cast<int>(state.range(0)), static_cast<bench::Script>(state.range(1)));
  session.listName = "Bench";
  ListCommands commands(session, Window("Bench"));
  for (auto _ : state) {
    commands.SaveList();
  }
  const double bytes = static_cast<double>(ListText(session.table).size());
  state.counters["MB"] = bytes / (1024.0 * 1024.0);
  state.SetBytesProcessed(static_cast<int64_t>(static_cast<double>(state.iterations()) * bytes));
}
BENCHMARK(BM_SaveList)->Args({100000, 0})->Args({100000, 1})->Args({100000, 2})->Unit(benchmark::kMillisecond);

// The check a save makes first: has something else written the list file
// since it was loaded? A 100,000-pair file that has not changed is read
// whole and hashed again.
void BM_StampCheck(benchmark::State& state) {
  Folder folder;
  FileEncoding encoding = FileEncoding::None;
  const std::string text = EncodeListFile(ListText(RankedList(100000)), encoding);
  const QString path = ListFilePath("Bench");
  WriteFileAtomically(path, text);
  const FileStamp stamp = StampOf(path, text);
  for (auto _ : state) {
    if (ChangedOnDisk(stamp)) state.SkipWithError("the file did not change");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_StampCheck)->Unit(benchmark::kMillisecond);

// Very large lists, loaded and saved again as the buttons do it: a million
// short pairs (0) or one 10 MB cell (1). PeakMB is the process's peak
// resident memory after the run (the whole benchmark program's, so run this
// one alone: --benchmark_filter=LargeList); the list must come back byte for byte.
void BM_LargeListLoadSave(benchmark::State& state) {
  Folder folder;
  std::string bytes;
  if (state.range(0) == 0) {
    for (int i = 1; i <= 1000000; ++i) bytes += "w" + std::to_string(i) + "\tm" + std::to_string(i) + "\t\t\t\r\n";
  } else {
    bytes = std::string(10 << 20, 'x') + "\tdroite\t\t\t\r\n";
  }
  WriteFileAtomically(ListFilePath("Grande"), bytes);
  Session session;
  ListCommands commands(session, Window("Grande"));
  for (auto _ : state) {
    commands.LoadList();
    session.unsaved = true;
    commands.SaveList();
  }
  if (ReadWholeFile(ListFilePath("Grande")) != bytes) state.SkipWithError("saved again, the list changed");
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["FileMB"] = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
  state.counters["PeakMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_LargeListLoadSave)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo
