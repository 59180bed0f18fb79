#include "settings/registry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "base/decimal.h"

namespace tellwright {

namespace {

std::string_view WithoutLeadingBackslash(std::string_view key) {
  if (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  return key;
}

// Both "-1" and "4294967295" name the DWORD 0xFFFFFFFF, so a number read
// back in decimal writes back to the same bits.
uint32_t DwordFromText(std::string_view text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return 0;
  bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  constexpr int64_t kMagnitudeLimit = int64_t{1} << 32;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), kMagnitudeLimit);
  }
  int64_t value = negative ? std::max(-magnitude, int64_t{std::numeric_limits<int32_t>::min()})
                           : std::min(magnitude, int64_t{std::numeric_limits<uint32_t>::max()});
  return static_cast<uint32_t>(value);
}

std::string DwordBytes(uint32_t number) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return bytes;
}

uint32_t DwordOf(std::string_view bytes) {
  uint32_t number = 0;
  for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(bytes[i]);
  return number;
}

std::string TextOf(const RegistryValue& value) {
  if (value.type == kRegSz) return value.data.substr(0, value.data.find('\0'));
  if (value.type != kRegDword) return "";
  if (value.data.size() != 4) return "0";
  std::string text;
  AppendDecimal(text, DwordOf(value.data));
  return text;
}

std::string SubKeyPath(std::string_view key, std::string_view name) {
  std::string path(key);
  path += '\\';
  path += name;
  return path;
}

}  // namespace

bool Registry::RegCreateKey(RegistryRoot root, std::string_view key, std::string_view computer) {
  return backend_.OpenKey(root, WithoutLeadingBackslash(key), computer, true) != nullptr;
}

bool Registry::RegWriteValue(RegistryRoot root, std::string_view key, std::string_view valueName,
                             std::string_view value, uint32_t type, std::string_view computer) {
  std::unique_ptr<RegistryKey> opened = backend_.OpenKey(root, WithoutLeadingBackslash(key), computer, false);
  if (!opened) {
    reporter_.ReportError(kRegistryErrorTitle, kRegistryErrorText);
    return false;
  }
  if (type == kRegSz) {
    std::string data(value);
    data.push_back('\0');
    return opened->SetValue(valueName, {kRegSz, std::move(data)});
  }
  if (type == kRegDword) return opened->SetValue(valueName, {kRegDword, DwordBytes(DwordFromText(value))});
  return false;
}

bool Registry::RegSetValue(RegistryRoot root, std::string_view key, std::string_view valueName,
                           std::string_view value, uint32_t type, std::string_view computer) {
  RegCreateKey(root, key, computer);
  return RegWriteValue(root, key, valueName, value, type, computer);
}

std::string Registry::RegReadValue(RegistryRoot root, std::string_view key, std::string_view valueName,
                                   std::string_view computer) {
  std::unique_ptr<RegistryKey> opened = backend_.OpenKey(root, WithoutLeadingBackslash(key), computer, false);
  if (!opened) return "";
  std::optional<RegistryValue> value = opened->QueryValue(valueName);
  return value ? TextOf(*value) : "";
}

std::string Registry::RegListSubKey(RegistryRoot root, std::string_view key, int index, std::string_view computer) {
  if (index < 0) return "";
  std::unique_ptr<RegistryKey> opened = backend_.OpenKey(root, WithoutLeadingBackslash(key), computer, false);
  if (!opened) return "";
  return opened->SubKeyName(static_cast<uint32_t>(index)).value_or("");
}

bool Registry::RegDeleteKey(RegistryRoot root, std::string_view key, std::string_view computer) {
  return backend_.DeleteKey(root, WithoutLeadingBackslash(key), computer);
}

bool Registry::RegDeleteKeyTree(RegistryRoot root, std::string_view key, std::string_view computer) {
  key = WithoutLeadingBackslash(key);
  if (key.empty()) return false;
  std::string previous;
  while (true) {
    std::string subKey = RegListSubKey(root, key, 0, computer);
    if (subKey.empty() || subKey == previous) break;  // the same name again: it could not be deleted
    RegDeleteKeyTree(root, SubKeyPath(key, subKey), computer);
    previous = std::move(subKey);
  }
  return RegDeleteKey(root, key, computer);
}

}  // namespace tellwright
