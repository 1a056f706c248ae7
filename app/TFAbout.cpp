// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFAbout.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "AboutTexts.h"
#include "Fonts.h"

namespace tenaxo {

namespace {
QPlainTextEdit* Memo(QWidget* parent, const QStringList& lines, int pixelSize, bool bold) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setReadOnly(true);
  memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setFont(UiFont(pixelSize, bold));
  memo->setPlainText(lines.join(QLatin1Char('\n')));
  return memo;
}
}  // namespace

TFAbout::TFAbout(QWidget* owner) : QWidget(owner, Qt::Window) {
  setWindowTitle(QStringLiteral("A propos"));
  setFont(UiFont(11));
  resize(718, 532);

  Memo1 = Memo(this, AboutPresentation(), 13, true);
  Memo1->setFixedHeight(89);

  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setHandleWidth(12);
  Splitter1->setOpaqueResize(false);  // the new width applies when the bar is released
  Memo2 = Memo(Splitter1, AboutUsage(), 12, false);
  Memo3 = Memo(Splitter1, AboutInterface(), 12, false);
  Memo2->setMinimumWidth(30);
  Memo3->setMinimumWidth(30);
  // Narrower than 30 px the usage notes fold away; the interface notes keep at least 30 px and take the width the
  // window gains.
  Splitter1->setCollapsible(1, false);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({409, 297});

  BtFermer = new QPushButton(QStringLiteral("&Fermer"), this);
  BtFermer->setAutoDefault(true);  // Enter on it closes too
  connect(BtFermer, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout();
  buttons->setContentsMargins(8, 6, 8, 6);
  buttons->addStretch(1);
  buttons->addWidget(BtFermer);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Memo1);
  layout->addWidget(Splitter1, 1);
  layout->addLayout(buttons);
  // The notes keep their size; the window grows by the button's row.
  resize(width(), height() + buttons->sizeHint().height());
}

// Escape and Ctrl+W close, wherever the focus is in the window: the read-only
// notes and the button leave both keys to it.
void TFAbout::keyPressEvent(QKeyEvent* event) {
  const QKeyCombination key = event->keyCombination();
  if (key == QKeyCombination(Qt::Key_Escape) || key == QKeyCombination(Qt::CTRL, Qt::Key_W)) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TFAbout::ShowModeless(const QRect& card) {
  QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  if (!placed_ && owner && owner->screen()) {
    placed_ = true;
    const QSize frame = owner->frameGeometry().size() - owner->geometry().size();
    const QRect place = PlaceBeside(owner->screen()->availableGeometry(), owner->frameGeometry(), card, size() + frame);
    move(place.topLeft());
    resize(place.size() - frame);
  }
  show();
  raise();
  activateWindow();
}

QRect PlaceBeside(const QRect& screen, const QRect& owner, const QRect& card, const QSize& size) {
  constexpr int kGap = 8;  // room for a frame the window manager has not drawn yet
  const auto within = [](int value, int low, int high) { return std::max(low, std::min(value, high)); };
  const int height = std::min(size.height(), screen.height());
  const int x = within(owner.left(), screen.left(), screen.right() + 1 - size.width());
  const int y = within(owner.top(), screen.top(), screen.bottom() + 1 - height);
  // Beside the owner, as narrow as kNarrowest where the screen has no more room.
  const int right = std::min(size.width(), screen.right() - owner.right() - kGap);
  const int left = std::min(size.width(), owner.left() - screen.left() - kGap);
  const QRect places[] = {{owner.right() + 1 + kGap, y, right, height},
                          {owner.left() - kGap - left, y, left, height},
                          {QPoint(x, card.bottom() + 1 + kGap), size},
                          {QPoint(x, card.top() - kGap - size.height()), size}};
  for (const QRect& place : places) {
    if (place.width() >= std::min(size.width(), kNarrowest) && screen.contains(place) && !place.intersects(card)) {
      return place;
    }
  }
  return {QPoint(x, within(card.bottom() + 1 + kGap, screen.top(), screen.bottom() + 1 - size.height())), size};
}

}  // namespace tenaxo
