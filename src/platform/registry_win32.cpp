#ifdef _WIN32

#include "platform/registry_win32.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <winreg.h>

#include <iterator>
#include <string>
#include <string_view>

#include "os/file_names.h"

namespace tellwright {

namespace {

// Strings cross here between the program's UTF-8 (as file names are kept on
// Windows) and the registry's UTF-16, through the wide functions: the shell
// and every other program read the program path of the association, and the
// paths of the settings, as the characters they are, whatever the system's
// ANSI code page.
bool IsText(uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// A string value's bytes (UTF-8 up to the terminating zero) as the registry
// stores it: UTF-16 with its own terminating zero.
std::wstring StoredText(const std::string& data) {
  std::wstring text = WideFromUtf8(std::string_view(data).substr(0, data.find('\0')));
  text.push_back(L'\0');
  return text;
}

// And back: the UTF-16 up to the first zero as UTF-8 with a terminating zero.
std::string ReadText(const std::wstring& stored) {
  std::string text = Utf8FromWide(std::wstring_view(stored).substr(0, stored.find(L'\0')));
  text.push_back('\0');
  return text;
}

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
  if (RegConnectRegistryW(WideFromUtf8(computer).c_str(), base, &remote) != ERROR_SUCCESS) return false;
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
    std::wstring valueName = WideFromUtf8(name);
    if (IsText(value.type)) {
      std::wstring text = StoredText(value.data);
      return RegSetValueExW(key_, valueName.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(text.data()),
                            static_cast<DWORD>(text.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    return RegSetValueExW(key_, valueName.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
  }

  // Asks for the size first, so that values of any length are read whole;
  // a value that grows between the two calls is asked for again.
  std::optional<RegistryValue> QueryValue(std::string_view name) override {
    std::wstring valueName = WideFromUtf8(name);
    for (int attempt = 0; attempt < 8; ++attempt) {
      DWORD type = 0;
      DWORD size = 0;
      if (RegQueryValueExW(key_, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
      std::string data(size, '\0');
      LONG result = RegQueryValueExW(key_, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
      if (result == ERROR_MORE_DATA) continue;
      if (result != ERROR_SUCCESS) return std::nullopt;
      data.resize(size);
      if (!IsText(type)) return RegistryValue{type, std::move(data)};
      std::wstring stored(data.size() / sizeof(wchar_t), L'\0');
      data.copy(reinterpret_cast<char*>(stored.data()), stored.size() * sizeof(wchar_t));
      return RegistryValue{type, ReadText(stored)};
    }
    return std::nullopt;
  }

  std::optional<std::string> SubKeyName(uint32_t index) override {
    wchar_t name[256];  // key names are at most 255 characters
    DWORD length = static_cast<DWORD>(std::size(name));
    if (RegEnumKeyExW(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return std::nullopt;
    return Utf8FromWide(std::wstring_view(name, length));
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
    std::wstring keyPath = WideFromUtf8(path);
    HKEY key = nullptr;
    LONG result = create ? RegCreateKeyExW(base, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                           nullptr, &key, nullptr)
                         : RegOpenKeyExW(base, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key);
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
    bool deleted = RegDeleteKeyW(base, WideFromUtf8(path).c_str()) == ERROR_SUCCESS;
    if (remote) RegCloseKey(remote);
    return deleted;
  }
};

}  // namespace

std::unique_ptr<RegistryBackend> MakeWin32RegistryBackend() { return std::make_unique<Win32Registry>(); }

}  // namespace tellwright

#endif  // _WIN32
