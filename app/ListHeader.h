// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list grid's header row, its texts drawn close to the cell edges as in
// the data rows.
#include <QHeaderView>

namespace tenaxo {

class ListHeader : public QHeaderView {
 public:
  explicit ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

  // The room a text leaves in its section: this far from the left edge, and
  // from the right one.
  static constexpr int kTextLeft = 2;
  static constexpr int kTextRight = 1;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

}  // namespace tenaxo
