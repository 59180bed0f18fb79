#pragma once

#include <cstddef>
#include <string_view>

#include "base/byte_sink.h"

namespace tellwright {

// Writes generated text line by line: each line is a number of leading
// spaces, its parts (texts verbatim, numbers in plain decimal, Repeated
// runs) and CR LF. Lines go on to the output as they are made.
class ScriptText {
 public:
  explicit ScriptText(OutputBuffer& out) : out_(&out) {}

  template <typename... Parts>
  void line(int indent, const Parts&... parts) {
    out_->append(Repeated{static_cast<size_t>(indent), ' '});
    (append(parts), ...);
    out_->append(std::string_view("\r\n"));
    out_->endPiece();
  }

  // Lines go to `out` from now on.
  void redirect(OutputBuffer& out) { out_ = &out; }

 private:
  void append(std::string_view text) { out_->append(text); }
  void append(const char* text) { out_->append(std::string_view(text)); }
  void append(Repeated run) { out_->append(run); }
  void append(std::integral auto number) { out_->append(number); }

  OutputBuffer* out_;
};

}  // namespace tellwright
