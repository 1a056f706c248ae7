// SPDX-License-Identifier: GPL-3.0-or-later
#include "Widgets.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <mutex>

#include "Utf8.h"

namespace tenaxo {

namespace {
// What a screen reader knows of a panel: its name (the card's is its
// question), the caption it shows as its value and text, and, for the panels
// that take the focus, a press that reveals as a click does.
class PanelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit PanelAccessible(Panel* panel)
      : QAccessibleWidget(panel, panel->findChild<QWidget*>() ? QAccessible::Grouping : QAccessible::Button) {}
  Panel* panel() const { return static_cast<Panel*>(widget()); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value && !panel()->findChild<QWidget*>()) return panel()->Caption();
    return QAccessibleWidget::text(t);
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface && !panel()->findChild<QWidget*>()) {
      return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }
  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (panel()->focusPolicy() != Qt::NoFocus) names.prepend(pressAction());
    return names;
  }
  void doAction(const QString& action) override {
    if (action == pressAction() && panel()->focusPolicy() != Qt::NoFocus) {
      emit panel()->clicked();
    } else {
      QAccessibleWidget::doAction(action);
    }
  }

  // The caption, read-only.
  QString text(int start, int end) const override { return panel()->Caption().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(panel()->Caption().size()); }
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return QString();
  }
};

QAccessibleInterface* PanelInterfaces(const QString& className, QObject* object) {
  if (className == QLatin1String(Panel::staticMetaObject.className()) && object->isWidgetType()) {
    return new PanelAccessible(static_cast<Panel*>(object));
  }
  return nullptr;
}
}  // namespace

namespace {
// Relative luminance, as WCAG defines it.
double Luminance(const QColor& color) {
  auto channel = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
  return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
}
}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ContrastingText(const QColor& background) {
  const QColor black(0, 0, 0), white(255, 255, 255);
  return ContrastRatio(background, black) >= ContrastRatio(background, white) ? black : white;
}

QColor ReadableOn(const QColor& background, const QColor& text) {
  return ContrastRatio(background, text) >= kReadableContrast ? text : ContrastingText(background);
}

Panel::Panel(QWidget* parent, Bevel outer, Bevel inner, int bevelWidth)
    : QWidget(parent), outer_(outer), inner_(inner), bevelWidth_(bevelWidth) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  static std::once_flag interfaces;
  std::call_once(interfaces, [] { QAccessible::installFactory(PanelInterfaces); });
}

void Panel::SetCaption(const QString& caption) {
  if (caption_ == caption) return;
  const QString old = caption_;
  caption_ = caption;
  update();
  // A screen reader reads the new text out.
  if (QAccessible::isActive()) {
    QAccessibleTextUpdateEvent changed(this, 0, old, caption_);
    QAccessible::updateAccessibility(&changed);
  }
}

void Panel::SetColor(const QColor& color) {
  // Only these two roles are fixed; the labels on the panel inherit them,
  // every other role still follows the desktop.
  QPalette colors = palette();
  colors.setColor(QPalette::Window, color);
  colors.setColor(QPalette::WindowText, ContrastingText(color));
  setPalette(colors);
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
  const QPalette& colors = palette();
  painter.fillRect(rect(), colors.color(QPalette::Window));
  QRect inside = rect();
  DrawBevel(painter, inside, outer_, bevelWidth_);
  DrawBevel(painter, inside, inner_, bevelWidth_);
  if (!caption_.isEmpty()) {
    painter.setPen(colors.color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(inside, Qt::AlignCenter | Qt::TextSingleLine, caption_);
  }
  if (hasFocus()) {
    painter.setPen(QPen(colors.color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(inside).adjusted(1, 1, -1, -1));
  }
}

void Panel::keyPressEvent(QKeyEvent* event) {
  // A key a control on the panel left unused (Enter on a button or a check
  // box) is not the panel's.
  if (!hasFocus() ||
      (event->key() != Qt::Key_Space && event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)) {
    event->ignore();  // for the window: the card's letters
    return;
  }
  event->accept();
  if (!event->isAutoRepeat()) emit clicked();  // a held key reveals (and speaks) once
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
