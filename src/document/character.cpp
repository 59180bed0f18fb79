#include "document/character.h"

namespace tellwright {

std::string PickerEntry(const Character& character) {
  return character.realName + " (" + character.entityName + ")";
}

std::vector<std::string> PickerEntries(const std::vector<Character>& characters) {
  std::vector<std::string> entries;
  entries.reserve(characters.size() + 1);
  entries.emplace_back(kNoCharacterEntry);
  for (const Character& character : characters) entries.push_back(PickerEntry(character));
  return entries;
}

std::string RealNameFromPickerEntry(std::string_view entry) {
  if (entry == kNoCharacterEntry) return {};
  return std::string(entry.substr(0, entry.find(" (")));
}

PickerNames ParsePickerEntry(std::string_view entry) {
  size_t open = entry.find(" (");
  if (open == std::string_view::npos) return {std::string(entry), {}};
  std::string_view rest = entry.substr(open + 2);
  return {std::string(entry.substr(0, open)), std::string(rest.substr(0, rest.find(')')))};
}

}  // namespace tellwright
