#include "mainwindow/edit_history.h"

#include <QScopedValueRollback>
#include <QUndoCommand>
#include <utility>

namespace tellwright {

namespace {

class HistoryStep : public QUndoCommand {
 public:
  HistoryStep(const QString& name, DocumentDelta delta, RowSelection rowsBefore, RowSelection rowsAfter,
              const EditHistory::Show& show)
      : QUndoCommand(name),
        delta_(std::move(delta)),
        rowsBefore_(std::move(rowsBefore)),
        rowsAfter_(std::move(rowsAfter)),
        show_(show) {}

  void undo() override { show_(delta_, false, rowsBefore_); }
  void redo() override {
    // The stack redoes a step as it takes it; the change is made by then.
    if (std::exchange(pushed_, true)) show_(delta_, true, rowsAfter_);
  }

 private:
  DocumentDelta delta_;
  RowSelection rowsBefore_;
  RowSelection rowsAfter_;
  const EditHistory::Show& show_;
  bool pushed_ = false;
};

}  // namespace

EditHistory::EditHistory(Show show) : show_(std::move(show)) {
  connect(&stack_, &QUndoStack::cleanChanged, this, &EditHistory::report);
}

void EditHistory::record(const QString& name, DocumentDelta delta, RowSelection rowsBefore, RowSelection rowsAfter,
                         bool keepsSavedState) {
  if (delta.empty()) return;
  bool wasSaved = stack_.isClean();
  {
    QScopedValueRollback<bool> batch(batching_, true);
    stack_.push(new HistoryStep(name, std::move(delta), std::move(rowsBefore), std::move(rowsAfter), show_));
    if (keepsSavedState && wasSaved) stack_.setClean();
  }
  report();
}

void EditHistory::mark() {
  marked_ = true;
  report();
}

void EditHistory::markSaved() {
  {
    QScopedValueRollback<bool> batch(batching_, true);
    stack_.setClean();
    marked_ = false;
  }
  report();
}

void EditHistory::reset(bool saved) {
  {
    QScopedValueRollback<bool> batch(batching_, true);
    stack_.clear();
    if (!saved) stack_.resetClean();
    marked_ = false;
  }
  report();
}

void EditHistory::report() {
  if (batching_ || unsaved() == reported_) return;
  reported_ = unsaved();
  emit unsavedChanged(reported_);
}

}  // namespace tellwright
