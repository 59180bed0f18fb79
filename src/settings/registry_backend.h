#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tellwright {

// The predefined keys the editor works below.
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Value types as the registry numbers them.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegDword = 4;

// A value as stored: its type and its raw bytes (a REG_SZ string with its
// terminating zero, a REG_DWORD as four little-endian bytes).
struct RegistryValue {
  uint32_t type = 0;
  std::string data;
  bool operator==(const RegistryValue&) const = default;
};

// An open key. Value names are compared regardless of letter case; "" is the
// key's default value.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual bool SetValue(std::string_view name, const RegistryValue& value) = 0;
  virtual std::optional<RegistryValue> QueryValue(std::string_view name) = 0;
  // The name of the subkey at `index` in enumeration order; nullopt past the
  // last one or on failure.
  virtual std::optional<std::string> SubKeyName(uint32_t index) = 0;
};

// Where keys live: the Windows registry, or the editor's own per-user store
// elsewhere. Paths are "\"-separated below `root`; "" is the root itself. A
// non-empty `computer` names another computer's registry.
class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;
  // Opens the key with full access; with `create` missing keys on the way
  // are created. nullptr when it cannot be opened.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, std::string_view computer,
                                               bool create) = 0;
  // Deletes a key that has no subkeys (its values go with it).
  virtual bool DeleteKey(RegistryRoot root, std::string_view path, std::string_view computer) = 0;
};

}  // namespace tellwright
