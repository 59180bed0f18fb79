#pragma once

#include <string>
#include <string_view>

#include "os/user_folders.h"
#include "settings/reporter.h"

namespace tellwright {

inline constexpr std::string_view kAssociateTitle = "Associate files";

// Registers project files with a freedesktop desktop for this user, below
// `dataHome` (normally $XDG_DATA_HOME or ~/.local/share):
//   mime/packages/tellwright.xml                 the file type for *.tlwdlg
//   icons/hicolor/scalable/apps/tellwright.svg   the icon
//   applications/tellwright.desktop              starts `program` with the file
// then runs update-mime-database, update-desktop-database and
// "xdg-mime default" where $PATH has them. Every failure is reported
// (title kAssociateTitle) and the remaining steps still run; a tool that is
// not installed is only noted. Returns how many steps failed.
int InstallDesktopIntegration(std::string_view program, const std::string& dataHome,
                              const EnvironmentLookup& environment, Reporter& reporter);

}  // namespace tellwright
