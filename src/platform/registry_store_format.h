#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry_tree.h"

namespace tellwright {

// The store file, line by line (LF; a CR before it is ignored):
//
//   tellwright-registry 1
//   # comment lines start with "#"; empty lines are ignored
//   [HKEY_CURRENT_USER\Software\Korvane\Tellwright]
//   CurrentProject=1:C:\Game\data\game.wpr%00
//   =1:the default value%00
//
// A line in brackets names a key (root name, then the path); the lines after
// it are that key's values as name=type:data, with the type in decimal and
// the raw bytes of the data (a string keeps its terminating zero). In names
// and data every byte outside "!" to "~", and each of % = [ ] #, is written
// as "%" and two upper-case hex digits, so any bytes survive and no line is
// mistaken for another kind. Every key is listed, also one without values.
inline constexpr std::string_view kRegistryStoreMagic = "tellwright-registry 1";

std::string WriteRegistryStore(const RegistryTree& tree);

// nullopt when the bytes are not a well-formed store; no bytes at all are an
// empty store.
std::optional<RegistryTree> ReadRegistryStore(std::string_view bytes);

}  // namespace tellwright
