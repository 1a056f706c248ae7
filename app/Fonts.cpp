#include "Fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace tenaxo {

void LoadUiFonts() {
  // Wine's free Tahoma has the metrics the window was laid out with; Debian
  // puts it outside the folders the font configuration scans. Its bold face
  // draws no heavier than the regular one, so bold is left to the renderer's
  // emboldening of the regular face, which shows the unsaved-changes mark.
  const QString path = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
  if (QFile::exists(path)) QFontDatabase::addApplicationFont(path);
}

QFont UiFont(int pixelSize, bool bold, bool italic) {
  QFont font(QStringLiteral("Tahoma"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

}  // namespace tenaxo
