// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include <QIcon>

#include "Dialogs.h"
#include "Fonts.h"
#include "Version.h"

namespace tenaxo {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Tenaxo"));
  setApplicationVersion(QStringLiteral(TENAXO_VERSION));
  // Ties the windows to the desktop entry: its icon and name in the task bar
  // and the dock, on X11 and Wayland alike.
  setDesktopFileName(QStringLiteral(TENAXO_APP_ID));
  QIcon icon;
  for (int size : {48, 64, 128, 256}) icon.addFile(QStringLiteral(":/icons/" TENAXO_APP_ID "-%1.png").arg(size));
  setWindowIcon(icon);
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
