#pragma once

#include <vector>

#include "tools/project_records.h"

namespace tellwright {

// Which branch of a later version of a project continues which branch of an
// earlier one: first by name (the n-th branch of a name with the n-th of the
// same name), then, among the branches left on both sides, a renamed branch
// by its lines: at least half of them the same.
struct BranchPairing {
  std::vector<int> afterOf;   // per branch of `before`: its branch in `after`, -1 when removed
  std::vector<int> beforeOf;  // per branch of `after`: its branch in `before`, -1 when added
};

BranchPairing PairBranches(const ProjectRecords& before, const ProjectRecords& after);

}  // namespace tellwright
