#pragma once

#include <string>
#include <string_view>

#include "settings/registry_backend.h"
#include "settings/reporter.h"

// windows.h names some registry functions as macros; these are ours.
#ifdef RegCreateKey
#undef RegCreateKey
#endif
#ifdef RegSetValue
#undef RegSetValue
#endif
#ifdef RegDeleteKey
#undef RegDeleteKey
#endif

namespace tellwright {

inline constexpr std::string_view kRegistryErrorTitle = "Fehler";
inline constexpr std::string_view kRegistryErrorText = "Ein Fehler ist aufgetreten";

// The editor's registry operations over a back end. Each takes a root, a key
// path, of which one leading "\" is dropped, and a computer name ("" for this
// computer). A value name "" is the key's default value.
class Registry {
 public:
  Registry(RegistryBackend& backend, Reporter& reporter) : backend_(backend), reporter_(reporter) {}

  // Creates the key and any missing keys above it; true on success.
  bool RegCreateKey(RegistryRoot root, std::string_view key, std::string_view computer = {});

  // Writes into an existing key: type kRegSz stores `value` with a
  // terminating zero, kRegDword the number `value` reads as (saturated to
  // the range -2^31 .. 2^32-1 and stored in 32 bits). A key that cannot be
  // opened reports kRegistryErrorText titled kRegistryErrorTitle. False when
  // nothing was written: key not opened, write refused, or another type.
  bool RegWriteValue(RegistryRoot root, std::string_view key, std::string_view valueName, std::string_view value,
                     uint32_t type, std::string_view computer = {});

  // RegCreateKey, then RegWriteValue.
  bool RegSetValue(RegistryRoot root, std::string_view key, std::string_view valueName, std::string_view value,
                   uint32_t type, std::string_view computer = {});

  // A string value up to its first zero byte, a number value in decimal ("0"
  // when it is not four bytes long), whatever the length. "" for a missing
  // key or value and for other types.
  std::string RegReadValue(RegistryRoot root, std::string_view key, std::string_view valueName,
                           std::string_view computer = {});

  // The name of the subkey at `index`; "" when there is none.
  std::string RegListSubKey(RegistryRoot root, std::string_view key, int index, std::string_view computer = {});

  // Deletes a key without subkeys; true on success.
  bool RegDeleteKey(RegistryRoot root, std::string_view key, std::string_view computer = {});

  // Deletes the key with all keys below it, on the one registry `computer`
  // names. Stops taking subkeys when one cannot be deleted. A root itself is
  // never deleted this way: an empty key path deletes nothing.
  bool RegDeleteKeyTree(RegistryRoot root, std::string_view key, std::string_view computer = {});

 private:
  RegistryBackend& backend_;
  Reporter& reporter_;
};

}  // namespace tellwright
