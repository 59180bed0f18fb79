#pragma once

#include <algorithm>
#include <iterator>
#include <string_view>

namespace tellwright {

// The global objects the engine declares in every script. A talkline said
// through one compiles, but Talk is no method of theirs and the game ignores
// the line. Script names are case-sensitive.
inline constexpr std::string_view kEngineGlobalObjects[] = {"Game", "Math", "Directory", "self", "this"};

inline bool IsEngineGlobalObject(std::string_view entity) {
  return std::find(std::begin(kEngineGlobalObjects), std::end(kEngineGlobalObjects), entity) !=
         std::end(kEngineGlobalObjects);
}

}  // namespace tellwright
