// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving a list of 100,000 pairs, as the buttons do it: the file
// read whole and cut into the table, or the table written to a new file that
// replaces the old one once flushed to disk. Each is timed against a bare
// baseline run in turn with it, so that a busy machine slows both: BareMs is
// the baseline's median, xBare the ratio of the medians.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

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

template <class Work>
double SecondsOf(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
  return values[values.size() / 2];
}

// Runs the figure and its baseline once each per iteration, the baseline first
// every other time; the iteration's time is the figure's (UseManualTime).
template <class Figure, class Baseline>
void AgainstBaseline(benchmark::State& state, Figure&& figure, Baseline&& baseline) {
  std::vector<double> figures, baselines;
  for (auto _ : state) {
    const bool baselineFirst = figures.size() % 2 == 1;
    if (baselineFirst) baselines.push_back(SecondsOf(baseline));
    figures.push_back(SecondsOf(figure));
    if (!baselineFirst) baselines.push_back(SecondsOf(baseline));
    state.SetIterationTime(figures.back());
  }
  state.counters["BareMs"] = Median(baselines) * 1e3;
  state.counters["xBare"] = Median(figures) / Median(baselines);
}

// The bare atomic write: a new file in the same folder, written, flushed,
// renamed over the file, and the folder flushed.
void BareAtomicWrite(const QString& path, std::string_view bytes) {
  const QByteArray target = QFile::encodeName(path), folder = target.left(target.lastIndexOf('/') + 1);
  QByteArray temporary = folder + ".bare-XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t count = write(fd, bytes.data() + done, bytes.size() - done);
    if (count <= 0) std::abort();
    done += static_cast<size_t>(count);
  }
  if (fsync(fd) != 0 || close(fd) != 0 || rename(temporary.constData(), target.constData()) != 0) std::abort();
  const int dir = open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  fsync(dir);
  close(dir);
}

// The bare read: the file read whole.
std::string BareRead(const QString& path) {
  const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  fstat(fd, &st);
  std::string bytes(static_cast<size_t>(st.st_size), '\0');
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t count = read(fd, &bytes[done], bytes.size() - done);
    if (count <= 0) std::abort();
    done += static_cast<size_t>(count);
  }
  close(fd);
  return bytes;
}

// The bare read and split: the file read whole, cut into lines at CR LF, CR
// or LF and into cells at TABs, as views of the bytes read.
size_t BareReadAndSplit(const QString& path) {
  const std::string bytes = BareRead(path);
  std::vector<std::string_view> cells;
  size_t lines = 0, start = 0;
  const size_t size = bytes.size();
  for (size_t i = 0; i < size; ++i) {
    const char c = bytes[i];
    if (c != '\t' && c != '\r' && c != '\n') continue;
    cells.emplace_back(bytes.data() + start, i - start);
    if (c != '\t') {
      ++lines;
      if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n') ++i;
    }
    start = i + 1;
  }
  benchmark::DoNotOptimize(cells.data());
  return cells.size() + lines;
}

// Latin words are saved in Windows-1252; Cyrillic (second argument 1) or
// CJK (2) ones in UTF-8 with the mark.
void BM_LoadList(benchmark::State& state) {
  Folder folder;
  const StudyTable list = RankedList(static_cast<int>(state.range(0)), static_cast<bench::Script>(state.range(1)));
  FileEncoding encoding = FileEncoding::None;
  const std::string text = ListFileBytes(list, encoding);
  WriteFileAtomically(ListFilePath("Bench"), text);
  Session session;
  ListCommands commands(session, Window("Bench"));
  AgainstBaseline(
      state,
      [&] {
        commands.LoadList();
        benchmark::DoNotOptimize(session.table.Cell(0, 1));
      },
      [&] { benchmark::DoNotOptimize(BareReadAndSplit(ListFilePath("Bench"))); });
  state.counters["MB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
  state.counters["TableMB"] = static_cast<double>(session.table.MemoryUsage()) / (1024.0 * 1024.0);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_LoadList)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({100000, 2})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_SaveList(benchmark::State& state) {
  Folder folder;
  Session session;
  session.table = RankedList(static_cast<int>(state.range(0)), static_cast<bench::Script>(state.range(1)));
  session.listName = "Bench";
  ListCommands commands(session, Window("Bench"));
  commands.SaveList();
  const std::string bytes = ReadWholeFile(ListFilePath("Bench"));
  const QString bare = ListFilePath("Bare");
  AgainstBaseline(
      state, [&] { commands.SaveList(); }, [&] { BareAtomicWrite(bare, bytes); });
  state.counters["MB"] = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_SaveList)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({100000, 2})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The check a save makes first: has something else written the list file
// since it was loaded or saved? A stamp from a save (0) reads the unchanged
// 100,000-pair file whole and hashes it again; one from a load of a file last
// changed 2 s or more before (1) looks at its status alone. The baseline is a
// bare read of the file.
void BM_StampCheck(benchmark::State& state) {
  Folder folder;
  FileEncoding encoding = FileEncoding::None;
  const std::string text = ListFileBytes(RankedList(100000), encoding);
  const QString path = ListFilePath("Bench");
  WriteFileAtomically(path, text);
  FileStamp stamp = StampOf(path, text);
  if (state.range(0) == 1) {
    std::this_thread::sleep_for(std::chrono::nanoseconds(kSettledNs + 100'000'000));
    ReadStamped(path, stamp);
    if (!stamp.settled) state.SkipWithError("the file system keeps no times of its own");
  }
  AgainstBaseline(
      state,
      [&] {
        if (ChangedOnDisk(stamp)) state.SkipWithError("the file did not change");
      },
      [&] { benchmark::DoNotOptimize(BareRead(path)); });
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_StampCheck)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Very large lists, loaded and saved again as the buttons do it: a million
// short pairs (0) or one 10 MB cell (1), against a bare read and split and a
// bare atomic write. PeakMB is the process's peak resident memory after the
// load and save (the whole benchmark program's, so run this one alone:
// --benchmark_filter=LargeList); the list must come back byte for byte.
void BM_LargeListLoadSave(benchmark::State& state) {
  Folder folder;
  std::string bytes;
  if (state.range(0) == 0) {
    for (int i = 1; i <= 1000000; ++i) bytes += "w" + std::to_string(i) + "\tm" + std::to_string(i) + "\t\t\t\r\n";
  } else {
    bytes = std::string(10 << 20, 'x') + "\tdroite\t\t\t\r\n";
  }
  const QString path = ListFilePath("Grande"), bare = ListFilePath("Bare");
  WriteFileAtomically(path, bytes);
  WriteFileAtomically(bare, bytes);
  Session session;
  ListCommands commands(session, Window("Grande"));
  rusage usage{};
  AgainstBaseline(
      state,
      [&] {
        commands.LoadList();
        session.unsaved = true;
        commands.SaveList();
        getrusage(RUSAGE_SELF, &usage);
      },
      [&] {
        BareReadAndSplit(bare);
        BareAtomicWrite(bare, bytes);
      });
  if (ReadWholeFile(path) != bytes) state.SkipWithError("saved again, the list changed");
  state.counters["FileMB"] = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
  state.counters["PeakMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_LargeListLoadSave)->Arg(0)->Arg(1)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo
