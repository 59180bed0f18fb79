#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "document/project_file.h"

namespace tellwright::cli {

namespace {

struct ResaveOptions {
  std::string project;
  std::string output;
};

int RunResave(const ResaveOptions& options) {
  std::optional<DialogueDocument> loaded = LoadProjectFile(options.project);
  if (!loaded) return kExitError;
  const DialogueDocument& document = KeptUntilExit(std::move(*loaded));
  std::optional<std::string> target = OutputTarget(options.output, kProjectExtension, options.project);
  if (!target) return kExitError;
  return WriteOutput(*target, [&](OutputBuffer& out) { WriteProject(document, out); }) ? kExitOk : kExitError;
}

}  // namespace

void AddResaveCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ResaveOptions>();
  CLI::App* resave = app.add_subcommand("resave", "Load a project and save it again, as the editor would.");
  resave->add_option("PROJECT", options->project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  resave
      ->add_option("-o,--output", options->output,
                   "Project file; \".tlwdlg\" is appended when missing; - for standard output")
      ->type_name("OUT")
      ->required()
      ->check(kOutputName);
  resave->footer(
      "A file the editor wrote comes out byte for byte the same. The project itself is never written over: name\n"
      "another file.\n");
  resave->callback([options, &exitCode] { exitCode = RunResave(*options); });
}

}  // namespace tellwright::cli
