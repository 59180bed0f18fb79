#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/dialogue_document.h"
#include "editing/edit_result.h"
#include "editing/row_selection.h"

namespace tellwright {

// The responseblock editor's commands. A block is named by its slot in the
// response-block table; only a slot in 0..499 holding a block in use (id 1
// or more) is edited, as a free slot is not saved. Rows of the response list
// are the used responses 0..usedResponses()-1 of the block.

inline constexpr std::string_view kEmptyResponseMessage = "You have to give a responseline to make it all work.";
inline constexpr std::string_view kDeleteResponseTitle = "Delete responses";
inline constexpr std::string_view kDeleteResponseQuestion = "Are you sure you want to delete the selected response?";

// The block slots to open the editor on for the selected rows of the line
// list, in row order: one per selected responseblock line whose block exists.
std::vector<int> BlocksOfSelectedLines(const DialogueDocument& document, const RowSelection& rows);

// The block slot a line's block id names (the first match in 0..499), or
// nothing for a line that is no responseblock line or whose block is gone.
std::optional<int> BlockSlotOfLine(const DialogueDocument& document, const DialogueLine& line);

// A row of the response list.
struct ResponseRow {
  Text text;
  std::string visibility;  // "Always", "Once" or "Once game"; "" for an unknown code
  Text conditions;
  Text linkBranch;
  bool darkRed = false;  // the response leaves the loop: drawn in dark red (170, 0, 0)
};
std::vector<ResponseRow> ResponseRows(const DialogueDocument& document, int blockSlot);

// The response Add starts from: empty texts, Always, leave-loop off,
// let-character-say on.
Response NewResponse();

// Ok when the block can take one more response; else the refusal to show
// before the editor is opened, so nothing typed is lost.
Status CheckRoomForResponse(const DialogueDocument& document, int blockSlot);

// Stores `response` in the first free slot of the block. Refused when its
// text is empty (kEmptyResponseMessage) or the block is full.
EditResult AddResponse(DialogueDocument& document, int blockSlot, const Response& response);

// Stores `response` over the response at `row`. Refused, storing nothing,
// when its text is empty. A row that holds no response, or the same
// response again, changes nothing.
EditResult EditResponse(DialogueDocument& document, int blockSlot, int row, const Response& response);

// Deletes the selected responses (after the user said Yes); the later ones
// move up and the freed slots at the end become empty.
EditResult DeleteResponses(DialogueDocument& document, int blockSlot, const RowSelection& rows);

// Moves the selected responses one place by the marks rule (see
// MoveSelectedRows) and returns the rows to select again. The caller checks
// that the response list has the focus.
EditResult MoveResponsesUp(DialogueDocument& document, int blockSlot, const RowSelection& rows);
EditResult MoveResponsesDown(DialogueDocument& document, int blockSlot, const RowSelection& rows);

}  // namespace tellwright
