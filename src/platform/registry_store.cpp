#include "platform/registry_store.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/path_names.h"
#include "os/atomic_write.h"
#include "os/file_names.h"
#include "platform/registry_store_format.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tellwright {

namespace {

enum class FileState { Missing, Read, Damaged, Unreadable };

struct LoadedStore {
  RegistryTree tree;
  FileState state = FileState::Missing;
};

LoadedStore LoadStore(const std::string& path) {
  LoadedStore loaded;
  std::error_code ec;
  if (path.empty() || !std::filesystem::exists(FileSystemPath(path), ec)) return loaded;
  std::uintmax_t size = std::filesystem::file_size(FileSystemPath(path), ec);
  if (!ec && size > kMaxRegistryStoreBytes) {
    loaded.state = FileState::Damaged;
    return loaded;
  }
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    loaded.state = FileState::Unreadable;
    return loaded;
  }
  std::optional<RegistryTree> tree = ReadRegistryStore(bytes);
  loaded.state = tree ? FileState::Read : FileState::Damaged;
  if (tree) loaded.tree = std::move(*tree);
  return loaded;
}

// XDG asks for a private folder where one has to be made.
bool EnsureFolder(const std::string& filePath) {
  std::filesystem::path folder = FileSystemPath(FolderPart(filePath));
  if (folder.empty()) return true;
  std::error_code ec;
  if (std::filesystem::is_directory(folder, ec)) return true;
  if (!std::filesystem::create_directories(folder, ec)) return false;
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
  return true;
}

// Holds a lock on "<store>.lock" for its lifetime: an exclusive one, so that
// the read-change-write of one editor is not interleaved with another's, or
// a shared one for reading (Windows only). Without a lock file (exotic file
// systems) changes go ahead unlocked.
class StoreLock {
 public:
  enum Kind { Exclusive, Shared };

  explicit StoreLock(const std::string& filePath, Kind kind = Exclusive) {
#ifndef _WIN32
    (void)kind;
    fd_ = ::open((filePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0) {
      while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
#else
    std::wstring lockPath = FileSystemPath(filePath + ".lock").native();
    file_ = CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ != INVALID_HANDLE_VALUE) {
      OVERLAPPED whole{};
      if (!LockFileEx(file_, kind == Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0, 0, 1, 0, &whole)) {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
      }
    }
#endif
  }
  ~StoreLock() {
#ifndef _WIN32
    if (fd_ >= 0) ::close(fd_);
#else
    if (file_ != INVALID_HANDLE_VALUE) {
      OVERLAPPED whole{};
      UnlockFileEx(file_, 0, 1, 0, &whole);
      CloseHandle(file_);
    }
#endif
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

 private:
#ifndef _WIN32
  int fd_ = -1;
#else
  HANDLE file_ = INVALID_HANDLE_VALUE;
#endif
};

class StoreKey : public RegistryKey {
 public:
  StoreKey(RegistryStore& store, RegistryRoot root, std::string path)
      : store_(store), root_(root), path_(std::move(path)) {}

  bool SetValue(std::string_view name, const RegistryValue& value) override {
    return store_.Update([&](RegistryTree& tree) {
      RegistryNode* key = tree.Find(root_, path_);
      if (!key) return RegistryStore::Change::Failed;  // deleted meanwhile
      key->values.insert_or_assign(std::string(name), value);
      return RegistryStore::Change::Changed;
    });
  }

  std::optional<RegistryValue> QueryValue(std::string_view name) override {
    RegistryTree tree = store_.Load();
    RegistryNode* key = tree.Find(root_, path_);
    if (!key) return std::nullopt;
    auto found = key->values.find(name);
    if (found == key->values.end()) return std::nullopt;
    return found->second;
  }

  std::optional<std::string> SubKeyName(uint32_t index) override {
    RegistryTree tree = store_.Load();
    RegistryNode* key = tree.Find(root_, path_);
    if (!key || index >= key->children.size()) return std::nullopt;
    return std::next(key->children.begin(), index)->first;
  }

 private:
  RegistryStore& store_;
  RegistryRoot root_;
  std::string path_;
};

}  // namespace

RegistryStore::RegistryStore(std::string filePath) : filePath_(std::move(filePath)) {}

std::unique_ptr<RegistryStore> RegistryStore::ForUser(const EnvironmentLookup& environment) {
  return std::make_unique<RegistryStore>(RegistryStoreFile(environment).value_or(""));
}

RegistryTree RegistryStore::Load() const {
#ifdef _WIN32
  // Windows cannot open a file while another editor replaces it: reads wait
  // for the change, under a lock that readers share.
  if (!filePath_.empty()) {
    StoreLock lock(filePath_, StoreLock::Shared);
    return LoadStore(filePath_).tree;
  }
#endif
  return LoadStore(filePath_).tree;
}

bool RegistryStore::Update(const std::function<Change(RegistryTree&)>& change) {
  if (filePath_.empty() || !EnsureFolder(filePath_)) return false;
  StoreLock lock(filePath_);
  LoadedStore loaded = LoadStore(filePath_);
  if (loaded.state == FileState::Unreadable) return false;
  Change result = change(loaded.tree);
  if (result != Change::Changed) return result == Change::Unchanged;
  if (loaded.state == FileState::Damaged) {
    std::error_code ec;
    std::filesystem::rename(FileSystemPath(filePath_), FileSystemPath(filePath_ + ".damaged"), ec);
  }
  return WriteFileAtomically(filePath_, WriteRegistryStore(loaded.tree)).ok;
}

std::unique_ptr<RegistryKey> RegistryStore::OpenKey(RegistryRoot root, std::string_view path,
                                                    std::string_view computer, bool create) {
  if (!computer.empty()) return nullptr;
  bool exists = false;
  if (create) {
    exists = Update([&](RegistryTree& tree) {
      bool created = false;
      if (!tree.Create(root, path, created)) return Change::Failed;
      return created ? Change::Changed : Change::Unchanged;
    });
  } else {
    exists = Load().Find(root, path) != nullptr;
  }
  if (!exists) return nullptr;
  return std::make_unique<StoreKey>(*this, root, std::string(path));
}

bool RegistryStore::DeleteKey(RegistryRoot root, std::string_view path, std::string_view computer) {
  if (!computer.empty()) return false;
  return Update([&](RegistryTree& tree) { return tree.Delete(root, path) ? Change::Changed : Change::Failed; });
}

}  // namespace tellwright
