#include "Fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace tenaxo {

void LoadUiFonts() {
  // Wine's free Tahoma has the metrics the window was laid out with; Debian
  // puts it outside the folders the font configuration scans.
  for (const char* path : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
    if (QFile::exists(QString::fromLatin1(path))) QFontDatabase::addApplicationFont(QString::fromLatin1(path));
  }
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
