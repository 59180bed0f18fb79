#include "editing/response_commands.h"

#include <utility>

#include "editing/branch_commands.h"
#include "editing/line_slots.h"
#include "editing/text_rules.h"

namespace tellwright {

namespace {

const ResponseBlock* BlockInUse(const DialogueDocument& document, int blockSlot) {
  if (blockSlot < 0 || blockSlot >= kBlockSlots || !document.responseBlocks[blockSlot].inUse()) return nullptr;
  return &document.responseBlocks[blockSlot];
}

ResponseBlock* EditBlockInUse(DialogueDocument& document, int blockSlot) {
  if (!BlockInUse(document, blockSlot)) return nullptr;
  return &document.responseBlocks.slot(blockSlot);
}

EditResult BlockMissing() { return EditResult::Refused("This responseblock no longer exists."); }

Status CheckResponse(const Response& response) {
  if (response.text.empty()) return Status::Error(std::string(kEmptyResponseMessage));
  for (const Text* text : {&response.text, &response.conditions, &response.linkBranch}) {
    Status check = CheckNoLineBreak(*text, "A response");
    if (!check) return check;
  }
  return Status::Ok();
}

std::string VisibilityLabel(int32_t visibility) {
  switch (visibility) {
    case kAlways: return "Always";
    case kOnce: return "Once";
    case kOnceGame: return "Once game";
    default: return "";
  }
}

EditResult MoveResponses(DialogueDocument& document, int blockSlot, const RowSelection& rows, bool up) {
  ResponseBlock* block = EditBlockInUse(document, blockSlot);
  if (!block) return BlockMissing();
  int used = block->usedResponses();
  std::vector<int> valid = ValidRows(rows, used);
  if (valid.empty()) return EditResult::Unchanged();
  auto swap = [block](int a, int b) { std::swap(block->responses.slot(a), block->responses.slot(b)); };
  return EditResult::Changed(MoveSelectedRows(valid, used, up, swap));
}

}  // namespace

std::optional<int> BlockSlotOfLine(const DialogueDocument& document, const DialogueLine& line) {
  if (KindOf(line.kind) != LineKind::Response) return std::nullopt;
  return FindBlockSlot(document, line.blockId);
}

std::vector<int> BlocksOfSelectedLines(const DialogueDocument& document, const RowSelection& rows) {
  std::vector<int> slots;
  const DialogueBranch* branch = CurrentBranch(document);
  if (!branch) return slots;
  for (int row : ValidRows(rows, LinesInUse(*branch)))
    if (std::optional<int> slot = BlockSlotOfLine(document, branch->lines[row])) slots.push_back(*slot);
  return slots;
}

std::vector<ResponseRow> ResponseRows(const DialogueDocument& document, int blockSlot) {
  std::vector<ResponseRow> rows;
  const ResponseBlock* block = BlockInUse(document, blockSlot);
  if (!block) return rows;
  for (int i = 0; i < block->usedResponses(); ++i) {
    const Response& response = block->responses[i];
    rows.push_back({response.text, VisibilityLabel(response.visibility), response.conditions, response.linkBranch,
                    response.leaveLoop == 1});
  }
  return rows;
}

Response NewResponse() {
  Response response;
  response.visibility = kAlways;
  response.leaveLoop = 0;
  response.sayResponse = 1;
  return response;
}

Status CheckRoomForResponse(const DialogueDocument& document, int blockSlot) {
  const ResponseBlock* block = BlockInUse(document, blockSlot);
  if (!block) return BlockMissing().status;
  if (block->usedResponses() >= kResponsesPerBlock)
    return Status::Error("The responseblock is full: a responseblock holds at most 100 responses.");
  return Status::Ok();
}

EditResult AddResponse(DialogueDocument& document, int blockSlot, const Response& response) {
  Status room = CheckRoomForResponse(document, blockSlot);
  if (!room) return {false, room, {}};
  Status check = CheckResponse(response);
  if (!check) return {false, check, {}};
  ResponseBlock& block = document.responseBlocks.slot(blockSlot);
  block.responses.slot(block.usedResponses()) = response;
  return EditResult::Changed();
}

EditResult EditResponse(DialogueDocument& document, int blockSlot, int row, const Response& response) {
  ResponseBlock* block = EditBlockInUse(document, blockSlot);
  if (!block) return BlockMissing();
  if (row < 0 || row >= block->usedResponses()) return EditResult::Unchanged();
  Status check = CheckResponse(response);
  if (!check) return {false, check, {}};
  if (block->responses[row] == response) return EditResult::Unchanged();
  block->responses.slot(row) = response;
  return EditResult::Changed();
}

EditResult DeleteResponses(DialogueDocument& document, int blockSlot, const RowSelection& rows) {
  ResponseBlock* block = EditBlockInUse(document, blockSlot);
  if (!block) return BlockMissing();
  int used = block->usedResponses();
  std::vector<int> valid = ValidRows(rows, used);
  if (valid.empty()) return EditResult::Unchanged();
  // From the last row back, so the rows still to delete keep their places.
  for (auto row = valid.rbegin(); row != valid.rend(); ++row) {
    for (int k = *row; k + 1 < used; ++k) block->responses.slot(k) = std::move(block->responses.slot(k + 1));
    block->responses.slot(--used) = Response{};
  }
  return EditResult::Changed();
}

EditResult MoveResponsesUp(DialogueDocument& document, int blockSlot, const RowSelection& rows) {
  return MoveResponses(document, blockSlot, rows, true);
}

EditResult MoveResponsesDown(DialogueDocument& document, int blockSlot, const RowSelection& rows) {
  return MoveResponses(document, blockSlot, rows, false);
}

}  // namespace tellwright
