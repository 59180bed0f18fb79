#pragma once

#include <stdlib.h>

#include <gtest/gtest.h>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The registry layer's own names, which windows.h takes as macros.
#undef RegCreateKey
#undef RegSetValue
#undef RegDeleteKey
#endif

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "os/atomic_write.h"
#include "os/user_folders.h"
#include "platform/registry_store.h"
#include "platform/registry_tree.h"
#include "platform/registry_win32.h"
#include "settings/registry.h"
#include "settings/registry_backend.h"
#include "support/temp_dir.h"

namespace tellwright::testing {

// "Ärger", a name outside ASCII, as the registry layer takes it: UTF-8 on
// Windows, where the wide Win32 functions store it as UTF-16; in the
// editor's own store any bytes, here Windows-1252's.
#ifdef _WIN32
inline constexpr std::string_view kNonAsciiName = "\xC3\x84rger";
#else
inline constexpr std::string_view kNonAsciiName = "\xC4rger";
#endif

inline void SetVariable(const std::string& name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name.c_str(), value.c_str());
#else
  setenv(name.c_str(), value.c_str(), 1);
#endif
}

// On Windows a variable set to "" is removed.
inline void UnsetVariable(const std::string& name) {
#ifdef _WIN32
  _putenv_s(name.c_str(), "");
#else
  unsetenv(name.c_str());
#endif
}

// Sets and unsets variables of this process, and puts them back as they were.
class ScopedEnvironment {
 public:
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        SetVariable(it->first, *it->second);
      } else {
        UnsetVariable(it->first);
      }
    }
  }
  void Set(const std::string& name, const std::string& value) {
    Save(name);
    SetVariable(name, value);
  }
  void Unset(const std::string& name) {
    Save(name);
    UnsetVariable(name);
  }

 private:
  void Save(const std::string& name) {
    const char* old = getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

inline EnvironmentLookup TableEnvironment(std::map<std::string, std::string> table) {
  return [table = std::move(table)](const char* name) -> std::optional<std::string> {
    auto found = table.find(name);
    if (found == table.end()) return std::nullopt;
    return found->second;
  };
}

// Passes every call on to another back end, logs the creates, value writes
// and deletes as text, and refuses what a test asks it to.
class RecordingBackend : public RegistryBackend {
 public:
  explicit RecordingBackend(RegistryBackend& inner) : inner_(inner) {}

  std::vector<std::string> log;
  std::function<bool(RegistryRoot, std::string_view)> refuseOpen = [](RegistryRoot, std::string_view) { return false; };
  std::function<bool(std::string_view)> refuseDelete = [](std::string_view) { return false; };
  bool refuseWrites = false;

  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, std::string_view computer,
                                       bool create) override {
    std::string where = std::string(RegistryRootName(root)) + "\\" + std::string(path);
    if (create) log.push_back("create " + where);
    if (refuseOpen(root, path)) return nullptr;
    std::unique_ptr<RegistryKey> key = inner_.OpenKey(root, path, computer, create);
    if (!key) return nullptr;
    return std::make_unique<Key>(*this, std::move(key), where);
  }

  bool DeleteKey(RegistryRoot root, std::string_view path, std::string_view computer) override {
    log.push_back("delete " + std::string(RegistryRootName(root)) + "\\" + std::string(path));
    if (refuseDelete(path)) return false;
    return inner_.DeleteKey(root, path, computer);
  }

 private:
  class Key : public RegistryKey {
   public:
    Key(RecordingBackend& owner, std::unique_ptr<RegistryKey> inner, std::string where)
        : owner_(owner), inner_(std::move(inner)), where_(std::move(where)) {}
    bool SetValue(std::string_view name, const RegistryValue& value) override {
      std::string shown = value.type == kRegSz ? value.data.substr(0, value.data.find('\0')) : "(type " + std::to_string(value.type) + ")";
      owner_.log.push_back("set " + where_ + " [" + std::string(name) + "] " + shown);
      if (owner_.refuseWrites) return false;
      return inner_->SetValue(name, value);
    }
    std::optional<RegistryValue> QueryValue(std::string_view name) override { return inner_->QueryValue(name); }
    std::optional<std::string> SubKeyName(uint32_t index) override { return inner_->SubKeyName(index); }

   private:
    RecordingBackend& owner_;
    std::unique_ptr<RegistryKey> inner_;
    std::string where_;
  };

  RegistryBackend& inner_;
};

// Puts every key below `prefix` of its root, so that a test sees a root of
// its own inside a registry that other programs use too. An empty prefix
// passes every call on unchanged.
class PrefixedBackend : public RegistryBackend {
 public:
  PrefixedBackend(RegistryBackend& inner, std::string prefix) : inner_(inner), prefix_(std::move(prefix)) {}

  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, std::string_view computer,
                                       bool create) override {
    return inner_.OpenKey(root, Full(path), computer, create);
  }
  bool DeleteKey(RegistryRoot root, std::string_view path, std::string_view computer) override {
    return inner_.DeleteKey(root, Full(path), computer);
  }

 private:
  std::string Full(std::string_view path) const {
    if (prefix_.empty()) return std::string(path);
    return path.empty() ? prefix_ : prefix_ + "\\" + std::string(path);
  }
  RegistryBackend& inner_;
  std::string prefix_;
};

#ifdef _WIN32
// The keys the registry tests write in the system's registry, removed before
// and after each test.
inline constexpr const char* kTestRegistryKeys[][2] = {
    {"HKCU", "Software\\Korvane"},
    {"HKCU", "Software\\Tellwright tests"},
    {"HKCR", ".tlwdlg"},
    {"HKCR", "FileType_tlwdlg"},
};
// Set to 1 where the registry may be changed so (a throwaway Wine prefix, a
// test machine): the tests replace the editor's own settings and file type.
inline constexpr const char* kRealRegistryVariable = "TELLWRIGHT_TEST_REAL_REGISTRY";

inline HKEY SystemRoot(std::string_view name) { return name == "HKCR" ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER; }

inline void RemoveTestRegistryKeys() {
  for (const auto& key : kTestRegistryKeys) RegDeleteTreeA(SystemRoot(key[0]), key[1]);
}

// A string value as the system's registry holds it, read straight through
// the wide Win32 API as the shell reads it, given as UTF-8; nullopt when it
// is missing or of another type.
inline std::optional<std::string> SystemRegistryString(HKEY root, const std::string& key, const std::string& name) {
  std::wstring wideKey = WideFromUtf8(key);
  std::wstring wideName = WideFromUtf8(name);
  DWORD size = 0;
  if (RegGetValueW(root, wideKey.c_str(), wideName.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(root, wideKey.c_str(), wideName.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  value.resize(value.find(L'\0'));
  return Utf8FromWide(value);
}
#endif

// A registry with every call logged: on Linux over a store file in a
// temporary folder, on Windows the system's own registry through the Win32
// back end (the tests skip themselves unless kRealRegistryVariable allows
// them to change it). `sandbox` names a key that stands in for each root.
class RegistryFixture : public ::testing::Test {
 protected:
  explicit RegistryFixture(std::string sandbox = "") : sandboxed{system, std::move(sandbox)} {}

#ifdef _WIN32
  void SetUp() override {
    const char* allowed = std::getenv(kRealRegistryVariable);
    if (!allowed || std::string(allowed) != "1")
      GTEST_SKIP() << "changes the system's registry; set " << kRealRegistryVariable << "=1 to allow it";
    RemoveTestRegistryKeys();
  }
  void TearDown() override {
    const char* allowed = std::getenv(kRealRegistryVariable);
    if (allowed && std::string(allowed) == "1") RemoveTestRegistryKeys();
  }
#endif

  // The registry as a later run of the editor finds it.
  std::unique_ptr<RegistryBackend> NextSession() {
#ifdef _WIN32
    return MakeWin32RegistryBackend();
#else
    return std::make_unique<RegistryStore>(temp.file("registry"));
#endif
  }

  TempDir temp;
#ifdef _WIN32
  std::unique_ptr<RegistryBackend> systemRegistry = MakeWin32RegistryBackend();
  RegistryBackend& system = *systemRegistry;
#else
  RegistryStore store{temp.file("registry")};
  RegistryBackend& system = store;
#endif
  PrefixedBackend sandboxed;
  RegistryBackend& backend = sandboxed;  // what the registry works on, unlogged
  RecordingBackend recording{backend};
  RecordingReporter reporter;
  Registry registry{recording, reporter};
};

}  // namespace tellwright::testing
