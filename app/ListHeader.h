// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list grid's header row, its texts drawn close to the cell edges as in
// the data rows: "Demandé" fills most of its 48 px.
#include <QHeaderView>

namespace tenaxo {

class ListHeader : public QHeaderView {
 public:
  explicit ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

}  // namespace tenaxo
