#include "base/cp1252_case.h"

#include <algorithm>

namespace tellwright {

char FoldCase1252(char c) {
  auto byte = static_cast<unsigned char>(c);
  auto lower = [](unsigned char b) { return static_cast<char>(b); };
  if (byte >= 'A' && byte <= 'Z') return lower(byte + 0x20);
  if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return lower(byte + 0x20);
  switch (byte) {
    case 0x8A:
      return lower(0x9A);  // S caron
    case 0x8C:
      return lower(0x9C);  // OE ligature
    case 0x8E:
      return lower(0x9E);  // Z caron
    case 0x9F:
      return lower(0xFF);  // Y diaeresis
    default:
      return c;
  }
}

std::string FoldedCase1252(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = FoldCase1252(c);
  return folded;
}

bool EqualsIgnoringCase1252(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldCase1252(x) == FoldCase1252(y); });
}

bool LessIgnoringCase1252(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(FoldCase1252(x)) < static_cast<unsigned char>(FoldCase1252(y));
  });
}

size_t FindIgnoringCase1252(std::string_view haystack, std::string_view needle, size_t from) {
  if (needle.empty() || from > haystack.size() || needle.size() > haystack.size() - from) return std::string_view::npos;
  for (size_t at = from; at + needle.size() <= haystack.size(); ++at) {
    if (EqualsIgnoringCase1252(haystack.substr(at, needle.size()), needle)) return at;
  }
  return std::string_view::npos;
}

}  // namespace tellwright
