#pragma once

#include <string>
#include <string_view>

#include "document/dialogue_document.h"

namespace tellwright {

// Outcome of the dialogue check: ok, or the first fault's message as the
// user sees it in the "Error:" box.
struct CheckResult {
  bool ok = true;
  std::string message;

  explicit operator bool() const { return ok; }
};

// Looks for the faults that would make an exported WME or Vexa script fail,
// branch by branch and line by line, and stops at the first.
CheckResult CheckDialogue(const DialogueDocument& document);

// True when `name` holds one of the 25 characters a script engine cannot
// take in a function or dialogue name (byte 0xA7 among them).
bool ContainsRestrictedCharacter(std::string_view name);

// The check's messages, exactly as the user sees them (the lint reports the
// same faults in the same words). The line index counts from 0.
std::string BranchWithoutNameMessage();
std::string RestrictedBranchNameMessage(std::string_view name);
std::string TalklineWithoutCharacterMessage(std::string_view branchName, int lineIndex);
// The same fault without the branch name and line index in front, for
// callers that name the place themselves.
std::string TalklineWithoutCharacterFault();
std::string EndlessLoopMessage(std::string_view branchName);
std::string SaidByNobodyMessage(std::string_view branchName);

// The check's tests of a block: a response in use leaves the loop; any of
// its stored slots, also those after the end of the block, has the say flag.
bool AnyResponseLeaves(const ResponseBlock& block);
bool AnyResponseSaid(const ResponseBlock& block);

}  // namespace tellwright
