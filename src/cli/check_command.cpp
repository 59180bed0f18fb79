#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "export/dialogue_check.h"

namespace tellwright::cli {

namespace {

struct CheckOptions {
  std::vector<std::string> projects;
};

// A fault is printed as "PROJECT: error: MESSAGE", the message exactly as the
// editor shows it. Every project is checked; the worst outcome is the code.
int RunCheck(const CheckOptions& options) {
  int exitCode = kExitOk;
  for (const std::string& project : options.projects) {
    std::optional<DialogueDocument> document = LoadProjectFile(project);
    if (!document) {
      exitCode = std::max<int>(exitCode, kExitError);
      continue;
    }
    if (CheckResult result = CheckDialogue(*document); !result) {
      PrintDiagnostic(project, "error", Cp1252ToUtf8(result.message));
      exitCode = std::max<int>(exitCode, kExitCheckFault);
    }
  }
  return exitCode;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* check =
      app.add_subcommand("check", "Check projects for the faults that would break an exported WME or Vexa script.");
  check->footer(
      "Prints nothing for a project without faults, else its first fault as PROJECT: error: MESSAGE.\n"
      "Exit code 1 when a project has a fault, 2 when a project cannot be read.\n");
  check->add_option("PROJECT", options->projects, "Project files (.tlwdlg)")->type_name("FILE")->required();
  check->callback([options, &exitCode] { exitCode = RunCheck(*options); });
}

}  // namespace tellwright::cli
