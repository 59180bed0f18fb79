#pragma once

#include <cstdint>
#include <string_view>

#include "document/response_block.h"

namespace tellwright {

// The engines' AddResponse call for a visibility: AddResponse, AddResponseOnce
// or AddResponseOnceGame; an unknown code offers the response always.
inline std::string_view VisibilitySuffix(int32_t visibility) {
  switch (visibility) {
    case kOnce:
      return "Once";
    case kOnceGame:
      return "OnceGame";
    default:
      return "";
  }
}

}  // namespace tellwright
