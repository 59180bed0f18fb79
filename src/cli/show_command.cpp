#include <iostream>
#include <memory>
#include <string>

#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "tools/project_show.h"

namespace tellwright::cli {

namespace {

int RunShow(const std::string& project) {
  std::optional<DialogueDocument> document = LoadProjectFile(project);
  if (!document) return kExitError;
  std::cout << Cp1252ToUtf8(ShowProject(*document));
  std::cout.flush();
  return std::cout ? kExitOk : kExitError;
}

}  // namespace

void AddShowCommand(CLI::App& app, int& exitCode) {
  auto project = std::make_shared<std::string>();
  CLI::App* show = app.add_subcommand(
      "show", "Print a project as readable text, one record a line (for reading, and for git's textconv).");
  show->footer(
      "The engine project path, the characters, every branch with its lines numbered from 1 (each responseblock\n"
      "line followed by its responses), then the blocks no line runs. Texts in double quotes, in UTF-8; control\n"
      "characters as \\xNN.\n");
  show->add_option("PROJECT", *project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  show->callback([project, &exitCode] { exitCode = RunShow(*project); });
}

}  // namespace tellwright::cli
