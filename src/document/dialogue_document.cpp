#include "document/dialogue_document.h"

#include <cstdint>

namespace tellwright {

DialogueDocument::DialogueDocument() { ResetToNewProject(*this); }

void ResetToNewProject(DialogueDocument& document) {
  document.branches.clear();
  document.responseBlocks.clear();
  document.characters.clear();
  document.lastBranchIndex = 0;
  document.currentBranch = 0;
  document.branches.slot(0).name = kDefaultBranchName;
  document.currentFile.clear();
}

std::optional<int> FindBlockSlot(const DialogueDocument& document, int32_t blockId) {
  if (blockId < 1) return std::nullopt;  // id 0 marks a free slot, not a block
  for (int slot = 0; slot < document.responseBlocks.stored(); ++slot)
    if (document.responseBlocks[slot].id == blockId) return slot;
  return std::nullopt;
}

namespace {

// The slot holding the highest id (the first one on ties), or -1 when no
// block is in use.
int SlotOfHighestId(const DialogueDocument& document) {
  int best = -1;
  int32_t highest = 0;
  for (int slot = 0; slot < document.responseBlocks.stored(); ++slot) {
    if (document.responseBlocks[slot].id > highest) {
      highest = document.responseBlocks[slot].id;
      best = slot;
    }
  }
  return best;
}

int FirstFreeBlockSlot(const DialogueDocument& document) {
  for (int slot = 0; slot < kBlockSlots; ++slot)
    if (!document.responseBlocks[slot].inUse()) return slot;
  return -1;
}

}  // namespace

BlockAllocation AllocateResponseBlock(DialogueDocument& document) {
  int highestSlot = SlotOfHighestId(document);
  int32_t highestId = highestSlot < 0 ? 0 : document.responseBlocks[highestSlot].id;
  if (highestId == INT32_MAX)
    return {Status::Error("No new responseblock can be created: the block ids are used up."), 0, -1};
  // With no block in use the "highest" block is slot 0, so the first block
  // goes to slot 1, as stored projects have always had it.
  int slot = (highestSlot < 0 ? 0 : highestSlot) + 1;
  if (slot >= kBlockSlots || document.responseBlocks[slot].inUse()) slot = FirstFreeBlockSlot(document);
  if (slot < 0)
    return {Status::Error("No new responseblock can be created: all 500 responseblocks are in use."), 0, -1};
  ResponseBlock& block = document.responseBlocks.slot(slot);
  block = ResponseBlock{};
  block.id = highestId + 1;
  return {Status::Ok(), block.id, slot};
}

int RenameBranch(DialogueDocument& document, int index, const Text& newName) {
  Text oldName = document.branches[index].name;
  document.branches.slot(index).name = newName;
  // An empty link means "no link": links never move to or from an empty
  // name, or renaming "" would give every unlinked response the new name,
  // and renaming to "" would unlink them for good.
  if (oldName.empty() || newName.empty()) return 0;
  int rewritten = 0;
  // Only the blocks with such a link are written: a block shared with a
  // copy of the document is copied when written.
  for (int slot = 0; slot < document.responseBlocks.stored(); ++slot) {
    const ResponseBlock* block = &document.responseBlocks[slot];
    for (int r = 0; r < block->responses.stored(); ++r) {
      const Response& response = block->responses[r];
      if (response.inUse() && response.linkBranch == oldName) {
        document.responseBlocks.slot(slot).responses.slot(r).linkBranch = newName;
        block = &document.responseBlocks[slot];  // the block written is now this document's own
        ++rewritten;
      }
    }
  }
  return rewritten;
}

}  // namespace tellwright
