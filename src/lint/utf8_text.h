#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellwright {

// Windows-1252 text (the document's) as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 text as Windows-1252; nothing when it is no valid UTF-8 or holds a
// character Windows-1252 has no byte for.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

}  // namespace tellwright
