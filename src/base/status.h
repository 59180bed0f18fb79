#pragma once

#include <string>
#include <utility>

namespace tellwright {

// Outcome of an operation that can fail: a message for the user, and for
// file readers the 1-based line where the fault was found (0 when unknown).
struct Status {
  bool ok = true;
  std::string message;
  int line = 0;

  static Status Ok() { return {}; }
  static Status Error(std::string message, int line = 0) { return {false, std::move(message), line}; }
  explicit operator bool() const { return ok; }
};

}  // namespace tellwright
