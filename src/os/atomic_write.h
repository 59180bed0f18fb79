#pragma once

#include <string>
#include <string_view>

#include "base/status.h"

namespace tellwright {

// Writes `bytes` to `path` through a new temporary file in the same folder,
// flushed to disk and renamed over the target. Any failure (missing or
// read-only folder, full disk, target is a directory) is reported with the
// system's reason, the temporary file is removed and an existing target is
// left whole. An existing target keeps its permission bits.
Status WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file; reports why when it cannot.
Status ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace tellwright
