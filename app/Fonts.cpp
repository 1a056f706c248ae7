// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fonts.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>

namespace tenaxo {

namespace {

const QString kTahoma = QStringLiteral("Tahoma");

struct Choice {
  QString family = kTahoma;
  bool fallback = false;
  QHash<int, int> sizes;  // a height asked for: the fallback's height
};

Choice& Current() {
  static Choice choice;
  return choice;
}

// The captions that fill their controls most, with the widths Tahoma gives
// them at 11 px: the room the window was laid out for.
struct Sample {
  const char* text;
  qreal tahomaWidth;
};
const Sample kSamples[] = {
    {"Montrer à gauche en premier", 141.4},
    {"Synthèse vocale à gauche", 125.3},
    {"RAZ Statistiques", 78.7},
    {"Demandé", 46.2},
};
constexpr int kSampleHeight = 11;

// The largest height up to pixelSize at which the family's captions are no
// wider than Tahoma's at pixelSize.
int FittingHeight(const QString& family, int pixelSize) {
  int size = pixelSize;
  for (; size > 1; --size) {
    QFont font(family);
    font.setPixelSize(size);
    const QFontMetricsF metrics(font);
    bool fits = true;
    for (const Sample& sample : kSamples) {
      fits = fits && metrics.horizontalAdvance(QString::fromUtf8(sample.text)) <=
                         sample.tahomaWidth * pixelSize / kSampleHeight;
    }
    if (fits) break;
  }
  return size;
}

// Sans-serif families a Debian desktop may have, the desktop's own first.
QString ChooseFallback() {
  QStringList candidates{QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family()};
  candidates << QStringLiteral("DejaVu Sans Condensed") << QStringLiteral("Liberation Sans") << QStringLiteral("Arimo")
             << QStringLiteral("Noto Sans") << QStringLiteral("Cantarell") << QStringLiteral("Ubuntu")
             << QStringLiteral("Open Sans") << QStringLiteral("DejaVu Sans") << QStringLiteral("FreeSans");
  QString best;
  int bestHeight = 0;
  for (const QString& family : candidates) {
    if (family == kTahoma || !QFontDatabase::hasFamily(family)) continue;
    const int height = FittingHeight(family, kSampleHeight);
    if (height > bestHeight) {
      best = family;
      bestHeight = height;
    }
  }
  return best.isEmpty() ? QFontInfo(QFont(QStringLiteral("sans-serif"))).family() : best;
}

// The Tahoma of Wine has the metrics the window was laid out with; Debian
// puts it outside the folders the font configuration scans. Only its regular
// face is taken: its bold face draws no heavier, so bold is left to the
// renderer's emboldening of the regular face, which shows the unsaved mark.
bool FindTahoma() {
  if (QFontDatabase::hasFamily(kTahoma)) return true;  // also once loaded from a file
  const QString folders[] = {
      QStringLiteral("/usr/share/wine/fonts"),
      QStringLiteral("/opt/wine-stable/share/wine/fonts"),
      QStringLiteral("/opt/wine-staging/share/wine/fonts"),
      QStringLiteral("/opt/wine-devel/share/wine/fonts"),
      QDir::homePath() + QStringLiteral("/.wine/drive_c/windows/Fonts"),
  };
  for (const QString& folder : folders) {
    const QString path = folder + QStringLiteral("/tahoma.ttf");
    if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0) return true;
  }
  return false;
}

void Choose(bool tahoma) {
  Choice& choice = Current();
  choice.sizes.clear();
  choice.fallback = !tahoma;
  choice.family = tahoma ? kTahoma : ChooseFallback();
}

}  // namespace

void LoadUiFonts() { Choose(FindTahoma()); }

void UseFallbackUiFont() { Choose(false); }

QFont UiFont(int pixelSize, bool bold, bool italic) {
  Choice& choice = Current();
  QFont font(choice.family);
  font.setStyleHint(QFont::SansSerif);
  if (choice.fallback) {
    auto size = choice.sizes.find(pixelSize);
    if (size == choice.sizes.end()) size = choice.sizes.insert(pixelSize, FittingHeight(choice.family, pixelSize));
    font.setPixelSize(*size);
  } else {
    font.setPixelSize(pixelSize);
  }
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
