#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tellwright {

// What tells one file from every other on this computer, whatever name leads
// to it: another spelling of the path, a symbolic link, a hard link, the
// other letter case of a folder that ignores it.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t file = 0;

  bool operator==(const FileIdentity&) const = default;
  auto operator<=>(const FileIdentity&) const = default;
};

// The identity of the file `name` leads to (through links); nothing when no
// file is there.
std::optional<FileIdentity> IdentifyFile(const std::string& name);

// True when both names lead to one existing file.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace tellwright
