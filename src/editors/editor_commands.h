#pragma once

#include "editing/row_selection.h"

namespace tellwright {

class EditorContext;

// The commands of the main window that open an editor window. Each window
// is modal to the main window only and runs until it is closed; every change
// it makes goes down the session's one road.

// Runs the responseblock editor, one window after the other, on the block of
// each selected responseblock line (ascending rows) whose block exists.
void OpenResponseBlockEditors(EditorContext& context, const RowSelection& rows);

// The responseblock editor of block slot `blockSlot` with response
// `selectResponse` selected (none when -1).
void OpenResponseBlockEditor(EditorContext& context, int blockSlot, int selectResponse);

// "Add": the character editor, empty; OK appends the character after the
// checks (a refusal is shown and nothing changes).
void AddCharacterWithEditor(EditorContext& context);

// "Edit": the character editor on the character in row `pickerRow` of the
// character list box. "None" and a row without a character do nothing.
void EditCharacterWithEditor(EditorContext& context, int pickerRow);

}  // namespace tellwright
