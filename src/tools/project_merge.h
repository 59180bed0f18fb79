#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "document/dialogue_document.h"

namespace tellwright {

// Three-way merge of a project that two writers changed from one base, by
// its records rather than the lines of the file: branches by name (renames
// recognised by their lines), lines by aligning the records, responses within
// their blocks, blocks by id (a block both sides added with one id gets a
// fresh id on theirs, and their lines follow it), the cast by real name.
// Changes to different records, or to different fields of one record, merge
// cleanly. Where both sides changed the same thing differently both versions
// are kept, between the remark lines "<<<<<<< ours", "=======" and
// ">>>>>>> theirs" in the branch (or responses with those texts in the block),
// and the conflict is listed. A name or a value that cannot be kept twice
// keeps ours: a branch name (both names stand between markers at the top of
// the branch), the engine project path; two entity names of a character keep
// both characters.

struct MergeConflict {
  // Where it is in the merged project: the branch and the line (from 1) of
  // its opening marker or of the responseblock line that runs the block;
  // line 0 when it is in no branch.
  Text branch;
  int line = 0;
  int32_t block = 0;  // the block of a conflict among responses, else 0
  int response = 0;   // the response (from 1) of the opening marker in the block
  std::string message;

  friend bool operator==(const MergeConflict&, const MergeConflict&) = default;
};

struct MergeResult {
  // An error when the merged project would not fit the document's tables
  // (more than 1000 lines in a branch, ...): nothing may be saved then.
  Status status;
  DialogueDocument merged;
  std::vector<MergeConflict> conflicts;
};

// `base` nullptr: the two versions have no common base (both added the file).
MergeResult MergeProjects(const DialogueDocument* base, const DialogueDocument& ours, const DialogueDocument& theirs);

// "Start, line 4: both sides changed the text of the line", as a writer reads
// it; Windows-1252.
std::string DescribeConflict(const MergeConflict& conflict);

}  // namespace tellwright
