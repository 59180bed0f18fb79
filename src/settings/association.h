#pragma once

#include <string>
#include <string_view>

#include "settings/registry.h"

namespace tellwright {

inline constexpr std::string_view kAssociationDescription = "Tellwright";
inline constexpr std::string_view kAssociationIconFile = "TLWIcon.ico";

// The icon the association names: "TLWIcon.ico" in the program's folder.
std::string AssociationIconPath(std::string_view program);

// Registers `ext` (a leading "." is added when missing) under
// HKEY_CLASSES_ROOT so that the shell opens such files with `program`, the
// file as its first parameter:
//   <ext>                                   = FileType_<bare ext>
//   FileType_<bare>                         = description
//   FileType_<bare>\DefaultIcon             = icon
//   FileType_<bare>\shell\open\command      = "<program>" "%1"
// Each value whose key cannot be opened is reported and the remaining steps
// still run. True when every value was written.
bool Associate(Registry& registry, std::string_view ext, std::string_view program, std::string_view description,
               std::string_view icon);

}  // namespace tellwright
