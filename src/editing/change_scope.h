#pragma once

#include <vector>

namespace tellwright {

// The parts of a document a change may alter. Recording a change copies
// only these beforehand, so it costs what the change can touch.
enum ChangeScopePart : unsigned {
  kScopeCurrentBranch = 1,  // the current branch: its name, line count and lines
  kScopeBranchTable = 2,    // which branches are in use, their names, and the slot a new branch takes
  kScopeBlocks = 4,         // the response blocks
  kScopeCharacters = 8,
  kScopeProjectPath = 16,
};

struct ChangeScope {
  unsigned parts = 0;  // ChangeScopePart flags
  // With kScopeBlocks: the one block slot the change may alter, or -1 for
  // any of them.
  int blockSlot = -1;
  // More branches the change may alter whole, as kScopeCurrentBranch does
  // the current one (a replace over the whole dialogue).
  std::vector<int> branches = {};
};

}  // namespace tellwright
