// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListHistory.h"

#include <optional>
#include <utility>

namespace tenaxo {

namespace {
const QString kTyping = QStringLiteral("la saisie");
const QString kChange = QStringLiteral("la modification");
}  // namespace

bool ListHistory::ListFields::operator==(const ListFields& other) const {
  return listName == other.listName && encoding == other.encoding && sortColumn == other.sortColumn &&
         lineCount == other.lineCount;
}

// One step: the table's changes, and the list's fields and the question
// pending before and after it when the step changed them.
class ListHistory::Step : public QUndoCommand {
 public:
  Step(ListHistory& history, const QString& text, std::unique_ptr<TableChanges> changes,
       std::optional<std::pair<ListFields, ListFields>> fields, std::optional<std::pair<Draw, Draw>> draws)
      : QUndoCommand(text),
        history_(history),
        changes_(std::move(changes)),
        fields_(std::move(fields)),
        draws_(std::move(draws)) {}

  // Pushed once made: the first redo has nothing to do.
  void redo() override {
    if (made_) {
      made_ = false;
      return;
    }
    changes_->Redo(history_.session_.table);
    Restore(false);
  }
  void undo() override {
    changes_->Undo(history_.session_.table);
    Restore(true);
  }

  size_t MemoryUsage() const {
    size_t bytes = sizeof(*this) + sizeof(TableChanges) + changes_->MemoryUsage();
    if (fields_) bytes += sizeof(*fields_) + fields_->first.listName.capacity() + fields_->second.listName.capacity();
    if (draws_) bytes += sizeof(*draws_);
    return bytes;
  }

 private:
  void Restore(bool undo) {
    Session& session = history_.session_;
    session.editedRow = 0;  // its rows may have moved
    if (fields_) {
      const ListFields& fields = undo ? fields_->first : fields_->second;
      session.listName = fields.listName;
      session.encoding = fields.encoding;
      session.sortColumn = fields.sortColumn;
      session.lineCount = fields.lineCount;
    }
    if (draws_) history_.cycle_.Ask(undo ? draws_->first : draws_->second);
  }

  ListHistory& history_;
  std::unique_ptr<TableChanges> changes_;
  std::optional<std::pair<ListFields, ListFields>> fields_;
  std::optional<std::pair<Draw, Draw>> draws_;
  bool made_ = true;
};

ListHistory::ListHistory(Session& session, QuestionCycle& cycle)
    : session_(session), cycle_(cycle), pending_(std::make_unique<TableChanges>()), fields_(Fields()) {
  session_.table.SetRecorder(pending_.get());
}

ListHistory::~ListHistory() { session_.table.SetRecorder(nullptr); }

ListHistory::ListFields ListHistory::Fields() const {
  return {session_.listName, session_.encoding, session_.sortColumn, session_.lineCount};
}

void ListHistory::Begin() {
  if (depth_++ > 0) return;
  if (!pending_->Empty()) Commit(kTyping, false);
  fields_ = Fields();
  draw_ = cycle_.LastDraw();
}

void ListHistory::Restart() {
  restart_ = true;
  session_.table.SetRecorder(nullptr);
  pending_ = std::make_unique<TableChanges>();
}

void ListHistory::Name(const QString& text, bool quiz) {
  if (!name_.isEmpty()) return;
  name_ = text;
  quiz_ = quiz;
}

void ListHistory::End() {
  if (--depth_ > 0) return;
  if (restart_) {
    session_.table.SetRecorder(pending_.get());
    stack_.clear();
  } else {
    if (!pending_->Empty()) Commit(name_.isEmpty() ? kChange : name_, quiz_);
    if (saved_) stack_.setClean();
  }
  restart_ = saved_ = quiz_ = false;
  name_.clear();
  fields_ = Fields();
  Sync();
}

void ListHistory::Commit(const QString& text, bool quiz) {
  std::optional<std::pair<ListFields, ListFields>> fields;
  if (ListFields now = Fields(); !(now == fields_)) fields.emplace(fields_, std::move(now));
  std::optional<std::pair<Draw, Draw>> draws;
  if (quiz) draws.emplace(draw_, cycle_.LastDraw());
  pending_->Compact();
  auto* step = new Step(*this, text, std::move(pending_), std::move(fields), std::move(draws));
  pending_ = std::make_unique<TableChanges>();
  session_.table.SetRecorder(pending_.get());
  stack_.push(step);
}

QString ListHistory::UndoText() const { return pending_->Empty() ? stack_.undoText() : kTyping; }

QString ListHistory::RedoText() const { return CanRedo() ? stack_.redoText() : QString(); }

void ListHistory::Sync() { session_.unsaved = !pending_->Empty() || !stack_.isClean(); }

size_t ListHistory::MemoryUsage() const {
  size_t bytes = 0;
  for (int k = 0; k < stack_.count(); ++k) bytes += static_cast<const Step*>(stack_.command(k))->MemoryUsage();
  return bytes;
}

}  // namespace tenaxo
