#include "platform/registry_tree.h"

#include <optional>
#include <vector>

#include "base/cp1252_case.h"

namespace tellwright {

namespace {

std::optional<std::vector<std::string_view>> SplitKeyPath(std::string_view path) {
  std::vector<std::string_view> names;
  if (path.empty()) return names;
  if (path.find('\0') != std::string_view::npos) return std::nullopt;
  size_t start = 0;
  while (true) {
    size_t end = path.find('\\', start);
    std::string_view name = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (name.empty() || names.size() == kMaxRegistryKeyDepth) return std::nullopt;
    names.push_back(name);
    if (end == std::string_view::npos) return names;
    start = end + 1;
  }
}

}  // namespace

bool LessIgnoringCase::operator()(std::string_view a, std::string_view b) const { return LessIgnoringCase1252(a, b); }

std::string_view RegistryRootName(RegistryRoot root) {
  static constexpr std::array<std::string_view, kRegistryRootCount> kNames = {
      "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
  return kNames[static_cast<size_t>(root)];
}

RegistryNode* RegistryTree::Find(RegistryRoot root, std::string_view path) {
  std::optional<std::vector<std::string_view>> names = SplitKeyPath(path);
  if (!names) return nullptr;
  RegistryNode* node = &Root(root);
  for (std::string_view name : *names) {
    auto child = node->children.find(name);
    if (child == node->children.end()) return nullptr;
    node = child->second.get();
  }
  return node;
}

RegistryNode* RegistryTree::Create(RegistryRoot root, std::string_view path, bool& created) {
  created = false;
  std::optional<std::vector<std::string_view>> names = SplitKeyPath(path);
  if (!names) return nullptr;
  RegistryNode* node = &Root(root);
  for (std::string_view name : *names) {
    auto child = node->children.find(name);
    if (child == node->children.end()) {
      child = node->children.emplace(std::string(name), std::make_unique<RegistryNode>()).first;
      created = true;
    }
    node = child->second.get();
  }
  return node;
}

bool RegistryTree::Delete(RegistryRoot root, std::string_view path) {
  std::optional<std::vector<std::string_view>> names = SplitKeyPath(path);
  if (!names || names->empty()) return false;
  std::string_view leaf = names->back();
  names->pop_back();
  RegistryNode* parent = &Root(root);
  for (std::string_view name : *names) {
    auto child = parent->children.find(name);
    if (child == parent->children.end()) return false;
    parent = child->second.get();
  }
  auto target = parent->children.find(leaf);
  if (target == parent->children.end() || !target->second->children.empty()) return false;
  parent->children.erase(target);
  return true;
}

}  // namespace tellwright
