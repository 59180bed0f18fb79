#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "document/dialogue_document.h"

namespace tellwright {

// The check and the exporters visit branches 0..lastBranchIndex and lines
// 0..lineCount-1 as stored; these bounds keep a document with counts outside
// the tables from reading past them.
int BranchesToVisit(const DialogueDocument& document);
int LinesToVisit(const DialogueBranch& branch);

// Response flags read as set when they are not 0.
inline bool FlagSet(int32_t flag) { return flag != 0; }

// The entity names of every character with a given real name, in list order
// (two characters may share a real name; each of them then speaks the line).
class CharacterIndex {
 public:
  explicit CharacterIndex(const std::vector<Character>& characters);
  const std::vector<std::string_view>& entitiesOf(std::string_view realName) const;

 private:
  std::unordered_map<std::string_view, std::vector<std::string_view>> entities_;
};

// The block slots 0..499 whose id equals a line's block id, in slot order.
// A free slot has id 0, so id 0 finds the free slots; as every free slot
// beyond the stored ones is alike, one of them stands for all.
class BlockIndex {
 public:
  explicit BlockIndex(const DialogueDocument& document);
  const std::vector<const ResponseBlock*>& blocksWithId(int32_t id) const;
  // The first block with `id`, as the script exporters use; nullptr if none.
  const ResponseBlock* firstWithId(int32_t id) const;

 private:
  std::unordered_map<int32_t, std::vector<const ResponseBlock*>> blocks_;
};

}  // namespace tellwright
