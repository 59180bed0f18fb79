#include "document/character.h"

namespace tellwright {

std::string PickerEntry(const Character& character) {
  std::string entry(character.realName);
  entry += " (";
  entry += character.entityName;
  entry += ')';
  return entry;
}

std::vector<std::string> PickerEntries(const std::vector<Character>& characters) {
  std::vector<std::string> entries;
  entries.reserve(characters.size() + 1);
  entries.emplace_back(kNoCharacterEntry);
  for (const Character& character : characters) entries.push_back(PickerEntry(character));
  return entries;
}

}  // namespace tellwright
