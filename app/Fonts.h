// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QFont>

namespace tenaxo {

// Finds Tahoma wherever it is installed: known to the font configuration, or
// in a fonts folder of Wine (Debian's fonts-wine, WineHQ's packages, the
// user's Wine prefix). Where there is none, chooses the fallback: among the
// sans-serif families installed, the one that keeps the largest size while
// the window's captions stay within the widths Tahoma gives them, so that no
// caption is cut.
void LoadUiFonts();

// The fallback alone, as on a machine without Tahoma (tests); LoadUiFonts
// goes back to Tahoma.
void UseFallbackUiFont();

// Tahoma at the given character height in pixels; where it is missing, the
// fallback at the largest height that keeps the captions within their room.
QFont UiFont(int pixelSize, bool bold = false, bool italic = false);

// The bold of a font for the unsaved-changes mark, plainly heavier than the
// regular at the screen's scale. Where the family has no bold face the
// renderer thickens the regular one, by too little at large scales; the mark
// then takes the bold of the desktop's sans-serif.
QFont MarkFont(const QFont& regular);

}  // namespace tenaxo
