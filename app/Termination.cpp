// SPDX-License-Identifier: GPL-3.0-or-later
#include "Termination.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <csignal>

namespace tenaxo {

namespace {

// The handler only writes a byte; the event loop reads it.
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // A full pipe needs no more: a close is asked already.
  [[maybe_unused]] const ssize_t written = write(signalPipe[0], &byte, 1);
  errno = saved;
}

// A handler that waits in a box of its own runs inside a nested loop: the
// box is closed, and the windows only once that handler has returned.
void CloseWindows() {
  if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  if (QThread::currentThread()->loopLevel() > 1) {
    QTimer::singleShot(10, CloseWindows);
    return;
  }
  QApplication::closeAllWindows();
}

}  // namespace

void CloseOnTerminationSignals() {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
    char bytes[16];
    while (read(signalPipe[1], bytes, sizeof bytes) > 0) {
    }
    CloseWindows();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
}

}  // namespace tenaxo
