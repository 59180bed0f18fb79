#include "document/file_encoding.h"

namespace tellwright {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string NotWindows1252(std::string_view what) {
  return "the file is " + std::string(what) + ", not the Windows-1252 text this program reads";
}

}  // namespace

std::string ForeignEncoding(std::string_view start) {
  using namespace std::string_view_literals;
  if (StartsWith(start, "\xEF\xBB\xBF"sv)) return NotWindows1252("UTF-8 text with a byte-order mark");
  // Text never holds a NUL byte; UTF-16 holds one in every ASCII character.
  if (StartsWith(start, "\xFF\xFE"sv) || (start.size() >= 2 && start[0] != '\0' && start[1] == '\0'))
    return NotWindows1252("UTF-16 text (little-endian)");
  if (StartsWith(start, "\xFE\xFF"sv) || (start.size() >= 2 && start[0] == '\0' && start[1] != '\0'))
    return NotWindows1252("UTF-16 text (big-endian)");
  return "";
}

}  // namespace tellwright
