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

// Writes a project's problems as both formats print them: texts in UTF-8,
// numbers counted from 1 as a writer counts rows (null in JSON where they do
// not apply). The character is the one the place names: an entry of the
// list, or a line's character when the problem is in that field (one not in
// the list, too). A hundred thousand problems are written straight from the
// lint's own, through scratch texts used again for each.
class ProblemWriter {
 public:
  ProblemWriter(const std::string& path, const DialogueDocument& document)
      : document_(document), fileLines_(path, document), file_(FileName(path)) {}

  // The indexes of `problems` in the order of the file (problems of the
  // whole file first), each with its file line.
  std::vector<std::pair<int, int>> fileOrder(const std::vector<Problem>& problems) const {
    std::vector<std::pair<int, int>> order;
    order.reserve(problems.size());
    for (size_t i = 0; i < problems.size(); ++i)
      order.emplace_back(fileLines_.lineOf(problems[i].place, problems[i].field), static_cast<int>(i));
    std::sort(order.begin(), order.end());  // by line, then as the lint found them
    return order;
  }

  // PROJECT:LINE: SEVERITY: PLACE: MESSAGE [RULE], then the hint indented.
  void appendText(const Problem& problem, int fileLine, std::string& out) {
    out += file_;
    if (fileLine > 0) {
      out += ':';
      AppendDecimal(out, fileLine);
    }
    out += ": ";
    out += SeverityName(problem.severity);
    out += ": ";
    if (describePlace(problem.place)) out.append(utf8_).append(": ");
    AppendCp1252AsUtf8(out, problem.message);
    out.append(" [").append(problem.rule).append("]\n");
    if (!problem.hint.empty()) {
      out += "    hint: ";
      AppendCp1252AsUtf8(out, problem.hint);
      out += '\n';
    }
  }

  void appendJson(const Problem& problem, int fileLine, std::string& out) {
    const ProblemPlace& place = problem.place;
    out += "{\"file\":";
    AppendJsonString(out, file_);
    out += ",\"fileLine\":";
    appendJsonNumber(fileLine, out);
    out += ",\"severity\":";
    AppendJsonString(out, SeverityName(problem.severity));
    out += ",\"rule\":";
    AppendJsonString(out, problem.rule);
    out += ",\"place\":";
    describePlace(place);
    AppendJsonString(out, utf8_);
    out += ",\"branch\":";
    appendJsonCp1252(place.branch >= 0 ? std::optional<std::string_view>(document_.branch(place.branch).name)
                                       : std::nullopt,
                     out);
    out += ",\"line\":";
    appendJsonNumber(place.line + 1, out);
    out += ",\"response\":";
    appendJsonNumber(place.response + 1, out);
    out += ",\"block\":";
    appendJsonNumber(place.blockSlot >= 0 ? document_.responseBlocks[place.blockSlot].id : 0, out);
    out += ",\"character\":";
    appendJsonCp1252(characterNamed(problem), out);
    out += ",\"message\":";
    appendJsonCp1252(problem.message, out);
    out += ",\"hint\":";
    appendJsonCp1252(problem.hint, out);
    out += '}';
  }

 private:
  // The place as a writer reads it, in UTF-8 in utf8_; false when it names
  // nothing.
  bool describePlace(const ProblemPlace& place) {
    utf8_.clear();
    AppendCp1252AsUtf8(utf8_, DescribePlace(document_, place));
    return !utf8_.empty();
  }

  // The real name a problem names: a character of the list, or the line's
  // character the problem is in; nothing when it names none.
  std::optional<std::string_view> characterNamed(const Problem& problem) const {
    const ProblemPlace& place = problem.place;
    if (place.character >= 0) return std::string_view(document_.characters[place.character].realName);
    if (problem.field != ProblemField::Character || place.branch < 0 || place.line < 0) return std::nullopt;
    const Text& name = document_.branch(place.branch).lines[place.line].character;
    if (name.empty()) return std::nullopt;
    return std::string_view(name);
  }

  static void appendJsonNumber(int value, std::string& out) {
    if (value > 0)
      AppendDecimal(out, value);
    else
      out += "null";
  }

  // A Windows-1252 text as a JSON string; null when there is none.
  void appendJsonCp1252(std::optional<std::string_view> text, std::string& out) {
    if (!text) {
      out += "null";
      return;
    }
    utf8_.clear();
    AppendCp1252AsUtf8(utf8_, *text);
    AppendJsonString(out, utf8_);
  }

  const DialogueDocument& document_;
  ProjectLines fileLines_;
  std::string file_;
  std::string utf8_;  // scratch: a text converted to UTF-8
};

// Output is handed on in pieces of this size: large enough that writing
// costs little, small enough to stay in the processor's cache.
constexpr size_t kOutputPiece = 1 << 16;

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
  std::string jsonProblems;  // each after a separator: all files come before the first
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
    ProblemWriter writer(path, document);
    std::string text;
    text.reserve(kOutputPiece + 4096);
    for (auto [fileLine, index] : writer.fileOrder(problems)) {
      if (json) {
        jsonProblems += jsonProblems.empty() ? "\n" : ",\n";
        writer.appendJson(problems[index], fileLine, jsonProblems);
      } else {
        writer.appendText(problems[index], fileLine, text);
        if (text.size() >= kOutputPiece) {
          std::cout << text;
          text.clear();
        }
      }
    }
    std::cout << text;
    if (json)
      jsonFiles.push_back(JsonCounts(FileName(path), counts));
    else if (!problems.empty())
      std::cout << FileName(path) << ": " << CountsText(counts) << '\n';
    if (counts.errors > 0 || (options.werror && counts.warnings > 0))
      exitCode = std::max<int>(exitCode, kExitCheckFault);
    if (&path == &options.projects.back()) {
      KeptUntilExit(std::move(problems));
      KeptUntilExit(std::move(document));
    }
  }
  if (json) {
    std::cout << "{\"files\":[";
    for (size_t i = 0; i < jsonFiles.size(); ++i) std::cout << (i ? ",\n" : "\n") << jsonFiles[i];
    std::cout << "],\n\"problems\":[";
    std::cout << jsonProblems;
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
