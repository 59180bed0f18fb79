#include "document/atomic_write.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

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

#ifndef _WIN32

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
void ApplyPermissions(int fd, const std::string& path) {
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

#endif

}  // namespace

Status WriteFileAtomically(const std::string& path, std::string_view bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return Failure(path, "write", EISDIR);
#ifndef _WIN32
  std::string temporaryPath;
  int fd = CreateTemporaryBeside(path, temporaryPath);
  if (fd < 0) return Failure(path, "write", errno);
  ApplyPermissions(fd, path);
  bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written || std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
    if (written) error = errno;
    ::unlink(temporaryPath.c_str());
    return Failure(path, "write", error);
  }
  // The file is written and in place: a folder that cannot be flushed does
  // not make the save fail; the rename reaches the disk when the system writes
  // the folder back on its own.
  SyncContainingFolder(path);
  return Status::Ok();
#else
  // No folder flush on Windows: a folder cannot be opened and synced there the
  // way it is above, so the rename reaches the disk when the system writes it.
  std::string temporaryPath = path + ".tmp";
  FILE* file = std::fopen(temporaryPath.c_str(), "wbx");
  if (!file) return Failure(path, "write", errno);
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
  int error = errno;
  if (std::fclose(file) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written) {
    std::filesystem::rename(temporaryPath, path, ec);
    if (!ec) return Status::Ok();
    error = ec.value();
  }
  std::filesystem::remove(temporaryPath, ec);
  return Failure(path, "write", error);
#endif
}

Status ReadWholeFile(const std::string& path, std::string& bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return Failure(path, "read", EISDIR);
  FILE* file = std::fopen(path.c_str(), "rb");
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
