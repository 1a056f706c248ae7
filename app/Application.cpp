#include "Application.h"

#include "Dialogs.h"
#include "Errors.h"
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
  } catch (const Error& error) {
    ShowError(activeWindow(), error.Message());
  } catch (const std::exception& error) {
    ShowError(activeWindow(), QString::fromLocal8Bit(error.what()));
  } catch (...) {
    ShowError(activeWindow(), QStringLiteral("Erreur inattendue"));
  }
  return false;
}

}  // namespace tenaxo
