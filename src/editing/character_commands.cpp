#include "editing/character_commands.h"

#include <algorithm>

#include "editing/text_rules.h"

namespace tellwright {

namespace {

bool SameNames(const Character& character, const PickerNames& names) {
  return character.realName == names.realName && character.entityName == names.entityName;
}

// The checks of Add and Edit; `ignore` marks the characters being edited,
// whose own real name does not count as taken.
Status CheckCharacterNames(const std::vector<Character>& characters, const std::vector<char>& ignore,
                           const std::string& realName, const std::string& entityName) {
  if (realName.empty()) return Status::Error(std::string(kNoRealNameMessage));
  if (entityName.empty()) return Status::Error(std::string(kNoEntityNameMessage));
  for (size_t i = 0; i < characters.size(); ++i)
    if (!ignore[i] && characters[i].realName == realName) return Status::Error(std::string(kDuplicateRealNameMessage));
  Status text = CheckNoLineBreak(realName, "A character's real name");
  if (!text) return text;
  return CheckNoLineBreak(entityName, "A WME entity name");
}

}  // namespace

std::optional<PickerNames> PickedCharacter(const std::vector<Character>& characters, std::string_view entry) {
  if (entry == kNoCharacterEntry) return std::nullopt;
  for (const Character& character : characters)
    if (PickerEntry(character) == entry) return PickerNames{character.realName, character.entityName};
  return std::nullopt;
}

std::string RealNameOfPickedCharacter(const std::vector<Character>& characters, std::string_view entry) {
  std::optional<PickerNames> picked = PickedCharacter(characters, entry);
  return picked ? picked->realName : RealNameFromPickerEntry(entry);
}

EditResult AddCharacter(DialogueDocument& document, const std::string& realName, const std::string& entityName) {
  std::vector<char> ignoreNone(document.characters.size(), 0);
  Status check = CheckCharacterNames(document.characters, ignoreNone, realName, entityName);
  if (!check) return {false, check, {}};
  document.characters.push_back(Character{realName, entityName});
  return EditResult::Changed();
}

EditResult EditCharacter(DialogueDocument& document, std::string_view entry, const std::string& newRealName,
                         const std::string& newEntityName) {
  std::optional<PickerNames> old = PickedCharacter(document.characters, entry);
  if (!old) return EditResult::Unchanged();
  std::vector<char> marked(document.characters.size(), 0);
  for (size_t i = 0; i < document.characters.size(); ++i) marked[i] = SameNames(document.characters[i], *old);
  Status check = CheckCharacterNames(document.characters, marked, newRealName, newEntityName);
  if (!check) return {false, check, {}};
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

EditResult DeleteCharacter(DialogueDocument& document, std::string_view entry) {
  std::optional<PickerNames> old = PickedCharacter(document.characters, entry);
  if (!old) return EditResult::Unchanged();
  std::erase_if(document.characters, [&](const Character& character) { return SameNames(character, *old); });
  return EditResult::Changed();
}

}  // namespace tellwright
