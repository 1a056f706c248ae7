#pragma once
// The few controls the main window needs that Qt has no exact match for.
#include <QColor>
#include <QLabel>
#include <QWidget>
#include <functional>

namespace tenaxo {

enum class Bevel { None, Raised, Lowered };

// A panel with a centred caption, a background colour and bevels; a left
// click on it (pressed and released over it) emits clicked.
class Panel : public QWidget {
  Q_OBJECT
 public:
  Panel(QWidget* parent, Bevel outer, Bevel inner, int bevelWidth);
  void SetCaption(const QString& caption);
  QString Caption() const { return caption_; }
  void SetColor(const QColor& color);
  QColor Color() const { return color_; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString caption_;
  QColor color_;
  Bevel outer_;
  Bevel inner_;
  int bevelWidth_;
  bool pressed_ = false;
};

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
