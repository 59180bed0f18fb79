#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tellwright {

struct Character {
  std::string realName;    // the name used in dialogue lines
  std::string entityName;  // the WME entity name
  int32_t reserved = 0;    // not stored by any file format
  int32_t editMark = 0;    // scratch mark of the character editor

  friend bool operator==(const Character& a, const Character& b) {
    return a.realName == b.realName && a.entityName == b.entityName;
  }
};

inline constexpr std::string_view kNoCharacterEntry = "None";

// realName + " (" + entityName + ")".
std::string PickerEntry(const Character& character);

// "None", then one PickerEntry per character in list order.
std::vector<std::string> PickerEntries(const std::vector<Character>& characters);

// The real name a picked entry stands for: the text before the first " (";
// "" for the "None" entry.
std::string RealNameFromPickerEntry(std::string_view entry);

// Both names parsed from an entry: the real name before the first " (", the
// entity name from there up to the first ")" after it.
struct PickerNames {
  std::string realName;
  std::string entityName;
};
PickerNames ParsePickerEntry(std::string_view entry);

}  // namespace tellwright
