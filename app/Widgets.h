// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The few controls the main window needs that Qt has no exact match for.
#include <QColor>
#include <QLabel>
#include <QWidget>
#include <functional>

namespace tenaxo {

enum class Bevel { None, Raised, Lowered };

// A panel with a centred caption, a background colour and bevels; a left
// click on it (pressed and released over it) emits clicked, and so do Space
// and Enter while it has the focus (when it takes the focus at all).
//
// Its colours follow the desktop's palette until SetColor fixes a background;
// the text on it (its caption and the labels on it) then takes black or
// white, whichever reads on that background.
class Panel : public QWidget {
  Q_OBJECT
 public:
  Panel(QWidget* parent, Bevel outer, Bevel inner, int bevelWidth);
  void SetCaption(const QString& caption);
  QString Caption() const { return caption_; }
  void SetColor(const QColor& color);
  QColor Color() const { return palette().color(QPalette::Window); }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString caption_;
  Bevel outer_;
  Bevel inner_;
  int bevelWidth_;
  bool pressed_ = false;
};

// The contrast ratio of two colours, from 1 to 21 (WCAG 2.1); text reads
// well from kReadableContrast on.
double ContrastRatio(const QColor& a, const QColor& b);
constexpr double kReadableContrast = 4.5;
// Black or white, whichever contrasts more with the background.
QColor ContrastingText(const QColor& background);
// The text colour given when it reads on the background, else black or white.
QColor ReadableOn(const QColor& background, const QColor& text);

// A label that keeps its clicks to itself, as a label on a panel should:
// a click on it is not a click on the panel below.
class StaticLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace tenaxo
