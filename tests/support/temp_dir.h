#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "os/file_names.h"

namespace tellwright::testing {

// A fresh folder under the system's temporary folder, removed with its
// contents when the test ends.
class TempDir {
 public:
  TempDir() {
#ifdef _WIN32
    // No mkdtemp: a random name, made only if no folder has it yet.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      std::filesystem::path candidate =
          std::filesystem::temp_directory_path() / ("tellwright-test-" + std::to_string(random()));
      std::error_code ec;
      if (std::filesystem::create_directory(candidate, ec)) path_ = candidate;
    }
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "tellwright-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
#endif
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(std::string_view name) const { return FileNameString(path_ / FileSystemPath(name)); }
  // A folder below this one, made on first use.
  std::string folder(std::string_view name) const {
    std::error_code ec;
    std::filesystem::create_directories(path_ / FileSystemPath(name), ec);
    return file(name);
  }

 private:
  std::filesystem::path path_;
};

// Paths are file names as the program takes them (UTF-8 on Windows).
inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(FileSystemPath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(FileSystemPath(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tellwright::testing
