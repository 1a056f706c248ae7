#pragma once
#include <QFont>

namespace tenaxo {

// Makes the interface font known to the application, where it is installed.
void LoadUiFonts();

// Tahoma at the given character height in pixels, or the closest sans-serif
// the machine has.
QFont UiFont(int pixelSize, bool bold = false, bool italic = false);

// The bold of a font for the unsaved-changes mark, plainly heavier than the
// regular at the screen's scale. Where the family has no bold face the
// renderer thickens the regular one, by too little at large scales; the mark
// then takes the bold of the desktop's sans-serif.
QFont MarkFont(const QFont& regular);

}  // namespace tenaxo
