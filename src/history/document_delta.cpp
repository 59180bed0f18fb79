#include "history/document_delta.h"

#include <algorithm>

namespace tellwright {

namespace {

template <typename T, int N>
std::vector<T> Slots(const SlotTable<T, N>& table, int first, int end) {
  std::vector<T> items;
  items.reserve(std::max(end - first, 0));
  for (int i = first; i < end; ++i) items.push_back(table[i]);
  return items;
}

// The one run that differs between two states of a slot table: what is left
// between the longest common start and the longest common end.
template <typename T, int N>
std::optional<Splice<T>> Difference(const SlotTable<T, N>& before, const SlotTable<T, N>& after) {
  int beforeEnd = before.used();
  int afterEnd = after.used();
  int first = 0;
  while (first < beforeEnd && first < afterEnd && before[first] == after[first]) ++first;
  if (first == beforeEnd && first == afterEnd) return std::nullopt;
  while (beforeEnd > first && afterEnd > first && before[beforeEnd - 1] == after[afterEnd - 1]) {
    --beforeEnd;
    --afterEnd;
  }
  return Splice<T>{first, Slots(before, first, beforeEnd), Slots(after, first, afterEnd)};
}

template <typename T>
std::optional<Swap<T>> Changed(const T& before, const T& after) {
  if (before == after) return std::nullopt;
  return Swap<T>{before, after};
}

BranchDelta& DeltaFor(DocumentDelta& delta, int index) {
  for (BranchDelta& branch : delta.branches)
    if (branch.index == index) return branch;
  delta.branches.push_back(BranchDelta{index, {}, {}, {}});
  return delta.branches.back();
}

void Compact(DocumentDelta& delta) {
  std::erase_if(delta.branches,
                [](const BranchDelta& branch) { return !branch.name && !branch.lineCount && !branch.lines; });
}

// A text's bytes count in full, though the document may share them: once
// the document lets go of them, the history holds them alone.
size_t Bytes(const Text& text) { return sizeof text + text.size(); }
size_t Bytes(const std::string& text) { return sizeof text + (text.size() > 15 ? text.capacity() + 1 : 0); }
size_t Bytes(const DialogueLine& line) {
  return sizeof line - 4 * sizeof(Text) + Bytes(line.kind) + Bytes(line.character) + Bytes(line.text) +
         Bytes(line.soundFile);
}
size_t Bytes(const Response& response) {
  return sizeof response - 3 * sizeof(Text) + Bytes(response.text) + Bytes(response.conditions) +
         Bytes(response.linkBranch);
}
size_t Bytes(const Character& character) {
  return sizeof character - 2 * sizeof(Text) + Bytes(character.realName) + Bytes(character.entityName);
}
template <typename T>
size_t Bytes(const std::vector<T>& items) {
  size_t bytes = sizeof items;
  for (const T& item : items) bytes += Bytes(item);
  return bytes;
}

void ApplyDelta(DialogueDocument& document, const DocumentDelta& delta, bool forward) {
  auto pick = [forward](const auto& swap) -> const auto& { return forward ? swap.after : swap.before; };
  if (delta.lastBranchIndex) document.lastBranchIndex = pick(*delta.lastBranchIndex);
  for (const BranchDelta& change : delta.branches) {
    DialogueBranch& branch = document.editBranch(change.index);
    if (change.name) branch.name = pick(*change.name);
    if (change.lineCount) branch.lineCount = pick(*change.lineCount);
    if (const auto& lines = change.lines) {
      const auto& from = forward ? lines->before : lines->after;
      branch.lines.splice(lines->first, static_cast<int>(from.size()), pick(*lines));
    }
  }
  for (const BlockDelta& change : delta.blocks) {
    ResponseBlock& block = document.responseBlocks.slot(change.slot);
    if (change.id) block.id = pick(*change.id);
    if (const auto& responses = change.responses) {
      const auto& from = forward ? responses->before : responses->after;
      block.responses.splice(responses->first, static_cast<int>(from.size()), pick(*responses));
    }
  }
  if (delta.characters) document.characters = pick(*delta.characters);
  if (delta.engineProjectPath) document.engineProjectPath = pick(*delta.engineProjectPath);
  document.currentBranch = pick(delta.currentBranch);
}

}  // namespace

size_t DocumentDelta::bytes() const {
  size_t total = sizeof *this;
  for (const BranchDelta& branch : branches) {
    total += sizeof branch;
    if (branch.name) total += Bytes(branch.name->before) + Bytes(branch.name->after);
    if (branch.lines) total += Bytes(branch.lines->before) + Bytes(branch.lines->after);
  }
  for (const BlockDelta& block : blocks) {
    total += sizeof block;
    if (block.responses) total += Bytes(block.responses->before) + Bytes(block.responses->after);
  }
  if (characters) total += Bytes(characters->before) + Bytes(characters->after);
  if (engineProjectPath) total += Bytes(engineProjectPath->before) + Bytes(engineProjectPath->after);
  return total;
}

ChangeRecorder::ChangeRecorder(const DialogueDocument& document, ChangeScope scope)
    : scope_(scope), currentBranch_(document.currentBranch), lastBranchIndex_(document.lastBranchIndex) {
  auto copyBranch = [&](int index) {
    if (index < 0 || index >= kBranchSlots) return;
    for (const BranchCopy& copy : fullBranches_)
      if (copy.index == index) return;
    fullBranches_.push_back({index, document.branches[index]});
  };
  if (scope.parts & kScopeCurrentBranch) copyBranch(document.currentBranch);
  for (int index : scope.branches) copyBranch(index);
  if (scope.parts & kScopeBranchTable) {
    copyBranch(std::max<int>(document.lastBranchIndex, -1) + 1);  // the slot a new branch takes
    for (int i = 0; i < document.branches.stored(); ++i) branchNames_.push_back(document.branches[i].name);
  }
  if (scope.parts & kScopeBlocks) {
    bool oneSlot = scope.blockSlot >= 0 && scope.blockSlot < kBlockSlots;
    firstBlockSlot_ = oneSlot ? scope.blockSlot : 0;
    endBlockSlot_ = oneSlot ? scope.blockSlot + 1 : document.responseBlocks.stored();
    blocks_ = document.responseBlocks;
  }
  if (scope.parts & kScopeCharacters) characters_ = document.characters;
  if (scope.parts & kScopeProjectPath) engineProjectPath_ = document.engineProjectPath;
}

DocumentDelta ChangeRecorder::finish(const DialogueDocument& document) const {
  DocumentDelta delta;
  delta.currentBranch = {currentBranch_, document.currentBranch};
  if (scope_.parts & kScopeBranchTable) delta.lastBranchIndex = Changed(lastBranchIndex_, document.lastBranchIndex);
  finishBranches(document, delta);
  finishBlocks(document, delta);
  if (scope_.parts & kScopeCharacters) delta.characters = Changed(characters_, document.characters);
  if (scope_.parts & kScopeProjectPath)
    delta.engineProjectPath = Changed(engineProjectPath_, document.engineProjectPath);
  return delta;
}

void ChangeRecorder::finishBranches(const DialogueDocument& document, DocumentDelta& delta) const {
  for (const BranchCopy& copy : fullBranches_) {
    const DialogueBranch& now = document.branches[copy.index];
    BranchDelta& change = DeltaFor(delta, copy.index);
    change.name = Changed(copy.branch.name, now.name);
    change.lineCount = Changed(copy.branch.lineCount, now.lineCount);
    change.lines = Difference(copy.branch.lines, now.lines);
  }
  if (scope_.parts & kScopeBranchTable) {
    int count = std::max(static_cast<int>(branchNames_.size()), document.branches.stored());
    static const Text kNoName;
    for (int i = 0; i < count; ++i) {
      const Text& before = i < static_cast<int>(branchNames_.size()) ? branchNames_[i] : kNoName;
      if (before != document.branches[i].name)
        DeltaFor(delta, i).name = Swap<Text>{before, document.branches[i].name};
    }
  }
  Compact(delta);
}

void ChangeRecorder::finishBlocks(const DialogueDocument& document, DocumentDelta& delta) const {
  if (!(scope_.parts & kScopeBlocks)) return;
  int end = endBlockSlot_;
  if (scope_.blockSlot < 0) end = std::max(end, document.responseBlocks.stored());
  for (int slot = firstBlockSlot_; slot < end; ++slot) {
    // Slots past the copied ones read as free blocks.
    if (blocks_.sharesSlot(document.responseBlocks, slot)) continue;
    const ResponseBlock& before = blocks_[slot];
    const ResponseBlock& now = document.responseBlocks[slot];
    if (before == now) continue;
    delta.blocks.push_back({slot, Changed(before.id, now.id), Difference(before.responses, now.responses)});
  }
}

std::vector<std::string> ChangesOutsideScope(const DialogueDocument& before, const DialogueDocument& after,
                                             const ChangeScope& scope) {
  std::vector<std::string> outside;
  auto inScope = [&](unsigned part) { return (scope.parts & part) != 0; };
  auto branchInScope = [&](int index) {
    if (inScope(kScopeCurrentBranch) && index == before.currentBranch) return true;
    if (inScope(kScopeBranchTable) && index == before.lastBranchIndex + 1) return true;
    return std::find(scope.branches.begin(), scope.branches.end(), index) != scope.branches.end();
  };
  if (!inScope(kScopeBranchTable) && before.lastBranchIndex != after.lastBranchIndex)
    outside.push_back("the number of branches");
  int branches = std::max(before.branches.stored(), after.branches.stored());
  for (int i = 0; i < branches; ++i) {
    if (before.branches.sharesSlot(after.branches, i)) continue;
    const DialogueBranch& was = before.branches[i];
    const DialogueBranch& now = after.branches[i];
    if (branchInScope(i) || was == now) continue;
    // The branch table's scope covers every branch's name, not its lines.
    bool onlyRenamed = was.lineCount == now.lineCount && was.lines == now.lines;
    if (!(inScope(kScopeBranchTable) && onlyRenamed)) outside.push_back("branch " + std::to_string(i));
  }
  int blocks = std::max(before.responseBlocks.stored(), after.responseBlocks.stored());
  for (int slot = 0; slot < blocks; ++slot) {
    bool declared = inScope(kScopeBlocks) && (scope.blockSlot < 0 || scope.blockSlot == slot);
    if (declared || before.responseBlocks.sharesSlot(after.responseBlocks, slot)) continue;
    if (!(before.responseBlocks[slot] == after.responseBlocks[slot]))
      outside.push_back("response block slot " + std::to_string(slot));
  }
  if (!inScope(kScopeCharacters) && before.characters != after.characters) outside.push_back("the characters");
  if (!inScope(kScopeProjectPath) && before.engineProjectPath != after.engineProjectPath)
    outside.push_back("the engine project path");
  if (before.currentFile != after.currentFile) outside.push_back("the project file's path");
  if (before.changed != after.changed) outside.push_back("the changed flag");
  return outside;
}

void UndoDelta(DialogueDocument& document, const DocumentDelta& delta) { ApplyDelta(document, delta, false); }

void RedoDelta(DialogueDocument& document, const DocumentDelta& delta) { ApplyDelta(document, delta, true); }

}  // namespace tellwright
