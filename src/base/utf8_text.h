#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tellwright {

// Windows-1252 text (the document's) as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);
void AppendCp1252AsUtf8(std::string& out, std::string_view text);

// One character of UTF-8 text: its code point and how many bytes it takes;
// length 0 for a sequence that is not well-formed (a stray or missing
// continuation byte, an overlong form, a surrogate, past U+10FFFF).
struct Utf8Char {
  char32_t code = 0;
  size_t length = 0;
};
Utf8Char DecodeUtf8At(std::string_view text, size_t at);

// True when `text` is well-formed UTF-8 throughout.
bool IsUtf8(std::string_view text);

// UTF-8 text as Windows-1252; nothing when it is no valid UTF-8 or holds a
// character Windows-1252 has no byte for.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// UTF-8 text as Windows-1252, '?' for a character Windows-1252 does not
// have and for each byte that is no UTF-8.
std::string Utf8ToCp1252Replacing(std::string_view text);

}  // namespace tellwright
