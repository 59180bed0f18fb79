#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace tellwright {

struct Character {
  Text realName;    // the name used in dialogue lines
  Text entityName;  // the WME entity name
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

}  // namespace tellwright
