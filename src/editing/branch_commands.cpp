#include "editing/branch_commands.h"

#include <algorithm>

#include "editing/text_rules.h"

namespace tellwright {

namespace {

bool IsBranchInUse(const DialogueDocument& document, int index) {
  return index >= 0 && index <= document.lastBranchIndex && index < kBranchSlots;
}

}  // namespace

const DialogueBranch* CurrentBranch(const DialogueDocument& document) {
  if (!IsBranchInUse(document, document.currentBranch)) return nullptr;
  return &document.branches[document.currentBranch];
}

DialogueBranch* EditCurrentBranch(DialogueDocument& document) {
  if (!IsBranchInUse(document, document.currentBranch)) return nullptr;
  return &document.branches.slot(document.currentBranch);
}

EditResult CurrentBranchMissing() { return EditResult::Refused("No dialogue branch is selected."); }

EditResult RenameCurrentBranch(DialogueDocument& document, const Text& newName) {
  if (!CurrentBranch(document)) return CurrentBranchMissing();
  if (newName.empty()) return EditResult::Refused(std::string(kEmptyBranchNameMessage));
  if (newName == CurrentBranch(document)->name) return EditResult::Unchanged();
  Status text = CheckNoLineBreak(newName, "A branch name");
  if (!text) return {false, text, {}};
  RenameBranch(document, document.currentBranch, newName);
  return EditResult::Changed();
}

EditResult AddBranch(DialogueDocument& document) {
  int index = std::max<int>(document.lastBranchIndex, -1) + 1;
  if (index >= kBranchSlots) return EditResult::Refused("The dialogue is full: a dialogue holds at most 500 branches.");
  // The slot is free, but start it afresh so nothing left in it can surface.
  DialogueBranch& branch = document.editBranch(index);
  branch = DialogueBranch{};
  branch.name = kNewBranchName;
  document.lastBranchIndex = index;
  document.currentBranch = index;
  return EditResult::Changed();
}

EditResult SelectBranch(DialogueDocument& document, int index) {
  if (!IsBranchInUse(document, index)) return EditResult::Unchanged();
  document.currentBranch = index;
  return EditResult::Changed();
}

}  // namespace tellwright
