// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Statistiques": what the journal of answers shows, for the study list or
// for every list, over the last 30 days, 12 months or everything: the answers
// per day (per month over months), right and wrong stacked; the share of
// right answers per week; the study list's pairs by ratio, from its own
// counters (so without a journal too); the pairs that resist most and the
// days in a row with an answer. Every chart carries a name and a text
// summary for screen readers, and the colours follow the desktop's palette.
// "Exporter le journal…" writes the journal as CSV. Escape closes.
#include <QDialog>
#include <vector>

#include "AnswerHistory.h"
#include "Session.h"

class QAction;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tenaxo {

class AnswerJournal;

class StatisticsWindow : public QDialog {
  Q_OBJECT
 public:
  StatisticsWindow(AnswerJournal& journal, const Session& session, QWidget* parent);

  // Reads the journal and the study list again and draws everything.
  void Reload();

  QComboBox* CbScope;   // "Liste étudiée" or "Toutes les listes"
  QComboBox* CbPeriod;  // Period, in its order
  QLabel* LbSummary;    // the figures in words; the read-only notice
  QChartView* ChAnswers;
  QChartView* ChShare;
  QChartView* ChRatios;
  QTableWidget* TbResisting;
  QAction* AcExportJournal;
  QPushButton* BtExport;
  QPushButton* BtClose;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // The scope's answers read again, then DrawPeriod.
  void DrawScope();
  // The charts of the period, and the summary.
  void DrawPeriod();
  void DrawRatios();
  void ExportJournal();

  AnswerJournal& journal_;
  const Session& session_;
  std::vector<DayCount> days_;  // the scope's answers per day
  int32_t today_ = 0;
};

}  // namespace tenaxo
