#include "editing/line_slots.h"

#include <algorithm>
#include <string>
#include <utility>

namespace tellwright {

int LinesInUse(const DialogueBranch& branch) { return std::clamp<int>(branch.lineCount, 0, kLinesPerBranch); }

void ClearLine(DialogueLine& line) { line = DialogueLine{}; }

void ClearLine(DialogueBranch& branch, int index) {
  // Slots that were never stored are empty already; storing them would only
  // cost memory.
  if (index < branch.lines.stored()) ClearLine(branch.lines.slot(index));
}

void SwapLines(DialogueBranch& branch, int a, int b) {
  if (a == b) return;
  branch.lines.slot(std::max(a, b));  // store both before taking references
  std::swap(branch.lines.slot(a), branch.lines.slot(b));
}

int CompactBranch(DialogueBranch& branch) {
  int count = LinesInUse(branch);
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    if (branch.lines[i].empty()) continue;
    if (kept != i) branch.lines.slot(kept) = std::move(branch.lines.slot(i));
    ++kept;
  }
  for (int i = kept; i < count; ++i) ClearLine(branch, i);
  branch.lineCount = kept;
  return count - kept;
}

Status BranchFullError(const DialogueBranch& branch, int adding) {
  if (adding == 1) return Status::Error("The dialogue branch is full: a branch holds at most 1000 lines.");
  return Status::Error("The " + std::to_string(adding) + " lines do not fit into the dialogue branch: it has " +
                       std::to_string(LinesInUse(branch)) + " lines, and a branch holds at most 1000.");
}

Status MakeRoom(DialogueBranch& branch, int at, int n) {
  int count = LinesInUse(branch);
  if (at < 0 || at > count || n < 0) return Status::Error("There is no line at that place in the branch.");
  if (n > kLinesPerBranch - count) return BranchFullError(branch, n);
  if (n == 0) return Status::Ok();
  branch.lines.slot(count + n - 1);  // store the whole run before moving into it
  for (int k = count - 1; k >= at; --k) branch.lines.slot(k + n) = std::move(branch.lines.slot(k));
  for (int k = at; k < at + n; ++k) ClearLine(branch.lines.slot(k));
  branch.lineCount = count + n;
  return Status::Ok();
}

}  // namespace tellwright
