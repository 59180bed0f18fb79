#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"
#include "document/slot_table.h"

namespace tellwright {

inline constexpr int kResponsesPerBlock = 100;

// Response visibility codes.
enum Visibility : int32_t { kAlways = 0, kOnce = 1, kOnceGame = 2 };

struct Response {
  Text text;  // "" ends the block
  Text conditions;
  Text linkBranch;  // name of the branch to go to; "" for none
  int32_t visibility = kAlways;
  int32_t leaveLoop = 0;
  int32_t sayResponse = 0;

  bool inUse() const { return !text.empty(); }
  friend bool operator==(const Response&, const Response&) = default;
};

struct ResponseBlock {
  int32_t id = 0;  // 0: slot free
  SlotTable<Response, kResponsesPerBlock> responses;

  bool inUse() const { return id >= 1; }
  // Number of responses before the first one with empty text.
  int usedResponses() const;
  friend bool operator==(const ResponseBlock&, const ResponseBlock&) = default;
};

}  // namespace tellwright
