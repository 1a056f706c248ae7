// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo history of the study list: each change to it is one step of a
// QUndoStack, undone by "Annuler" and made again by "Rétablir"; the list is
// unsaved ("Sauver" in bold) while the history stands away from the step the
// list was saved at. Loading another list starts a new history.
//
// QUndoStack and QUndoCommand belong to QtGui in Qt 6 and core/ uses QtCore
// alone, so the commands live here, over core's TableChanges (what a step did
// to the table) and QuestionCycle's Draw (the question an answer was for).
#include <QUndoStack>
#include <memory>

#include "QuestionCycle.h"
#include "Session.h"
#include "TableChanges.h"

namespace tenaxo {

class ListHistory {
 public:
  ListHistory(Session& session, QuestionCycle& cycle);
  ~ListHistory();
  ListHistory(const ListHistory&) = delete;
  ListHistory& operator=(const ListHistory&) = delete;

  // A step: what the table goes through from Begin to the matching End
  // becomes one command when the table changed. Steps nest, the outermost one
  // counting. Changes made outside any step (keys typed into a cell) are a
  // step of their own, which ends at the next Begin.
  void Begin();
  void End();
  // Names the step under way (the name reads after "Annuler"); the first name
  // given counts. quiz: undoing the step also asks again the question pending
  // at Begin, with the series as it was; making it again asks the one pending
  // at End.
  void Name(const QString& text, bool quiz = false);

  bool CanUndo() const { return !pending_->Empty() || stack_.canUndo(); }
  bool CanRedo() const { return pending_->Empty() && stack_.canRedo(); }
  QString UndoText() const;
  QString RedoText() const;
  // These and the two below are called within a step.
  void Undo() { stack_.undo(); }
  void Redo() { stack_.redo(); }

  // The list will be saved as it is once the step under way ends.
  void Saved() { saved_ = true; }
  // A new history from the end of the step under way: the list is another
  // one, as its file holds it. The step's changes are dropped at once, and
  // the rest of it is not recorded.
  void Restart();

  // Puts the unsaved mark in step with the history.
  void Sync();

  // Bytes held by the steps, for the memory budget.
  size_t MemoryUsage() const;

 private:
  struct ListFields {
    std::string listName;
    FileEncoding encoding;
    int32_t sortColumn;
    int32_t lineCount;
    bool operator==(const ListFields& other) const;
  };
  class Step;
  ListFields Fields() const;
  void Commit(const QString& text, bool quiz);

  Session& session_;
  QuestionCycle& cycle_;
  QUndoStack stack_;
  std::unique_ptr<TableChanges> pending_;  // the changes since the last step, recorded
  ListFields fields_;                      // as they were at the last step's end
  Draw draw_;                              // the question pending at Begin
  QString name_;
  bool quiz_ = false;
  int depth_ = 0;
  bool saved_ = false;
  bool restart_ = false;
};

}  // namespace tenaxo
