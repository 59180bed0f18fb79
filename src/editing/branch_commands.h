#pragma once

#include <string>

#include "document/dialogue_document.h"
#include "editing/edit_result.h"

namespace tellwright {

// The current branch, or nullptr when currentBranch does not name a branch
// in use (0..lastBranchIndex within the 500 slots); commands then refuse
// with CurrentBranchMissing() instead of touching a slot that is not there.
const DialogueBranch* CurrentBranch(const DialogueDocument& document);
DialogueBranch* EditCurrentBranch(DialogueDocument& document);
EditResult CurrentBranchMissing();

// Renames the current branch and rewrites every response link to the old
// name, in every block. Empty and duplicate names are accepted, but links do
// not follow a rename from or to "" (an empty link means no link). A name
// with a line break is refused, as the project file could not hold it.
EditResult RenameCurrentBranch(DialogueDocument& document, const std::string& newName);

// Adds an empty branch "Unnamed" after the last one and makes it current.
// Refused when all 500 branch slots are in use.
EditResult AddBranch(DialogueDocument& document);

// Makes branch `index` current (the branch selector's choice). Changing the
// shown branch counts as a change of the project.
EditResult SelectBranch(DialogueDocument& document, int index);

}  // namespace tellwright
