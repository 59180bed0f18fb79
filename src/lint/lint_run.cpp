#include "lint/lint_run.h"

#include <algorithm>

#include "base/cp1252_case.h"
#include "export/document_index.h"
#include "export/engine_text.h"

namespace tellwright::lint {

int ResponsesOffered(const ResponseBlock& block) { return block.usedResponses(); }

bool AnyOfferedResponseSaid(const ResponseBlock& block) {
  for (int r = 0, offered = ResponsesOffered(block); r < offered; ++r)
    if (FlagSet(block.responses[r].sayResponse)) return true;
  return false;
}

std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  quoted += text;
  quoted += '\'';
  return quoted;
}

LintRun::LintRun(const DialogueDocument& document, const LintOptions& options)
    : document_(document), options_(options) {
  const int branches = BranchesToVisit(document);
  for (int b = 0; b < branches; ++b) {
    const Text& name = document.branch(b).name;
    if (name.empty()) continue;
    branchByName_.emplace(name, b);
    branchByFoldedName_.emplace(FoldedCase1252(name), b);
  }

  const auto& blocks = document.responseBlocks;
  const int slots = std::min(blocks.stored(), kBlockSlots);
  users_.resize(slots);
  blockSaid_.assign(slots, -1);
  for (int slot = 0; slot < slots; ++slot) slotsById_[blocks[slot].id].push_back(slot);

  for (int c = 0; c < static_cast<int>(document.characters.size()); ++c)
    charactersByName_[document.characters[c].realName].push_back(c);

  for (int b = 0; b < branches; ++b) {
    const DialogueBranch& branch = document.branch(b);
    for (int l = 0; l < LinesToVisit(branch); ++l) {
      const DialogueLine& line = branch.lines[l];
      switch (KindOf(line.kind)) {
        case LineKind::Talk:
          firstSpoken_.emplace(line.character, LineRef{b, l});
          indexKey(line.text, {.branch = b, .line = l});
          break;
        case LineKind::Response:
          if (int slot = blockSlotOf(line.blockId); slot >= 0) {
            users_[slot].push_back({b, l});
            // The lint reads a block's texts at the first line that runs it.
            if (users_[slot].size() == 1)
              for (int r = 0, offered = ResponsesOffered(blocks[slot]); r < offered; ++r)
                indexKey(blocks[slot].responses[r].text, {.branch = b, .line = l, .response = r, .blockSlot = slot});
            if (blockSaid_[slot] < 0) blockSaid_[slot] = AnyOfferedResponseSaid(blocks[slot]) ? 1 : 0;
            if (blockSaid_[slot] == 1) firstSpoken_.emplace(line.character, LineRef{b, l});
          }
          break;
        default:
          break;
      }
    }
  }

  // A link counts when a line of another branch runs its block.
  linkedFromElsewhere_.assign(branches, false);
  for (int slot = 0; slot < slots; ++slot) {
    if (users_[slot].empty()) continue;
    const ResponseBlock& block = blocks[slot];
    for (int r = 0, offered = ResponsesOffered(block); r < offered; ++r) {
      const Text& link = block.responses[r].linkBranch;
      if (link.empty()) continue;
      int target = branchNamed(link);
      if (target < 0 || linkedFromElsewhere_[target]) continue;
      for (const LineRef& user : users_[slot])
        if (user.branch != target) {
          linkedFromElsewhere_[target] = true;
          break;
        }
    }
  }
}

void LintRun::indexKey(std::string_view text, const ProblemPlace& place) {
  if (text.empty() || text.front() != '/') return;
  // The split's key is a view into the unescaped text: keep the text alive.
  const std::string unescaped = UnescapedScriptString(text);
  std::optional<StringTableText> split = SplitStringTableText(unescaped);
  if (split) firstWithKey_.try_emplace(FoldedStringKey(split->key), place);
}

const ProblemPlace* LintRun::firstWithKey(std::string_view key) const {
  auto it = firstWithKey_.find(FoldedStringKey(key));
  return it == firstWithKey_.end() ? nullptr : &it->second;
}

int LintRun::branchNamed(std::string_view name) const {
  auto it = branchByName_.find(name);
  return it == branchByName_.end() ? -1 : it->second;
}

int LintRun::branchNamedIgnoringCase(std::string_view name) const {
  auto it = branchByFoldedName_.find(FoldedCase1252(name));
  return it == branchByFoldedName_.end() ? -1 : it->second;
}

const std::vector<int>& LintRun::slotsWithId(int32_t id) const {
  static const std::vector<int> kNone;
  auto it = slotsById_.find(id);
  return it == slotsById_.end() ? kNone : it->second;
}

int LintRun::blockSlotOf(int32_t id) const {
  if (id < 1) return -1;
  const std::vector<int>& slots = slotsWithId(id);
  return slots.empty() ? -1 : slots.front();
}

const std::vector<LineRef>& LintRun::usersOf(int slot) const { return users_[slot]; }

LineRef LintRun::firstUserOf(int slot) const { return users_[slot].empty() ? LineRef{} : users_[slot].front(); }

const std::vector<int>& LintRun::charactersNamed(std::string_view realName) const {
  static const std::vector<int> kNone;
  auto it = charactersByName_.find(realName);
  return it == charactersByName_.end() ? kNone : it->second;
}

int LintRun::characterNamedIgnoringCase(std::string_view realName) const {
  for (int c = 0; c < static_cast<int>(document_.characters.size()); ++c)
    if (EqualsIgnoringCase1252(document_.characters[c].realName, realName)) return c;
  return -1;
}

LineRef LintRun::firstSpokenLine(std::string_view realName) const {
  auto it = firstSpoken_.find(realName);
  return it == firstSpoken_.end() ? LineRef{} : it->second;
}

}  // namespace tellwright::lint
