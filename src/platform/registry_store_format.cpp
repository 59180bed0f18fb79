#include "platform/registry_store_format.h"

#include <cstdint>
#include <limits>

#include "base/decimal.h"

namespace tellwright {

namespace {

constexpr std::string_view kFormatNote =
    "# Tellwright settings. Keys in [ ], values as name=type:data, other bytes as %XX.";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool NeedsEscape(unsigned char byte) {
  return byte <= 0x20 || byte >= 0x7F || byte == '%' || byte == '=' || byte == '[' || byte == ']' || byte == '#';
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (!NeedsEscape(byte)) {
      out.push_back(c);
      continue;
    }
    out.push_back('%');
    out.push_back(kHexDigits[byte >> 4]);
    out.push_back(kHexDigits[byte & 0xF]);
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    int high = HexValue(text[i + 1]);
    int low = HexValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return out;
}

void WriteNode(std::string& out, const RegistryNode& node, std::string& path, bool isRoot) {
  if (!isRoot || !node.values.empty()) {
    out += '[';
    AppendEscaped(out, path);
    out += "]\n";
    for (const auto& [name, value] : node.values) {
      AppendEscaped(out, name);
      out += '=';
      AppendDecimal(out, value.type);
      out += ':';
      AppendEscaped(out, value.data);
      out += '\n';
    }
  }
  for (const auto& [name, child] : node.children) {
    size_t length = path.size();
    path += '\\';
    path += name;
    WriteNode(out, *child, path, false);
    path.resize(length);
  }
}

std::optional<RegistryRoot> RootNamed(std::string_view name) {
  for (int i = 0; i < kRegistryRootCount; ++i) {
    auto root = static_cast<RegistryRoot>(i);
    if (RegistryRootName(root) == name) return root;
  }
  return std::nullopt;
}

RegistryNode* ReadKeyLine(RegistryTree& tree, std::string_view line) {
  if (line.size() < 2 || line.back() != ']') return nullptr;
  std::optional<std::string> path = Unescaped(line.substr(1, line.size() - 2));
  if (!path) return nullptr;
  size_t separator = path->find('\\');
  std::optional<RegistryRoot> root = RootNamed(std::string_view(*path).substr(0, separator));
  if (!root) return nullptr;
  if (separator == std::string::npos) return &tree.Root(*root);
  bool created = false;
  return tree.Create(*root, std::string_view(*path).substr(separator + 1), created);
}

std::optional<uint32_t> ReadType(std::string_view digits) {
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > std::numeric_limits<uint32_t>::max()) return std::nullopt;
  return static_cast<uint32_t>(value);
}

bool ReadValueLine(RegistryNode& key, std::string_view line) {
  size_t equals = line.find('=');
  size_t colon = equals == std::string_view::npos ? equals : line.find(':', equals);
  if (colon == std::string_view::npos) return false;
  std::optional<std::string> name = Unescaped(line.substr(0, equals));
  std::optional<uint32_t> type = ReadType(line.substr(equals + 1, colon - equals - 1));
  std::optional<std::string> data = Unescaped(line.substr(colon + 1));
  if (!name || !type || !data) return false;
  key.values.insert_or_assign(std::move(*name), RegistryValue{*type, std::move(*data)});
  return true;
}

std::string_view NextLine(std::string_view& rest) {
  size_t end = rest.find('\n');
  std::string_view line = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

std::string WriteRegistryStore(const RegistryTree& tree) {
  std::string out(kRegistryStoreMagic);
  out += '\n';
  out += kFormatNote;
  out += '\n';
  for (int i = 0; i < kRegistryRootCount; ++i) {
    auto root = static_cast<RegistryRoot>(i);
    std::string path(RegistryRootName(root));
    WriteNode(out, tree.Root(root), path, true);
  }
  return out;
}

std::optional<RegistryTree> ReadRegistryStore(std::string_view bytes) {
  RegistryTree tree;
  if (bytes.empty()) return tree;
  std::string_view rest = bytes;
  if (NextLine(rest) != kRegistryStoreMagic) return std::nullopt;
  RegistryNode* key = nullptr;
  while (!rest.empty()) {
    std::string_view line = NextLine(rest);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      key = ReadKeyLine(tree, line);
      if (!key) return std::nullopt;
    } else if (!key || !ReadValueLine(*key, line)) {
      return std::nullopt;
    }
  }
  return tree;
}

}  // namespace tellwright
