#pragma once

#include <vector>

#include "document/dialogue_line.h"

namespace tellwright {

// The lines last cut or copied. The window owns one for the whole run; New
// and loading a project leave it alone, so lines can be carried between
// projects.
struct LineClipboard {
  std::vector<DialogueLine> lines;

  bool empty() const { return lines.empty(); }
};

}  // namespace tellwright
