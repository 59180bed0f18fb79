#include "platform/user_folders.h"

#include <cstdlib>

namespace tellwright {

namespace {

std::optional<std::string> NonEmpty(const EnvironmentLookup& environment, const char* name) {
  std::optional<std::string> value = environment(name);
  if (value && value->empty()) return std::nullopt;
  return value;
}

std::string JoinPath(std::string folder, std::string_view name) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  folder += name;
  return folder;
}

// The XDG base-directory rule: a relative value is invalid and ignored.
std::optional<std::string> XdgFolder(const EnvironmentLookup& environment, const char* variable,
                                     std::string_view homeRelative) {
  std::optional<std::string> value = NonEmpty(environment, variable);
  if (value && value->front() == '/') return value;
  std::optional<std::string> home = NonEmpty(environment, "HOME");
  if (!home) return std::nullopt;
  return JoinPath(*home, homeRelative);
}

}  // namespace

EnvironmentLookup ProcessEnvironment() {
  return [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
  };
}

std::optional<std::string> ConfigHome(const EnvironmentLookup& environment) {
  return XdgFolder(environment, "XDG_CONFIG_HOME", ".config");
}

std::optional<std::string> DataHome(const EnvironmentLookup& environment) {
  return XdgFolder(environment, "XDG_DATA_HOME", ".local/share");
}

std::optional<std::string> RecoveryFolder(const EnvironmentLookup& environment) {
#ifdef _WIN32
  std::optional<std::string> local = NonEmpty(environment, "LOCALAPPDATA");
  if (!local) return std::nullopt;
  return *local + "\\Tellwright\\Recovery";
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
  return JoinPath(JoinPath(*config, "tellwright"), kRegistryFileName);
}

}  // namespace tellwright
