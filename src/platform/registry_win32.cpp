#ifdef _WIN32

#include "platform/registry_win32.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <winreg.h>

#include <string>
#include <string_view>

namespace tellwright {

namespace {

HKEY PredefinedKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users: return HKEY_USERS;
    case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
  }
  return HKEY_CURRENT_USER;
}

// The root to work on: the local predefined key, or the same key of another
// computer's registry, which the caller must close (`remote` is set then).
bool ConnectRoot(RegistryRoot root, std::string_view computer, HKEY& base, HKEY& remote) {
  remote = nullptr;
  base = PredefinedKey(root);
  if (computer.empty()) return true;
  std::string name(computer);
  if (RegConnectRegistryA(name.c_str(), base, &remote) != ERROR_SUCCESS) return false;
  base = remote;
  return true;
}

// Key paths as the store takes them: names separated by single "\", none
// empty, none with a zero byte. Windows itself lets some malformed paths
// through (a leading or doubled "\" in some versions); the editor sees the
// same on every system.
bool WellFormedKeyPath(std::string_view path) {
  if (path.empty()) return true;
  if (path.front() == '\\' || path.back() == '\\') return false;
  return path.find("\\\\") == std::string_view::npos && path.find('\0') == std::string_view::npos;
}

class Win32Key : public RegistryKey {
 public:
  Win32Key(HKEY key, HKEY remoteRoot) : key_(key), remoteRoot_(remoteRoot) {}
  ~Win32Key() override {
    RegCloseKey(key_);
    if (remoteRoot_) RegCloseKey(remoteRoot_);
  }
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;

  bool SetValue(std::string_view name, const RegistryValue& value) override {
    std::string valueName(name);
    return RegSetValueExA(key_, valueName.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
  }

  // Asks for the size first, so that values of any length are read whole;
  // a value that grows between the two calls is asked for again.
  std::optional<RegistryValue> QueryValue(std::string_view name) override {
    std::string valueName(name);
    for (int attempt = 0; attempt < 8; ++attempt) {
      DWORD type = 0;
      DWORD size = 0;
      if (RegQueryValueExA(key_, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
      std::string data(size, '\0');
      LONG result = RegQueryValueExA(key_, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
      if (result == ERROR_MORE_DATA) continue;
      if (result != ERROR_SUCCESS) return std::nullopt;
      data.resize(size);
      return RegistryValue{type, std::move(data)};
    }
    return std::nullopt;
  }

  std::optional<std::string> SubKeyName(uint32_t index) override {
    char name[256];  // key names are at most 255 characters
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return std::nullopt;
    return std::string(name, length);
  }

 private:
  HKEY key_;
  HKEY remoteRoot_;
};

class Win32Registry : public RegistryBackend {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, std::string_view computer,
                                       bool create) override {
    if (!WellFormedKeyPath(path)) return nullptr;
    HKEY base;
    HKEY remote;
    if (!ConnectRoot(root, computer, base, remote)) return nullptr;
    std::string keyPath(path);
    HKEY key = nullptr;
    LONG result = create ? RegCreateKeyExA(base, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                           nullptr, &key, nullptr)
                         : RegOpenKeyExA(base, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result != ERROR_SUCCESS) {
      if (remote) RegCloseKey(remote);
      return nullptr;
    }
    return std::make_unique<Win32Key>(key, remote);
  }

  bool DeleteKey(RegistryRoot root, std::string_view path, std::string_view computer) override {
    if (path.empty() || !WellFormedKeyPath(path)) return false;
    HKEY base;
    HKEY remote;
    if (!ConnectRoot(root, computer, base, remote)) return false;
    std::string keyPath(path);
    bool deleted = RegDeleteKeyA(base, keyPath.c_str()) == ERROR_SUCCESS;
    if (remote) RegCloseKey(remote);
    return deleted;
  }
};

}  // namespace

std::unique_ptr<RegistryBackend> MakeWin32RegistryBackend() { return std::make_unique<Win32Registry>(); }

}  // namespace tellwright

#endif  // _WIN32
