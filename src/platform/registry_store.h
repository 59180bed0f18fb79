#pragma once

#include <functional>
#include <memory>
#include <string>

#include "os/user_folders.h"
#include "platform/registry_tree.h"
#include "settings/registry_backend.h"

namespace tellwright {

// The per-user registry of systems without one: the keys of all roots in one
// file (format in registry_store_format.h). Every operation reads the file
// afresh and every change rewrites it whole, atomically, under a lock file,
// so two editors running at once see each other's keys and lose none. A
// damaged file reads as empty; the first change moves it aside to
// "<file>.damaged" before writing a new one. Other computers cannot be
// reached: any non-empty computer name fails, as a failed connection does.
class RegistryStore : public RegistryBackend {
 public:
  // An empty path gives a store that reads empty and refuses every change.
  explicit RegistryStore(std::string filePath);

  // The store of the user the environment describes.
  static std::unique_ptr<RegistryStore> ForUser(const EnvironmentLookup& environment);

  const std::string& filePath() const { return filePath_; }

  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, std::string_view computer,
                                       bool create) override;
  bool DeleteKey(RegistryRoot root, std::string_view path, std::string_view computer) override;

  // The keys as the file holds them now.
  RegistryTree Load() const;

  enum class Change { Failed, Unchanged, Changed };
  // Re-reads the file under the lock, lets `change` alter the keys and writes
  // them back when it reports a change. False when `change` failed or the
  // file could not be written.
  bool Update(const std::function<Change(RegistryTree&)>& change);

 private:
  std::string filePath_;
};

// Stores bigger than this are not read: no settings file grows that large.
inline constexpr size_t kMaxRegistryStoreBytes = 16u << 20;

}  // namespace tellwright
