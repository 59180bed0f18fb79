#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/dialogue_document.h"
#include "editing/change_scope.h"

namespace tellwright {

// A value before and after a change.
template <typename T>
struct Swap {
  T before;
  T after;
};

// A run of a sequence replaced by another: items [first, first +
// before.size()) before the change are [first, first + after.size()) after.
template <typename T>
struct Splice {
  int first = 0;
  std::vector<T> before;
  std::vector<T> after;
};

struct BranchDelta {
  int index = 0;
  std::optional<Swap<Text>> name;
  std::optional<Swap<int32_t>> lineCount;
  std::optional<Splice<DialogueLine>> lines;
};

struct BlockDelta {
  int slot = 0;
  std::optional<Swap<int32_t>> id;
  std::optional<Splice<Response>> responses;
};

// What one change altered, and only that: enough to take the document back
// to before the change and forward to after it again.
struct DocumentDelta {
  Swap<int32_t> currentBranch;  // where the change was made, and where it left the editor
  std::optional<Swap<int32_t>> lastBranchIndex;
  std::vector<BranchDelta> branches;
  std::vector<BlockDelta> blocks;
  std::optional<Swap<std::vector<Character>>> characters;
  std::optional<Swap<std::string>> engineProjectPath;

  // Nothing but the shown branch changed: not a step worth undoing.
  bool empty() const {
    return !lastBranchIndex && branches.empty() && blocks.empty() && !characters && !engineProjectPath;
  }
  // Bytes the delta holds, strings included: what keeping it costs.
  size_t bytes() const;
};

// Copies the parts of a document a change may alter, to tell afterwards
// what it did alter. Branches and blocks are shared with the document until
// the change writes them, so the copy costs a pointer per branch or block
// and what the change did not touch is told apart without comparing it.
class ChangeRecorder {
 public:
  ChangeRecorder(const DialogueDocument& document, ChangeScope scope);

  // The delta between the copy and `document` as it is now.
  DocumentDelta finish(const DialogueDocument& document) const;

 private:
  struct BranchCopy {
    int index;
    DialogueBranch branch;
  };

  void finishBranches(const DialogueDocument& document, DocumentDelta& delta) const;
  void finishBlocks(const DialogueDocument& document, DocumentDelta& delta) const;

  ChangeScope scope_;
  int32_t currentBranch_;
  int32_t lastBranchIndex_;
  std::vector<BranchCopy> fullBranches_;  // branches copied whole
  std::vector<Text> branchNames_;         // with kScopeBranchTable: every stored branch's name
  int firstBlockSlot_ = 0;
  int endBlockSlot_ = 0;
  SharedSlotTable<ResponseBlock, kBlockSlots> blocks_;  // slots firstBlockSlot_ to endBlockSlot_ matter
  std::vector<Character> characters_;
  std::string engineProjectPath_;
};

// What a change altered outside the parts it declared, as the writer reads
// it ("the characters", "branch 3"): what an undo step recorded with that
// scope would fail to take back. Empty when the change kept to its scope.
std::vector<std::string> ChangesOutsideScope(const DialogueDocument& before, const DialogueDocument& after,
                                             const ChangeScope& scope);

// Takes the document back to before the change, or forward to after it.
void UndoDelta(DialogueDocument& document, const DocumentDelta& delta);
void RedoDelta(DialogueDocument& document, const DocumentDelta& delta);

}  // namespace tellwright
