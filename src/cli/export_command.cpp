#include <memory>
#include <string>

#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "export/dialogue_check.h"
#include "export/file_extensions.h"
#include "export/text_export.h"
#include "export/vexa_export.h"
#include "export/wme_export.h"
#include "tools/recording_script.h"

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

// Writes one export file (or standard output), never over the project.
int WriteExport(const ExportOptions& options, std::string_view extension, std::string_view bytes) {
  std::optional<std::string> target = OutputTarget(options.output, extension, options.project);
  if (!target) return kExitError;
  return WriteOutput(*target, bytes) ? kExitOk : kExitError;
}

int RunWme(const ExportOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  if (!ConfirmedByCheck(*document, options)) return kExitCheckFault;
  return WriteExport(options, kScriptExtension, ExportWmeScriptBytes(*document));
}

int RunVexa(const ExportOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  if (!ConfirmedByCheck(*document, options)) return kExitCheckFault;
  VexaExportResult result = ExportVexaScript(*document, options.output);
  for (const VexaSkippedBranch& skipped : result.skipped)
    PrintDiagnostic(
        skipped.path, "error",
        "branch \"" + Cp1252ToUtf8(document->branch(skipped.branch).name) + "\" not written: " + skipped.reason);
  return result.ok() ? kExitOk : kExitError;
}

int RunText(const ExportOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  return WriteExport(options, kTextExtension, ExportTextBytes(*document));
}

// The sound files are looked up under the engine project's folder when it
// is on this computer.
int RunVoiceOver(const ExportOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  return WriteExport(options, kRecordingScriptExtension, WriteRecordingScript(*document));
}

using Run = int (*)(const ExportOptions&);

CLI::App* AddFormat(CLI::App& parent, const char* name, const char* description, Run run, int& exitCode,
                    const std::shared_ptr<ExportOptions>& options) {
  CLI::App* format = parent.add_subcommand(name, description);
  format->add_option("PROJECT", options->project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  format->callback([options, run, &exitCode] { exitCode = run(*options); });
  return format;
}

void AddForce(CLI::App& format, const std::shared_ptr<ExportOptions>& options) {
  format.add_flag("--force", options->force, "Export even when the dialogue check finds a fault");
}

const CLI::Validator kNotStandardOutput(
    [](const std::string& value) {
      return value == kStandardOutput ? std::string("the Vexa export writes a file per branch, not one stream")
                                      : std::string();
    },
    "");

}  // namespace

void AddExportCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* exporter = app.add_subcommand(
      "export", "Export a project as WME script, Vexa scripts, a text listing or a voice-over recording script.");
  exporter->require_subcommand(1);

  CLI::App* wme = AddFormat(*exporter, "wme", "One WME script for the whole project.", RunWme, exitCode, options);
  wme->add_option("-o,--output", options->output,
                  "Script file; \".script\" is appended when missing; - for standard output")
      ->type_name("OUT")
      ->required()
      ->check(kOutputName);
  AddForce(*wme, options);
  wme->footer("Runs the dialogue check first: on a fault nothing is written (exit 1) unless --force is given.\n");

  CLI::App* vexa =
      AddFormat(*exporter, "vexa", "One Vexa script per branch, named BASE_BRANCH.script.", RunVexa, exitCode, options);
  vexa->add_option("-o,--output", options->output, "Base path, used as it is (nothing is appended)")
      ->type_name("BASE")
      ->required()
      ->check(kNotStandardOutput)
      ->check(kOutputName);
  AddForce(*vexa, options);
  vexa->footer(
      "Runs the dialogue check first: on a fault nothing is written (exit 1) unless --force is given.\n"
      "A branch whose file cannot be written, or whose name would put the file outside the folder of BASE,\n"
      "or whose file another branch of the same name (or the project) is, is reported and skipped; the others\n"
      "are written, and the exit code is 2.\n");

  CLI::App* text =
      AddFormat(*exporter, "text", "A screenplay-like text listing (no dialogue check).", RunText, exitCode, options);
  text->add_option("-o,--output", options->output,
                   "Text file; \".txt\" is appended when missing; - for standard output")
      ->type_name("OUT")
      ->required()
      ->check(kOutputName);

  CLI::App* vo =
      AddFormat(*exporter, "vo", "A voice-over recording script: every spoken line as CSV (no dialogue check).",
                RunVoiceOver, exitCode, options);
  vo->add_option("-o,--output", options->output, "CSV file; \".csv\" is appended when missing; - for standard output")
      ->type_name("OUT")
      ->required()
      ->check(kOutputName);
  vo->footer(
      "Columns: Branch, Line, Response, Character, Entity, Key, Text, Sound file, Words, Sound file exists.\n"
      "UTF-8 with a byte-order mark, rows ended by CR LF. Sound files are looked for when the engine project's\n"
      "folder exists on this computer; else that column stays empty.\n");
}

}  // namespace tellwright::cli
