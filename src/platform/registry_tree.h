#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "settings/registry_backend.h"

namespace tellwright {

struct LessIgnoringCase {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

// One key of the store. Names keep the case they were created with and are
// found regardless of case, as in the registry.
struct RegistryNode {
  std::map<std::string, RegistryValue, LessIgnoringCase> values;
  std::map<std::string, std::unique_ptr<RegistryNode>, LessIgnoringCase> children;
};

inline constexpr int kRegistryRootCount = 5;
// The registry's own limit on how deeply keys nest.
inline constexpr size_t kMaxRegistryKeyDepth = 512;

std::string_view RegistryRootName(RegistryRoot root);

// The keys of all predefined roots, in memory.
class RegistryTree {
 public:
  RegistryNode& Root(RegistryRoot root) { return roots_[static_cast<size_t>(root)]; }
  const RegistryNode& Root(RegistryRoot root) const { return roots_[static_cast<size_t>(root)]; }

  // nullptr when the key does not exist or the path is malformed (an empty
  // name between separators, a zero byte, deeper than the limit).
  RegistryNode* Find(RegistryRoot root, std::string_view path);
  // Creates missing keys on the way; `created` tells whether anything was new.
  RegistryNode* Create(RegistryRoot root, std::string_view path, bool& created);
  // Removes a key without subkeys; the roots cannot be removed.
  bool Delete(RegistryRoot root, std::string_view path);

 private:
  std::array<RegistryNode, kRegistryRootCount> roots_;
};

}  // namespace tellwright
