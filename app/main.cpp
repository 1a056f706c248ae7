// SPDX-License-Identifier: GPL-3.0-or-later
#include <csignal>
#include <cstdlib>

#include <QCheckBox>
#include <QDateTime>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "Application.h"
#include "CommandLine.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "TFAbout.h"
#include "TFTenaxo.h"
#include "Termination.h"

namespace {
// TENAXO_QUIT_AFTER_FIRST_PAINT set (the start-up benchmark): once the window's first picture, with its list, is
// flushed, the program stops itself (SIGSTOP) for its peak memory to be read, and ends when continued; set to
// "liste", it starts with "Voir la liste" checked.
struct QuitAfterFirstPaint : QObject {
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      QMetaObject::invokeMethod(
          this,
          [] {
            std::raise(SIGSTOP);
            std::_Exit(0);
          },
          Qt::QueuedConnection);
    }
    return false;
  }
};
}  // namespace

int main(int argc, char** argv) {
  const tenaxo::CommandLine line = tenaxo::ReadCommandLine(argc, argv);
  if (line.answer) return tenaxo::PrintAnswer(line);
  // A file-size limit must fail a save with its message, not end the program.
  std::signal(SIGXFSZ, SIG_IGN);
  const qint64 started = QDateTime::currentSecsSinceEpoch();
  tenaxo::Application app(argc, argv);
  // From here on a termination signal closes the window as the user does,
  // once the event loop runs: the list folder may be made just below.
  tenaxo::CloseOnTerminationSignals();
  // The file dialogs speak French with the rest of the window (when Qt's
  // translations are installed; English otherwise).
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qtTexts);
  }
  tenaxo::SingleInstance instance(tenaxo::Settings::UserFile());
  if (!instance.Claim(line.files)) return 0;
  tenaxo::RemoveLeftovers(started);
  tenaxo::TFTenaxo window;
  QObject::connect(&instance, &tenaxo::SingleInstance::Activated, &window, [&](const QStringList& files) {
    tenaxo::BringToFront(&window);
    window.OpenFiles(files);
  });
  window.SetAbout(new tenaxo::TFAbout(&window));
  QuitAfterFirstPaint quit;
  if (qEnvironmentVariableIsSet("TENAXO_QUIT_AFTER_FIRST_PAINT")) {
    if (qgetenv("TENAXO_QUIT_AFTER_FIRST_PAINT") == "liste") window.CbVisuListe->setChecked(true);
    window.installEventFilter(&quit);
  }
  window.show();
  // Once the window is on screen, with the list it starts with.
  QMetaObject::invokeMethod(
      &window, [&] { window.OpenFiles(line.files); }, Qt::QueuedConnection);
  return app.exec();
}
