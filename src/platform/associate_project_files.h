#pragma once

#include <string>

#include "base/status.h"
#include "os/user_folders.h"
#include "settings/registry.h"
#include "settings/reporter.h"

namespace tellwright {

#ifdef _WIN32
inline constexpr bool kDesktopIntegrationByDefault = false;
#else
inline constexpr bool kDesktopIntegrationByDefault = true;
#endif

struct AssociationRequest {
  std::string program;  // full path of the editor executable
  std::string icon;     // "" gives "TLWIcon.ico" in the program's folder
  bool registry = true;  // the keys under HKEY_CLASSES_ROOT
  bool desktop = kDesktopIntegrationByDefault;  // the freedesktop registration
  std::string dataHome;  // "" gives DataHome() of the environment
};

// The "Associate files" command: makes project files (".tlwdlg") open in the
// editor, through the registry and, where the desktop does not read the
// registry, the freedesktop way. Each failed step is reported and the rest
// still run; the result says whether everything succeeded.
Status AssociateProjectFiles(const AssociationRequest& request, Registry& registry, Reporter& reporter,
                             const EnvironmentLookup& environment = ProcessEnvironment());

}  // namespace tellwright
