#pragma once

#include <string>
#include <string_view>

#include "base/status.h"

namespace tellwright {

// Who may read a file the program writes.
enum class FileAccess {
  kUsual,      // a replaced file keeps its permission bits; a new one gets the usual ones
  kOwnerOnly,  // the user alone (0600 on POSIX), also when it replaces a file
};

// Writes `bytes` to `path` through a new temporary file in the same folder,
// flushed to disk and renamed over the target. A symbolic link stays a link:
// the file it leads to is written, in that file's folder. Any failure
// (missing or read-only folder, read-only target, full disk, target is a
// directory) is reported with the system's reason, the temporary file is
// removed and an existing target is left whole.
Status WriteFileAtomically(const std::string& path, std::string_view bytes, FileAccess access = FileAccess::kUsual);

// Reads a whole file; reports why when it cannot.
Status ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace tellwright
