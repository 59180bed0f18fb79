#include "os/atomic_write.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "os/file_names.h"
#include "os/windows_api.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tellwright {

namespace {

std::string Reason(int error) { return std::strerror(error); }

Status Failure(const std::string& path, const std::string& what, int error) {
  return Status::Error("cannot " + what + " \"" + path + "\": " + Reason(error));
}

// The file a write to `path` replaces: where its chain of symbolic links
// ends (relative links count from the folder of the link), or `path` itself.
Status FollowLinks(const std::string& path, std::string& target) {
  constexpr int kMostLinks = 40;  // as many as the system follows before it gives up
  std::filesystem::path file = FileSystemPath(path);
  for (int links = 0;; ++links) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec))) break;
    if (links == kMostLinks) return Failure(path, "write", ELOOP);
    std::filesystem::path next = std::filesystem::read_symlink(file, ec);
    if (ec) return Status::Error("cannot write \"" + path + "\": " + ec.message());
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
  target = FileNameString(file);
  return Status::Ok();
}

#ifndef _WIN32

// A file the user cannot write, or has made read-only (which root could
// write all the same), is not replaced behind the user's back; the reason
// is the system's.
int RefusalToReplace(const std::string& target) {
  struct stat existing;
  if (::stat(target.c_str(), &existing) != 0) return 0;
  if (::access(target.c_str(), W_OK) != 0) return errno;
  if ((existing.st_mode & 0222) == 0) return EACCES;
  return 0;
}

// Creates a new, unique temporary file beside `path`; returns its descriptor.
int CreateTemporaryBeside(const std::string& path, std::string& temporaryPath) {
  temporaryPath = path + ".tmp-XXXXXX";
  return mkstemp(temporaryPath.data());
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// A replaced file keeps its permission bits; a new one gets the usual
// permissions a program creates files with (0666 less the umask).
void ApplyPermissions(int fd, const std::string& path, FileAccess access) {
  if (access == FileAccess::kOwnerOnly) {
    ::fchmod(fd, 0600);
    return;
  }
  struct stat existing;
  if (::stat(path.c_str(), &existing) == 0) {
    ::fchmod(fd, existing.st_mode & 07777);
    return;
  }
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
}

// Flushes the folder holding `path`, so its new entry (the rename) is on the
// disk too and a power cut cannot bring the old file back.
void SyncContainingFolder(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

#else

Status Failure(const std::string& path, const std::string& what, DWORD error) {
  return Status::Error("cannot " + what + " \"" + path + "\": " + WindowsErrorText(error));
}

// Creates a new temporary file beside `path`, open for writing and shared
// with nobody until it is closed.
HANDLE CreateTemporaryBeside(const std::string& path, std::wstring& temporaryPath) {
  std::wstring target = FileSystemPath(path).native();
  for (unsigned attempt = 0;; ++attempt) {
    temporaryPath = target + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(attempt);
    HANDLE file =
        CreateFileW(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS || attempt == 100) return file;
  }
}

// A file someone else is reading for a moment (a virus scanner, the search
// indexer, another editor loading it) cannot be replaced meanwhile: tried
// again for up to half a second before the save gives up.
bool ReplaceWith(const std::wstring& temporaryPath, const std::wstring& target) {
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(temporaryPath.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    DWORD error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == 20) return false;
    Sleep(25);
  }
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

#endif

}  // namespace

AtomicFile::~AtomicFile() { discard(); }

Status AtomicFile::open(const std::string& path, [[maybe_unused]] FileAccess access) {
  discard();
  path_ = path;
  failed_ = false;
  error_ = 0;
  std::error_code ec;
  if (std::filesystem::is_directory(FileSystemPath(path), ec)) return Failure(path, "write", EISDIR);
  if (Status status = FollowLinks(path, target_); !status) return status;
#ifndef _WIN32
  if (int refusal = RefusalToReplace(target_)) return Failure(path, "write", refusal);
  fd_ = CreateTemporaryBeside(target_, temporaryPath_);
  if (fd_ < 0) return Failure(path, "write", errno);
  ApplyPermissions(fd_, target_, access);
#else
  // Read-only is a promise the user made: MoveFileExW keeps it on Windows,
  // though not every implementation of the call does, so it is checked here.
  //
  // Files here are private to the user's profile already: kOwnerOnly asks
  // for nothing more.
  DWORD attributes = GetFileAttributesW(FileSystemPath(target_).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return Failure(path, "write", static_cast<DWORD>(ERROR_ACCESS_DENIED));
  HANDLE file = CreateTemporaryBeside(target_, temporaryPath_);
  if (file == INVALID_HANDLE_VALUE) return Failure(path, "write", GetLastError());
  file_ = file;
#endif
  open_ = true;
  return Status::Ok();
}

void AtomicFile::write(std::string_view bytes) {
  if (!open_ || failed_) return;
#ifndef _WIN32
  if (!WriteAll(fd_, bytes)) {
    failed_ = true;
    error_ = errno;
  }
#else
  if (!WriteAll(static_cast<HANDLE>(file_), bytes)) {
    failed_ = true;
    error_ = GetLastError();
  }
#endif
}

Status AtomicFile::commit() {
  if (!open_) return Failure(path_, "write", EBADF);
  open_ = false;
#ifndef _WIN32
  bool written = !failed_ && ::fsync(fd_) == 0;
  int error = failed_ ? error_ : errno;
  if (::close(fd_) != 0 && written) {
    written = false;
    error = errno;
  }
  fd_ = -1;
  if (!written || std::rename(temporaryPath_.c_str(), target_.c_str()) != 0) {
    if (written) error = errno;
    ::unlink(temporaryPath_.c_str());
    return Failure(path_, "write", error);
  }
  // The file is written and in place: a folder that cannot be flushed does
  // not make the save fail; the rename reaches the disk when the system writes
  // the folder back on its own.
  SyncContainingFolder(target_);
  return Status::Ok();
#else
  // The temporary file reaches the disk before it replaces the target, and
  // MoveFileExW replaces it in one step, also when the target exists, writing
  // the change of the folder through before it returns. A target that is
  // read-only or that another program keeps open is not replaced: the save
  // fails and the old file stays.
  HANDLE file = static_cast<HANDLE>(file_);
  file_ = nullptr;
  bool written = !failed_ && FlushFileBuffers(file);
  DWORD error = failed_ ? error_ : GetLastError();
  if (!CloseHandle(file) && written) {
    written = false;
    error = GetLastError();
  }
  if (written) {
    if (ReplaceWith(temporaryPath_, FileSystemPath(target_).native())) return Status::Ok();
    error = GetLastError();
  }
  DeleteFileW(temporaryPath_.c_str());
  return Failure(path_, "write", error);
#endif
}

void AtomicFile::discard() {
  if (!open_) return;
  open_ = false;
#ifndef _WIN32
  ::close(fd_);
  fd_ = -1;
  ::unlink(temporaryPath_.c_str());
#else
  CloseHandle(static_cast<HANDLE>(file_));
  file_ = nullptr;
  DeleteFileW(temporaryPath_.c_str());
#endif
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes, FileAccess access) {
  AtomicFile file;
  if (Status status = file.open(path, access); !status) return status;
  file.write(bytes);
  return file.commit();
}

Status ReadWholeFile(const std::string& path, std::string& bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(FileSystemPath(path), ec)) return Failure(path, "read", EISDIR);
  FILE* file = OpenFile(path, "rb");
  if (!file) return Failure(path, "open", errno);
  bytes.clear();
  char buffer[1 << 16];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  bool failed = std::ferror(file) != 0;
  int error = errno;
  std::fclose(file);
  if (failed) return Failure(path, "read", error);
  return Status::Ok();
}

}  // namespace tellwright
