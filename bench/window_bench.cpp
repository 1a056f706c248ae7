// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: from a new main window, with a stored list, to its first picture,
// speech off (0) and on (1). The voice takes as long as a short spoken word;
// with speech on the window must come up as fast as without it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "ListFolder.h"
#include "Settings.h"
#include "TFTenaxo.h"
#include "Widgets.h"

namespace tenaxo {
namespace {

class WordLongVoice : public Voice {
 public:
  explicit WordLongVoice(int* spoken) : spoken_(spoken) {}
  bool Speak(const std::string&, const std::string&) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ++*spoken_;
    return true;
  }

 private:
  int* spoken_;
};

struct PaintWatch : QObject {
  bool painted = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void BM_StartToFirstPaint(benchmark::State& state) {
  const bool speech = state.range(0) != 0;
  QTemporaryDir folder;
  SetAppFolder(folder.path());
  Settings::SetUserFile(folder.path() + QStringLiteral("/Tenaxo.ini"));
  QFile list(folder.path() + QStringLiteral("/Anglais.tnx"));
  if (!list.open(QIODevice::WriteOnly) || list.write("cat\tchat\t\t\t\r\ndog\tchien\t\t\t\r\n") < 0) {
    state.SkipWithError("no list file");
    return;
  }
  list.close();
  Settings settings;
  settings.SetListName("Anglais");
  settings.SetLeftFirst(true);
  settings.SetSpeech(speech);
  int spoken = 0;
  for (auto _ : state) {
    const int before = spoken;
    TFTenaxo window([&spoken] { return std::make_unique<WordLongVoice>(&spoken); });
    PaintWatch watch;
    window.PnFiche->installEventFilter(&watch);
    window.show();
    while (!watch.painted) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    state.PauseTiming();
    while (speech && spoken == before) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    state.ResumeTiming();
  }
  SetAppFolder(QString());
  Settings::SetUserFile(QString());
}
BENCHMARK(BM_StartToFirstPaint)->Arg(0)->Arg(1)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo
