#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tellwright {

// Letter case in Windows-1252, the encoding of every text the editor keeps:
// A-Z, the accented capitals 0xC0-0xDE (but 0xD7, the multiplication sign)
// and the capitals 0x8A, 0x8C, 0x8E, 0x9F have a small letter; every other
// byte is its own folded form.
char FoldCase1252(char c);
std::string FoldedCase1252(std::string_view text);

bool EqualsIgnoringCase1252(std::string_view a, std::string_view b);

// Orders texts by their folded bytes; texts equal but for case are equal.
bool LessIgnoringCase1252(std::string_view a, std::string_view b);

// The first place at or after `from` where `needle` stands in `haystack`
// regardless of case; npos when nowhere (and always for an empty needle).
size_t FindIgnoringCase1252(std::string_view haystack, std::string_view needle, size_t from = 0);

}  // namespace tellwright
