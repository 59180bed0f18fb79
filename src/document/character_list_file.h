#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "document/character.h"

namespace tellwright {

inline constexpr std::string_view kCharacterListExtension = ".tlwchr";

// Two LF-ended lines per character: realName, entityName.
std::string WriteCharacterList(const std::vector<Character>& characters);

// Parses character list bytes; an odd last line gives an entity name "".
std::vector<Character> ReadCharacterList(std::string_view bytes);

// Replaces `characters` with the list at `path` only when the file was read.
Status LoadCharacterList(const std::string& path, std::vector<Character>& characters);

// Saves through a temporary file renamed over the target.
Status SaveCharacterList(const std::vector<Character>& characters, const std::string& path);

}  // namespace tellwright
