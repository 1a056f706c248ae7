// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The study list as the grid sees it: one model row per data row, the
// table's row 0 as the horizontal header. The model follows the table through
// its observer, so every routine may change the table directly.
#include <QAbstractTableModel>

#include "StudyTable.h"

namespace tenaxo {

class ListModel : public QAbstractTableModel, private TableObserver {
  Q_OBJECT
 public:
  explicit ListModel(StudyTable& table, QObject* parent = nullptr);
  ~ListModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // While one stands, the table's changes reach the views as one reset when
  // it goes, not change by change: a whole list loaded and ranked.
  class Reset {
   public:
    explicit Reset(ListModel& model);
    ~Reset();
    Reset(const Reset&) = delete;
    Reset& operator=(const Reset&) = delete;

   private:
    ListModel& model_;
  };

  StudyTable& Table() { return table_; }
  // Table row of a model index, and back.
  static int TableRow(const QModelIndex& index) { return index.row() + StudyTable::FixedRows; }
  QModelIndex IndexOf(int col, int tableRow) const { return index(tableRow - StudyTable::FixedRows, col); }

 signals:
  // The table moved its current cell itself (its rows went away).
  void CurrentCellMovedByTable();

 private:
  void RowsAboutToBeInserted(int first, int last) override;
  void RowsInserted() override;
  void RowsAboutToBeRemoved(int first, int last) override;
  void RowsRemoved() override;
  void ColumnsAboutToBeInserted(int first, int last) override;
  void ColumnsInserted() override;
  void CellsChanged(int firstRow, int lastRow) override;
  void CurrentCellClamped() override;
  void AboutToReplaceAll() override;
  void AllReplaced() override;

  StudyTable& table_;
};

}  // namespace tenaxo
