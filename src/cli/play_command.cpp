#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "os/atomic_write.h"
#include "play/dialogue_player.h"
#include "tools/string_table.h"

#ifdef _WIN32
#include <io.h>
#define TELLWRIGHT_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define TELLWRIGHT_ISATTY(fd) isatty(fd)
#endif

namespace tellwright::cli {

namespace {

struct PlayOptions {
  std::string project;
  std::string branch;
  std::vector<int> answers;
  bool scripted = false;  // --choose was given
  std::vector<std::string> assumeFalse;
  bool noRemarks = false;
  std::string strings;  // a string table to play in its language; "" for none
};

// What the player is told at a menu: an entry (0-based), or that the play
// ends here, normally (with a note) or at a fault (with a message).
struct Answer {
  enum Kind { kEntry, kQuit, kFault } kind = kEntry;
  int entry = 0;
  std::string text;  // kQuit: the note; kFault: the message
};

std::string EntryRange(int count) { return count == 1 ? "1" : "1-" + std::to_string(count); }

// The numbers given with --choose, one per menu, in order.
class ScriptedAnswers {
 public:
  explicit ScriptedAnswers(const std::vector<int>& answers) : answers_(answers) {}

  Answer next(int count) {
    if (used_ >= answers_.size()) return {Answer::kQuit, 0, "(no more answers: stopped at a menu)"};
    int answer = answers_[used_++];
    if (answer < 1 || answer > count)
      return {Answer::kFault, 0,
              "answer " + std::to_string(used_) + " of --choose is " + std::to_string(answer) +
                  ", but the menu offers " + EntryRange(count)};
    return {Answer::kEntry, answer - 1, ""};
  }

 private:
  const std::vector<int>& answers_;
  size_t used_ = 0;
};

// No menu number is this long; an answer that is stops being read, so an
// endless input without line ends cannot fill the memory.
constexpr size_t kLongestAnswer = 64;
// How much of a wrong answer a message repeats.
constexpr size_t kAnswerShown = 20;

// A line of standard input without its line end, at most kLongestAnswer
// characters of it; nothing at the end of the input.
struct InputLine {
  std::string text;
  bool tooLong = false;  // the line went on; its rest is skipped only when asked to
};

std::optional<InputLine> ReadInputLine(bool skipRest) {
  InputLine line;
  std::istream::int_type c;
  while ((c = std::cin.get()) != std::istream::traits_type::eof() && c != '\n') {
    if (line.text.size() < kLongestAnswer) {
      line.text += static_cast<char>(c);
      continue;
    }
    line.tooLong = true;
    if (!skipRest) return line;
  }
  if (c == std::istream::traits_type::eof() && line.text.empty()) return std::nullopt;
  return line;
}

std::string Shown(const std::string& answer, bool tooLong) {
  if (!tooLong && answer.size() <= kAnswerShown) return answer;
  return answer.substr(0, kAnswerShown) + "...";
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The entry number in `text`, or 0 when it is not one of 1..count.
int EntryNumber(const std::string& text, int count) {
  if (text.empty() || text.size() > 4 ||
      !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
    return 0;
  int number = std::stoi(text);
  return number <= count ? number : 0;
}

// Answers read from standard input, a line each. On a terminal a prompt
// asks, and asks again after an answer that names no entry, saying which
// are valid; from a pipe or file such an answer ends the play.
Answer ReadAnswer(int count) {
  bool terminal = TELLWRIGHT_ISATTY(0);
  for (;;) {
    if (terminal) std::cout << "Choose " << EntryRange(count) << " (q quits): " << std::flush;
    std::optional<InputLine> line = ReadInputLine(terminal);
    if (!line) return {Answer::kQuit, 0, "(end of input: stopped at a menu)"};
    std::string text = Trimmed(line->text);
    if (line->tooLong && !terminal) {
      std::string longest = std::to_string(kLongestAnswer);
      return {Answer::kFault, 0,
              "the answer is longer than " + longest + " characters, so it names no entry of the menu (" +
                  EntryRange(count) + ")"};
    }
    if (text == "q" || text == "Q") return {Answer::kQuit, 0, "(quit at a menu)"};
    if (int number = EntryNumber(text, count); number && !line->tooLong) return {Answer::kEntry, number - 1, ""};
    if (!terminal)
      return {Answer::kFault, 0, "the answer \"" + text + "\" names no entry of the menu (" + EntryRange(count) + ")"};
    if (!text.empty())
      std::cout << "There is no entry " << Shown(text, line->tooLong) << " in this menu: choose " << EntryRange(count)
                << ", or q to quit.\n";
  }
}

// The texts of the document played: Windows-1252 as saved, or UTF-8 when it
// plays with a UTF-8 string table.
class PlayedTexts {
 public:
  explicit PlayedTexts(bool utf8) : utf8_(utf8) {}
  // A name or condition typed on the command line (UTF-8) as the document
  // holds it; as typed when Windows-1252 cannot hold it.
  std::string fromTyped(const std::string& typed) const {
    return utf8_ ? typed : Utf8ToCp1252(typed).value_or(typed);
  }
  // A text of the document or the player, for printing in UTF-8.
  std::string shown(const std::string& text) const { return utf8_ ? text : Cp1252ToUtf8(text); }

 private:
  bool utf8_;
};

void SwitchOffConditions(DialoguePlayer& player, const PlayOptions& options, const PlayedTexts& texts) {
  std::vector<PlayCondition> known = player.conditions();
  for (const std::string& typed : options.assumeFalse) {
    std::string condition = texts.fromTyped(typed);
    auto found = std::find_if(known.begin(), known.end(), [&](const PlayCondition& c) { return c.text == condition; });
    if (found == known.end())
      PrintDiagnostic(options.project, "warning", "no response has the condition \"" + typed + "\"");
    else if (found->constant)
      PrintDiagnostic(options.project, "warning",
                      "the condition \"" + typed + "\" is always " + (found->holds ? "true" : "false") +
                          " in the game; it cannot be switched");
    player.setCondition(condition, false);
  }
}

// The string table given with --strings, its notes printed as warnings.
std::optional<StringTable> LoadStringTable(const std::string& path) {
  std::string bytes;
  const std::string file = FileName(path);
  if (Status status = ReadWholeFile(path, bytes); !status) {
    PrintDiagnostic(file, "error", status.message);
    return std::nullopt;
  }
  StringTable table = ReadStringTable(bytes);
  for (const TableNote& note : table.notes) PrintDiagnostic(file, "warning", note.message, note.line);
  return table;
}

int RunPlay(const PlayOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  std::optional<StringTable> table;
  PlayerOptions playerOptions;
  if (!options.strings.empty()) {
    table = LoadStringTable(options.strings);
    if (!table) return kExitError;
    // A UTF-8 table: the game reads every text as UTF-8.
    if (table->encoding == TableEncoding::Utf8) document = DocumentInUtf8(*document);
    playerOptions.lookupString = TableLookup(*table, table->encoding);
  }
  const PlayedTexts texts(table && table->encoding == TableEncoding::Utf8);
  DialoguePlayer player(*document, playerOptions);
  int branch = 0;
  if (!options.branch.empty()) {
    branch = player.findBranch(texts.fromTyped(options.branch));
    if (branch < 0) {
      PrintDiagnostic(options.project, "error", "there is no branch named \"" + options.branch + "\"");
      return kExitError;
    }
  }
  SwitchOffConditions(player, options, texts);
  if (Status status = player.start(branch); !status) {
    PrintDiagnostic(options.project, "error", texts.shown(status.message));
    return kExitError;
  }
  ScriptedAnswers scripted(options.answers);
  for (;;) {
    PlayEvent event = player.step();
    std::cout << texts.shown(TranscriptText({event}, !options.noRemarks));
    if (!OutputArrived()) return kExitError;  // nobody sees the play go on
    if (event.kind == PlayEventKind::End) return kExitOk;
    if (event.kind == PlayEventKind::Stop) return kExitPlayFault;
    if (event.kind != PlayEventKind::Menu) continue;
    int count = static_cast<int>(event.menu.size());
    Answer answer = options.scripted ? scripted.next(count) : ReadAnswer(count);
    if (answer.kind == Answer::kQuit) {
      std::cout << answer.text << '\n';
      return kExitOk;
    }
    if (answer.kind == Answer::kFault) {
      PrintDiagnostic(options.project, "error", answer.text);
      return kExitError;
    }
    if (Status status = player.choose(answer.entry); !status) {
      PrintDiagnostic(options.project, "error", texts.shown(status.message));
      return kExitError;
    }
  }
}

}  // namespace

void AddPlayCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<PlayOptions>();
  CLI::App* play = app.add_subcommand("play", "Play a dialogue as the exported WME script would run it.");
  play->add_option("PROJECT", options->project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  play->add_option("-b,--branch", options->branch, "Branch to start at (default: the first)")->type_name("NAME");
  CLI::Option* choose =
      play->add_option("-c,--choose", options->answers, "Answers for the menus, in order, as numbered: e.g. 2,1,1")
          ->option_text("N[,N...]")
          ->delimiter(',');
  play->add_option("--assume-false", options->assumeFalse,
                   "Take a response condition, as written, not to hold (repeatable)")
      ->type_name("COND");
  play->add_flag("--no-remarks", options->noRemarks, "Leave remarks out of the transcript");
  play->add_option("--strings", options->strings,
                   "A string table (string.tab): /KEY/ texts show its entry, as the game shows them")
      ->type_name("TABLE");
  play->footer(
      "Prints what the game would do, event by event. Without --choose it asks at every menu on standard input\n"
      "(a number picks an entry, q or the end of input quits; at a terminal a wrong answer is asked again).\n"
      "Conditions are taken to hold unless switched off. Texts are printed in UTF-8.\n"
      "Exit code 0 when the dialogue ends (or is quit, or the answers run out), 1 when it stops where the game\n"
      "would break, 2 when it cannot start or an answer names no entry.\n");
  play->callback([options, choose, &exitCode] {
    options->scripted = choose->count() > 0;
    exitCode = RunPlay(*options);
  });
}

}  // namespace tellwright::cli
