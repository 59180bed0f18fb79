#pragma once

#include <QPoint>

#include "editing/row_selection.h"

class QWidget;

namespace tellwright {

class EditorSession;

// The commands of the main window that open an editor window. Each window
// is modal to the main window only and runs until it is closed; every change
// it makes goes down the session's one road.

// Runs the responseblock editor, one window after the other, on the block of
// each selected responseblock line (ascending rows) whose block exists.
void OpenResponseBlockEditors(EditorSession& session, const RowSelection& rows);

// The responseblock editor of block slot `blockSlot` with response
// `selectResponse` selected (none when -1).
void OpenResponseBlockEditor(EditorSession& session, int blockSlot, int selectResponse);

// "Add": the character editor, empty; OK appends the character after the
// checks (a refusal is shown and nothing changes).
void AddCharacterWithEditor(EditorSession& session);

// "Edit": the character editor on the character in row `pickerRow` of the
// character list box. "None" and a row without a character do nothing.
void EditCharacterWithEditor(EditorSession& session, int pickerRow);

// Moves the editor window `window` to its opening position `wanted`, or, where
// that would cut it off the screen of its parent, the least distance that
// keeps it whole, so that its buttons can be reached on a small screen.
void MoveToOpeningPosition(QWidget* window, QPoint wanted);

}  // namespace tellwright
