#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "tools/branch_graph.h"
#include "tools/graph_dot.h"

#ifdef TELLWRIGHT_HAVE_LAYOUT
#include "layout/graph_layout.h"
#endif

namespace tellwright::cli {

namespace {

struct GraphOptions {
  std::string project;
  std::string format = "dot";
  std::string output = std::string(kStandardOutput);
  bool blockOrder = false;
};

// The map laid out as SVG; nothing when Graphviz failed (and said why).
std::optional<std::string> LaidOutSvg(const GraphOptions& options, const std::string& dot) {
#ifdef TELLWRIGHT_HAVE_LAYOUT
  LayoutResult result = LayOutGraph(dot, {.geometry = false, .svg = true});
  if (result.status) return std::move(result.svg);
  PrintDiagnostic(options.project, "error", result.status.message);
#else
  (void)dot;
  PrintDiagnostic(options.project, "error",
                  "this tellwright-cli was built without Graphviz and writes the map as DOT only (--format dot)");
#endif
  return std::nullopt;
}

int RunGraph(const GraphOptions& options) {
  std::optional<DialogueDocument> document = LoadProjectFile(options.project);
  if (!document) return kExitError;
  std::string dot = WriteGraphDot(BuildBranchGraph(*document), {.showBlockOrder = options.blockOrder});
  std::string bytes;
  if (options.format == "svg") {
    std::optional<std::string> svg = LaidOutSvg(options, dot);
    if (!svg) return kExitError;
    bytes = std::move(*svg);
  } else {
    bytes = std::move(dot);
  }
  std::optional<std::string> target =
      OutputTarget(options.output, options.format == "svg" ? ".svg" : ".dot", options.project);
  if (!target) return kExitError;
  return WriteOutput(*target, bytes) ? kExitOk : kExitError;
}

}  // namespace

void AddGraphCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<GraphOptions>();
  CLI::App* graph = app.add_subcommand("graph", "Draw the branch map: which branch links to which, by which response.");
  graph->footer(
      "A node per branch with its line count, the lint's errors and warnings as a badge, the first branch\n"
      "marked as the entry, and the branches no other branch links to set apart; links to a name no branch\n"
      "has end at red nodes. An edge per linking response, labelled with its text: Always solid, Once dashed,\n"
      "Once Game dotted, a bar at the start when it leaves the loop; its tooltip holds the whole text and the\n"
      "conditions. The DOT is UTF-8 and the same project always gives the same bytes; svg is laid out top-down\n"
      "from the entry with Graphviz's dot.\n");
  graph->add_option("PROJECT", options->project, "Project file (.tlwdlg)")->type_name("FILE")->required();
  graph->add_option("--format", options->format, "dot: Graphviz DOT text; svg: the laid-out picture")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"dot", "svg"}))
      ->default_str("dot");
  graph
      ->add_option("-o,--output", options->output,
                   "Output file; \".dot\" or \".svg\" is appended when missing; - or no -o: standard output")
      ->type_name("OUT")
      ->check(kOutputName);
  graph->add_flag("--block-order", options->blockOrder,
                  "List the responseblocks of branches with several inside their nodes, in order");
  graph->callback([options, &exitCode] { exitCode = RunGraph(*options); });
}

}  // namespace tellwright::cli
