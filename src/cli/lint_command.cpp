#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/decimal.h"
#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "document/project_file.h"
#include "lint/file_lines.h"
#include "lint/lint.h"
#include "os/file_names.h"

#ifdef TELLWRIGHT_HAVE_SPELLING
#include "spelling/project_spelling.h"
#include "spelling/spelling_check.h"
#endif

namespace tellwright::cli {

namespace {

struct LintCommandOptions {
  std::vector<std::string> projects;
  std::string format = "text";
  bool werror = false;
  std::string spelling;  // the dictionary's language; "" for no spelling check
};

// One problem as both formats print it; texts in UTF-8, numbers counted
// from 1 as a writer counts rows, 0 where they do not apply. The character
// is the one the place names: an entry of the list, or a line's character
// when the problem is in that field (one not in the list, too).
struct Report {
  std::string file;
  int fileLine = 0;
  const Problem* problem = nullptr;
  std::string place;
  std::string branch;
  int line = 0;
  int response = 0;
  int block = 0;
  std::optional<std::string> character;
};

std::string JsonNumber(int value) { return value > 0 ? std::to_string(value) : "null"; }
std::string JsonText(const std::string& text, bool given) { return given ? JsonString(text) : "null"; }

// The real name a problem names: a character of the list, or the line's
// character the problem is in; nothing when it names none.
std::optional<std::string> CharacterNamed(const DialogueDocument& document, const Problem& problem) {
  const ProblemPlace& place = problem.place;
  if (place.character >= 0) return document.characters[place.character].realName.str();
  if (problem.field != ProblemField::Character || place.branch < 0 || place.line < 0) return std::nullopt;
  const Text& name = document.branch(place.branch).lines[place.line].character;
  if (name.empty()) return std::nullopt;
  return name.str();
}

// The reports of a project's problems, in the order of the file (problems
// of the whole file first).
std::vector<Report> Reports(const std::string& path, const DialogueDocument& document,
                            const std::vector<Problem>& problems) {
  ProjectLines fileLines(path, document);
  std::vector<Report> reports;
  for (const Problem& problem : problems) {
    const ProblemPlace& place = problem.place;
    Report report;
    report.file = FileName(path);
    report.fileLine = fileLines.lineOf(place, problem.field);
    report.problem = &problem;
    report.place = Cp1252ToUtf8(DescribePlace(document, place));
    if (place.branch >= 0) report.branch = Cp1252ToUtf8(document.branch(place.branch).name);
    report.line = place.line + 1;
    report.response = place.response + 1;
    if (place.blockSlot >= 0) report.block = document.responseBlocks[place.blockSlot].id;
    if (std::optional<std::string> character = CharacterNamed(document, problem))
      report.character = Cp1252ToUtf8(*character);
    reports.push_back(std::move(report));
  }
  // Sorted by their places in the order, then each moved into its place
  // along the cycles of the order: sorting the reports themselves moves each
  // of them many times, which a project with a hundred thousand problems
  // feels.
  std::vector<size_t> order(reports.size());  // order[i]: the report that goes to i
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return reports[a].fileLine < reports[b].fileLine; });
  for (size_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    Report first = std::move(reports[start]);
    size_t at = start;
    for (size_t from = order[at]; from != start; from = order[at]) {
      reports[at] = std::move(reports[from]);
      order[at] = at;
      at = from;
    }
    reports[at] = std::move(first);
    order[at] = at;
  }
  return reports;
}

// PROJECT:LINE: SEVERITY: PLACE: MESSAGE [RULE], then the hint indented;
// appended to `out`, which goes to standard output in large pieces.
void PrintText(const Report& report, std::string& out) {
  out += report.file;
  if (report.fileLine > 0) {
    out += ':';
    AppendDecimal(out, report.fileLine);
  }
  out += ": ";
  out += SeverityName(report.problem->severity);
  out += ": ";
  if (!report.place.empty()) out.append(report.place).append(": ");
  AppendCp1252AsUtf8(out, report.problem->message);
  out.append(" [").append(report.problem->rule).append("]\n");
  if (!report.problem->hint.empty()) {
    out += "    hint: ";
    AppendCp1252AsUtf8(out, report.problem->hint);
    out += '\n';
  }
  if (out.size() >= 1 << 16) {
    std::cout << out;
    out.clear();
  }
}

std::string JsonProblem(const Report& report) {
  const Problem& problem = *report.problem;
  return "{\"file\":" + JsonString(report.file) + ",\"fileLine\":" + JsonNumber(report.fileLine) +
         ",\"severity\":" + JsonString(SeverityName(problem.severity)) + ",\"rule\":" + JsonString(problem.rule) +
         ",\"place\":" + JsonString(report.place) +
         ",\"branch\":" + JsonText(report.branch, problem.place.branch >= 0) + ",\"line\":" + JsonNumber(report.line) +
         ",\"response\":" + JsonNumber(report.response) + ",\"block\":" + JsonNumber(report.block) +
         ",\"character\":" + (report.character ? JsonString(*report.character) : "null") +
         ",\"message\":" + JsonString(Cp1252ToUtf8(problem.message)) +
         ",\"hint\":" + JsonString(Cp1252ToUtf8(problem.hint)) + "}";
}

std::string JsonCounts(const std::string& file, const ProblemCounts& counts) {
  return "{\"file\":" + JsonString(file) + ",\"errors\":" + std::to_string(counts.errors) +
         ",\"warnings\":" + std::to_string(counts.warnings) + ",\"notes\":" + std::to_string(counts.notes) + "}";
}

std::string CountsText(const ProblemCounts& counts) {
  auto part = [](int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
  return part(counts.errors, "error") + ", " + part(counts.warnings, "warning") + ", " + part(counts.notes, "note");
}

#ifdef TELLWRIGHT_HAVE_SPELLING
// The dictionary for --spelling; nothing, with the reason printed, when it
// cannot be opened.
std::unique_ptr<SpellChecker> SpellingDictionary(const LintCommandOptions& options) {
  SpellCheckerOpening opening = OpenInstalledDictionary(options.spelling, ProcessEnvironment());
  if (!opening.status) PrintDiagnostic("--spelling", "error", opening.status.message);
  return std::move(opening.checker);
}

// The spelling notes of a project, after the lint's own problems.
void AddSpellingNotes(const SpellChecker& checker, const std::string& path, const DialogueDocument& document,
                      std::vector<Problem>& problems) {
  KnownWords known;
  if (Status status = AddProjectWords(known, document, path); !status)
    PrintDiagnostic(path, "warning", status.message + " (the check goes on without the project dictionary)");
  WordJudge judge(checker, known);
  std::vector<Problem> notes = SpellingNotes(FindMisspellings(document, judge));
  problems.insert(problems.end(), notes.begin(), notes.end());
}
#endif

// Every project is linted; the worst outcome is the exit code.
int RunLint(const LintCommandOptions& options) {
  const bool json = options.format == "json";
  int exitCode = kExitOk;
#ifdef TELLWRIGHT_HAVE_SPELLING
  std::unique_ptr<SpellChecker> checker;
  if (!options.spelling.empty() && !(checker = SpellingDictionary(options))) return kExitError;
#else
  if (!options.spelling.empty()) {
    PrintDiagnostic("--spelling", "error", "this tellwright-cli was built without the spelling check (Hunspell)");
    return kExitError;
  }
#endif
  std::vector<std::string> jsonFiles;
  std::vector<std::string> jsonProblems;
  for (const std::string& path : options.projects) {
    DialogueDocument document;
    LoadResult loaded = LoadProject(path, document);
    if (!loaded) {
      PrintDiagnostic(path, "error", loaded.message, loaded.line);
      jsonFiles.push_back("{\"file\":" + JsonString(FileName(path)) +
                          ",\"loadError\":" + JsonString(loaded.message) + "}");
      exitCode = std::max<int>(exitCode, kExitError);
      continue;
    }
    PrintLoadWarnings(path, loaded);
    std::vector<Problem> problems = LintDialogue(document);
#ifdef TELLWRIGHT_HAVE_SPELLING
    if (checker) AddSpellingNotes(*checker, path, document, problems);
#endif
    ProblemCounts counts = CountProblems(problems);
    std::string text;
    for (const Report& report : Reports(path, document, problems)) {
      if (json)
        jsonProblems.push_back(JsonProblem(report));
      else
        PrintText(report, text);
    }
    std::cout << text;
    if (json)
      jsonFiles.push_back(JsonCounts(FileName(path), counts));
    else if (!problems.empty())
      std::cout << FileName(path) << ": " << CountsText(counts) << '\n';
    if (counts.errors > 0 || (options.werror && counts.warnings > 0))
      exitCode = std::max<int>(exitCode, kExitCheckFault);
  }
  if (json) {
    std::cout << "{\"files\":[";
    for (size_t i = 0; i < jsonFiles.size(); ++i) std::cout << (i ? ",\n" : "\n") << jsonFiles[i];
    std::cout << "],\n\"problems\":[";
    for (size_t i = 0; i < jsonProblems.size(); ++i) std::cout << (i ? ",\n" : "\n") << jsonProblems[i];
    std::cout << "]}\n";
  }
  return exitCode;  // main flushes and reports output that did not arrive
}

}  // namespace

void AddLintCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<LintCommandOptions>();
  CLI::App* lint = app.add_subcommand(
      "lint",
      "List every problem of projects: what breaks the generated script, what is likely a mistake, what is "
      "worth a look.");
  lint->footer(
      "Text: one problem as PROJECT:LINE: SEVERITY: BRANCH, line N: MESSAGE [RULE], its hint on the next line,\n"
      "lines and responses counted from 1, LINE the project file's line of the field that holds the problem, in\n"
      "the file's order; then a count per project that has problems, nothing for a project without problems.\n"
      "JSON: {\"files\": [...], \"problems\": [...]} with file, fileLine, severity, rule, place, branch, line,\n"
      "response, block, character, message, hint.\n"
      "Sound files are looked for when the engine project's folder exists on this computer.\n"
      "Exit code 1 when a project has an error (or a warning, with --werror), 2 when a project cannot be read.\n");
  lint->add_option("PROJECT", options->projects, "Project files (.tlwdlg)")->type_name("FILE")->required();
  AddFormatOption(lint, options->format);
  lint->add_flag("--werror", options->werror, "Treat warnings as errors for the exit code");
  lint->add_option("--spelling", options->spelling,
                   "Also a note for every misspelled word of the texts a player reads, with the installed Hunspell "
                   "dictionary of LANG (such as en_US) and the project dictionary beside the project")
      ->type_name("LANG");
  lint->callback([options, &exitCode] { exitCode = RunLint(*options); });
}

}  // namespace tellwright::cli
