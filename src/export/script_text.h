#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/decimal.h"

namespace tellwright {

// A run of one character, such as padding or an underline.
struct Repeated {
  size_t count;
  char character;
};

// Builds generated text line by line: each line is a number of leading
// spaces, its parts (texts verbatim, numbers in plain decimal) and CR LF.
class ScriptText {
 public:
  template <typename... Parts>
  void line(int indent, const Parts&... parts) {
    bytes_.append(static_cast<size_t>(indent), ' ');
    (append(parts), ...);
    bytes_ += "\r\n";
  }

  std::string& bytes() { return bytes_; }
  std::string take() { return std::move(bytes_); }

 private:
  void append(std::string_view text) { bytes_ += text; }
  void append(std::integral auto number) { AppendDecimal(bytes_, number); }
  void append(Repeated run) { bytes_.append(run.count, run.character); }

  std::string bytes_;
};

}  // namespace tellwright
