#include "tools/string_keys.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/path_names.h"
#include "export/document_index.h"
#include "export/engine_text.h"

namespace tellwright {

namespace {

constexpr std::string_view kFallbackPrefix = "TEXT";
constexpr int kKeyDigits = 4;

bool IsAsciiLetterOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The number of a key "prefix" + digits, or -1 when the key is not one. A
// key of more digits than any number this program gives cannot be one it
// gives either.
long long NumberAfterPrefix(std::string_view key, std::string_view foldedPrefix) {
  constexpr size_t kMostDigits = 18;
  if (key.size() <= foldedPrefix.size() || FoldedStringKey(key.substr(0, foldedPrefix.size())) != foldedPrefix)
    return -1;
  std::string_view digits = key.substr(foldedPrefix.size());
  digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size() - 1));
  if (digits.size() > kMostDigits || !std::all_of(digits.begin(), digits.end(), IsDigit)) return -1;
  long long number = 0;
  for (char c : digits) number = number * 10 + (c - '0');
  return number;
}

// Calls visit(text) for every talkline text of a branch, and every
// response text of a block, the project file holds: the keys in use,
// whether the game shows them or not.
template <typename Visit>
void ForEachStoredText(const DialogueBranch& branch, Visit&& visit) {
  for (int l = 0; l < LinesToVisit(branch); ++l)
    if (KindOf(branch.lines[l].kind) == LineKind::Talk) visit(branch.lines[l].text);
}

template <typename Visit>
void ForEachStoredText(const ResponseBlock& block, Visit&& visit) {
  if (!block.inUse()) return;
  for (int r = 0, used = block.usedResponses(); r < used; ++r) visit(block.responses[r].text);
}

int BlocksToVisit(const DialogueDocument& document) { return std::min(document.responseBlocks.stored(), kBlockSlots); }

template <typename Visit>
void ForEachStoredText(const DialogueDocument& document, Visit&& visit) {
  for (int b = 0; b < BranchesToVisit(document); ++b) ForEachStoredText(document.branch(b), visit);
  for (int slot = 0; slot < BlocksToVisit(document); ++slot) ForEachStoredText(document.responseBlocks[slot], visit);
}

template <typename Part>
bool UsesKeys(const Part& part) {
  bool uses = false;
  ForEachStoredText(part, [&uses](std::string_view text) {
    if (!uses && !text.empty() && text.front() == '/') uses = SplitKeyedText(text).keyed;
  });
  return uses;
}

// Looks again at the slots of `now` that `seen` does not share, and keeps
// `now` as what was seen. True when a slot before `end` uses keys.
template <typename Table>
bool WatchSlots(Table& seen, std::vector<bool>& uses, const Table& now, int end) {
  uses.resize(static_cast<size_t>(now.stored()), false);
  bool any = false;
  for (int i = 0; i < now.stored(); ++i) {
    if (!seen.sharesSlot(now, i)) uses[i] = UsesKeys(now[i]);
    any = any || (i < end && uses[i]);
  }
  seen = now;
  return any;
}

// The highest number per folded prefix, filled on demand and raised as keys
// are given.
class KeyNumbers {
 public:
  explicit KeyNumbers(const DialogueDocument& document) : document_(document) {}

  std::string next(std::string_view prefix) {
    std::string folded = FoldedStringKey(prefix);
    auto found = highest_.find(folded);
    if (found == highest_.end()) found = highest_.emplace(folded, HighestKeyNumber(document_, prefix)).first;
    return KeyWithNumber(prefix, ++found->second);
  }

 private:
  const DialogueDocument& document_;
  std::map<std::string, long long> highest_;
};

KeyableText MakeKeyable(std::string_view stored, const ProblemPlace& place, bool response,
                        std::string_view character) {
  KeyedText split = SplitKeyedText(stored);
  return {place, response, split.keyed, std::string(split.key), std::string(split.text), std::string(character)};
}

Text& StoredText(DialogueDocument& document, const KeyableText& text) {
  if (text.response)
    return document.responseBlocks.slot(text.place.blockSlot).responses.slot(text.place.response).text;
  return document.editBranch(text.place.branch).lines.slot(text.place.line).text;
}

// A prefix taken over from a pasted key, in the letter case it has.
bool IsUsablePrefix(std::string_view prefix) {
  return !prefix.empty() &&
         std::all_of(prefix.begin(), prefix.end(), [](char c) { return IsAsciiLetterOrDigit(c) || c == '_'; });
}

// The prefix of a key this program gave: the key without its last digits.
std::string PrefixOf(std::string_view key) {
  size_t end = key.size();
  while (end > 0 && IsDigit(key[end - 1])) --end;
  return std::string(key.substr(0, end));
}

}  // namespace

KeyedText SplitKeyedText(std::string_view stored) {
  std::optional<StringTableText> split = SplitStringTableText(stored);
  if (!split) return {false, {}, stored, 0};
  return {true, split->key, split->rest, split->key.size() + 2};
}

bool ProjectUsesKeys(const DialogueDocument& document) { return UsesKeys(document); }

bool KeyUseWatch::usesKeys(const DialogueDocument& document) {
  bool branches = WatchSlots(branches_, branchUses_, document.branches, BranchesToVisit(document));
  bool blocks = WatchSlots(blocks_, blockUses_, document.responseBlocks, BlocksToVisit(document));
  return branches || blocks;
}

std::string WithKeptKey(std::string_view oldStored, std::string_view shown) {
  KeyedText old = SplitKeyedText(oldStored);
  std::string stored(oldStored.substr(0, old.keyLength));
  stored += shown;
  return stored;
}

std::string KeyedTextOf(std::string_view key, std::string_view text) {
  std::string stored = "/";
  stored += key;
  stored += '/';
  stored += text;
  return stored;
}

bool IsValidKeyPrefix(std::string_view prefix) {
  return !prefix.empty() && std::all_of(prefix.begin(), prefix.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '_';
  });
}

std::string DefaultKeyPrefix(std::string_view projectPath) {
  std::string_view name = FileNamePart(projectPath);
  name = name.substr(0, name.rfind('.'));
  std::string prefix;
  bool gap = false;
  for (char c : name) {
    if (IsAsciiLetterOrDigit(c) || c == '_') {
      if (gap && !prefix.empty()) prefix += '_';
      gap = false;
      prefix += Upper(c);
    } else {
      gap = true;
    }
  }
  while (!prefix.empty() && prefix.back() == '_') prefix.pop_back();
  if (std::none_of(prefix.begin(), prefix.end(), IsAsciiLetterOrDigit)) return std::string(kFallbackPrefix);
  return prefix;
}

std::string KeyWithNumber(std::string_view prefix, long long number) {
  std::string digits = std::to_string(number);
  if (digits.size() < kKeyDigits) digits.insert(0, kKeyDigits - digits.size(), '0');
  return std::string(prefix) + digits;
}

long long HighestKeyNumber(const DialogueDocument& document, std::string_view prefix) {
  const std::string folded = FoldedStringKey(prefix);
  long long highest = 0;
  ForEachStoredText(document, [&](std::string_view text) {
    if (text.empty() || text.front() != '/') return;
    KeyedText split = SplitKeyedText(text);
    if (split.keyed) highest = std::max(highest, NumberAfterPrefix(split.key, folded));
  });
  return highest;
}

std::vector<KeyableText> ListKeyableTexts(const DialogueDocument& document) {
  std::vector<KeyableText> texts;
  BlockIndex blocks(document);
  std::vector<bool> listed(kBlockSlots, false);
  for (int b = 0; b < BranchesToVisit(document); ++b) {
    const DialogueBranch& branch = document.branch(b);
    for (int l = 0; l < LinesToVisit(branch); ++l) {
      const DialogueLine& line = branch.lines[l];
      LineKind kind = KindOf(line.kind);
      if (kind == LineKind::Talk && !line.text.empty()) {
        texts.push_back(MakeKeyable(line.text, {.branch = b, .line = l}, false, line.character));
      } else if (kind == LineKind::Response) {
        std::optional<int> slot = FindBlockSlot(document, line.blockId);
        if (!slot || listed[*slot]) continue;
        listed[*slot] = true;
        const ResponseBlock& block = document.responseBlocks[*slot];
        for (int r = 0, used = block.usedResponses(); r < used; ++r)
          texts.push_back(MakeKeyable(block.responses[r].text,
                                      {.branch = b, .line = l, .response = r, .blockSlot = *slot}, true,
                                      line.character));
      }
    }
  }
  return texts;
}

std::vector<KeyableText> ListKeyedTexts(const DialogueDocument& document) {
  std::vector<KeyableText> texts = ListKeyableTexts(document);
  std::erase_if(texts, [](const KeyableText& text) { return !text.keyed; });
  return texts;
}

KeyAssignment AssignKeys(DialogueDocument& document, std::string_view prefix) {
  KeyAssignment result;
  if (!IsValidKeyPrefix(prefix)) {
    result.edit = EditResult::Refused(std::string(kInvalidPrefixMessage));
    return result;
  }
  std::vector<KeyableText> texts = ListKeyableTexts(document);
  long long number = HighestKeyNumber(document, prefix);
  for (const KeyableText& text : texts) {
    if (text.keyed) continue;
    std::string key = KeyWithNumber(prefix, ++number);
    StoredText(document, text) = KeyedTextOf(key, text.text);
    if (result.firstKey.empty()) result.firstKey = key;
    result.lastKey = std::move(key);
    ++result.assigned;
  }
  result.edit = result.assigned > 0 ? EditResult::Changed() : EditResult::Unchanged();
  return result;
}

ChangeScope ReachOfAssignKeys(const DialogueDocument& document) {
  ChangeScope scope;
  std::set<int> slots;
  for (const KeyableText& text : ListKeyableTexts(document)) {
    if (text.keyed) continue;
    if (!text.response) {
      if (scope.branches.empty() || scope.branches.back() != text.place.branch)
        scope.branches.push_back(text.place.branch);
    } else {
      slots.insert(text.place.blockSlot);
    }
  }
  if (!slots.empty()) {
    scope.parts |= kScopeBlocks;
    scope.blockSlot = slots.size() == 1 ? *slots.begin() : -1;
  }
  return scope;
}

PasteRekeying RekeyForPaste(const DialogueDocument& document, std::vector<DialogueLine> lines,
                            std::string_view fallbackPrefix) {
  PasteRekeying result;
  // Lines without keys (most pastes) need no look at the whole project.
  bool anyKeyed = std::any_of(lines.begin(), lines.end(), [](const DialogueLine& line) {
    return KindOf(line.kind) == LineKind::Talk && SplitKeyedText(line.text).keyed;
  });
  if (!anyKeyed) {
    result.lines = std::move(lines);
    return result;
  }
  std::set<std::string> keysInUse;
  ForEachStoredText(document, [&](std::string_view text) {
    KeyedText split = SplitKeyedText(text);
    if (split.keyed) keysInUse.insert(FoldedStringKey(split.key));
  });
  KeyNumbers numbers(document);
  for (DialogueLine& line : lines) {
    if (KindOf(line.kind) != LineKind::Talk) continue;
    KeyedText split = SplitKeyedText(line.text);
    if (!split.keyed) continue;
    if (keysInUse.insert(FoldedStringKey(split.key)).second) continue;
    std::string prefix = PrefixOf(split.key);
    if (!IsUsablePrefix(prefix)) prefix = IsValidKeyPrefix(fallbackPrefix) ? fallbackPrefix : kFallbackPrefix;
    // Numbered after the project's keys, and past the keys of earlier
    // pasted lines that were kept.
    std::string key;
    do key = numbers.next(prefix);
    while (!keysInUse.insert(FoldedStringKey(key)).second);
    line.text = KeyedTextOf(key, split.text);
    ++result.rekeyed;
  }
  result.lines = std::move(lines);
  return result;
}

}  // namespace tellwright
