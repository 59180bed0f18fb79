#include "os/user_folders.h"

#include <cstdlib>
#include <filesystem>

#include "os/file_names.h"

namespace tellwright {

namespace {

std::optional<std::string> NonEmpty(const EnvironmentLookup& environment, const char* name) {
  std::optional<std::string> value = environment(name);
  if (value && value->empty()) return std::nullopt;
  return value;
}

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string JoinPath(std::string folder, std::string_view name) {
  if (!folder.empty() && folder.back() != '/' && folder.back() != kSeparator) folder += kSeparator;
  folder += name;
  return folder;
}

#ifdef _WIN32
// A folder the system names in a variable such as %APPDATA%: only a full
// path ("C:\\Users\\ann\\AppData\\Roaming", "\\\\server\\share") counts.
std::optional<std::string> WindowsFolder(const EnvironmentLookup& environment, const char* variable) {
  std::optional<std::string> value = NonEmpty(environment, variable);
  if (!value) return std::nullopt;
  const std::string& v = *value;
  bool drive = v.size() >= 3 && v[1] == ':' && (v[2] == '\\' || v[2] == '/');
  bool share = v.size() >= 2 && v[0] == '\\' && v[1] == '\\';
  if (!drive && !share) return std::nullopt;
  return value;
}
#endif

#ifndef _WIN32
// The XDG base-directory rule: a relative value is invalid and ignored.
std::optional<std::string> XdgFolder(const EnvironmentLookup& environment, const char* variable,
                                     std::string_view homeRelative) {
  std::optional<std::string> value = NonEmpty(environment, variable);
  if (value && value->front() == '/') return value;
  std::optional<std::string> home = NonEmpty(environment, "HOME");
  if (!home) return std::nullopt;
  return JoinPath(*home, homeRelative);
}
#endif

}  // namespace

EnvironmentLookup ProcessEnvironment() {
  return [](const char* name) -> std::optional<std::string> {
#ifdef _WIN32
    // Read as UTF-16 and given as UTF-8, as every file name is here.
    const wchar_t* value = _wgetenv(std::filesystem::path(name).c_str());
    if (!value) return std::nullopt;
    return FileNameString(std::filesystem::path(value));
#else
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
#endif
  };
}

std::optional<std::string> ConfigHome(const EnvironmentLookup& environment) {
#ifdef _WIN32
  return WindowsFolder(environment, "APPDATA");
#else
  return XdgFolder(environment, "XDG_CONFIG_HOME", ".config");
#endif
}

std::optional<std::string> DataHome(const EnvironmentLookup& environment) {
#ifdef _WIN32
  return WindowsFolder(environment, "APPDATA");
#else
  return XdgFolder(environment, "XDG_DATA_HOME", ".local/share");
#endif
}

std::optional<std::string> RecoveryFolder(const EnvironmentLookup& environment) {
#ifdef _WIN32
  std::optional<std::string> local = WindowsFolder(environment, "LOCALAPPDATA");
  if (!local) return std::nullopt;
  return JoinPath(*local, "Tellwright\\Recovery");
#else
  std::optional<std::string> state = XdgFolder(environment, "XDG_STATE_HOME", ".local/state");
  if (!state) return std::nullopt;
  return JoinPath(*state, "tellwright");
#endif
}

std::optional<std::string> RegistryStoreFile(const EnvironmentLookup& environment) {
  if (std::optional<std::string> folder = NonEmpty(environment, kRegistryDirVariable)) {
    return JoinPath(*folder, kRegistryFileName);
  }
  std::optional<std::string> config = ConfigHome(environment);
  if (!config) return std::nullopt;
#ifdef _WIN32
  return JoinPath(JoinPath(*config, "Tellwright"), kRegistryFileName);
#else
  return JoinPath(JoinPath(*config, "tellwright"), kRegistryFileName);
#endif
}

Status MakePrivateFolder(const std::string& folder) {
  std::filesystem::path path = FileSystemPath(folder);
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
#ifndef _WIN32
  if (!ec) std::filesystem::permissions(path, std::filesystem::perms::owner_all, ec);
#endif
  if (ec) return Status::Error("cannot make the folder \"" + folder + "\": " + ec.message());
  return Status::Ok();
}

}  // namespace tellwright
