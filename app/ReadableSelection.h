// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Draws the list grid's current cell in the desktop's selection colours, its
// text in black or white where the desktop's own selected text would not read
// on them.
#include <QStyledItemDelegate>

namespace tenaxo {

class ReadableSelection : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace tenaxo
