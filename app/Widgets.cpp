#include "Widgets.h"

#include <QMouseEvent>
#include <QPainter>

#include "Ansi.h"

namespace tenaxo {

Panel::Panel(QWidget* parent, Bevel outer, Bevel inner, int bevelWidth)
    : QWidget(parent), color_(palette().color(QPalette::Button)), outer_(outer), inner_(inner), bevelWidth_(bevelWidth) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Panel::SetCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  update();
}

void Panel::SetColor(const QColor& color) {
  if (color_ == color) return;
  color_ = color;
  update();
}

namespace {
void DrawBevel(QPainter& painter, QRect& rect, Bevel bevel, int width) {
  if (bevel == Bevel::None) return;
  const QColor light(255, 255, 255);
  const QColor dark(160, 160, 160);
  const QColor topLeft = bevel == Bevel::Raised ? light : dark;
  const QColor bottomRight = bevel == Bevel::Raised ? dark : light;
  for (int k = 0; k < width; ++k) {
    painter.setPen(topLeft);
    painter.drawLine(rect.left(), rect.top(), rect.right(), rect.top());
    painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom());
    painter.setPen(bottomRight);
    painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    rect.adjust(1, 1, -1, -1);
  }
}
}  // namespace

void Panel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), color_);
  QRect inside = rect();
  DrawBevel(painter, inside, outer_, bevelWidth_);
  DrawBevel(painter, inside, inner_, bevelWidth_);
  if (!caption_.isEmpty()) {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(inside, Qt::AlignCenter | Qt::TextSingleLine, caption_);
  }
}

void Panel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void Panel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click) emit clicked();
}

void StaticLabel::mousePressEvent(QMouseEvent* event) { event->accept(); }
void StaticLabel::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

}  // namespace tenaxo
