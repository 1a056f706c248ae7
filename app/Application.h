#pragma once
#include <QApplication>

namespace tenaxo {

// The one place where a failure that escapes an event handler is caught: it
// is shown in the error box and the event loop goes on.
class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tenaxo
