#include "Application.h"

#include "Dialogs.h"
#include "Fonts.h"

namespace tenaxo {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Tenaxo"));
  setOrganizationName(QStringLiteral("Tenaxo"));
  LoadUiFonts();
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentFailure(activeWindow());
  }
  return false;
}

}  // namespace tenaxo
