#include <memory>
#include <string>

#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "export/dialogue_check.h"
#include "tools/export_formats.h"

namespace tellwright::cli {

namespace {

struct ExportOptions {
  std::string project;
  std::string output;
  bool force = false;
};

// The editor asks "Really save?" when the check finds a fault; here --force
// is the Yes. Returns whether the export goes on.
bool ConfirmedByCheck(const DialogueDocument& document, const ExportOptions& options) {
  CheckResult result = CheckDialogue(document);
  if (result) return true;
  std::string message = Cp1252ToUtf8(result.message);
  if (options.force) {
    PrintDiagnostic(options.project, "warning", message);
    return true;
  }
  PrintDiagnostic(options.project, "error", message);
  PrintDiagnostic(options.project, "note", "nothing exported; --force exports anyway");
  return false;
}

// One file (or standard output), never over the project.
int WriteOneFile(const ExportFormat& format, const DialogueDocument& document, const ExportOptions& options) {
  std::optional<std::string> target = OutputTarget(options.output, format.extension, options.project);
  if (!target) return kExitError;
  if (*target == kStandardOutput)
    return WriteStandardOutput([&](OutputBuffer& out) { format.write(document, out); }) ? kExitOk : kExitError;
  ExportOutcome outcome = RunExport(format, document, *target);
  if (!outcome.status) PrintDiagnostic(*target, "error", outcome.status.message);
  return outcome.ok() ? kExitOk : kExitError;
}

// A file per branch; those not written are named with the reason.
int WriteFilePerBranch(const ExportFormat& format, const DialogueDocument& document, const ExportOptions& options) {
  ExportOutcome outcome = RunExport(format, document, options.output);
  for (const VexaSkippedBranch& skipped : outcome.skipped)
    PrintDiagnostic(
        skipped.path, "error",
        "branch \"" + Cp1252ToUtf8(document.branch(skipped.branch).name) + "\" not written: " + skipped.reason);
  return outcome.ok() ? kExitOk : kExitError;
}

int RunExportCommand(const ExportFormat& format, const ExportOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  if (format.checkFirst && !ConfirmedByCheck(*document, options)) return kExitCheckFault;
  if (format.filePerBranch()) return WriteFilePerBranch(format, *document, options);
  return WriteOneFile(format, *document, options);
}

const CLI::Validator kNotStandardOutput(
    [](const std::string& value) {
      return value == kStandardOutput ? std::string("the Vexa export writes a file per branch, not one stream")
                                      : std::string();
    },
    "");

std::string OutputHelp(const ExportFormat& format) {
  if (format.filePerBranch()) return std::string(format.fileKind) + ", used as it is (nothing is appended)";
  return std::string(format.fileKind) + "; \"" + std::string(format.extension) +
         "\" is appended when missing; - for standard output";
}

// What the help says of a format beyond its options.
std::string Footer(const ExportFormat& format) {
  std::string footer;
  if (format.checkFirst)
    footer += "Runs the dialogue check first: on a fault nothing is written (exit 1) unless --force is given.\n";
  if (format.id == ExportFormatId::Vexa)
    footer +=
        "A branch whose file cannot be written, or whose name would put the file outside the folder of BASE,\n"
        "or whose file another branch of the same name (or the project) is, is reported and skipped; the others\n"
        "are written, and the exit code is 2.\n";
  if (format.id == ExportFormatId::RecordingScript)
    footer +=
        "Columns: Branch, Line, Response, Character, Entity, Key, Text, Sound file, Words, Sound file exists.\n"
        "UTF-8 with a byte-order mark, rows ended by CR LF. Sound files are looked for when the engine project's\n"
        "folder exists on this computer; else that column stays empty.\n";
  return footer;
}

void AddFormat(CLI::App& parent, const ExportFormat& format, int& exitCode,
               const std::shared_ptr<ExportOptions>& options) {
  CLI::App* command = parent.add_subcommand(std::string(format.name), std::string(format.description));
  command->add_option("PROJECT", options->project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  CLI::Option* output = command->add_option("-o,--output", options->output, OutputHelp(format))
                            ->type_name(format.filePerBranch() ? "BASE" : "OUT")
                            ->required();
  if (format.filePerBranch()) output->check(kNotStandardOutput);
  output->check(kOutputName);
  if (format.checkFirst)
    command->add_flag("--force", options->force, "Export even when the dialogue check finds a fault");
  if (std::string footer = Footer(format); !footer.empty()) command->footer(footer);
  command->callback([options, &format, &exitCode] { exitCode = RunExportCommand(format, *options); });
}

}  // namespace

void AddExportCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* exporter = app.add_subcommand(
      "export", "Export a project as WME script, Vexa scripts, a text listing or a voice-over recording script.");
  exporter->require_subcommand(1);
  for (const ExportFormat& format : ExportFormats()) AddFormat(*exporter, format, exitCode, options);
}

}  // namespace tellwright::cli
