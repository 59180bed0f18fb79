#include "lint/file_lines.h"

#include <algorithm>

namespace tellwright {

namespace {

// Lines of the file: the version, the engine project path, two per
// character, the end of the list and the last branch index come first.
constexpr int kFirstCharacterLine = 3;
constexpr int kLinesPerDialogueLine = 5;
constexpr int kLinesPerResponse = 6;

// Where a field stands in its record, as WriteProject writes the records.
int CharacterFieldOffset(ProblemField field) { return field == ProblemField::EntityName ? 1 : 0; }

int ResponseFieldOffset(ProblemField field) {
  switch (field) {
    case ProblemField::Condition:
      return 1;
    case ProblemField::Link:
      return 2;
    default:
      return 0;
  }
}

int DialogueLineFieldOffset(ProblemField field) {
  switch (field) {
    case ProblemField::Character:
      return 1;
    case ProblemField::Text:
      return 2;
    case ProblemField::SoundFile:
      return 3;
    case ProblemField::BlockId:
      return 4;
    default:
      return 0;
  }
}

}  // namespace

ProjectFileLines::ProjectFileLines(const DialogueDocument& document)
    : characters_(static_cast<int>(document.characters.size())) {
  int next = kFirstCharacterLine + 2 * characters_ + 2;
  const int lastBranch = std::clamp(document.lastBranchIndex, 0, kBranchSlots - 1);
  for (int b = 0; b <= lastBranch; ++b) {
    const DialogueBranch& branch = document.branch(b);
    int lines = 0;
    while (lines < kLinesPerBranch && !branch.lines[lines].empty()) ++lines;
    branchStart_.push_back(next);
    branchLines_.push_back(lines);
    next += 3 + kLinesPerDialogueLine * lines + (lines < kLinesPerBranch ? 1 : 0);
  }
  const auto& blocks = document.responseBlocks;
  for (int slot = 0; slot < std::min(blocks.stored(), kBlockSlots); ++slot) {
    const ResponseBlock& block = blocks[slot];
    if (!block.inUse()) {
      blockStart_.push_back(0);
      blockResponses_.push_back(0);
      continue;
    }
    int responses = block.usedResponses();
    blockStart_.push_back(next);
    blockResponses_.push_back(responses);
    next += 2 + kLinesPerResponse * responses + (responses < kResponsesPerBlock ? 1 : 0);
  }
}

int ProjectFileLines::characterLine(int character) const {
  return character >= 0 && character < characters_ ? kFirstCharacterLine + 2 * character : 0;
}

int ProjectFileLines::branchNameLine(int branch) const {
  return branch >= 0 && branch < static_cast<int>(branchStart_.size()) ? branchStart_[branch] + 1 : 0;
}

int ProjectFileLines::dialogueLine(int branch, int line) const {
  if (branchNameLine(branch) == 0 || line < 0 || line >= branchLines_[branch]) return 0;
  return branchStart_[branch] + 3 + kLinesPerDialogueLine * line;
}

int ProjectFileLines::blockIdLine(int slot) const {
  return slot >= 0 && slot < static_cast<int>(blockStart_.size()) && blockStart_[slot] > 0 ? blockStart_[slot] + 1 : 0;
}

int ProjectFileLines::responseLine(int slot, int response) const {
  if (blockIdLine(slot) == 0 || response < 0 || response >= blockResponses_[slot]) return 0;
  return blockStart_[slot] + 2 + kLinesPerResponse * response;
}

int ProjectFileLines::lineOf(const ProblemPlace& place, ProblemField field) const {
  if (int line = characterLine(place.character)) return line + CharacterFieldOffset(field);
  if (int line = responseLine(place.blockSlot, place.response)) return line + ResponseFieldOffset(field);
  if (int line = dialogueLine(place.branch, place.line)) return line + DialogueLineFieldOffset(field);
  if (int line = blockIdLine(place.blockSlot)) return line;
  return branchNameLine(place.branch);
}

}  // namespace tellwright
