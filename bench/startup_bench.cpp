// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the program itself: the tenaxo of this build (or the one
// TENAXO_BENCH_PROGRAM names, to compare builds) started with a list of 5
// pairs, then with one of 100,000, in each iteration; from the spawn to the
// first picture of its window with the list (TENAXO_QUIT_AFTER_FIRST_PAINT,
// main.cpp), and its peak resident memory (VmHWM). The grid hidden (0), as at
// every start, or shown (1); the lists ranked (1), as the program saves them,
// or not (0), as another program may write them. The counters: each start,
// and the large one's extra time (also in processor time, which a busy
// machine shakes less) and memory over the small one's, medians of the
// iterations.
//
// The peak is read from /proc while the program stands stopped: the
// ru_maxrss that wait4 gives also counts the peak of the process that
// spawned it, this one's, which the kernel folds in at the exec.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FileIo.h"
#include "ListEncoding.h"
#include "ListFormat.h"
#include "Ranking.h"
#include "Settings.h"
#include "Words.h"

extern char** environ;

namespace tenaxo {
namespace {

constexpr int kSmall = 5;
constexpr int kLarge = 100000;

struct Start {  // one start's figures
  double seconds = 0;
  double cpuSeconds = 0;  // user and system, less shaken by a busy machine
  double peakMiB = 0;
};

// A program folder of its own: a copy of the program with the two lists
// beside it, and for each list the user folders (settings, data, home) that
// the start reads and writes, so that nothing touches the user's own.
class StartFolder {
 public:
  explicit StartFolder(bool ranked) {
    const QByteArray other = qgetenv("TENAXO_BENCH_PROGRAM");
    const QString program = other.isEmpty() ? QStringLiteral(TENAXO_PROGRAM) : QString::fromLocal8Bit(other);
    // A copy, not a link: the program finds its lists beside its own file, links resolved.
    ok_ = dir_.isValid() && QFile::copy(program, Path("tenaxo")) && QDir(dir_.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(Path("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (int pairs : {kSmall, kLarge}) {
      if (!ok_) return;
      StudyTable list = bench::MakeList(pairs);
      // In the locale the program will run in: this one's.
      if (ranked) ComputeRatios(list);
      FileEncoding encoding = FileEncoding::None;
      WriteFileAtomically(Path(ListName(pairs) + ".tnx"), EncodeListFile(ListText(list), encoding));
      const QString home = Path("home" + std::to_string(pairs));
      ok_ = QDir().mkpath(home + QStringLiteral("/config")) && QDir().mkpath(home + QStringLiteral("/data"));
      Settings settings(home + QStringLiteral("/config/Tenaxo.ini"));
      settings.SetListName(ListName(pairs));
      settings.SetSpeech(false);
    }
  }
  bool Ok() const { return ok_; }

  // Starts the program with the list of that many pairs, the grid shown or
  // not, until its first picture; a fault is thrown as its text.
  Start Run(int pairs, bool grid) const {
    const std::string home = Path("home" + std::to_string(pairs)).toStdString();
    std::vector<std::string> env = {"XDG_CONFIG_HOME=" + home + "/config",
                                    "XDG_DATA_HOME=" + home + "/data",
                                    "HOME=" + home,
                                    "XDG_RUNTIME_DIR=" + Path("run").toStdString(),
                                    "QT_QPA_PLATFORM=offscreen",
                                    std::string("TENAXO_QUIT_AFTER_FIRST_PAINT=") + (grid ? "liste" : "1")};
    for (char** var = environ; *var; ++var) {
      const std::string text = *var;
      const std::string name = text.substr(0, text.find('=') + 1);
      bool replaced = false;
      for (const std::string& own : env) replaced = replaced || own.compare(0, name.size(), name) == 0;
      if (!replaced) env.push_back(text);
    }
    std::vector<char*> envp;
    for (std::string& var : env) envp.push_back(var.data());
    envp.push_back(nullptr);
    std::string program = Path("tenaxo").toStdString();
    char* argv[] = {program.data(), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);

    const auto started = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&quiet);
    if (failed != 0) throw std::string("the program could not be started");
    // A program that never stops is killed after a minute.
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::thread watchdog([&] {
      std::unique_lock<std::mutex> lock(mutex);
      if (!ended.wait_for(lock, std::chrono::minutes(1), [&] { return done; })) kill(pid, SIGKILL);
    });
    int status = 0;
    const pid_t waited = waitpid(pid, &status, WUNTRACED);
    const auto stopped = std::chrono::steady_clock::now();
    {
      const std::lock_guard<std::mutex> lock(mutex);
      done = true;
    }
    ended.notify_one();
    watchdog.join();
    if (waited != pid) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      throw std::string("the program could not be waited for");
    }
    if (!WIFSTOPPED(status)) throw std::string("the program ended, or was killed, before its first picture");
    Start start;
    start.seconds = std::chrono::duration<double>(stopped - started).count();
    std::ifstream proc("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(proc, line);) {
      if (line.rfind("VmHWM:", 0) == 0) start.peakMiB = std::stod(line.substr(6)) / 1024.0;
    }
    kill(pid, SIGCONT);
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    start.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::string("the program failed");
    if (start.peakMiB <= 0) throw std::string("no peak memory read");
    return start;
  }

 private:
  static std::string ListName(int pairs) { return pairs == kSmall ? "Petite" : "Grande"; }
  QString Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)); }

  QTemporaryDir dir_;
  bool ok_ = false;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The counters are the medians of the iterations' figures.
void BM_StartUp(benchmark::State& state) {
  const bool grid = state.range(0) != 0;
  const StartFolder folder(state.range(1) != 0);
  if (!folder.Ok()) {
    state.SkipWithError("the program folder could not be made");
    return;
  }
  const char* const names[] = {"small_ms",  "large_ms",  "extra_ms", "extra_cpu_ms",
                               "small_MiB", "large_MiB", "extra_MiB"};
  std::vector<double> figures[std::size(names)];
  try {
    for (auto _ : state) {
      const Start small = folder.Run(kSmall, grid);
      const Start large = folder.Run(kLarge, grid);
      const double iteration[std::size(names)] = {small.seconds * 1e3,
                                                  large.seconds * 1e3,
                                                  (large.seconds - small.seconds) * 1e3,
                                                  (large.cpuSeconds - small.cpuSeconds) * 1e3,
                                                  small.peakMiB,
                                                  large.peakMiB,
                                                  large.peakMiB - small.peakMiB};
      for (size_t k = 0; k < std::size(names); ++k) figures[k].push_back(iteration[k]);
    }
  } catch (const std::string& fault) {
    state.SkipWithError(fault.c_str());
    return;
  }
  for (size_t k = 0; k < std::size(names); ++k) state.counters[names[k]] = Median(figures[k]);
}
BENCHMARK(BM_StartUp)
    ->ArgNames({"grid", "ranked"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo
