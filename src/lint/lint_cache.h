#pragma once

#include <chrono>
#include <memory>
#include <span>
#include <vector>

#include "document/dialogue_document.h"
#include "lint/lint.h"

namespace tellwright {


// Lints document after document, each most often the one before with a
// branch or two changed. A branch's problems are kept while the branch is
// the same (a copy of a document shares its unchanged branches) and every
// answer its rules got from the rest of the document still holds: which
// names, characters, blocks, keys and links exist, and where. The rest
// (the character list, the blocks no line uses, the cross-branch index) is
// found afresh each time from small summaries of the branches. The problems
// are always those LintDialogue finds in the same document.
//
// The sound files' folders are listed when the engine project's folder is
// first or newly named, and listed again at most every few seconds
// (recheckFoldersEvery): when a listing changed, every branch's sound files
// are looked up afresh. Until then a file added or removed on disk counts
// only for the branches linted again.
class LintCache {
 public:
  explicit LintCache(LintOptions options = {});
  ~LintCache();
  LintCache(const LintCache&) = delete;
  LintCache& operator=(const LintCache&) = delete;

  // Every problem of `document`, in LintDialogue's order. The cache keeps
  // the document until the next one.
  std::vector<Problem> lint(std::shared_ptr<const DialogueDocument> document);
  // The same problems in runs, one after the other, that the cache holds
  // until the next call: on the largest projects a copy of them all costs
  // more than finding what changed, so a caller copies each problem once,
  // straight to where it wants it.
  const std::vector<std::span<const Problem>>& lintInRuns(std::shared_ptr<const DialogueDocument> document);
  // Forgets every branch's problems and the folders listed.
  void clear();
  // How often the folders listed are listed again to see if they changed.
  void recheckFoldersEvery(std::chrono::steady_clock::duration interval);
  // How many branches the last lint() ran the rules of (the others' problems
  // were kept).
  int branchesLinted() const;

 private:
  friend std::vector<Problem> LintDialogue(const DialogueDocument& document, const LintOptions& options);
  struct State;

  // Finds the problems of `document`, the runs in the state.
  void run(const DialogueDocument& document, bool remember);

  std::unique_ptr<State> state_;
};

}  // namespace tellwright
