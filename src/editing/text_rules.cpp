#include "editing/text_rules.h"

#include <string>

namespace tellwright {

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

Status CheckNoLineBreak(std::string_view text, std::string_view what) {
  if (!HasLineBreak(text)) return Status::Ok();
  return Status::Error(std::string(what) + " cannot contain a line break.");
}

}  // namespace tellwright
