#pragma once

#include <QString>

#include "document/dialogue_document.h"
#include "lint/lint.h"
#include "ui/document_change.h"

class QWidget;

namespace tellwright {

class Spelling;
class UiTextTable;
class UserDialogs;

// What an editor or tool window may do with the open project: read it,
// change it down the one road, tell and ask the user. The session is the
// one implementation; a window never sees more of it.
class EditorContext {
 public:
  // The project as it is now; only apply() changes it.
  virtual const DialogueDocument& document() const = 0;
  // Runs `change` down the one road; true when the document changed.
  virtual bool apply(const DocumentChange& change) = 0;
  // Stores what is being typed in the main window; false when a typed text
  // was refused (its edit stays open and no other window may open).
  [[nodiscard]] virtual bool commitOpenEdits() = 0;
  virtual void showError(const QString& message) = 0;
  virtual const UiTextTable& texts() const = 0;
  virtual UserDialogs& dialogs() = 0;
  // The main window, parent of the editor windows.
  virtual QWidget* mainWindow() = 0;
  // Shows where a problem or a match lives; a response opens in its block.
  virtual void goToProblem(const ProblemPlace& place) = 0;
  // Shows branch `branch` in the main window, with no line selected.
  virtual void showBranch(int branch) = 0;
  // The spelling of the project, marking the words typed; none without it.
  virtual Spelling* spelling() { return nullptr; }

 protected:
  ~EditorContext() = default;
};

}  // namespace tellwright
