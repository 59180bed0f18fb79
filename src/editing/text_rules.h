#pragma once

#include <string_view>

#include "base/status.h"

namespace tellwright {

// Every stored text is one line of the project or character-list file, so
// a text with a CR or LF in it would shift everything read after it.
bool HasLineBreak(std::string_view text);

// Ok, or the refusal "<what> cannot contain a line break.".
Status CheckNoLineBreak(std::string_view text, std::string_view what);

}  // namespace tellwright
