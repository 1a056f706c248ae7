// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListHeader.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace tenaxo {

void ListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  QStyleOptionHeader option;
  initStyleOption(&option);
  option.rect = rect;
  option.section = logicalIndex;
  style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
  painter->setPen(palette().color(QPalette::ButtonText));
  painter->drawText(rect.adjusted(kTextLeft, 0, -kTextRight, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    model()->headerData(logicalIndex, Qt::Horizontal, Qt::DisplayRole).toString());
}

}  // namespace tenaxo
