#pragma once

#include <string>
#include <string_view>

namespace tellwright {

// Project files and character lists are Windows-1252 text. A file that
// starts with a UTF-8 byte-order mark, or is UTF-16 (with a byte-order mark
// or, going by its first characters, without one), was saved by another
// program in another encoding: read as Windows-1252 it would come out
// misaligned or garbled. Returns what the file is, for the user, or "" when
// `start` (the file's first bytes) shows none of these.
std::string ForeignEncoding(std::string_view start);

}  // namespace tellwright
