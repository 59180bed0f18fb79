#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "document/project_file.h"
#include "os/file_names.h"
#include "os/program_path.h"
#include "platform/associate_project_files.h"
#include "platform/system_registry.h"
#include "settings/registry.h"

namespace tellwright::cli {

namespace {

struct AssociateOptions {
  std::string program;
  bool noRegistry = false;
  bool noDesktop = false;
};

// Steps go to standard output, faults to standard error.
class ConsoleReporter : public Reporter {
 public:
  void ReportError(std::string_view title, std::string_view message) override {
    std::cerr << "tellwright-cli: error: " << title << ": " << message << '\n';
  }
  void ReportNote(std::string_view message) override { std::cout << message << '\n'; }
};

// The editor beside this program, unless another one was named.
std::optional<std::string> EditorProgram(const AssociateOptions& options) {
  if (!options.program.empty()) return FileNameString(std::filesystem::absolute(FileSystemPath(options.program)));
  if (std::optional<std::string> self = RunningProgramPath()) return EditorProgramBeside(*self);
  return std::nullopt;
}

int RunAssociate(const AssociateOptions& options) {
  AssociationRequest request;
  request.registry = !options.noRegistry;
  request.desktop = request.desktop && !options.noDesktop;
  if (!request.registry && !request.desktop) {
    std::cerr << "tellwright-cli: error: nothing to associate: --no-registry leaves out the file type keys, and "
              << (kDesktopIntegrationByDefault ? "--no-desktop the freedesktop registration"
                                               : "this system has no freedesktop registration")
              << "\n";
    return kExitError;
  }
  std::optional<std::string> program = EditorProgram(options);
  if (!program) {
    std::cerr << "tellwright-cli: error: cannot tell where this program lies; name the editor with --program\n";
    return kExitError;
  }
  ConsoleReporter reporter;
  std::unique_ptr<RegistryBackend> backend = MakeSystemRegistryBackend();
  Registry registry(*backend, reporter);
  request.program = *program;
  Status status = AssociateProjectFiles(request, registry, reporter);
  if (!status) {
    std::cerr << "tellwright-cli: error: " << status.message << '\n';
    return kExitError;
  }
  std::cout << "associated " << kProjectExtension << " files with " << request.program << '\n';
  return kExitOk;
}

}  // namespace

void AddAssociateCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<AssociateOptions>();
  CLI::App* associate = app.add_subcommand(
      "associate", "Make project files (.tlwdlg) open in the editor from the file manager, for this user.");
  associate->footer(
      "Writes the file type keys of the settings and, on freedesktop systems, a MIME type, an icon and a\n"
      "desktop entry under $XDG_DATA_HOME (else ~/.local/share), then updates the desktop's databases.\n"
      "Exit code 2 when any step failed (the other steps still run), or when the options leave no step to do.\n");
  associate->add_option("--program", options->program, "The editor to start (default: tellwright beside this tool)")
      ->type_name("PATH");
  associate->add_flag("--no-registry", options->noRegistry, "Leave the file type keys of the settings alone");
  associate->add_flag("--no-desktop", options->noDesktop, "Leave the freedesktop registration out");
  associate->callback([options, &exitCode] { exitCode = RunAssociate(*options); });
}

}  // namespace tellwright::cli
