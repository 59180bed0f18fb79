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
  // undoing (only the shown branch moved) adds no step. A change that
  // `keepsSavedState` (loading a cast) leaves a saved document saved.
  void record(const QString& name, DocumentDelta delta, RowSelection rowsBefore, RowSelection rowsAfter,
              bool keepsSavedState = false);
  void undo() { stack_.undo(); }
  void redo() { stack_.redo(); }

  // Whether there are unsaved changes: the history is away from its saved
  // state, or something that is no change of the document was marked since
  // the last save.
  bool unsaved() const { return !stack_.isClean() || marked_; }
  // Choosing another branch, or a sound file with the browse button (even
  // when that edit is then cancelled), counts as unsaved until the next save.
  void mark();
  // The document as it is now is what is saved.
  void markSaved();
  // A new or newly opened document: no history, and saved as it is; with
  // `saved` false no state of the history is the saved one (restored work).
  void reset(bool saved = true);

  QUndoStack& stack() { return stack_; }

 signals:
  // Unsaved changes came or went.
  void unsavedChanged(bool unsaved);

 private:
  // Tells the listeners when unsaved() differs from what they last heard.
  void report();

  Show show_;
  QUndoStack stack_;
  bool marked_ = false;
  bool reported_ = false;
  bool batching_ = false;  // one report for an operation that moves the stack twice
};

}  // namespace tellwright
