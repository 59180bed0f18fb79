#include "platform/associate_project_files.h"

#include <filesystem>
#include <system_error>

#include "document/project_file.h"
#include "os/file_names.h"
#include "platform/desktop_integration.h"
#include "settings/association.h"

namespace tellwright {

Status AssociateProjectFiles(const AssociationRequest& request, Registry& registry, Reporter& reporter,
                             const EnvironmentLookup& environment) {
  int failures = 0;
  if (request.registry) {
    std::string icon = request.icon.empty() ? AssociationIconPath(request.program) : request.icon;
    if (!Associate(registry, kProjectExtension, request.program, kAssociationDescription, icon)) ++failures;
  }
  if (request.desktop) {
    std::error_code ec;
    if (!std::filesystem::exists(FileSystemPath(request.program), ec)) {
      reporter.ReportNote("note: \"" + request.program + "\" does not exist yet; the association names it anyway");
    }
    std::string dataHome = request.dataHome.empty() ? DataHome(environment).value_or("") : request.dataHome;
    failures += InstallDesktopIntegration(request.program, dataHome, environment, reporter);
  }
  if (failures == 0) return Status::Ok();
  return Status::Error("the file association is incomplete: " + std::to_string(failures) +
                       (failures == 1 ? " step failed" : " steps failed"));
}

}  // namespace tellwright
