#include "tools/graph_dot.h"

#include <gtest/gtest.h>

#include "document/project_file.h"
#include "tools/graph_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

std::string MapDot(const DotOptions& options = {}) {
  return WriteGraphDot(BuildBranchGraph(MapDocument(), {}), options);
}

// The statement that declares node or edge `id`.
std::string Statement(const std::string& dot, const std::string& id) {
  size_t at = dot.find("[id=\"" + id + "\"");
  if (at == std::string::npos) return "";
  size_t start = dot.rfind('\n', at) + 1;
  return dot.substr(start, dot.find('\n', at) - start);
}

TEST(DotTextTest, EveryTextShowsAsItself) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      // text, inside a label, inside a tooltip
      {"Plain_name", "Plain_name", "Plain_name"},
      {"say \"hi\"", "say &quot;hi&quot;", "say &quot;hi&quot;"},
      {"a<b> & c", "a&lt;b&gt; &amp; c", "a&lt;b&gt; &amp; c"},
      {"&amp;", "&amp;amp;", "&amp;amp;"},
      {"C:\\N\\", "C:&#92;&#92;N&#92;&#92;", "C:&#92;&#92;&#92;&#92;N&#92;&#92;&#92;&#92;"},
      {"caf\xE9 \x80\x85", "caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\xA6", "caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\xA6"},
      {"tab\there", "tab here", "tab here"},
      {std::string("nul\0bell\x07\x81", 10),
       "nul\xEF\xBF\xBD"
       "bell\xEF\xBF\xBD\xEF\xBF\xBD",
       "nul\xEF\xBF\xBD"
       "bell\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& [text, label, tooltip] : cases) {
    EXPECT_EQ(DotText(text), label) << text;
    EXPECT_EQ(DotText(text, DotTextUse::Tooltip), tooltip) << text;
  }
}

TEST(GraphDotTest, TheSameProjectGivesTheSameBytes) {
  std::string dot = MapDot();
  EXPECT_EQ(MapDot(), dot);
  DialogueDocument reloaded;
  ASSERT_TRUE(ReadProject(WriteProject(MapDocument()), reloaded));
  EXPECT_EQ(WriteGraphDot(BuildBranchGraph(reloaded, {})), dot);
  EXPECT_EQ(dot.rfind("digraph \"branch map\" {\n", 0), 0u);
  EXPECT_NE(dot.find("charset=\"UTF-8\""), std::string::npos);
  EXPECT_NE(dot.find("rankdir=TB"), std::string::npos);
}

TEST(GraphDotTest, NodesAndEdgesCarryTheirStyles) {
  const std::vector<Problem> problems = {{Severity::Warning, {.branch = 1}, "r", "", ""},
                                         {Severity::Error, {.branch = 3}, "r", "", ""},
                                         {Severity::Warning, {.branch = 3}, "r", "", ""}};
  std::string dot = WriteGraphDot(BuildBranchGraph(MapDocument(), problems));
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"b0", {"  b0 [", "<B>Start</B>", "5 lines", "peripheries=2", "The dialogue starts here."}},
      {"b1", {"<TD BGCOLOR=\"#f9a825\"><FONT POINT-SIZE=\"9\">1 warning</FONT>", "color=\"#f9a825\""}},
      {"b3", {"<TD BGCOLOR=\"#c62828\">", "1 error, 1 warning", "color=\"#c62828\""}},
      {"g0", {"  g0 [", "Atlantis<BR/>", "no such branch", "style=\"rounded,dashed\"", "color=\"#c62828\""}},
      {"e0",
       {"b0 -> b1 [", "label=\"Ask about the ship, the\xE2\x80\xA6\"",
        "tooltip=\"Ask about the ship, the storm and the keeper&#10;Once&#10;Conditions: "
        "Game.GetGlobal(&quot;met_mara&quot;)\"",
        "style=dashed"}},
      {"e2", {"b0 -> g0 [", "label=\"Sail west\"", "&#10;Once Game", "style=dotted"}},
      {"e5", {"b0 -> b0 [", "Leave loop if clicked", "dir=both arrowtail=tee"}},
  };
  for (const auto& [id, fragments] : cases)
    for (const std::string& fragment : fragments)
      EXPECT_NE(Statement(dot, id).find(fragment), std::string::npos) << id << ": " << fragment;
  EXPECT_EQ(Statement(dot, "b0").find("BGCOLOR"), std::string::npos);
  // Always: solid, the default.
  EXPECT_EQ(Statement(dot, "e1").find("style="), std::string::npos);
  EXPECT_EQ(Statement(dot, "e3").find("style="), std::string::npos);
}

TEST(GraphDotTest, OnlyEdgesOneClickDownShapeTheRanks) {
  std::string dot = MapDot();
  // Start -> Intro leads down from the entry; the way back, loops and links
  // from the branches set apart do not decide the layout.
  for (std::string id : {"e0", "e1", "e2", "e4"})
    EXPECT_EQ(Statement(dot, id).find("constraint=false"), std::string::npos) << id;
  for (std::string id : {"e5", "e6", "e7"})
    EXPECT_NE(Statement(dot, id).find("constraint=false"), std::string::npos) << id;
}

TEST(GraphDotTest, UnreachedBranchesSitApartInACluster) {
  std::string dot = MapDot();
  size_t open = dot.find("  subgraph cluster_unreached {\n");
  ASSERT_NE(open, std::string::npos);
  std::string cluster = dot.substr(open, dot.find("\n  }\n", open) - open);
  for (std::string id : {"b2", "b3", "b4"}) EXPECT_NE(cluster.find("    " + id + " [id="), std::string::npos) << id;
  for (std::string id : {"b0", "b1", "g0"}) EXPECT_EQ(cluster.find(id + " [id="), std::string::npos) << id;
  // Every node and edge is declared once.
  for (std::string id : {"b0", "b1", "b2", "b3", "b4", "g0", "g1", "e0", "e7"}) {
    size_t first = dot.find("[id=\"" + id + "\"");
    EXPECT_NE(first, std::string::npos) << id;
    EXPECT_EQ(dot.find("[id=\"" + id + "\"", first + 1), std::string::npos) << id;
  }
  DialogueDocument connected = WorkedExample();
  SetBranch(connected, 1, "Intro");
  EXPECT_EQ(WriteGraphDot(BuildBranchGraph(connected, {})).find("cluster"), std::string::npos);
}

TEST(GraphDotTest, BlockOrderListsTheBlocksAndTheirEdgesLeaveFromThem) {
  std::string plain = MapDot();
  std::string ordered = MapDot({.showBlockOrder = true});
  EXPECT_EQ(plain.find("PORT="), std::string::npos);
  std::string start = Statement(ordered, "b0");
  size_t first = start.find("PORT=\"l1\"><FONT POINT-SIZE=\"9\">1. line 2: 6 responses");
  size_t second = start.find("PORT=\"l3\"><FONT POINT-SIZE=\"9\">2. line 4: 1 response");
  size_t third = start.find("PORT=\"l4\"><FONT POINT-SIZE=\"9\">3. line 5: 6 responses");
  EXPECT_NE(first, std::string::npos);
  EXPECT_LT(first, second);
  EXPECT_LT(second, third);
  EXPECT_NE(third, std::string::npos);
  EXPECT_NE(Statement(ordered, "e0").find("tailport=\"l1\""), std::string::npos);
  // Intro has one block: nothing listed; loops keep to the node.
  EXPECT_EQ(Statement(ordered, "b1").find("PORT="), std::string::npos);
  EXPECT_EQ(Statement(ordered, "e5").find("tailport"), std::string::npos);
}

TEST(GraphDotTest, ManyEdgesPutTheirLabelsBesideThem) {
  DialogueDocument d;
  SetBranch(d, 0, "Start", {BlockLine("Guy", 1)});
  SetBranch(d, 1, "Next");
  ResponseBlock& block = AddBlock(d, 0, 1, {});
  for (int r = 0; r < kResponsesPerBlock; ++r)
    block.responses.slot(r) = MakeResponse({.text = "Go", .linkBranch = "Next"});
  for (int b = 2; b < 4; ++b) SetBranch(d, b, "Loop" + std::to_string(b), {BlockLine("Guy", 1)});
  BranchGraph graph = BuildBranchGraph(d, {});
  ASSERT_GT(graph.edges.size(), kManyEdges);
  std::string dot = WriteGraphDot(graph);
  EXPECT_NE(Statement(dot, "e0").find(" xlabel=\"Go\""), std::string::npos);
  EXPECT_NE(dot.find("nslimit="), std::string::npos);
  EXPECT_EQ(MapDot().find("xlabel"), std::string::npos);
}

}  // namespace
}  // namespace tellwright
