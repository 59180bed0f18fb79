#pragma once

#include <cstdint>
#include <string>

#include "document/dialogue_line.h"
#include "document/slot_table.h"

namespace tellwright {

inline constexpr int kLinesPerBranch = 1000;

struct DialogueBranch {
  Text name;
  // Lines 0..lineCount-1 are in use. Kept as stored in the file, so it may
  // disagree with the number of non-empty slots after loading.
  int32_t lineCount = 0;
  SlotTable<DialogueLine, kLinesPerBranch> lines;

  friend bool operator==(const DialogueBranch&, const DialogueBranch&) = default;
};

}  // namespace tellwright
