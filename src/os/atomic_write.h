#pragma once

#include <string>
#include <string_view>

#include "base/byte_sink.h"
#include "base/status.h"

namespace tellwright {

// Who may read a file the program writes.
enum class FileAccess {
  kUsual,      // a replaced file keeps its permission bits; a new one gets the usual ones
  kOwnerOnly,  // the user alone (0600 on POSIX), also when it replaces a file
};

// A file written the safe way: through a new temporary file in the target's
// folder, flushed to disk and renamed over the target only when all of it
// was written. The bytes come in pieces (a ByteSink), so a large output is
// never held whole. A symbolic link stays a link: the file it leads to is
// written, in that file's folder. Until commit() succeeds the target is
// untouched; a file not committed is removed.
class AtomicFile final : public ByteSink {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile() override;

  // Creates the temporary file for `path`. Refuses a folder, a read-only
  // target, a folder that cannot be written, with the system's reason.
  Status open(const std::string& path, FileAccess access = FileAccess::kUsual);
  // A failure is remembered and reported by commit().
  void write(std::string_view bytes) override;
  // Flushes the file to disk and puts it in place of the target.
  Status commit();

 private:
  void discard();

  std::string path_;    // as the caller named it, for messages
  std::string target_;  // where the links lead
  bool open_ = false;
  bool failed_ = false;
#ifdef _WIN32
  void* file_ = nullptr;
  std::wstring temporaryPath_;
  unsigned long error_ = 0;
#else
  int fd_ = -1;
  std::string temporaryPath_;
  int error_ = 0;
#endif
};

// Writes `bytes` to `path` through a new temporary file in the same folder,
// flushed to disk and renamed over the target. A symbolic link stays a link:
// the file it leads to is written, in that file's folder. Any failure
// (missing or read-only folder, read-only target, full disk, target is a
// directory) is reported with the system's reason, the temporary file is
// removed and an existing target is left whole.
Status WriteFileAtomically(const std::string& path, std::string_view bytes, FileAccess access = FileAccess::kUsual);

// Reads a whole file; reports why when it cannot.
Status ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace tellwright
