// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadableSelection.h"

#include "Widgets.h"

namespace tenaxo {

void ReadableSelection::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    option->palette.setColor(group, QPalette::HighlightedText,
                             ReadableOn(option->palette.color(group, QPalette::Highlight),
                                        option->palette.color(group, QPalette::HighlightedText)));
  }
}

}  // namespace tenaxo
