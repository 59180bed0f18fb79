#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/status.h"

namespace tellwright {

// Looks up an environment variable; nullopt when it is not set. Tests hand in
// their own table so that no test depends on, or touches, the real user's
// folders.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

EnvironmentLookup ProcessEnvironment();

// Names the folder holding the settings store file; when set and not empty it
// wins over the configuration folder.
inline constexpr const char* kRegistryDirVariable = "TELLWRIGHT_REGISTRY_DIR";
inline constexpr const char* kRegistryFileName = "registry";

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config; nullopt
// without either. On Windows %APPDATA% when it is a full path.
std::optional<std::string> ConfigHome(const EnvironmentLookup& environment);

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; on
// Windows %APPDATA% when it is a full path.
std::optional<std::string> DataHome(const EnvironmentLookup& environment);

// $XDG_STATE_HOME/tellwright when it is an absolute path, else
// $HOME/.local/state/tellwright; on Windows %LOCALAPPDATA%\Tellwright\Recovery.
// Where a running editor keeps its unsaved work.
std::optional<std::string> RecoveryFolder(const EnvironmentLookup& environment);

// Makes `folder` with its missing parents; the folder itself, new or not, is
// then open to the user alone (0700 on POSIX; on Windows the folders of the
// user's profile are private already).
Status MakePrivateFolder(const std::string& folder);

// $TELLWRIGHT_REGISTRY_DIR/registry, else <config home>/tellwright/registry
// (<config home>\\Tellwright\\registry on Windows).
std::optional<std::string> RegistryStoreFile(const EnvironmentLookup& environment);

}  // namespace tellwright
