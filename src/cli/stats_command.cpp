#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "tools/dialogue_stats.h"

namespace tellwright::cli {

namespace {

struct StatsCommandOptions {
  std::string project;
  std::string format = "text";
};

// A table of left-aligned names and right-aligned numbers. Names are
// measured in Windows-1252 bytes, one byte a character, and printed in UTF-8.
class Table {
 public:
  explicit Table(std::vector<std::string> header) { rows_.push_back(std::move(header)); }
  void add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }

  void print(std::ostream& out) const {
    std::vector<size_t> widths(rows_.front().size(), 0);
    for (const auto& row : rows_)
      for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    for (const auto& row : rows_) {
      std::string text = row[0] + std::string(widths[0] - row[0].size(), ' ');
      for (size_t i = 1; i < row.size(); ++i) text += "  " + std::string(widths[i] - row[i].size(), ' ') + row[i];
      out << Cp1252ToUtf8(text) << '\n';
    }
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

std::string Counted(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

void PrintText(const DialogueStats& stats) {
  Table characters({"Character", "Lines", "Words", "No sound"});
  for (const CharacterStats& row : stats.characters)
    characters.add({row.realName + (row.inList ? "" : " (not in the list)"), std::to_string(row.linesSpoken),
                    std::to_string(row.wordsSpoken), std::to_string(row.withoutSoundFile)});
  Table branches({"Branch", "Lines", "Responses", "Words"});
  for (const BranchStats& row : stats.branches)
    branches.add({row.name, std::to_string(row.lines), std::to_string(row.responses), std::to_string(row.words)});
  const DialogueTotals& totals = stats.totals;
  branches.add({"Total", std::to_string(totals.lines), std::to_string(totals.responses), std::to_string(totals.words)});
  characters.print(std::cout);
  std::cout << '\n';
  branches.print(std::cout);
  std::cout << '\n'
            << Counted(totals.branches, "branch", "branches") << ", "
            << Counted(totals.linesSpoken, "spoken line", "spoken lines") << ", "
            << Counted(totals.withoutSoundFile, "talkline", "talklines") << " without a sound file\n";
}

std::string Field(const char* name, int value) { return "\"" + std::string(name) + "\":" + std::to_string(value); }

void PrintJson(const DialogueStats& stats) {
  std::cout << "{\"characters\":[";
  for (size_t i = 0; i < stats.characters.size(); ++i) {
    const CharacterStats& row = stats.characters[i];
    std::cout << (i ? ",\n" : "\n") << "{\"name\":" << JsonString(Cp1252ToUtf8(row.realName))
              << ",\"inList\":" << (row.inList ? "true" : "false") << ',' << Field("linesSpoken", row.linesSpoken)
              << ',' << Field("wordsSpoken", row.wordsSpoken) << ',' << Field("withoutSoundFile", row.withoutSoundFile)
              << '}';
  }
  std::cout << "],\n\"branches\":[";
  for (size_t i = 0; i < stats.branches.size(); ++i) {
    const BranchStats& row = stats.branches[i];
    std::cout << (i ? ",\n" : "\n") << "{\"name\":" << JsonString(Cp1252ToUtf8(row.name)) << ','
              << Field("lines", row.lines) << ',' << Field("responses", row.responses) << ','
              << Field("words", row.words) << '}';
  }
  const DialogueTotals& totals = stats.totals;
  std::cout << "],\n\"totals\":{" << Field("branches", totals.branches) << ',' << Field("lines", totals.lines) << ','
            << Field("responses", totals.responses) << ',' << Field("words", totals.words) << ','
            << Field("linesSpoken", totals.linesSpoken) << ',' << Field("withoutSoundFile", totals.withoutSoundFile)
            << "}}\n";
}

int RunStats(const StatsCommandOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  DialogueStats stats = CountDialogue(*document);
  if (options.format == "json")
    PrintJson(stats);
  else
    PrintText(stats);
  return kExitOk;
}

}  // namespace

void AddStatsCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<StatsCommandOptions>();
  CLI::App* stats = app.add_subcommand("stats", "Count what a project's characters say and what its branches hold.");
  stats->footer(
      "Characters: lines spoken (talklines and the responses they say), their words, talklines without a sound\n"
      "file; the character list's order, then names only lines use. Branches: lines of every kind, responses of\n"
      "the blocks their responseblock lines use, words of talklines and responses. A word is a run of characters\n"
      "other than spaces and control characters.\n"
      "JSON: {\"characters\": [...], \"branches\": [...], \"totals\": {...}}, texts in UTF-8.\n");
  stats->add_option("PROJECT", options->project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  AddFormatOption(stats, options->format);
  stats->callback([options, &exitCode] { exitCode = RunStats(*options); });
}

}  // namespace tellwright::cli
