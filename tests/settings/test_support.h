#pragma once

#include <stdlib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "document/atomic_write.h"
#include "platform/registry_store.h"
#include "platform/registry_tree.h"
#include "platform/user_folders.h"
#include "settings/registry.h"
#include "settings/registry_backend.h"
#include "support/temp_dir.h"

namespace tellwright::testing {


// Sets and unsets variables of this process, and puts them back as they were.
class ScopedEnvironment {
 public:
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }
  void Set(const std::string& name, const std::string& value) {
    Save(name);
    setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Save(name);
    unsetenv(name.c_str());
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

// A registry over a store file in a temporary folder, every call logged.
class RegistryFixture : public ::testing::Test {
 protected:
  TempDir temp;
  RegistryStore store{temp.file("registry")};
  RecordingBackend recording{store};
  RecordingReporter reporter;
  Registry registry{recording, reporter};
};

}  // namespace tellwright::testing
