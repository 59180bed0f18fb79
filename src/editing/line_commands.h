#pragma once

#include <string_view>

#include "document/dialogue_document.h"
#include "editing/edit_result.h"
#include "editing/line_clipboard.h"
#include "editing/row_selection.h"

namespace tellwright {

// The line commands of the main window. Each acts on the current branch;
// `rows` are the selected rows of the line list (row i shows line i). Rows
// outside the branch and repeated rows are ignored, so a selection of only
// such rows counts as no selection. Where a command depends on the line
// list's focus or an open cell edit, it takes a LineListState and does
// nothing when its condition is not met; the others leave such conditions to
// the caller, as noted.

// A new line of `kind` ("Talkline", "Codeline", "Remark" or "Responseblock")
// at the first selected row, or after the last line without a selection. A
// responseblock line also gets a new response block. Refused when the branch
// is full or, for a responseblock, no block is free.
EditResult InsertLine(DialogueDocument& document, std::string_view kind, const RowSelection& rows);

// Gives the selected lines the character in row `pickerRow` of the character
// list box: "None" (row 0) clears the character of every selected line;
// another character's real name goes to the selected talklines and
// responseblock lines only. Does nothing without a selection or for a row
// that shows no character.
EditResult AssignCharacter(DialogueDocument& document, int pickerRow, const RowSelection& rows);

// Replaces the clipboard with the selected lines and removes them. Does
// nothing without a selection or while a cell edit is open.
EditResult CutLines(DialogueDocument& document, const RowSelection& rows, const LineListState& state,
                    LineClipboard& clipboard);

// Replaces the clipboard with the selected lines; the document is not
// changed. Does nothing without a selection or while a cell edit is open.
void CopyLines(const DialogueDocument& document, const RowSelection& rows, const LineListState& state,
               LineClipboard& clipboard);

// Puts the clipboard's lines before the first selected row, or after the
// last line without a selection; the clipboard keeps them. A pasted
// responseblock line keeps its block id, so it shares the block of the line
// it was copied from. Does nothing unless the line list has the focus, no
// cell edit is open and the clipboard holds lines; refused, changing nothing,
// when the lines do not all fit.
EditResult PasteLines(DialogueDocument& document, const RowSelection& rows, const LineListState& state,
                      const LineClipboard& clipboard);

// Removes the selected lines, without a question. Does nothing unless the
// line list has the focus, no cell edit is open and rows are selected.
EditResult DeleteLines(DialogueDocument& document, const RowSelection& rows, const LineListState& state);

// Moves the selected lines one place up or down by the marks rule (see
// MoveSelectedRows) and returns the rows to select again. Does nothing
// unless the line list has the focus, no cell edit is open and rows are
// selected.
EditResult MoveLinesUp(DialogueDocument& document, const RowSelection& rows, const LineListState& state);
EditResult MoveLinesDown(DialogueDocument& document, const RowSelection& rows, const LineListState& state);

}  // namespace tellwright
