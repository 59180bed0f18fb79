#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "base/utf8_text.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "document/project_file.h"
#include "os/file_names.h"
#include "tools/project_merge.h"

namespace tellwright::cli {

namespace {

struct MergeOptions {
  std::string base;
  std::string ours;
  std::string theirs;
  std::string output;
  std::string shownPath;
};

// Without a common version git gives an empty file as the base.
bool NoBase(const std::string& path) {
  std::error_code ec;
  return path == "/dev/null" || std::filesystem::file_size(FileSystemPath(path), ec) == 0;
}

int RunMerge(const MergeOptions& options) {
  std::optional<DialogueDocument> base;
  if (!NoBase(options.base) && !(base = LoadProjectFile(options.base))) return kExitError;
  std::optional<DialogueDocument> ours = LoadProjectFile(options.ours);
  std::optional<DialogueDocument> theirs = LoadProjectFile(options.theirs);
  if (!ours || !theirs) return kExitError;
  const std::string shown = FileName(!options.shownPath.empty()            ? options.shownPath
                                     : options.output != kStandardOutput ? options.output
                                                                         : options.ours);
  MergeResult result = MergeProjects(base ? &*base : nullptr, *ours, *theirs);
  if (!result.status) {
    PrintDiagnostic(shown, "error", Cp1252ToUtf8(result.status.message) + "; nothing was written");
    return kExitError;
  }
  if (!WriteOutput(options.output, [&](OutputBuffer& out) { WriteProject(result.merged, out); })) return kExitError;
  for (const MergeConflict& conflict : result.conflicts)
    PrintDiagnostic(shown, "conflict", Cp1252ToUtf8(DescribeConflict(conflict)));
  if (result.conflicts.empty()) return kExitOk;
  size_t count = result.conflicts.size();
  PrintDiagnostic(shown, "error", std::to_string(count) + (count == 1 ? " conflict" : " conflicts") + " to resolve");
  return kExitMergeConflict;
}

}  // namespace

void AddMergeCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<MergeOptions>();
  CLI::App* merge = app.add_subcommand(
      "merge", "Merge two versions of a project changed from a common base (git's merge driver: %O %A %B -o %A).");
  merge->footer(
      "Branches are matched by name (renames by their lines), lines by aligning them, responses within their\n"
      "blocks, blocks by id, characters by real name. Changes to different records, or to different fields of\n"
      "one record, merge cleanly. Where both sides changed the same thing, both versions are kept between the\n"
      "remark lines \"<<<<<<< ours\", \"=======\" and \">>>>>>> theirs\" (responses with those texts in a\n"
      "block), and each conflict is listed as FILE: conflict: BRANCH, line N: WHAT. An empty BASE (or\n"
      "/dev/null) means the versions have no common base.\n"
      "Exit code 0 merged cleanly, 1 merged with conflicts, 2 an unreadable project or a merge that would not\n"
      "fit a project's tables (nothing is written then).\n");
  merge->add_option("BASE", options->base, "The common base version")->type_name("FILE")->required();
  merge->add_option("OURS", options->ours, "Our version")->type_name("FILE")->required();
  merge->add_option("THEIRS", options->theirs, "Their version")->type_name("FILE")->required();
  merge->add_option("-o,--output", options->output, "The merged project; - for standard output")
      ->type_name("OUT")
      ->required();
  merge->add_option("--path", options->shownPath, "The project's name in the messages (git's %P)")
      ->type_name("PATH");
  merge->callback([options, &exitCode] { exitCode = RunMerge(*options); });
}

}  // namespace tellwright::cli
