// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFAbout.h"

#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

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
  memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
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
  Splitter1->addWidget(Memo2);
  Splitter1->addWidget(Memo3);
  // Narrower than 30 px the usage notes fold away; the interface notes keep at least 30 px and take the width the
  // window gains.
  Splitter1->setCollapsible(1, false);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({409, 297});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Memo1);
  layout->addWidget(Splitter1, 1);
}

void TFAbout::ShowModeless() {
  show();
  raise();
  activateWindow();
}

}  // namespace tenaxo
