#include "mainwindow/edit_history.h"

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
  connect(&stack_, &QUndoStack::cleanChanged, this, &EditHistory::savedStateChanged);
}

void EditHistory::record(const QString& name, DocumentDelta delta, RowSelection rowsBefore, RowSelection rowsAfter) {
  if (delta.empty()) return;
  stack_.push(new HistoryStep(name, std::move(delta), std::move(rowsBefore), std::move(rowsAfter), show_));
}

}  // namespace tellwright
