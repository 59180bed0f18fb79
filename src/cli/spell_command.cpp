#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "lint/lint.h"

#ifdef TELLWRIGHT_HAVE_SPELLING
#include "spelling/project_spelling.h"
#include "spelling/spelling_check.h"
#endif

namespace tellwright::cli {

namespace {

struct SpellCommandOptions {
  std::string project;
  std::string language;
  std::string format = "text";
  bool remarks = false;
};

#ifdef TELLWRIGHT_HAVE_SPELLING
std::string JsonNumberOrNull(int value) { return value > 0 ? std::to_string(value) : "null"; }

// A place with the numbers a writer counts, from 1.
std::string JsonPlace(const DialogueDocument& document, const ProblemPlace& place) {
  return "{\"place\":" + JsonString(Cp1252ToUtf8(DescribePlace(document, place))) + ",\"branch\":" +
         (place.branch >= 0 ? JsonString(Cp1252ToUtf8(document.branch(place.branch).name)) : "null") +
         ",\"line\":" + JsonNumberOrNull(place.line + 1) + ",\"response\":" + JsonNumberOrNull(place.response + 1) +
         ",\"block\":" +
         JsonNumberOrNull(place.blockSlot >= 0 ? document.responseBlocks[place.blockSlot].id : 0) + "}";
}

void PrintJson(const SpellCommandOptions& options, const DialogueDocument& document,
               const std::vector<UnknownWord>& words) {
  std::cout << "{\"file\":" << JsonString(FileName(options.project)) << ",\"language\":" << JsonString(options.language)
            << ",\n\"words\":[";
  for (size_t i = 0; i < words.size(); ++i) {
    std::cout << (i ? ",\n" : "\n") << "{\"word\":" << JsonString(Cp1252ToUtf8(words[i].word))
              << ",\"count\":" << words[i].places.size() << ",\"places\":[";
    for (size_t p = 0; p < words[i].places.size(); ++p)
      std::cout << (p ? "," : "") << JsonPlace(document, words[i].places[p]);
    std::cout << "]}";
  }
  std::cout << "]}\n";
}

// WORD COUNT: PLACE; PLACE; ...
void PrintText(const DialogueDocument& document, const std::vector<UnknownWord>& words) {
  for (const UnknownWord& word : words) {
    std::cout << Cp1252ToUtf8(word.word) << ' ' << word.places.size() << ':';
    for (size_t p = 0; p < word.places.size(); ++p)
      std::cout << (p ? "; " : " ") << Cp1252ToUtf8(DescribePlace(document, word.places[p]));
    std::cout << '\n';
  }
}

int RunSpell(const SpellCommandOptions& options) {
  SpellCheckerOpening opening = OpenInstalledDictionary(options.language, ProcessEnvironment());
  if (!opening.status) {
    PrintDiagnostic("--lang", "error", opening.status.message);
    return kExitError;
  }
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  KnownWords known;
  if (Status status = AddProjectWords(known, *document, options.project); !status) {
    PrintDiagnostic(options.project, "error", status.message);
    return kExitError;
  }
  WordJudge judge(*opening.checker, known);
  std::vector<UnknownWord> words =
      UnknownWords(FindMisspellings(*document, judge, {.remarks = options.remarks}));
  if (options.format == "json")
    PrintJson(options, *document, words);
  else
    PrintText(*document, words);
  return words.empty() ? kExitOk : kExitCheckFault;
}
#else
int RunSpell(const SpellCommandOptions&) {
  PrintDiagnostic("spell", "error", "this tellwright-cli was built without the spelling check (Hunspell)");
  return kExitError;
}
#endif

}  // namespace

void AddSpellCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<SpellCommandOptions>();
  CLI::App* spell = app.add_subcommand(
      "spell", "List the words of a project's texts that the dictionary and the project dictionary do not know.");
  spell->footer(
      "The texts a player reads are checked: talklines and responses, as the game shows them (\"~n\" a line break,\n"
      "a /KEY/ string-table key left out); never codelines, conditions or sound files. The characters' names,\n"
      "entity names and branch names are known words, as is every word of the project dictionary beside the\n"
      "project (tale.words.txt for tale.tlwdlg: UTF-8, one word a line).\n"
      "Text: WORD COUNT: PLACE; PLACE; ... a line per word, the most frequent first.\n"
      "JSON: {\"file\", \"language\", \"words\": [{\"word\", \"count\", \"places\": [{place, branch, line, response,\n"
      "block}]}]}, numbers counted from 1.\n"
      "Dictionaries are Hunspell's, looked for in $DICPATH, ~/.local/share/hunspell and /usr/share/hunspell;\n"
      "on Debian others come with apt-get install hunspell-de-de and the like.\n"
      "Exit code 1 when a word is unknown, 2 when the project or the dictionary cannot be read.\n");
  spell->add_option("PROJECT", options->project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  spell->add_option("--lang", options->language, "The dictionary's language, such as en_US")
      ->type_name("LANG")
      ->required();
  AddFormatOption(spell, options->format);
  spell->add_flag("--remarks", options->remarks, "Check the remarks too");
  spell->callback([options, &exitCode] { exitCode = RunSpell(*options); });
}

}  // namespace tellwright::cli
