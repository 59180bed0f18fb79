#pragma once

#include "base/status.h"
#include "document/dialogue_branch.h"

namespace tellwright {

// The slot operations every line command is built from. Lines 0..count-1 of
// a branch are its lines; the slots from count on are free, whatever a
// loaded file may have left in them, and no operation here pulls such a
// leftover into view.

// The branch's line count, held to 0..1000 so a damaged count never sends an
// index outside the line table.
int LinesInUse(const DialogueBranch& branch);

// Kind, character, text and sound become "", the block id 0. The response
// block a cleared responseblock line pointed to is left alone.
void ClearLine(DialogueLine& line);
void ClearLine(DialogueBranch& branch, int index);

// Exchanges all five fields of two line slots (both in 0..999).
void SwapLines(DialogueBranch& branch, int a, int b);

// Removes the lines with an empty kind among lines 0..count-1, keeping the
// others in order, empties the freed slots and sets the count to the number
// of lines kept. Slots from the old count on are not looked at. Returns the
// number of lines removed.
int CompactBranch(DialogueBranch& branch);

// Moves lines at..count-1 down by n slots and leaves n empty lines at
// at..at+n-1; the count grows by n. Refused, changing nothing, when `at` is
// not in 0..count, n is negative, or the branch would pass 1000 lines.
Status MakeRoom(DialogueBranch& branch, int at, int n);

// The refusal for a branch that cannot take `adding` more lines.
Status BranchFullError(const DialogueBranch& branch, int adding);

}  // namespace tellwright
