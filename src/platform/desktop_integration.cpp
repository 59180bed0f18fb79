#include "platform/desktop_integration.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "os/atomic_write.h"
#include "os/child_process.h"
#include "os/file_names.h"
#include "platform/desktop_entry.h"

namespace tellwright {

namespace {

class Installer {
 public:
  Installer(const std::string& dataHome, const EnvironmentLookup& environment, Reporter& reporter)
      : dataHome_(dataHome), environment_(environment), reporter_(reporter) {}

  int failures() const { return failures_; }

  std::string PathOf(std::string_view relative) const { return dataHome_ + "/" + std::string(relative); }

  void Fail(const std::string& message) {
    reporter_.ReportError(kAssociateTitle, message);
    ++failures_;
  }

  bool WriteFile(std::string_view relative, std::string_view bytes) {
    std::string path = PathOf(relative);
    std::error_code ec;
    std::filesystem::create_directories(FileSystemPath(path).parent_path(), ec);
    if (ec) {
      Fail("cannot create the folder for \"" + path + "\": " + ec.message());
      return false;
    }
    Status written = WriteFileAtomically(path, bytes);
    if (!written) {
      Fail(written.message);
      return false;
    }
    reporter_.ReportNote("wrote " + path);
    return true;
  }

  void Run(std::string_view tool, const std::vector<std::string>& arguments) {
    std::optional<std::string> program = FindOnPath(tool, environment_);
    if (!program) {
      reporter_.ReportNote(std::string(tool) + " is not installed; skipped");
      return;
    }
    std::string failure = DescribeRunFailure(RunProgram(*program, arguments));
    if (!failure.empty()) {
      Fail(std::string(tool) + " " + failure);
      return;
    }
    reporter_.ReportNote("ran " + std::string(tool));
  }

 private:
  std::string dataHome_;
  const EnvironmentLookup& environment_;
  Reporter& reporter_;
  int failures_ = 0;
};

}  // namespace

int InstallDesktopIntegration(std::string_view program, const std::string& dataHome,
                              const EnvironmentLookup& environment, Reporter& reporter) {
  Installer installer(dataHome, environment, reporter);
  if (dataHome.empty() || dataHome.front() != '/') {
    installer.Fail("no folder for desktop files: set XDG_DATA_HOME or HOME");
    return installer.failures();
  }
  bool typeWritten = installer.WriteFile(std::string("mime/packages/") + std::string(kMimePackageFileName),
                                         MimePackageXml());
  installer.WriteFile(std::string("icons/hicolor/scalable/apps/") + std::string(kIconFileName), IconSvg());
  bool entryWritten = false;
  std::optional<std::string> entry = DesktopEntryText(program);
  if (program.empty() || program.front() != '/') {
    installer.Fail("the editor's path \"" + std::string(program) + "\" is not a full path");
  } else if (!entry) {
    installer.Fail("a desktop entry cannot name the editor's path \"" + std::string(program) +
                   "\" (control characters or bytes that are not UTF-8)");
  } else {
    entryWritten = installer.WriteFile(std::string("applications/") + std::string(kDesktopEntryFileName), *entry);
  }
  if (typeWritten) installer.Run("update-mime-database", {installer.PathOf("mime")});
  if (entryWritten) {
    installer.Run("update-desktop-database", {installer.PathOf("applications")});
    installer.Run("xdg-mime", {"default", std::string(kDesktopEntryFileName), std::string(kProjectMimeType)});
  }
  return installer.failures();
}

}  // namespace tellwright
