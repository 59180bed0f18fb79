#include "export/document_index.h"

#include <algorithm>

namespace tellwright {

namespace {
template <typename T>
const std::vector<T>& Found(const auto& map, const auto& key) {
  static const std::vector<T> kNone;
  auto it = map.find(key);
  return it == map.end() ? kNone : it->second;
}
}  // namespace

int BranchesToVisit(const DialogueDocument& document) {
  return std::clamp(document.lastBranchIndex + 1, 0, kBranchSlots);
}

int LinesToVisit(const DialogueBranch& branch) { return std::clamp(branch.lineCount, 0, kLinesPerBranch); }

CharacterIndex::CharacterIndex(const std::vector<Character>& characters) {
  for (const Character& character : characters) entities_[character.realName].push_back(character.entityName);
}

const std::vector<std::string_view>& CharacterIndex::entitiesOf(std::string_view realName) const {
  return Found<std::string_view>(entities_, realName);
}

BlockIndex::BlockIndex(const DialogueDocument& document) {
  const auto& table = document.responseBlocks;
  for (int slot = 0; slot < table.stored(); ++slot) blocks_[table[slot].id].push_back(&table[slot]);
  if (table.stored() < kBlockSlots) blocks_[0].push_back(&table[table.stored()]);
}

const std::vector<const ResponseBlock*>& BlockIndex::blocksWithId(int32_t id) const {
  return Found<const ResponseBlock*>(blocks_, id);
}

const ResponseBlock* BlockIndex::firstWithId(int32_t id) const {
  const auto& found = blocksWithId(id);
  return found.empty() ? nullptr : found.front();
}

}  // namespace tellwright
