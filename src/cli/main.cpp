#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "os/file_names.h"

namespace {

constexpr const char* kDescription =
    "Checks, exports and plays Tellwright dialogue projects; shows, compares and merges them for git.\n"
    "Exit codes: 0 success, 1 the dialogue check found a fault, the play stopped at one, the projects\n"
    "differ (diff), conflicts are left (merge) or a translation lacks a key (strings check), 2 usage or\n"
    "file errors.";

// Help and --version end the program successfully; every usage error ends
// it with the one code for usage errors, whatever CLI11 would choose.
int ReportParseError(const CLI::App& app, const CLI::ParseError& error) {
  if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
  std::string message = error.what();
  // An unknown subcommand would otherwise read as a missing one.
  const CLI::App* chosen = &app;
  while (!chosen->get_subcommands().empty()) chosen = chosen->get_subcommands().front();
  std::vector<std::string> unused = chosen->remaining();
  if (chosen->get_require_subcommand_min() > 0 && !unused.empty()) {
    message = "unknown subcommand \"" + unused.front() + "\"";
  } else if (dynamic_cast<const CLI::RequiredError*>(&error)) {
    // An unknown option is set aside before the missing argument is
    // noticed; it is the real fault ("check -x.tlwdlg").
    for (const std::string& argument : unused)
      if (argument.size() > 1 && argument[0] == '-') {
        message = "unknown option \"" + argument + "\"; a file whose name starts with \"-\" goes after \"--\"";
        break;
      }
  }
  std::cerr << "tellwright-cli: error: " << message << "\n"
            << "Run with --help for more information.\n";
  return tellwright::cli::kExitError;
}

}  // namespace

int main(int argc, char** argv) {
  tellwright::cli::KeepStandardStreamsApart();
  CLI::App app(kDescription, "tellwright-cli");
  app.set_version_flag("--version", "tellwright-cli " TELLWRIGHT_VERSION);
  app.require_subcommand(1);
  // On Windows too, "/" starts a path ("/games/intro.tlwdlg"), never an option.
  app.allow_windows_style_options(false);
  int exitCode = tellwright::cli::kExitOk;
  for (tellwright::cli::AddSubcommand add : tellwright::cli::kSubcommands) add(app, exitCode);
  // File names in the arguments as the program handles them (UTF-8 on
  // Windows, whatever the console's code page).
  std::vector<std::string> arguments = tellwright::ProgramArguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::ParseError& error) {
    exitCode = ReportParseError(app, error);
  }
  // Whatever ran, a failed write of its output is reported and fails the run.
  return tellwright::cli::WithOutputChecked(exitCode);
}
