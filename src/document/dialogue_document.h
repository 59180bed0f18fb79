#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "document/character.h"
#include "document/dialogue_branch.h"
#include "document/response_block.h"
#include "document/slot_table.h"

namespace tellwright {

inline constexpr int kBranchSlots = 500;  // usable branch slots 0..499
inline constexpr int kBlockSlots = 500;   // usable response-block slots 0..499
inline constexpr std::string_view kDefaultBranchName = "Dialog_Default";
inline constexpr std::string_view kNewBranchName = "Unnamed";

// Copying a document copies a pointer per branch and block (they are shared
// until written, see SharedSlotTable): a snapshot for work on another thread
// costs little, whatever the project's size.
struct DialogueDocument {
  SharedSlotTable<DialogueBranch, kBranchSlots> branches;
  int32_t lastBranchIndex = 0;  // branches 0..lastBranchIndex are in use
  int32_t currentBranch = 0;    // branch shown in the line list
  SharedSlotTable<ResponseBlock, kBlockSlots> responseBlocks;
  std::vector<Character> characters;
  std::string engineProjectPath;
  std::string currentFile;  // "" for a project never saved
  int32_t changed = 0;      // unsaved changes exist

  // A new project: one branch "Dialog_Default", no lines, blocks or characters.
  DialogueDocument();

  int branchCount() const { return lastBranchIndex + 1; }
  const DialogueBranch& branch(int index) const { return branches[index]; }
  DialogueBranch& editBranch(int index) { return branches.slot(index); }

  friend bool operator==(const DialogueDocument&, const DialogueDocument&) = default;
};

// Start-up and New project: every table emptied, branch 0 named
// "Dialog_Default", currentFile "". The engine project path is the editor's
// and stays as it is.
void ResetToNewProject(DialogueDocument& document);

// Index of the first block slot 0..499 whose id equals `blockId`, if any;
// none for ids below 1, which mark free slots.
std::optional<int> FindBlockSlot(const DialogueDocument& document, int32_t blockId);

// A new response block: id = highest id in use + 1, stored in the slot after
// the slot holding the highest id when that slot is free, else in the first
// free slot. Never overwrites a block. Returns the new id, or an error when
// every slot is in use.
struct BlockAllocation {
  Status status;
  int32_t id = 0;
  int slot = -1;
};
BlockAllocation AllocateResponseBlock(DialogueDocument& document);

// Renames branch `index` and rewrites, in every block, the link of each
// response in use that pointed at the old name (not when either name is "").
// Returns how many links changed.
int RenameBranch(DialogueDocument& document, int index, const Text& newName);

}  // namespace tellwright
