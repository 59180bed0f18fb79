#include "os/program_path.h"

#include <filesystem>
#include <system_error>

#include "base/path_names.h"
#include "os/file_names.h"
#include "os/windows_api.h"

namespace tellwright {

std::optional<std::string> RunningProgramPath() {
#ifdef _WIN32
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::nullopt;
    if (length < path.size()) {
      path.resize(length);
      return FileNameString(std::filesystem::path(path));
    }
    path.resize(path.size() * 2);
  }
#else
  std::error_code ec;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::nullopt;
  return path.string();
#endif
}

std::string EditorProgramBeside(std::string_view program) {
#ifdef _WIN32
  constexpr std::string_view kEditorName = "tellwright.exe";
#else
  constexpr std::string_view kEditorName = "tellwright";
#endif
  return std::string(FolderPart(program)) + std::string(kEditorName);
}

}  // namespace tellwright
