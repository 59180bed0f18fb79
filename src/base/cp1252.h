#pragma once

#include <optional>

namespace tellwright {

// Windows-1252, the encoding of every text a project, a character list and
// a generated script hold, byte for byte. Bytes outside 0x80-0x9F are the
// Unicode characters of the same number. In 0x80-0x9F Windows puts
// typographic characters (the euro sign, quotes, dashes, ...), except at the
// five bytes it leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D): these stand
// for the control characters of the same number, so every byte has a
// character and every text comes back to the bytes it was read from.
char32_t Cp1252ToUnicode(unsigned char byte);

// The byte that stands for `character`; nothing when Windows-1252 has none.
std::optional<unsigned char> UnicodeToCp1252(char32_t character);

}  // namespace tellwright
