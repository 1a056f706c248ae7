#pragma once
// The grid that shows and edits the study list.
#include <QTableView>

#include "ListModel.h"

namespace tenaxo {

class ListGrid : public QTableView {
  Q_OBJECT
 public:
  ListGrid(ListModel* model, QWidget* parent);
  ListModel* Model() const { return model_; }

 private:
  void ApplyColumnWidths(int first, int last);
  ListModel* model_;
};

}  // namespace tenaxo
