#include "lint/lint_run.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_set>

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

BranchSummary SummarizeBranch(const DialogueBranch& branch) {
  BranchSummary summary;
  std::unordered_set<std::string_view> talking;
  for (int l = 0; l < LinesToVisit(branch); ++l) {
    const DialogueLine& line = branch.lines[l];
    switch (KindOf(line.kind)) {
      case LineKind::Talk:
        if (talking.insert(line.character).second) summary.firstTalk.push_back({line.character, l});
        if (!line.text.empty() && line.text.front() == '/') {
          // The split's key is a view into the unescaped text: keep the text alive.
          const std::string unescaped = UnescapedScriptString(line.text);
          if (std::optional<StringTableText> split = SplitStringTableText(unescaped))
            summary.talkKeys.push_back({l, FoldedStringKey(split->key)});
        }
        break;
      case LineKind::Response:
        summary.loops.push_back({l, line.blockId, line.character});
        break;
      default:
        break;
    }
  }
  return summary;
}

LintRun::LintRun(const DialogueDocument& document, const LintOptions& options,
                 const std::vector<const BranchSummary*>& summaries, const KeyIndex& keys)
    : document_(document), options_(options), keys_(keys) {
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

  for (int b = 0; b < branches; ++b) indexBranch(b, *summaries[b]);

  // A link counts when a line of another branch runs its block.
  linkedFromElsewhere_.assign(branches, false);
  for (int slot = 0; slot < slots; ++slot) {
    if (users_[slot].empty()) continue;
    const ResponseBlock& block = blocks[slot];
    for (int r = 0, offered = ResponsesOffered(block); r < offered; ++r) {
      const Text& link = block.responses[r].linkBranch;
      if (link.empty()) continue;
      int target = findBranch(link);
      if (target < 0 || linkedFromElsewhere_[target]) continue;
      for (const LineRef& user : users_[slot])
        if (user.branch != target) {
          linkedFromElsewhere_[target] = true;
          break;
        }
    }
  }
}

int LintRun::slotRun(int32_t id) const {
  if (id < 1) return -1;
  const std::vector<int>& slots = findSlots(id);
  return slots.empty() ? -1 : slots.front();
}

void LintRun::indexBranch(int b, const BranchSummary& summary) {
  for (const BranchSummary::Loop& loop : summary.loops) {
    const int slot = slotRun(loop.blockId);
    if (slot < 0) continue;
    users_[slot].push_back({b, loop.line});
    if (blockSaid_[slot] < 0) blockSaid_[slot] = AnyOfferedResponseSaid(document_.responseBlocks[slot]) ? 1 : 0;
  }
  indexFirstSpoken(b, summary);
}

std::vector<std::pair<std::string, int>> BlockKeys(const ResponseBlock& block) {
  std::vector<std::pair<std::string, int>> keys;
  for (int r = 0, offered = ResponsesOffered(block); r < offered; ++r) {
    const Text& text = block.responses[r].text;
    if (text.empty() || text.front() != '/') continue;
    const std::string unescaped = UnescapedScriptString(text);
    if (std::optional<StringTableText> split = SplitStringTableText(unescaped))
      keys.push_back({FoldedStringKey(split->key), r});
  }
  return keys;
}

namespace {

// Document order: branch, line, then response.
bool Before(const ProblemPlace& a, const ProblemPlace& b) {
  if (a.branch != b.branch) return a.branch < b.branch;
  if (a.line != b.line) return a.line < b.line;
  return a.response < b.response;
}

}  // namespace

void KeyIndex::add(const std::string& foldedKey, const ProblemPlace& place) {
  auto [it, added] = keys_.try_emplace(foldedKey, Entry{place, 0});
  if (!added && Before(place, it->second.first)) it->second.first = place;
  ++it->second.count;
}

bool KeyIndex::remove(const std::string& foldedKey, const ProblemPlace& place) {
  auto it = keys_.find(foldedKey);
  if (it == keys_.end()) return false;
  if (--it->second.count == 0) {
    keys_.erase(it);
    return true;
  }
  return !(it->second.first == place);
}

const ProblemPlace* KeyIndex::first(const std::string& foldedKey) const {
  auto it = keys_.find(foldedKey);
  return it == keys_.end() ? nullptr : &it->second.first;
}

// A name's first line in the branch is its first talkline or its first loop
// whose block has a response said, whichever comes first.
void LintRun::indexFirstSpoken(int b, const BranchSummary& summary) {
  auto talk = summary.firstTalk.begin();
  for (const BranchSummary::Loop& loop : summary.loops) {
    for (; talk != summary.firstTalk.end() && talk->line < loop.line; ++talk)
      firstSpoken_.emplace(talk->character, LineRef{b, talk->line});
    const int slot = slotRun(loop.blockId);
    if (slot >= 0 && blockSaid_[slot] == 1) firstSpoken_.emplace(loop.character, LineRef{b, loop.line});
  }
  for (; talk != summary.firstTalk.end(); ++talk) firstSpoken_.emplace(talk->character, LineRef{b, talk->line});
}

// Answers as text, so that any two can be compared.
namespace {

std::string NumberAnswer(int64_t number) { return std::to_string(number); }

std::string NumbersAnswer(const std::vector<int>& numbers) {
  std::string text;
  for (int number : numbers) text += std::to_string(number) + ',';
  return text;
}

std::string PlaceAnswer(const ProblemPlace* place) {
  if (!place) return "-";
  return NumbersAnswer({place->branch, place->line, place->response, place->blockSlot, place->character});
}

// A block is the same block while it is the same object: the cache that
// compares answers keeps the document it noted them in, so the object
// lives and no other block can take its address.
std::string IdentityAnswer(const void* object) { return std::to_string(reinterpret_cast<uintptr_t>(object)); }

ProblemPlace PlaceFromAnswer(std::string_view text) {
  ProblemPlace place;
  int* parts[] = {&place.branch, &place.line, &place.response, &place.blockSlot, &place.character};
  size_t at = 0;
  for (int* part : parts) {
    size_t comma = text.find(',', at);
    *part = std::stoi(std::string(text.substr(at, comma - at)));
    at = comma + 1;
  }
  return place;
}

}  // namespace

std::string LintRun::answer(BranchReads::Question question, std::string_view text, int64_t number) const {
  using Q = BranchReads::Question;
  const int index = static_cast<int>(number);
  switch (question) {
    case Q::BranchNamed:
      return NumberAnswer(findBranch(text));
    case Q::BranchNamedIgnoringCase:
      return NumberAnswer(findBranchIgnoringCase(text));
    case Q::BranchName:
      return document_.branch(index).name.str();
    case Q::SlotsWithId:
      return NumbersAnswer(findSlots(static_cast<int32_t>(number)));
    case Q::Block:
      return IdentityAnswer(&document_.responseBlocks[index]);
    case Q::HasFreeBlockSlot:
      return NumberAnswer(document_.responseBlocks.stored() < kBlockSlots);
    case Q::FirstUserOf: {
      LineRef first = users_[index].empty() ? LineRef{} : users_[index].front();
      return NumbersAnswer({first.branch, first.line});
    }
    case Q::CharactersNamed:
      return NumbersAnswer(findCharacters(text));
    case Q::CharacterNamedIgnoringCase:
      return NumberAnswer(findCharacterIgnoringCase(text));
    case Q::CharacterName:
      return document_.characters[index].realName.str();
    case Q::FirstWithKey:  // the key noted folded
      return PlaceAnswer(keys_.first(std::string(text)));
    case Q::UsesKeys:
      return NumberAnswer(!keys_.empty());
    case Q::LinkedFromElsewhere:
      return NumberAnswer(linkedFromElsewhere_[index]);
    case Q::DescribePlace:  // the place noted as PlaceAnswer's numbers
      return DescribePlace(document_, PlaceFromAnswer(text));
  }
  return {};
}

void LintRun::note(BranchReads::Question question, std::string_view text, int64_t number) const {
  if (!reads_) return;
  if (std::string* noted = reads_->add(question, text, number)) *noted = answer(question, text, number);
}

void BranchReads::clear() {
  reads_.clear();
  asked_.clear();
  keys_.clear();
}

std::string* BranchReads::add(Question question, std::string_view text, int64_t number) {
  if (question == Question::FirstWithKey) {
    auto [it, added] = keys_.try_emplace(std::string(text));
    return added ? &it->second : nullptr;
  }
  std::string asked = std::to_string(static_cast<int>(question)) + ':' + std::to_string(number) + ':';
  asked += text;
  if (!asked_.insert(std::move(asked)).second) return nullptr;
  return &reads_.emplace_back(Read{question, std::string(text), number, {}}).answer;
}

bool BranchReads::holdIn(const LintRun& run, const std::unordered_set<std::string>* changedKeys) const {
  for (const Read& read : reads_)
    if (run.answer(read.question, read.text, read.number) != read.answer) return false;
  auto holds = [&](const std::string& key, const std::string& answer) {
    return run.answer(Question::FirstWithKey, key, 0) == answer;
  };
  if (changedKeys && changedKeys->size() < keys_.size()) {
    for (const std::string& key : *changedKeys)
      if (auto it = keys_.find(key); it != keys_.end() && !holds(key, it->second)) return false;
  } else {
    for (const auto& [key, answer] : keys_)
      if ((!changedKeys || changedKeys->contains(key)) && !holds(key, answer)) return false;
  }
  return true;
}

int LintRun::findBranch(std::string_view name) const {
  auto it = branchByName_.find(name);
  return it == branchByName_.end() ? -1 : it->second;
}

int LintRun::findBranchIgnoringCase(std::string_view name) const {
  auto it = branchByFoldedName_.find(FoldedCase1252(name));
  return it == branchByFoldedName_.end() ? -1 : it->second;
}

const std::vector<int>& LintRun::findSlots(int32_t id) const {
  static const std::vector<int> kNone;
  auto it = slotsById_.find(id);
  return it == slotsById_.end() ? kNone : it->second;
}

const std::vector<int>& LintRun::findCharacters(std::string_view realName) const {
  static const std::vector<int> kNone;
  auto it = charactersByName_.find(realName);
  return it == charactersByName_.end() ? kNone : it->second;
}

int LintRun::findCharacterIgnoringCase(std::string_view realName) const {
  for (int c = 0; c < static_cast<int>(document_.characters.size()); ++c)
    if (EqualsIgnoringCase1252(document_.characters[c].realName, realName)) return c;
  return -1;
}

using Question = BranchReads::Question;

int LintRun::branchNamed(std::string_view name) const {
  note(Question::BranchNamed, name, 0);
  return findBranch(name);
}

int LintRun::branchNamedIgnoringCase(std::string_view name) const {
  note(Question::BranchNamedIgnoringCase, name, 0);
  return findBranchIgnoringCase(name);
}

const Text& LintRun::branchName(int branch) const {
  note(Question::BranchName, {}, branch);
  return document_.branch(branch).name;
}

const std::vector<int>& LintRun::slotsWithId(int32_t id) const {
  note(Question::SlotsWithId, {}, id);
  return findSlots(id);
}

const ResponseBlock& LintRun::block(int slot) const {
  note(Question::Block, {}, slot);
  return document_.responseBlocks[slot];
}

bool LintRun::hasFreeBlockSlot() const {
  note(Question::HasFreeBlockSlot, {}, 0);
  return document_.responseBlocks.stored() < kBlockSlots;
}

int LintRun::blockSlotOf(int32_t id) const {
  if (id < 1) return -1;
  const std::vector<int>& slots = slotsWithId(id);
  return slots.empty() ? -1 : slots.front();
}

const std::vector<LineRef>& LintRun::usersOf(int slot) const { return users_[slot]; }

LineRef LintRun::firstUserOf(int slot) const {
  note(Question::FirstUserOf, {}, slot);
  return users_[slot].empty() ? LineRef{} : users_[slot].front();
}

const std::vector<int>& LintRun::charactersNamed(std::string_view realName) const {
  note(Question::CharactersNamed, realName, 0);
  return findCharacters(realName);
}

int LintRun::characterNamedIgnoringCase(std::string_view realName) const {
  note(Question::CharacterNamedIgnoringCase, realName, 0);
  return findCharacterIgnoringCase(realName);
}

const Text& LintRun::characterName(int character) const {
  note(Question::CharacterName, {}, character);
  return document_.characters[character].realName;
}

LineRef LintRun::firstSpokenLine(std::string_view realName) const {
  auto it = firstSpoken_.find(realName);
  return it == firstSpoken_.end() ? LineRef{} : it->second;
}

const ProblemPlace* LintRun::firstWithKey(std::string_view key) const {
  const std::string folded = FoldedStringKey(key);
  note(Question::FirstWithKey, folded, 0);
  return keys_.first(folded);
}

bool LintRun::usesKeys() const {
  note(Question::UsesKeys, {}, 0);
  return !keys_.empty();
}

bool LintRun::linkedFromElsewhere(int index) const {
  note(Question::LinkedFromElsewhere, {}, index);
  return linkedFromElsewhere_[index];
}

std::string LintRun::describe(const ProblemPlace& place) const {
  note(Question::DescribePlace, PlaceAnswer(&place), 0);
  return DescribePlace(document_, place);
}

}  // namespace tellwright::lint
