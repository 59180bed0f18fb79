#include "editing/character_commands.h"

#include <algorithm>

#include "editing/text_rules.h"

namespace tellwright {

namespace {

bool SameNames(const Character& a, const Character& b) {
  return a.realName == b.realName && a.entityName == b.entityName;
}

// The checks of Add and Edit; `ignore` marks the characters being edited,
// whose own real name does not count as taken.
Status CheckCharacterNames(const std::vector<Character>& characters, const std::vector<char>& ignore,
                           std::string_view realName, std::string_view entityName) {
  if (realName.empty()) return Status::Error(std::string(kNoRealNameMessage));
  if (entityName.empty()) return Status::Error(std::string(kNoEntityNameMessage));
  for (size_t i = 0; i < characters.size(); ++i)
    if (!ignore[i] && characters[i].realName == realName) return Status::Error(std::string(kDuplicateRealNameMessage));
  Status text = CheckNoLineBreak(realName, "A character's real name");
  if (!text) return text;
  return CheckNoLineBreak(entityName, "A WME entity name");
}

}  // namespace

const Character* CharacterAtRow(const std::vector<Character>& characters, int pickerRow) {
  if (pickerRow <= kNoCharacterRow || pickerRow > static_cast<int>(characters.size())) return nullptr;
  return &characters[static_cast<size_t>(pickerRow - 1)];
}

EditResult AddCharacter(DialogueDocument& document, const Text& realName, const Text& entityName) {
  std::vector<char> ignoreNone(document.characters.size(), 0);
  Status check = CheckCharacterNames(document.characters, ignoreNone, realName, entityName);
  if (!check) return {false, check, {}};
  document.characters.push_back(Character{realName, entityName});
  return EditResult::Changed();
}

EditResult EditCharacter(DialogueDocument& document, int pickerRow, const Text& newRealName,
                         const Text& newEntityName) {
  const Character* picked = CharacterAtRow(document.characters, pickerRow);
  if (!picked) return EditResult::Unchanged();
  const Character old = *picked;
  std::vector<char> marked(document.characters.size(), 0);
  for (size_t i = 0; i < document.characters.size(); ++i) marked[i] = SameNames(document.characters[i], old);
  Status check = CheckCharacterNames(document.characters, marked, newRealName, newEntityName);
  if (!check) return {false, check, {}};
  if (old.realName == newRealName && old.entityName == newEntityName) return EditResult::Unchanged();
  for (size_t i = 0; i < document.characters.size(); ++i) {
    if (!marked[i]) continue;
    document.characters[i].realName = newRealName;
    document.characters[i].entityName = newEntityName;
  }
  return EditResult::Changed();
}

std::string DeleteCharacterQuestion(std::string_view realName) {
  return "Are you sure you want to delete character '" + std::string(realName) + "'?";
}

EditResult DeleteCharacter(DialogueDocument& document, int pickerRow) {
  const Character* picked = CharacterAtRow(document.characters, pickerRow);
  if (!picked) return EditResult::Unchanged();
  const Character old = *picked;
  std::erase_if(document.characters, [&](const Character& character) { return SameNames(character, old); });
  return EditResult::Changed();
}

}  // namespace tellwright
