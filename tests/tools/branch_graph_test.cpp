#include "tools/branch_graph.h"

#include <gtest/gtest.h>

#include <functional>

#include "tools/graph_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

// A node as one line: id, name, lines, links in and out, and its marks.
std::string NodeRow(const GraphNode& node) {
  std::string row = node.id + " " + node.name + " lines=" + std::to_string(node.lines) +
                    " in=" + std::to_string(node.linksIn) + " out=" + std::to_string(node.linksOut);
  if (node.kind == GraphNodeKind::Ghost) row += " ghost";
  if (node.entry) row += " entry";
  if (node.unreached) row += " unreached";
  return row;
}

// An edge as one line: id, ends, place (branch/line/slot/response), drawing.
std::string EdgeRow(const BranchGraph& graph, const GraphEdge& edge) {
  const ResponsePlace& at = edge.place;
  std::string row = edge.id + " " + graph.nodes[edge.from].id + "->" + graph.nodes[edge.to].id + " at " +
                    std::to_string(at.branch) + "/" + std::to_string(at.line) + "/" + std::to_string(at.blockSlot) +
                    "/" + std::to_string(at.response) + " " + std::string(VisibilityName(edge.visibility));
  row += edge.line == EdgeLine::Dashed ? " dashed" : edge.line == EdgeLine::Dotted ? " dotted" : " solid";
  if (edge.leavesLoop) row += " leaves";
  return row;
}

struct GraphCase {
  std::string title;
  std::function<DialogueDocument()> document;
  std::vector<std::string> nodes;
  std::vector<std::string> edges;
};

TEST(BranchGraphTest, NodesAndEdgesFollowTheLinks) {
  const GraphCase cases[] = {
      {"every branch that runs a block links through it, once per branch; ghosts for missing names",
       MapDocument,
       {"b0 Start lines=5 in=2 out=6 entry", "b1 Intro lines=1 in=2 out=1", "b2 Lonely lines=0 in=0 out=0 unreached",
        "b3 Hub lines=1 in=1 out=1 unreached", "b4 Intro lines=0 in=0 out=0 unreached",
        "g0 Atlantis lines=0 in=2 out=0 ghost", "g1 El Dorado lines=0 in=1 out=0 ghost"},
       {"e0 b0->b1 at 0/1/0/0 Once dashed", "e1 b0->b1 at 0/1/0/2 Always solid",
        "e2 b0->g0 at 0/1/0/3 Once Game dotted", "e3 b0->g0 at 0/1/0/4 Always solid",
        "e4 b0->g1 at 0/1/0/5 Always solid", "e5 b0->b0 at 0/3/1/0 Always solid leaves",
        "e6 b1->b0 at 1/0/1/0 Always solid leaves", "e7 b3->b3 at 3/0/2/0 Always solid leaves"}},
      {"a fresh project is the entry alone",
       [] { return DialogueDocument(); },
       {"b0 Dialog_Default lines=0 in=0 out=0 entry"},
       {}},
      {"the entry stays the entry when nothing links to it, a link to itself reaches no branch, a line whose block is "
       "gone links nowhere",
       [] {
         DialogueDocument d;
         SetBranch(d, 0, "Start", {BlockLine("Guy", 5)});
         SetBranch(d, 1, "Next", {BlockLine("Guy", 1)});
         AddBlock(d, 0, 1, {{.text = "On", .linkBranch = "Next"}, {.text = "", .linkBranch = "Start"}});
         return d;
       },
       {"b0 Start lines=1 in=0 out=0 entry", "b1 Next lines=1 in=1 out=1 unreached"},
       {"e0 b1->b1 at 1/0/0/0 Always solid"}},
      {"responses after the end of the block and blocks with a used id in a later slot give no edge",
       [] {
         DialogueDocument d;
         SetBranch(d, 0, "Start", {BlockLine("Guy", 1)});
         SetBranch(d, 1, "Far");
         AddBlock(d, 0, 1, {{.text = "Near", .linkBranch = "Start"}});
         d.responseBlocks.slot(0).responses.slot(2) = MakeResponse({.text = "Late", .linkBranch = "Far"});
         AddBlock(d, 1, 1, {{.text = "Shadowed", .linkBranch = "Far"}});
         return d;
       },
       {"b0 Start lines=1 in=1 out=1 entry", "b1 Far lines=0 in=0 out=0 unreached"},
       {"e0 b0->b0 at 0/0/0/0 Always solid"}},
  };
  for (const GraphCase& c : cases) {
    SCOPED_TRACE(c.title);
    BranchGraph graph = BuildBranchGraph(c.document(), {});
    std::vector<std::string> nodes, edges;
    for (const GraphNode& node : graph.nodes) nodes.push_back(NodeRow(node));
    for (const GraphEdge& edge : graph.edges) edges.push_back(EdgeRow(graph, edge));
    EXPECT_EQ(nodes, c.nodes);
    EXPECT_EQ(edges, c.edges);
  }
}

TEST(BranchGraphTest, EdgesKeepTheResponseForLabelTooltipAndEditor) {
  BranchGraph graph = BuildBranchGraph(MapDocument(), {});
  ASSERT_EQ(graph.edges.size(), 8u);
  const GraphEdge& ask = graph.edges[0];
  EXPECT_EQ(ask.text, "Ask about the ship, the storm and the keeper");
  EXPECT_EQ(ask.label, "Ask about the ship, the\x85");
  EXPECT_EQ(ask.conditions, "Game.GetGlobal(\"met_mara\")");
  EXPECT_EQ(graph.edges[1].label, "Who?");
  // The responseblock lines in order, each with its block, the second run of
  // block 1 included.
  const std::vector<BlockUse> blocks = {{1, 0, 1, 6, 5}, {3, 1, 2, 1, 1}, {4, 0, 1, 6, 5}};
  EXPECT_EQ(graph.nodes[0].blocks, blocks);
  EXPECT_EQ(graph.nodeWithId("g1"), 6);
  EXPECT_EQ(graph.edgeWithId("e7"), 7);
  EXPECT_EQ(graph.nodeWithId("b9"), -1);
  EXPECT_EQ(graph.branchNodes(), 5);
}

TEST(BranchGraphTest, BadgesCountTheErrorsAndWarningsPlacedInEachBranch) {
  auto problem = [](Severity severity, ProblemPlace place) { return Problem{severity, place, "rule", "", ""}; };
  const std::vector<Problem> problems = {
      problem(Severity::Warning, {.branch = 1, .line = 0}),
      problem(Severity::Note, {.branch = 2}),                   // notes give no badge
      problem(Severity::Error, {.branch = 0, .character = 0}),  // the character list's
      problem(Severity::Warning, {.blockSlot = 3}),             // a block no line runs
      problem(Severity::Error, {.branch = 3, .line = 0, .response = 0, .blockSlot = 2}),
      problem(Severity::Warning, {.branch = 3, .line = 0, .blockSlot = 2}),
      problem(Severity::Warning, {.branch = 3}),
  };
  BranchGraph graph = BuildBranchGraph(MapDocument(), problems);
  struct Badge {
    std::optional<Severity> worst;
    int errors;
    int warnings;
  };
  const Badge expected[] = {{{}, 0, 0}, {Severity::Warning, 0, 1}, {{}, 0, 0}, {Severity::Error, 1, 2}, {{}, 0, 0}};
  for (int b = 0; b < 5; ++b) {
    SCOPED_TRACE(graph.nodes[b].name);
    EXPECT_EQ(graph.nodes[b].worstProblem, expected[b].worst);
    EXPECT_EQ(graph.nodes[b].errors, expected[b].errors);
    EXPECT_EQ(graph.nodes[b].warnings, expected[b].warnings);
  }
}

TEST(BranchGraphTest, WithoutAProblemListTheLintRuns) {
  DialogueDocument d = MapDocument();
  d.editBranch(2).name = "Lone-ly";  // a hyphen: the script cannot name the function
  BranchGraph graph = BuildBranchGraph(d);
  EXPECT_EQ(graph.nodes[2].worstProblem, Severity::Error);
  EXPECT_EQ(graph.nodes[2].name, "Lone-ly");
}

TEST(ShortLabelTest, CutsLongTextsAfterAWord) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"Exactly twenty-four char", "Exactly twenty-four char"},
      {"Do you know a fisherman called Tobin?", "Do you know a fisherman\x85"},
      {"Ask about the ship, the storm", "Ask about the ship, the\x85"},
      {"Supercalifragilisticexpialidocious", "Supercalifragilisticexp\x85"},
      {"Short start, then a veryveryverylongword", "Short start, then a\x85"},
      {"a                         b", "a\x85"},
  };
  for (const auto& [text, label] : cases) EXPECT_EQ(ShortLabel(text), label) << text;
}

}  // namespace
}  // namespace tellwright
