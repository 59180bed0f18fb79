#include "editing/line_commands.h"

#include <string>
#include <utility>

#include "editing/branch_commands.h"
#include "editing/character_commands.h"
#include "editing/line_slots.h"

namespace tellwright {

namespace {

bool IsInsertableKind(std::string_view kind) {
  return kind == kTalkline || kind == kCodeline || kind == kRemark || kind == kResponseblock;
}

// Where new lines go: the first selected row, or after the last line.
int InsertionRow(const DialogueBranch& branch, const RowSelection& rows) {
  std::vector<int> valid = ValidRows(rows, LinesInUse(branch));
  return valid.empty() ? LinesInUse(branch) : valid.front();
}

// Copies the selected lines to the clipboard in row order. A selected row
// that holds a free slot (only a file whose line count was larger than its
// lines leaves such rows) is no line and is not copied: pasted back it would
// end the branch early in the project file.
void FillClipboard(const DialogueBranch& branch, const std::vector<int>& rows, LineClipboard& clipboard) {
  clipboard.lines.clear();
  for (int row : rows)
    if (!branch.lines[row].empty()) clipboard.lines.push_back(branch.lines[row]);
}

bool MayChangeSelectedLines(const LineListState& state) { return state.hasFocus && !state.cellEditOpen; }

EditResult MoveLines(DialogueDocument& document, const RowSelection& rows, const LineListState& state, bool up) {
  if (!MayChangeSelectedLines(state)) return EditResult::Unchanged();
  DialogueBranch* branch = EditCurrentBranch(document);
  if (!branch) return CurrentBranchMissing();
  int count = LinesInUse(*branch);
  std::vector<int> valid = ValidRows(rows, count);
  if (valid.empty()) return EditResult::Unchanged();
  std::vector<int> reselect =
      MoveSelectedRows(valid, count, up, [branch](int a, int b) { SwapLines(*branch, a, b); });
  return EditResult::Changed(std::move(reselect));
}

}  // namespace

EditResult InsertLine(DialogueDocument& document, std::string_view kind, const RowSelection& rows) {
  if (!IsInsertableKind(kind)) return EditResult::Refused("Unknown kind of dialogue line: " + std::string(kind));
  DialogueBranch* branch = EditCurrentBranch(document);
  if (!branch) return CurrentBranchMissing();
  // Check the line limit before allocating a block, so a refused insert
  // leaves no orphan block behind.
  if (LinesInUse(*branch) >= kLinesPerBranch) return {false, BranchFullError(*branch, 1), {}};
  DialogueLine line;
  line.kind = kind;
  if (kind == kResponseblock) {
    BlockAllocation block = AllocateResponseBlock(document);
    if (!block.status) return {false, block.status, {}};
    line.blockId = block.id;
  }
  int at = InsertionRow(*branch, rows);
  Status room = MakeRoom(*branch, at, 1);
  if (!room) return {false, room, {}};
  branch->lines.slot(at) = std::move(line);
  return EditResult::Changed();
}

EditResult AssignCharacter(DialogueDocument& document, int pickerRow, const RowSelection& rows) {
  DialogueBranch* branch = EditCurrentBranch(document);
  if (!branch) return CurrentBranchMissing();
  std::vector<int> valid = ValidRows(rows, LinesInUse(*branch));
  bool none = pickerRow == kNoCharacterRow;
  const Character* picked = CharacterAtRow(document.characters, pickerRow);
  if (valid.empty() || (!none && !picked)) return EditResult::Unchanged();
  Text realName = none ? Text() : picked->realName;
  for (int row : valid) {
    DialogueLine& line = branch->lines.slot(row);
    LineKind lineKind = KindOf(line.kind);
    if (none || lineKind == LineKind::Talk || lineKind == LineKind::Response) line.character = realName;
  }
  return EditResult::Changed();
}

EditResult CutLines(DialogueDocument& document, const RowSelection& rows, const LineListState& state,
                    LineClipboard& clipboard) {
  if (state.cellEditOpen) return EditResult::Unchanged();
  DialogueBranch* branch = EditCurrentBranch(document);
  if (!branch) return CurrentBranchMissing();
  std::vector<int> valid = ValidRows(rows, LinesInUse(*branch));
  if (valid.empty()) return EditResult::Unchanged();
  FillClipboard(*branch, valid, clipboard);
  for (int row : valid) ClearLine(*branch, row);
  CompactBranch(*branch);
  return EditResult::Changed();
}

void CopyLines(const DialogueDocument& document, const RowSelection& rows, const LineListState& state,
               LineClipboard& clipboard) {
  if (state.cellEditOpen) return;
  const DialogueBranch* branch = CurrentBranch(document);
  if (!branch) return;
  std::vector<int> valid = ValidRows(rows, LinesInUse(*branch));
  if (!valid.empty()) FillClipboard(*branch, valid, clipboard);
}

EditResult PasteLines(DialogueDocument& document, const RowSelection& rows, const LineListState& state,
                      const LineClipboard& clipboard) {
  if (!MayChangeSelectedLines(state) || clipboard.empty()) return EditResult::Unchanged();
  DialogueBranch* branch = EditCurrentBranch(document);
  if (!branch) return CurrentBranchMissing();
  int at = InsertionRow(*branch, rows);
  int n = static_cast<int>(clipboard.lines.size());
  Status room = MakeRoom(*branch, at, n);
  if (!room) return {false, room, {}};
  for (int i = 0; i < n; ++i) branch->lines.slot(at + i) = clipboard.lines[i];
  return EditResult::Changed();
}

EditResult DeleteLines(DialogueDocument& document, const RowSelection& rows, const LineListState& state) {
  if (!MayChangeSelectedLines(state)) return EditResult::Unchanged();
  DialogueBranch* branch = EditCurrentBranch(document);
  if (!branch) return CurrentBranchMissing();
  std::vector<int> valid = ValidRows(rows, LinesInUse(*branch));
  if (valid.empty()) return EditResult::Unchanged();
  for (int row : valid) ClearLine(*branch, row);
  CompactBranch(*branch);
  return EditResult::Changed();
}

EditResult MoveLinesUp(DialogueDocument& document, const RowSelection& rows, const LineListState& state) {
  return MoveLines(document, rows, state, true);
}

EditResult MoveLinesDown(DialogueDocument& document, const RowSelection& rows, const LineListState& state) {
  return MoveLines(document, rows, state, false);
}

}  // namespace tellwright
