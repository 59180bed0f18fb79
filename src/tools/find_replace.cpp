#include "tools/find_replace.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "base/cp1252_case.h"
#include "editing/branch_commands.h"
#include "editing/character_commands.h"
#include "editing/response_commands.h"
#include "editing/text_rules.h"
#include "export/document_index.h"
#include "tools/string_keys.h"

namespace tellwright {

namespace {

constexpr unsigned kLineFields = kFieldTalkText | kFieldCodeline | kFieldRemark | kFieldSoundFile;
constexpr unsigned kResponseFields = kFieldResponseText | kFieldConditions | kFieldLink;

constexpr std::string_view kMatchGoneMessage =
    "The text found is no longer there: the dialogue changed since the search. Search again.";

const std::array<unsigned char, 256>& FoldTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> folded{};
    for (int byte = 0; byte < 256; ++byte)
      folded[byte] = static_cast<unsigned char>(FoldCase1252(static_cast<char>(byte)));
    return folded;
  }();
  return table;
}

// The query's occurrences in one text, left to right, not overlapping.
class Finder {
 public:
  explicit Finder(const SearchQuery& query) : query_(query), fold_(FoldTable()) {
    for (char c : query.text) folded_ += static_cast<char>(fold_[static_cast<unsigned char>(c)]);
  }

  size_t length() const { return query_.text.size(); }

  template <typename Found>
  void each(std::string_view text, Found&& found) const {
    if (query_.text.empty()) return;
    for (size_t at = find(text, 0); at != std::string_view::npos;) {
      if (!query_.wholeWords || isWholeWord(text, at)) {
        found(at);
        at = find(text, at + length());
      } else {
        at = find(text, at + 1);
      }
    }
  }

  // `text` with every occurrence replaced, or nothing when it has none;
  // `count` grows by the number replaced.
  std::optional<std::string> replaced(std::string_view text, std::string_view replacement, int& count) const {
    std::optional<std::string> result;
    size_t copied = 0;
    each(text, [&](size_t at) {
      if (!result) result.emplace();
      result->append(text.substr(copied, at - copied));
      result->append(replacement);
      copied = at + length();
      ++count;
    });
    if (result) result->append(text.substr(copied));
    return result;
  }

  bool occursIn(std::string_view text) const {
    bool found = false;
    each(text, [&](size_t) { found = true; });
    return found;
  }

 private:
  size_t find(std::string_view text, size_t from) const {
    if (query_.matchCase) return text.find(query_.text, from);
    const size_t n = folded_.size();
    if (from > text.size() || n > text.size() - from) return std::string_view::npos;
    const auto first = static_cast<unsigned char>(folded_[0]);
    for (size_t at = from, last = text.size() - n; at <= last; ++at) {
      if (fold_[static_cast<unsigned char>(text[at])] != first) continue;
      size_t k = 1;
      while (k < n && fold_[static_cast<unsigned char>(text[at + k])] == static_cast<unsigned char>(folded_[k])) ++k;
      if (k == n) return at;
    }
    return std::string_view::npos;
  }

  bool isWholeWord(std::string_view text, size_t at) const {
    size_t end = at + length();
    return (at == 0 || !IsWordByte1252(text[at - 1])) && (end == text.size() || !IsWordByte1252(text[end]));
  }

  const SearchQuery& query_;
  const std::array<unsigned char, 256>& fold_;
  std::string folded_;
};

// The first block slot holding each id in use, as the lines find their blocks.
std::unordered_map<int32_t, int> FirstSlotById(const DialogueDocument& document) {
  std::unordered_map<int32_t, int> slots;
  for (int slot = 0; slot < document.responseBlocks.stored(); ++slot) {
    int32_t id = document.responseBlocks[slot].id;
    if (id >= 1) slots.try_emplace(id, slot);
  }
  return slots;
}

// A talkline's or response's text as the writer reads it: without its
// string-table key, which only the engine reads.
std::string_view WithoutKey(std::string_view text) { return SplitKeyedText(text).text; }

// Where `part`, a view into `whole`, starts in it.
size_t OffsetIn(std::string_view whole, std::string_view part) {
  return static_cast<size_t>(part.data() - whole.data());
}

// Calls visit(place, field, text, searched) for every text the fields name,
// in the order FindMatches reports them; `searched` is the part of `text` a
// search looks in (a talkline's or response's text without its key). After
// each branch carryOn() says whether to go on; true when every text was
// visited.
template <typename Visit, typename CarryOn>
bool ForEachField(const DialogueDocument& document, unsigned fields, Visit&& visit, CarryOn&& carryOn) {
  const bool responses = fields & kResponseFields;
  std::unordered_map<int32_t, int> slotById;
  if (responses) slotById = FirstSlotById(document);
  std::vector<char> blockVisited(kBlockSlots, 0);
  auto visitBlock = [&](int slot, int branch, int line) {
    blockVisited[slot] = 1;
    const ResponseBlock& block = document.responseBlocks[slot];
    for (int r = 0, used = block.usedResponses(); r < used; ++r) {
      const Response& response = block.responses[r];
      MatchPlace place{.branch = branch, .line = line, .response = r, .blockSlot = slot};
      if (fields & kFieldResponseText) visit(place, kFieldResponseText, response.text, WithoutKey(response.text));
      if (fields & kFieldConditions) visit(place, kFieldConditions, response.conditions, response.conditions);
      if (fields & kFieldLink) visit(place, kFieldLink, response.linkBranch, response.linkBranch);
    }
  };
  if (fields & (kLineFields | kResponseFields | kFieldBranchName)) {
    for (int b = 0; b < BranchesToVisit(document); ++b) {
      const DialogueBranch& branch = document.branch(b);
      if (fields & kFieldBranchName) visit(MatchPlace{.branch = b}, kFieldBranchName, branch.name, branch.name);
      if (!(fields & (kLineFields | kResponseFields))) continue;
      for (int l = 0; l < LinesToVisit(branch); ++l) {
        const DialogueLine& line = branch.lines[l];
        const MatchPlace place{.branch = b, .line = l};
        switch (KindOf(line.kind)) {
          case LineKind::Talk:
            if (fields & kFieldTalkText) visit(place, kFieldTalkText, line.text, WithoutKey(line.text));
            if (fields & kFieldSoundFile) visit(place, kFieldSoundFile, line.soundFile, line.soundFile);
            break;
          case LineKind::Code:
            if (fields & kFieldCodeline) visit(place, kFieldCodeline, line.text, line.text);
            break;
          case LineKind::Remark:
            if (fields & kFieldRemark) visit(place, kFieldRemark, line.text, line.text);
            break;
          case LineKind::Response:
            if (responses) {
              auto slot = slotById.find(line.blockId);
              if (slot != slotById.end() && !blockVisited[slot->second]) visitBlock(slot->second, b, l);
            }
            break;
          default:
            break;
        }
      }
      if (!carryOn()) return false;
    }
  }
  if (responses)
    for (int slot = 0; slot < document.responseBlocks.stored(); ++slot)
      if (document.responseBlocks[slot].inUse() && !blockVisited[slot]) visitBlock(slot, -1, -1);
  for (int c = 0; c < static_cast<int>(document.characters.size()); ++c) {
    const Character& character = document.characters[c];
    if (fields & kFieldCharacterName)
      visit(MatchPlace{.character = c}, kFieldCharacterName, character.realName, character.realName);
    if (fields & kFieldEntityName)
      visit(MatchPlace{.character = c}, kFieldEntityName, character.entityName, character.entityName);
  }
  return true;
}

template <typename Visit>
void ForEachField(const DialogueDocument& document, unsigned fields, Visit&& visit) {
  ForEachField(document, fields, visit, [] { return true; });
}

// The text a match names, or nullptr when its place holds no such text now.
const Text* FieldText(const DialogueDocument& document, const MatchPlace& place, SearchField field) {
  if (field & (kLineFields | kFieldBranchName)) {
    if (place.branch < 0 || place.branch >= BranchesToVisit(document)) return nullptr;
    const DialogueBranch& branch = document.branch(place.branch);
    if (field == kFieldBranchName) return &branch.name;
    if (place.line < 0 || place.line >= LinesToVisit(branch)) return nullptr;
    const DialogueLine& line = branch.lines[place.line];
    LineKind kind = KindOf(line.kind);
    if (field == kFieldSoundFile) return kind == LineKind::Talk ? &line.soundFile : nullptr;
    LineKind expected = field == kFieldTalkText   ? LineKind::Talk
                        : field == kFieldCodeline ? LineKind::Code
                                                  : LineKind::Remark;
    return kind == expected ? &line.text : nullptr;
  }
  if (field & kResponseFields) {
    if (place.blockSlot < 0 || place.blockSlot >= kBlockSlots) return nullptr;
    const ResponseBlock& block = document.responseBlocks[place.blockSlot];
    if (!block.inUse() || place.response < 0 || place.response >= block.usedResponses()) return nullptr;
    const Response& response = block.responses[place.response];
    return field == kFieldResponseText ? &response.text
           : field == kFieldConditions ? &response.conditions
                                       : &response.linkBranch;
  }
  if (place.character < 0 || place.character >= static_cast<int>(document.characters.size())) return nullptr;
  const Character& character = document.characters[place.character];
  return field == kFieldCharacterName ? &character.realName : &character.entityName;
}

Text& EditableFieldText(DialogueDocument& document, const MatchPlace& place, SearchField field) {
  if (field & kLineFields) {
    DialogueLine& line = document.editBranch(place.branch).lines.slot(place.line);
    return field == kFieldSoundFile ? line.soundFile : line.text;
  }
  Response& response = document.responseBlocks.slot(place.blockSlot).responses.slot(place.response);
  return field == kFieldResponseText ? response.text
         : field == kFieldConditions ? response.conditions
                                     : response.linkBranch;
}

bool IsKeyedField(SearchField field) { return field == kFieldTalkText || field == kFieldResponseText; }

bool SpeaksByName(const DialogueLine& line) {
  LineKind kind = KindOf(line.kind);
  return kind == LineKind::Talk || kind == LineKind::Response;
}

// Gives the talklines and responseblock lines that name a character by an
// old name its new one.
void RenameSpeakers(DialogueDocument& document, const std::map<std::string, std::string, std::less<>>& newNames) {
  if (newNames.empty()) return;
  for (int b = 0; b < BranchesToVisit(document); ++b) {
    const DialogueBranch* branch = &document.branch(b);
    for (int l = 0; l < LinesToVisit(*branch); ++l) {
      const DialogueLine& line = branch->lines[l];
      if (!SpeaksByName(line)) continue;
      auto renamed = newNames.find(line.character);
      if (renamed == newNames.end()) continue;
      document.editBranch(b).lines.slot(l).character = renamed->second;
      branch = &document.branch(b);  // the branch written is now this document's own
    }
  }
}

// The branches with a talkline or responseblock line naming one of `names`.
void AddSpeakerBranches(const DialogueDocument& document, const std::set<std::string, std::less<>>& names,
                        std::vector<int>& branches) {
  if (names.empty()) return;
  for (int b = 0; b < BranchesToVisit(document); ++b) {
    const DialogueBranch& branch = document.branch(b);
    for (int l = 0; l < LinesToVisit(branch); ++l) {
      const DialogueLine& line = branch.lines[l];
      if (SpeaksByName(line) && names.count(line.character)) {
        branches.push_back(b);
        break;
      }
    }
  }
}

void Normalize(ReplaceReach& reach) {
  std::sort(reach.branches.begin(), reach.branches.end());
  reach.branches.erase(std::unique(reach.branches.begin(), reach.branches.end()), reach.branches.end());
}

void AddToReach(ReplaceReach& reach, const MatchPlace& place, SearchField field) {
  if (field & kLineFields) {
    reach.branches.push_back(place.branch);
  } else if (field & kResponseFields) {
    if (!reach.blocks) reach.blockSlot = place.blockSlot;
    if (reach.blockSlot != place.blockSlot) reach.blockSlot = -1;
    reach.blocks = true;
  } else if (field == kFieldBranchName) {
    reach.branchNames = true;
    reach.blocks = true;
    reach.blockSlot = -1;
  } else {
    reach.characters = true;
  }
}

EditResult RefusedBy(const Status& status) { return {false, status, {}}; }

// A replaced text, waiting to be stored.
struct PlannedText {
  MatchPlace place;
  SearchField field;
  std::string text;
};

// The check of the character editor over the character list after every
// replacement: characters with the same two names before count as one.
Status CheckCharacters(const std::vector<Character>& before, const std::vector<Character>& after) {
  for (size_t i = 0; i < after.size(); ++i) {
    if (after[i] == before[i]) continue;
    if (after[i].realName.empty()) return Status::Error(std::string(kNoRealNameMessage));
    if (after[i].entityName.empty()) return Status::Error(std::string(kNoEntityNameMessage));
    for (size_t k = 0; k < after.size(); ++k)
      if (k != i && !(before[k] == before[i]) && after[k].realName == after[i].realName)
        return Status::Error(std::string(kDuplicateRealNameMessage));
  }
  return Status::Ok();
}

// Links to a renamed branch follow it, each link once from its old value, as
// RenameBranch rewrites them: responses in use, names other than "".
void FollowRenamedBranches(DialogueDocument& document, const std::map<std::string, std::string, std::less<>>& newNames) {
  if (newNames.empty()) return;
  for (int slot = 0; slot < document.responseBlocks.stored(); ++slot) {
    const ResponseBlock* block = &document.responseBlocks[slot];
    for (int r = 0; r < block->responses.stored(); ++r) {
      const Response& response = block->responses[r];
      if (!response.inUse()) continue;
      auto renamed = newNames.find(response.linkBranch);
      if (renamed == newNames.end()) continue;
      document.responseBlocks.slot(slot).responses.slot(r).linkBranch = renamed->second;
      block = &document.responseBlocks[slot];  // the block written is now this document's own
    }
  }
}

}  // namespace

bool IsWordByte1252(char c) {
  static const std::array<bool, 256> words = [] {
    std::array<bool, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
      unsigned char folded = FoldTable()[byte];
      if (folded != byte) table[byte] = table[folded] = true;  // a capital and its small letter
    }
    for (int byte : {0xDF, 0xFF, 0x83, 0xAA, 0xB5, 0xBA, int{'_'}}) table[byte] = true;
    for (int byte = '0'; byte <= '9'; ++byte) table[byte] = true;
    return table;
  }();
  return words[static_cast<unsigned char>(c)];
}

bool SearchMatches(const DialogueDocument& document, const SearchQuery& query,
                   const std::function<void(Match&&)>& found, const std::function<bool()>& carryOn) {
  if (query.text.empty()) return true;
  Finder finder(query);
  return ForEachField(
      document, query.fields,
      [&](const MatchPlace& place, SearchField field, std::string_view text, std::string_view searched) {
        const size_t base = OffsetIn(text, searched);
        finder.each(searched, [&](size_t at) {
          size_t from = at > kContextBytes ? at - kContextBytes : 0;
          size_t to = std::min(searched.size(), at + finder.length() + kContextBytes);
          found({place, field, base + at, finder.length(), std::string(searched.substr(from, to - from)), at - from});
        });
      },
      carryOn);
}

std::vector<Match> FindMatches(const DialogueDocument& document, const SearchQuery& query) {
  std::vector<Match> matches;
  SearchMatches(
      document, query, [&](Match&& match) { matches.push_back(std::move(match)); }, [] { return true; });
  return matches;
}

EditResult ReplaceMatch(DialogueDocument& document, const Match& match, std::string_view replacement,
                        const ReplaceOptions& options) {
  if (Status text = CheckNoLineBreak(replacement, "The replacement text"); !text) return RefusedBy(text);
  const Text* found = FieldText(document, match.place, match.field);
  if (!found || match.offset > found->size() || match.length > found->size() - match.offset ||
      match.contextOffset > match.context.size() ||
      found->substr(match.offset, match.length) != std::string_view(match.context).substr(match.contextOffset, match.length))
    return EditResult::Refused(std::string(kMatchGoneMessage));
  const size_t keyLength = IsKeyedField(match.field) ? SplitKeyedText(*found).keyLength : 0;
  if (match.offset < keyLength) return EditResult::Refused(std::string(kMatchGoneMessage));
  std::string newText(*found);
  newText.replace(match.offset, match.length, replacement);
  if (newText == *found) return EditResult::Unchanged();

  switch (match.field) {
    case kFieldBranchName:
      if (newText.empty()) return EditResult::Refused(std::string(kEmptyBranchNameMessage));
      RenameBranch(document, match.place.branch, newText);
      return EditResult::Changed();
    case kFieldCharacterName:
    case kFieldEntityName: {
      const Character old = document.characters[match.place.character];
      const bool real = match.field == kFieldCharacterName;
      EditResult edited = EditCharacter(document, match.place.character + 1, real ? newText : old.realName,
                                        real ? old.entityName : newText);
      if (edited.changed && real && options.renameSpeakers)
        RenameSpeakers(document, {{std::string(old.realName), newText}});
      return edited;
    }
    case kFieldResponseText:
      if (newText.size() == keyLength) return EditResult::Refused(std::string(kEmptyResponseMessage));
      [[fallthrough]];
    default:
      EditableFieldText(document, match.place, match.field) = std::move(newText);
      return EditResult::Changed();
  }
}

ReplaceAllResult ReplaceAll(DialogueDocument& document, const SearchQuery& query, std::string_view replacement,
                            const ReplaceOptions& options) {
  if (Status text = CheckNoLineBreak(replacement, "The replacement text"); !text) return {0, RefusedBy(text)};
  Finder finder(query);
  int count = 0;
  std::vector<PlannedText> texts;
  std::map<std::string, std::string, std::less<>> branchNames;  // old name -> new name
  std::vector<std::pair<int, std::string>> renamedBranches;
  std::vector<Character> characters = document.characters;
  bool emptiedResponse = false;  // a response's text, its key aside, would be empty
  ForEachField(document, query.fields, [&](const MatchPlace& place, SearchField field, std::string_view text,
                                           std::string_view searched) {
    std::optional<std::string> replaced = finder.replaced(searched, replacement, count);
    if (!replaced || *replaced == searched) return;
    if (field == kFieldResponseText && replaced->empty()) emptiedResponse = true;
    std::string newText = std::string(text.substr(0, OffsetIn(text, searched))) + *replaced;
    if (field == kFieldBranchName) {
      branchNames.emplace(std::string(text), newText);
      renamedBranches.emplace_back(place.branch, std::move(newText));
    } else if (field == kFieldCharacterName) {
      characters[place.character].realName = std::move(newText);
    } else if (field == kFieldEntityName) {
      characters[place.character].entityName = std::move(newText);
    } else {
      texts.push_back({place, field, std::move(newText)});
    }
  });

  if (emptiedResponse) return {0, EditResult::Refused(std::string(kEmptyResponseMessage))};
  for (const auto& [branch, name] : renamedBranches)
    if (name.empty()) return {0, EditResult::Refused(std::string(kEmptyBranchNameMessage))};
  if (Status check = CheckCharacters(document.characters, characters); !check) return {0, RefusedBy(check)};
  if (texts.empty() && renamedBranches.empty() && characters == document.characters)
    return {count, EditResult::Unchanged()};

  // Links first, from their old values: a link the search also replaces
  // then gets the same new value from its own replacement.
  FollowRenamedBranches(document, branchNames);
  for (auto& [branch, name] : renamedBranches) document.editBranch(branch).name = std::move(name);
  for (PlannedText& planned : texts)
    EditableFieldText(document, planned.place, planned.field) = std::move(planned.text);
  if (options.renameSpeakers) {
    std::map<std::string, std::string, std::less<>> speakers;
    for (size_t i = 0; i < characters.size(); ++i)
      if (characters[i].realName != document.characters[i].realName)
        speakers.emplace(std::string(document.characters[i].realName), std::string(characters[i].realName));
    RenameSpeakers(document, speakers);
  }
  document.characters = std::move(characters);
  return {count, EditResult::Changed()};
}

ChangeScope ReplaceReach::scope() const {
  ChangeScope scope;
  if (branchNames) scope.parts |= kScopeBranchTable;
  if (blocks) scope.parts |= kScopeBlocks;
  if (characters) scope.parts |= kScopeCharacters;
  scope.blockSlot = blockSlot;
  scope.branches = branches;
  return scope;
}

ReplaceReach ReachOfReplace(const DialogueDocument& document, const Match& match, const ReplaceOptions& options) {
  ReplaceReach reach;
  AddToReach(reach, match.place, match.field);
  if (match.field == kFieldCharacterName && options.renameSpeakers) {
    if (const Text* name = FieldText(document, match.place, match.field))
      AddSpeakerBranches(document, {std::string(*name)}, reach.branches);
  }
  Normalize(reach);
  return reach;
}

ReplaceReach ReachOfReplaceAll(const DialogueDocument& document, const SearchQuery& query,
                               const ReplaceOptions& options) {
  ReplaceReach reach;
  std::set<std::string, std::less<>> renamedCharacters;
  Finder finder(query);
  ForEachField(document, query.fields, [&](const MatchPlace& place, SearchField field, std::string_view text,
                                           std::string_view searched) {
    if (!finder.occursIn(searched)) return;
    AddToReach(reach, place, field);
    if (field == kFieldCharacterName) renamedCharacters.emplace(text);
  });
  if (options.renameSpeakers) AddSpeakerBranches(document, renamedCharacters, reach.branches);
  Normalize(reach);
  return reach;
}

}  // namespace tellwright
