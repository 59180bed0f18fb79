#pragma once

#include <string>
#include <string_view>

namespace tellwright {

// The file part of a path: the text after its last "\" or "/".
std::string_view FileNamePart(std::string_view path);

// The folder part of a path, up to and including its last "\" or "/"; "" when
// it has neither.
std::string_view FolderPart(std::string_view path);

// True when the last characters of `path`, lower-cased (ASCII), equal
// `extension` (given in lower case).
bool EndsWithExtension(std::string_view path, std::string_view extension);

// `path` with `extension` appended unless it already ends in it.
std::string WithExtension(std::string_view path, std::string_view extension);

}  // namespace tellwright
