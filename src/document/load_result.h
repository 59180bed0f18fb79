#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/status.h"

namespace tellwright {

// Something the user should hear of a file that loaded all the same, at the
// file's 1-based line (0 when it concerns the whole file).
struct FileWarning {
  std::string message;
  int line = 0;
};

// The outcome of loading a file: a Status (refused, with the fault and its
// line, or loaded), and the warnings of a file that loaded. Passes for a
// Status wherever one is expected.
struct LoadResult : Status {
  std::vector<FileWarning> warnings;

  LoadResult() = default;
  LoadResult(Status status) : Status(std::move(status)) {}  // NOLINT: a fault is a result without warnings
};

}  // namespace tellwright
