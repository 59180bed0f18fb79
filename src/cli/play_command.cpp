#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "play/dialogue_player.h"

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
// asks, and asks again after an answer that names no entry; from a pipe or
// file such an answer ends the play.
Answer ReadAnswer(int count) {
  bool terminal = TELLWRIGHT_ISATTY(0);
  for (;;) {
    if (terminal) std::cout << "Choose " << EntryRange(count) << " (q quits): " << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return {Answer::kQuit, 0, "(end of input: stopped at a menu)"};
    std::string text = Trimmed(line);
    if (text == "q" || text == "Q") return {Answer::kQuit, 0, "(quit at a menu)"};
    if (int number = EntryNumber(text, count)) return {Answer::kEntry, number - 1, ""};
    if (!terminal)
      return {Answer::kFault, 0, "the answer \"" + text + "\" names no entry of the menu (" + EntryRange(count) + ")"};
  }
}

void SwitchOffConditions(DialoguePlayer& player, const PlayOptions& options) {
  std::vector<std::pair<std::string, bool>> known = player.conditions();
  for (const std::string& condition : options.assumeFalse) {
    bool found = std::any_of(known.begin(), known.end(), [&](const auto& c) { return c.first == condition; });
    if (!found) PrintDiagnostic(options.project, "warning", "no response has the condition \"" + condition + "\"");
    player.setCondition(condition, false);
  }
}

int RunPlay(const PlayOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  DialoguePlayer player(*document);
  int branch = 0;
  if (!options.branch.empty()) {
    branch = player.findBranch(options.branch);
    if (branch < 0) {
      PrintDiagnostic(options.project, "error", "there is no branch named \"" + options.branch + "\"");
      return kExitError;
    }
  }
  SwitchOffConditions(player, options);
  if (Status status = player.start(branch); !status) {
    PrintDiagnostic(options.project, "error", status.message);
    return kExitError;
  }
  ScriptedAnswers scripted(options.answers);
  for (;;) {
    PlayEvent event = player.step();
    std::cout << TranscriptText({event}, !options.noRemarks) << std::flush;
    if (event.kind == PlayEventKind::End) return kExitOk;
    if (event.kind == PlayEventKind::Stop) return kExitPlayFault;
    if (event.kind != PlayEventKind::Menu) continue;
    int count = static_cast<int>(event.menu.size());
    Answer answer = options.scripted ? scripted.next(count) : ReadAnswer(count);
    if (answer.kind == Answer::kQuit) {
      std::cout << answer.text << '\n' << std::flush;
      return kExitOk;
    }
    if (answer.kind == Answer::kFault) {
      PrintDiagnostic(options.project, "error", answer.text);
      return kExitError;
    }
    if (Status status = player.choose(answer.entry); !status) {
      PrintDiagnostic(options.project, "error", status.message);
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
          ->type_name("N,...")
          ->delimiter(',');
  play->add_option("--assume-false", options->assumeFalse,
                   "Take a response condition, as written, not to hold (repeatable)")
      ->type_name("COND");
  play->add_flag("--no-remarks", options->noRemarks, "Leave remarks out of the transcript");
  play->footer(
      "Prints what the game would do, event by event. Without --choose it asks at every menu on standard input\n"
      "(a number picks an entry, q or the end of input quits). Conditions are taken to hold unless switched off.\n"
      "Exit code 0 when the dialogue ends (or is quit, or the answers run out), 1 when it stops where the game\n"
      "would break, 2 when it cannot start or an answer names no entry.\n");
  play->callback([options, choose, &exitCode] {
    options->scripted = choose->count() > 0;
    exitCode = RunPlay(*options);
  });
}

}  // namespace tellwright::cli
