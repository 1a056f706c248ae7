// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QApplication>

namespace tenaxo {

// The last net for a failure that escapes an event handler (the main
// window's handlers show their own): it is shown in the error box and the
// event loop goes on.
class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tenaxo
