#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "document/dialogue_document.h"
#include "editing/edit_result.h"
#include "editing/row_selection.h"

class QTableWidget;

namespace tellwright {

class EditorContext;

// The "Responseblock Editor": the responses of one block in a list, with
// Add, Edit (double-click or Return on a row), Delete, and Ctrl+Up /
// Ctrl+Down to move the selected response while the list has the focus.
// Every change goes down the session's one road and marks the document
// changed.
class ResponseBlockEditor : public QDialog {
  Q_OBJECT

 public:
  // `blockSlot` is the block's slot in the response-block table.
  ResponseBlockEditor(EditorContext& context, int blockSlot, QWidget* parent);

  QTableWidget* list() const { return list_; }

  void addResponse();
  // Edits the first selected response.
  void editResponse();
  // Deletes the selected response after the user said Yes.
  void deleteResponse();
  void moveResponse(bool up);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Shows the block's responses afresh and selects `selectRows` again.
  void fill(const std::vector<int>& selectRows);
  RowSelection selectedRows() const;
  // Runs `operation` down the session's road; what it did.
  EditResult change(const QString& name, const std::function<EditResult(DialogueDocument&)>& operation);

  EditorContext& context_;
  int blockSlot_;
  QTableWidget* list_;
};

}  // namespace tellwright
