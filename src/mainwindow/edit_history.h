#pragma once

#include <QObject>
#include <QUndoStack>
#include <functional>

#include "editing/row_selection.h"
#include "history/document_delta.h"

namespace tellwright {

// The undo history of the document: one step per change, each keeping only
// what its change altered and the line-list rows to select when it is
// undone (the selection before the change) and redone (after it).
class EditHistory : public QObject {
  Q_OBJECT

 public:
  // Shows a step's state: takes the document back (forward = false) or
  // forward along `delta` and selects `rows`.
  using Show = std::function<void(const DocumentDelta& delta, bool forward, const RowSelection& rows)>;

  explicit EditHistory(Show show);
  // The stack reports its steps going as it is taken down; nobody listens
  // by then.
  ~EditHistory() override { stack_.blockSignals(true); }

  // A change that was just made. A delta that altered nothing worth
  // undoing (only the shown branch moved) adds no step.
  void record(const QString& name, DocumentDelta delta, RowSelection rowsBefore, RowSelection rowsAfter);
  void undo() { stack_.undo(); }
  void redo() { stack_.redo(); }
  // The document as it is now is what is saved.
  void markSaved() { stack_.setClean(); }
  bool atSavedState() const { return stack_.isClean(); }
  // A new or newly opened document: no history, and saved as it is.
  void clear() { stack_.clear(); }

  QUndoStack& stack() { return stack_; }

 signals:
  // The history moved to or away from the saved state.
  void savedStateChanged(bool atSavedState);

 private:
  Show show_;
  QUndoStack stack_;
};

}  // namespace tellwright
