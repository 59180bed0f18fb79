#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/path_names.h"
#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "document/project_file.h"
#include "os/atomic_write.h"
#include "tools/base_strings.h"
#include "tools/po_file.h"
#include "tools/string_check.h"
#include "tools/string_keys.h"
#include "tools/string_table.h"

namespace tellwright::cli {

namespace {

struct StringsOptions {
  std::string project;
  std::string prefix;
  std::string output;
  std::string encoding = "utf-8";
  std::string format = "tab";
  std::string po;
  std::vector<std::string> translations;
};

TableEncoding EncodingOf(const std::string& name) {
  return name == "windows-1252" ? TableEncoding::Windows1252 : TableEncoding::Utf8;
}

std::string Plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Status messages go to standard error when the output itself goes to
// standard output.
std::ostream& Messages(const std::string& output) { return output == kStandardOutput ? std::cerr : std::cout; }

std::optional<std::string> ReadInput(const std::string& path) {
  std::string bytes;
  if (Status status = ReadWholeFile(path, bytes); !status) {
    PrintDiagnostic(path, "error", status.message);
    return std::nullopt;
  }
  return bytes;
}

int RunAssign(const StringsOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  std::string prefix = options.prefix.empty() ? DefaultKeyPrefix(options.project) : options.prefix;
  KeyAssignment assignment = AssignKeys(*document, prefix);
  if (!assignment.edit.status.ok) {
    PrintDiagnostic("tellwright-cli", "error", "--prefix " + options.prefix + ": " + assignment.edit.status.message);
    return kExitError;
  }
  std::optional<std::string> target = OutputTarget(options.output, kProjectExtension, options.project);
  if (!target || !WriteOutput(*target, WriteProject(*document))) return kExitError;
  std::ostream& out = Messages(*target);
  if (assignment.assigned == 0)
    out << "Every text already has a key.\n";
  else
    out << "Gave " << Plural(assignment.assigned, "text a key", "texts keys") << ": " << assignment.firstKey
        << (assignment.assigned > 1 ? " to " + assignment.lastKey : "") << ".\n";
  return kExitOk;
}

int RunExport(const StringsOptions& options, const CLI::Option* encodingGiven) {
  const bool po = options.format == "po";
  if (po && encodingGiven->count() > 0 && options.encoding != "utf-8") {
    PrintDiagnostic("tellwright-cli", "error", "a PO template is always UTF-8; --encoding is for tables");
    return kExitError;
  }
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  BaseStrings strings = CollectBaseStrings(*document);
  const std::string project = FileName(options.project);
  ProjectLines lines(options.project, *document);
  for (const BaseStringNote& note : strings.notes)
    PrintDiagnostic(project, "warning", note.message, lines.lineOf(note.place, ProblemField::Text));
  if (strings.strings.empty())
    PrintDiagnostic(project, "warning",
                    "no text has a string-table key; give them keys with: tellwright-cli strings assign");

  std::string_view extension = !po                                        ? kStringTableExtension
                               : EndsWithExtension(options.output, ".po") ? ".po"
                                                                          : kPoTemplateExtension;
  std::optional<std::string> target = OutputTarget(options.output, extension, options.project);
  if (!target) return kExitError;
  std::string bytes = po ? WritePoFile(PoTemplate(*document, strings, FileName(FileNamePart(options.project))))
                         : WriteBaseTable(*document, strings, EncodingOf(options.encoding));
  return WriteOutput(*target, bytes) ? kExitOk : kExitError;
}

int RunImport(const StringsOptions& options) {
  std::optional<std::string> bytes = ReadInput(options.po);
  if (!bytes) return kExitError;
  const std::string source = FileName(options.po);
  PoRead read = ReadPoFile(*bytes);
  if (!read.status.ok) {
    PrintDiagnostic(source, "error", read.status.message, read.status.line);
    return kExitError;
  }
  PoImport imported = TableFromPo(read.file, EncodingOf(options.encoding));
  if (!imported.status.ok) {
    PrintDiagnostic(source, "error", imported.status.message, imported.status.line);
    return kExitError;
  }
  if (imported.untranslated + imported.fuzzy > 0)
    PrintDiagnostic(source, "warning",
                    Plural(imported.untranslated + imported.fuzzy, "entry", "entries") + " not translated (" +
                        std::to_string(imported.fuzzy) +
                        " of them fuzzy) left out: the game shows the base text for them");
  if (imported.withoutKey > 0)
    PrintDiagnostic(source, "warning",
                    Plural(imported.withoutKey, "entry has", "entries have") + " no msgctxt, so no key: left out");
  std::optional<std::string> target = OutputTarget(options.output, kStringTableExtension, options.po);
  if (!target || !WriteOutput(*target, imported.table)) return kExitError;
  Messages(*target) << "Wrote " << Plural(imported.written, "entry", "entries") << ".\n";
  return kExitOk;
}

// FILE:LINE: SEVERITY: MESSAGE per finding; the worst outcome is the exit
// code.
int RunCheck(const StringsOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  int exitCode = kExitOk;
  for (const std::string& path : options.translations) {
    const std::string file = FileName(path);
    TranslationCheck check = CheckTranslationFile(*document, path);
    if (!check.status.ok) {
      PrintDiagnostic(file, "error", check.status.message, check.status.line);
      exitCode = kExitError;
      continue;
    }
    const std::vector<TranslationFinding>& findings = check.findings;
    int missing = 0;
    for (const TranslationFinding& finding : findings) {
      std::cout << file;
      if (finding.line > 0) std::cout << ':' << finding.line;
      std::cout << ": " << SeverityName(finding.severity) << ": " << finding.message << '\n';
      if (finding.fault == TranslationFault::Missing) ++missing;
    }
    if (!findings.empty())
      std::cout << file << ": " << Plural(missing, "key", "keys") << " missing, "
                << Plural(static_cast<int>(findings.size()) - missing, "warning", "warnings") << '\n';
    if (missing > 0 && exitCode == kExitOk) exitCode = kExitMissingKey;
  }
  return exitCode;
}

void AddAssign(CLI::App& strings, int& exitCode) {
  auto options = std::make_shared<StringsOptions>();
  CLI::App* assign = strings.add_subcommand("assign", "Give every talkline and response text without a key one.");
  assign->add_option("PROJECT", options->project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  assign
      ->add_option("--prefix", options->prefix,
                   "Key prefix: upper-case letters, digits and _ (default: the project's file name)")
      ->type_name("P");
  assign
      ->add_option("-o,--output", options->output,
                   "Project file; \".tlwdlg\" is appended when missing; - for standard output")
      ->type_name("OUT")
      ->check(kOutputName)
      ->required();
  assign->footer(
      "Keys are the prefix and a number of four digits or more, numbered after the highest key in use with the\n"
      "prefix: /PREFIX0001/text. Remarks, codelines, conditions and sound files get none.\n");
  assign->callback([options, &exitCode] { exitCode = RunAssign(*options); });
}

void AddExport(CLI::App& strings, int& exitCode) {
  auto options = std::make_shared<StringsOptions>();
  CLI::App* exporter = strings.add_subcommand("export", "Write the base string table, or a PO template.");
  exporter->add_option("PROJECT", options->project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  exporter
      ->add_option("-o,--output", options->output,
                   "Table (\".tab\" appended when missing) or template (\".pot\" unless it ends in .po); - for "
                   "standard output")
      ->type_name("OUT")
      ->check(kOutputName)
      ->required();
  CLI::Option* encoding = exporter->add_option("--encoding", options->encoding, "Encoding of the table")
                              ->type_name("ENC")
                              ->check(CLI::IsMember({"utf-8", "windows-1252"}))
                              ->default_str("utf-8");
  exporter->add_option("--format", options->format, "tab: the engine's table; po: a gettext PO template")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"tab", "po"}))
      ->default_str("tab");
  exporter->footer(
      "The table: the keyed texts in the order of branches and lines, a comment line naming each branch, CR LF\n"
      "line ends, line breaks as |, UTF-8 with the byte-order mark (or Windows-1252 without one).\n"
      "The template: msgctxt the key, msgid the text, the branch and line as #: and the character as #..\n");
  exporter->callback([options, encoding, &exitCode] { exitCode = RunExport(*options, encoding); });
}

void AddImport(CLI::App& strings, int& exitCode) {
  auto options = std::make_shared<StringsOptions>();
  CLI::App* importer = strings.add_subcommand("import", "Turn a translated PO file into a string table.");
  importer->add_option("PO", options->po, "Translated PO file")->type_name("FILE")->required();
  importer
      ->add_option("-o,--output", options->output,
                   "String table; \".tab\" is appended when missing; - for standard output")
      ->type_name("OUT")
      ->check(kOutputName)
      ->required();
  importer->add_option("--encoding", options->encoding, "Encoding of the table")
      ->type_name("ENC")
      ->check(CLI::IsMember({"utf-8", "windows-1252"}))
      ->default_str("utf-8");
  importer->footer("Entries not translated or marked fuzzy are left out, so the game shows the base text for them.\n");
  importer->callback([options, &exitCode] { exitCode = RunImport(*options); });
}

void AddCheck(CLI::App& strings, int& exitCode) {
  auto options = std::make_shared<StringsOptions>();
  CLI::App* check = strings.add_subcommand("check", "Check translated tables or PO files against a project.");
  check->add_option("PROJECT", options->project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  check->add_option("TABLE", options->translations, "String tables, or PO files (.po, .pot)")
      ->type_name("FILE")
      ->required();
  check->footer(
      "Lists, as FILE:LINE: SEVERITY: MESSAGE, the keys a translation lacks (errors), keys the project no longer\n"
      "has, texts equal to the base text, duplicate keys, lines the engine would cut (LF without CR) or skip,\n"
      "and in PO files fuzzy entries and translations made from a base text that has changed since.\n"
      "Exit code 1 when a key is missing, 2 when a file cannot be read.\n");
  check->callback([options, &exitCode] { exitCode = RunCheck(*options); });
}

}  // namespace

void AddStringsCommand(CLI::App& app, int& exitCode) {
  CLI::App* strings =
      app.add_subcommand("strings", "Localisation through the engine's string tables: keys, tables, PO files.");
  strings->require_subcommand(1);
  AddAssign(*strings, exitCode);
  AddExport(*strings, exitCode);
  AddImport(*strings, exitCode);
  AddCheck(*strings, exitCode);
}

}  // namespace tellwright::cli
