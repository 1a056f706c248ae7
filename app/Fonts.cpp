#include "Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>

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

namespace {
// The ink of a word: the darkness of its pixels, summed, black on white at
// the given scale.
double Ink(const QFont& font, qreal scale) {
  const QString word = QStringLiteral("Sauver");
  const QSize size = QFontMetrics(font).size(Qt::TextSingleLine, word) + QSize(4, 4);
  QImage image(size * scale, QImage::Format_Grayscale8);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, word);
  }
  double ink = 0;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* line = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) ink += 255 - line[x];
  }
  return ink;
}

QFont Bold(QFont font) {
  font.setBold(true);
  return font;
}
}  // namespace

QFont MarkFont(const QFont& regular) {
  // A bold at least this much heavier reads as a mark at a glance.
  constexpr double kPlainlyHeavier = 1.4;
  const qreal scale = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  static QHash<QString, QFont> chosen;
  const QString key = regular.key() + QLatin1Char('@') + QString::number(scale);
  if (const auto found = chosen.constFind(key); found != chosen.constEnd()) return *found;

  QFont mark = Bold(regular);
  const double plain = Ink(regular, scale);
  if (Ink(mark, scale) < kPlainlyHeavier * plain) {
    QFont sans = Bold(regular);
    sans.setFamilies({QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), QStringLiteral("sans-serif")});
    if (Ink(sans, scale) > Ink(mark, scale)) mark = sans;
  }
  chosen.insert(key, mark);
  return mark;
}

}  // namespace tenaxo
