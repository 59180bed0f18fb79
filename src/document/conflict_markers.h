#pragma once

#include <string_view>

namespace tellwright {

// The texts a merge of two versions of a project writes around a change both
// sides made differently: as remark lines in a branch, or as responses in a
// block. The writer keeps one version and deletes the other and the markers;
// until then the lint reports every marker.
inline constexpr std::string_view kOursMarker = "<<<<<<< ours";
inline constexpr std::string_view kSeparatorMarker = "=======";
inline constexpr std::string_view kTheirsMarker = ">>>>>>> theirs";

// True for the opening, separating or closing marker of a conflict, also when
// a label follows the arrows ("<<<<<<< HEAD").
inline bool IsConflictMarker(std::string_view text) {
  return text.starts_with("<<<<<<<") || text.starts_with(">>>>>>>") || text == kSeparatorMarker;
}

}  // namespace tellwright
