#include "os/file_identity.h"

#include "os/file_names.h"
#include "os/windows_api.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tellwright {

std::optional<FileIdentity> IdentifyFile(const std::string& name) {
  if (name.empty()) return std::nullopt;
#ifdef _WIN32
  // Opened for no access at all, shared with everyone: asks only who it is.
  HANDLE file = CreateFileW(FileSystemPath(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  bool known = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!known) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
#else
  struct stat info;
  if (::stat(name.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
#endif
}

bool SameFile(const std::string& a, const std::string& b) {
  std::optional<FileIdentity> first = IdentifyFile(a);
  return first && first == IdentifyFile(b);
}

}  // namespace tellwright
