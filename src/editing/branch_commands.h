#pragma once

#include <string>
#include <string_view>

#include "document/dialogue_document.h"
#include "editing/edit_result.h"

namespace tellwright {

// The current branch, or nullptr when currentBranch does not name a branch
// in use (0..lastBranchIndex within the 500 slots); commands then refuse
// with CurrentBranchMissing() instead of touching a slot that is not there.
const DialogueBranch* CurrentBranch(const DialogueDocument& document);
DialogueBranch* EditCurrentBranch(DialogueDocument& document);
EditResult CurrentBranchMissing();

inline constexpr std::string_view kEmptyBranchNameMessage =
    "A dialogue branch needs a name: the responses that lead to it find it by its name.";

// Renames the current branch and rewrites every response link to the old
// name, in every block; the same name again changes nothing. Duplicate names
// are accepted. An empty name is
// refused: links cannot follow a branch through "" (an empty link means no
// link), so a branch renamed to "" and then to another name would lose every
// link to it. A name with a line break is refused, as the project file could
// not hold it.
EditResult RenameCurrentBranch(DialogueDocument& document, const Text& newName);

// Adds an empty branch "Unnamed" after the last one and makes it current.
// Refused when all 500 branch slots are in use.
EditResult AddBranch(DialogueDocument& document);

// Makes branch `index` current (the branch selector's choice). Changing the
// shown branch counts as a change of the project.
EditResult SelectBranch(DialogueDocument& document, int index);

}  // namespace tellwright
