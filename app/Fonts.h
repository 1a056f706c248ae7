#pragma once
#include <QFont>

namespace tenaxo {

// Makes the interface font known to the application, where it is installed.
void LoadUiFonts();

// Tahoma at the given character height in pixels, or the closest sans-serif
// the machine has.
QFont UiFont(int pixelSize, bool bold = false, bool italic = false);

}  // namespace tenaxo
