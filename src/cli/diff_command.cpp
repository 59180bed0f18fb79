#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "tools/project_diff.h"
#include "tools/project_diff_text.h"

namespace tellwright::cli {

namespace {

// git's external diff gets: path old-file old-hex old-mode new-file new-hex
// new-mode.
constexpr size_t kGitArguments = 7;
constexpr std::string_view kNoFile = "/dev/null";

struct DiffOptions {
  std::vector<std::string> files;
  std::string format = "text";
};

// The two projects compared and how the output names them.
struct DiffSides {
  std::string oldPath, newPath;
  std::string oldLabel, newLabel;
  bool forGit = false;
};

std::string JsonText(std::string_view text) { return JsonString(Cp1252ToUtf8(text)); }
std::string Position(int index) { return index >= 0 ? std::to_string(index + 1) : "null"; }
std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Fields(const std::vector<std::string_view>& fields) {
  std::string out = "[";
  for (size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + JsonString(fields[i]);
  return out + "]";
}

std::string Json(const DialogueLine& line) {
  return "{\"kind\":" + JsonText(line.kind) + ",\"character\":" + JsonText(line.character) + ",\"text\":" + JsonText(line.text) +
         ",\"soundFile\":" + JsonText(line.soundFile) + ",\"blockId\":" + std::to_string(line.blockId) + "}";
}

std::string Json(const Response& response) {
  return "{\"text\":" + JsonText(response.text) + ",\"conditions\":" + JsonText(response.conditions) +
         ",\"linkBranch\":" + JsonText(response.linkBranch) + ",\"visibility\":" + std::to_string(response.visibility) +
         ",\"leaveLoop\":" + std::to_string(response.leaveLoop) +
         ",\"sayResponse\":" + std::to_string(response.sayResponse) + "}";
}

std::string Json(const Character& character) {
  return "{\"realName\":" + JsonText(character.realName) + ",\"entityName\":" + JsonText(character.entityName) + "}";
}

// "before" and "after" of a change; null on the side without the record.
template <typename Record>
std::string BeforeAfter(ChangeKind kind, const Record& before, const Record& after) {
  return ",\"before\":" + (kind == ChangeKind::Added ? std::string("null") : Json(before)) +
         ",\"after\":" + (kind == ChangeKind::Removed ? std::string("null") : Json(after));
}

std::string Head(std::string_view what, ChangeKind kind) {
  return "{\"what\":" + JsonString(what) + ",\"change\":" + JsonString(ChangeKindName(kind));
}

// Every change as one object of a flat list, the responses of a line after
// it.
class JsonChanges {
 public:
  std::vector<std::string> list(const ProjectDiff& diff) {
    if (diff.pathChanged)
      add("{\"what\":\"projectPath\",\"change\":\"changed\",\"before\":" + JsonText(diff.oldPath) +
          ",\"after\":" + JsonText(diff.newPath) + "}");
    for (const CharacterChange& c : diff.characters)
      add(Head("character", c.kind) + ",\"oldIndex\":" + Position(c.oldIndex) + ",\"newIndex\":" +
          Position(c.newIndex) + BeforeAfter(c.kind, c.before, c.after) + "}");
    for (const BranchChange& branch : diff.branches) addBranch(branch);
    for (const BlockChange& block : diff.blocks) {
      add(Head("block", block.kind) + ",\"block\":" + std::to_string(block.id) + "}");
      addResponses(block.responses, "null", "null", std::to_string(block.id));
    }
    return std::move(changes_);
  }

 private:
  void add(std::string change) { changes_.push_back(std::move(change)); }

  void addBranch(const BranchChange& branch) {
    ChangeKind kind = branch.oldIndex < 0   ? ChangeKind::Added
                      : branch.newIndex < 0 ? ChangeKind::Removed
                                            : ChangeKind::Changed;
    const std::string name = JsonText(branch.newIndex >= 0 ? branch.newName : branch.oldName);
    std::string lineCount = branch.lineCountChanged ? "{\"before\":" + std::to_string(branch.oldLineCount) +
                                                          ",\"after\":" + std::to_string(branch.newLineCount) + "}"
                                                    : "null";
    add(Head("branch", kind) + ",\"oldName\":" + (branch.oldIndex >= 0 ? JsonText(branch.oldName) : "null") +
        ",\"newName\":" + (branch.newIndex >= 0 ? JsonText(branch.newName) : "null") +
        ",\"oldIndex\":" + Position(branch.oldIndex) + ",\"newIndex\":" + Position(branch.newIndex) +
        ",\"renamed\":" + Bool(branch.renamed) + ",\"moved\":" + Bool(branch.moved) +
        ",\"storedLineCount\":" + lineCount + "}");
    for (const LineChange& line : branch.lines) {
      add(Head("line", line.kind) + ",\"branch\":" + name + ",\"oldLine\":" + Position(line.oldIndex) +
          ",\"newLine\":" + Position(line.newIndex) + ",\"fields\":" + Fields(line.fields) +
          BeforeAfter(line.kind, line.before, line.after) + "}");
      int shownLine = line.newIndex >= 0 ? line.newIndex : line.oldIndex;
      const DialogueLine& runner = line.newIndex >= 0 ? line.after : line.before;
      addResponses(line.responses, name, Position(shownLine), std::to_string(runner.blockId));
    }
  }

  void addResponses(const std::vector<ResponseChange>& responses, const std::string& branch, const std::string& line,
                    const std::string& block) {
    for (const ResponseChange& r : responses)
      add(Head("response", r.kind) + ",\"branch\":" + branch + ",\"line\":" + line + ",\"block\":" + block +
          ",\"oldResponse\":" + Position(r.oldIndex) + ",\"newResponse\":" + Position(r.newIndex) +
          ",\"fields\":" + Fields(r.fields) + BeforeAfter(r.kind, r.before, r.after) + "}");
  }

  std::vector<std::string> changes_;
};

void PrintJson(const DiffSides& sides, const ProjectDiff& diff) {
  std::cout << "{\"old\":" << JsonString(sides.oldLabel) << ",\"new\":" << JsonString(sides.newLabel)
            << ",\"same\":" << Bool(diff.same()) << ",\n\"changes\":[";
  std::vector<std::string> changes = JsonChanges().list(diff);
  for (size_t i = 0; i < changes.size(); ++i) std::cout << (i ? ",\n" : "\n") << changes[i];
  std::cout << "]}\n";
}

bool SidesFromArguments(const std::vector<std::string>& files, DiffSides& sides) {
  if (files.size() == 2) {
    sides = {files[0], files[1], FileName(files[0]), FileName(files[1]), false};
    return true;
  }
  if (files.size() != kGitArguments) return false;
  const std::string name = FileName(files[0]);
  sides = {files[1], files[4], files[1] == kNoFile ? std::string(kNoFile) : "a/" + name,
           files[4] == kNoFile ? std::string(kNoFile) : "b/" + name, true};
  return true;
}

// A missing side ("/dev/null") is no project; else the project, or an
// error already printed.
bool LoadSide(const std::string& path, std::optional<DialogueDocument>& document) {
  if (path == kNoFile) return true;
  document = LoadProjectFile(path);
  return document.has_value();
}

int RunDiff(const DiffOptions& options) {
  DiffSides sides;
  if (!SidesFromArguments(options.files, sides)) {
    std::cerr << "tellwright-cli: error: diff takes OLD and NEW, or the seven arguments git gives an external diff\n";
    return kExitError;
  }
  std::optional<DialogueDocument> before, after;
  if (!LoadSide(sides.oldPath, before) || !LoadSide(sides.newPath, after)) return kExitError;
  ProjectDiff diff = DiffProjects(before ? &*before : nullptr, after ? &*after : nullptr);
  if (options.format == "json")
    PrintJson(sides, diff);
  else if (!diff.same())
    std::cout << "--- " << sides.oldLabel << "\n+++ " << sides.newLabel << "\n" << Cp1252ToUtf8(DiffText(diff));
  std::cout.flush();
  if (!std::cout) return kExitError;
  // git stops at an external diff that does not end with 0.
  return diff.same() || sides.forGit ? kExitOk : kExitDifferent;
}

}  // namespace

void AddDiffCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<DiffOptions>();
  CLI::App* diff = app.add_subcommand("diff", "Show what changed between two versions of a project, by meaning.");
  diff->footer(
      "Branches added, removed, renamed (recognised by their lines) or moved; lines inserted (+), deleted (-),\n"
      "moved (>) or changed, with the fields that changed; the responses of the blocks lines run; blocks no line\n"
      "runs; the characters; the engine project path. Lines and responses are written as \"show\" writes them.\n"
      "/dev/null as a file stands for no project. Called with git's seven arguments (diff.<driver>.command)\n"
      "it compares the second and the fifth and always ends with 0 unless a file cannot be read, as git\n"
      "requires.\n"
      "JSON: {\"old\", \"new\", \"same\", \"changes\": [...]}, one object per change with \"what\" (projectPath,\n"
      "character, branch, line, response, block) and \"change\" (added, removed, changed, moved).\n"
      "Exit code 0 same, 1 different, 2 an unreadable project.\n");
  diff->add_option("FILES", options->files, "OLD NEW, or git's path old-file old-hex old-mode new-file new-hex new-mode")
      ->type_name("FILE")
      ->required()
      ->expected(2, 7);
  AddFormatOption(diff, options->format);
  diff->callback([options, &exitCode] { exitCode = RunDiff(*options); });
}

}  // namespace tellwright::cli
