// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window driven by keys, as the menus, Annuler and the search are.
#include "GuiFixture.h"

namespace tenaxo::test {

class KeysTest : public GuiTest {
 protected:
  // A key to the menu open, or else to the focus of the window, made active again as offscreen Qt does not.
  void Press(int key, Qt::KeyboardModifiers with = {}) {
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup) QApplication::setActiveWindow(window.get());
    QTest::keyClick(popup ? popup : QApplication::focusWidget(), static_cast<Qt::Key>(key), with);
  }
  void Undo() { Press(Qt::Key_Z, Qt::ControlModifier); }
  void Redo() { Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }
};

}  // namespace tenaxo::test
