#include "base/path_names.h"

#include <algorithm>

namespace tellwright {

namespace {
size_t AfterLastSeparator(std::string_view path) {
  size_t last = path.find_last_of("\\/");
  return last == std::string_view::npos ? 0 : last + 1;
}
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string_view FileNamePart(std::string_view path) { return path.substr(AfterLastSeparator(path)); }

std::string_view FolderPart(std::string_view path) { return path.substr(0, AfterLastSeparator(path)); }

bool EndsWithExtension(std::string_view path, std::string_view extension) {
  if (path.size() < extension.size()) return false;
  std::string_view tail = path.substr(path.size() - extension.size());
  return std::equal(tail.begin(), tail.end(), extension.begin(),
                    [](char a, char b) { return LowerAscii(a) == b; });
}

std::string WithExtension(std::string_view path, std::string_view extension) {
  std::string result(path);
  if (!EndsWithExtension(path, extension)) result += extension;
  return result;
}

}  // namespace tellwright
