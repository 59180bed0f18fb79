#include "layout/graph_layout.h"

#include <graphviz/cgraph.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "base/utf8_text.h"
#include "document/project_file.h"
#include "layout/layout_worker.h"
#include "tools/graph_dot.h"
#include "tools/graph_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

std::string MapDot() { return WriteGraphDot(BuildBranchGraph(MapDocument(), {})); }

std::string ExampleDot() {
  DialogueDocument document;
  EXPECT_TRUE(LoadProject(TELLWRIGHT_SOURCE_DIR "/examples/lighthouse.tlwdlg", document));
  return WriteGraphDot(BuildBranchGraph(document));
}

// Branch names and response texts that DOT, Graphviz's escapes or XML could
// take for syntax. Windows-1252, as in a project.
const std::vector<std::string> kNastyNames = {
    "Caf\xE9 \"au lait\"",
    "ends in a backslash\\",
    "\\N \\G \\E \\T \\H \\L \\n \\l \\r \\\\",
    "a -> b; } digraph {",
    "// not a comment /* nor this */",
    "#hash <b>bold</b> & 'quote'",
    "euro \x80 dash \x96 ellipsis \x85",
};

DialogueDocument NastyDocument() {
  DialogueDocument d;
  for (size_t b = 0; b < kNastyNames.size(); ++b)
    SetBranch(d, static_cast<int>(b), kNastyNames[b], {BlockLine("Guy", static_cast<int32_t>(b + 1))});
  SetBranch(d, static_cast<int>(kNastyNames.size()), std::string("control\x01\x7F\x81 and\ttab"));
  for (size_t b = 0; b < kNastyNames.size(); ++b) {
    const std::string& next = kNastyNames[(b + 1) % kNastyNames.size()];
    AddBlock(d, static_cast<int>(b), static_cast<int32_t>(b + 1),
             {{.text = next, .leaveLoop = 1, .linkBranch = next, .conditions = kNastyNames[b]},
              {.text = "to the ghost " + next, .linkBranch = "ghost " + next}});
  }
  return d;
}

// A text as Graphviz writes it into SVG.
std::string AsSvgText(std::string_view cp1252) {
  std::string out;
  for (char c : Cp1252ToUtf8(cp1252)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      case '-':
        out += "&#45;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

TEST(GraphLayoutTest, GraphvizReadsTheDotOfEveryNameAndShowsTheNames) {
  BranchGraph graph = BuildBranchGraph(NastyDocument(), {});
  std::string dot = WriteGraphDot(graph);

  // Graphviz's own parser: every node and edge with its id, nothing more.
  Agraph_t* parsed = agmemread(dot.c_str());
  ASSERT_NE(parsed, nullptr) << dot;
  EXPECT_EQ(agnnodes(parsed), static_cast<int>(graph.nodes.size()));
  EXPECT_EQ(agnedges(parsed), static_cast<int>(graph.edges.size()));
  for (const GraphNode& node : graph.nodes)
    EXPECT_NE(agnode(parsed, const_cast<char*>(node.id.c_str()), 0), nullptr) << node.id;
  int edges = 0;
  for (Agnode_t* node = agfstnode(parsed); node; node = agnxtnode(parsed, node))
    for (Agedge_t* edge = agfstout(parsed, node); edge; edge = agnxtout(parsed, edge)) {
      int index = graph.edgeWithId(agget(edge, const_cast<char*>("id")));
      ASSERT_GE(index, 0);
      EXPECT_EQ(graph.nodes[graph.edges[index].from].id, agnameof(agtail(edge)));
      EXPECT_EQ(graph.nodes[graph.edges[index].to].id, agnameof(aghead(edge)));
      ++edges;
    }
  EXPECT_EQ(edges, static_cast<int>(graph.edges.size()));
  agclose(parsed);

  // Laid out and drawn, each name reads as written.
  LayoutResult result = LayOutGraph(dot, {.geometry = false, .svg = true});
  ASSERT_TRUE(result.status) << result.status.message;
  for (const std::string& name : kNastyNames) {
    EXPECT_NE(result.svg.find(">" + AsSvgText(name) + "</text>"), std::string::npos) << name;
    EXPECT_NE(result.svg.find(">" + AsSvgText("ghost " + name) + "</text>"), std::string::npos) << name;
  }
  EXPECT_NE(result.svg.find(">control\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD and tab</text>"), std::string::npos);
}

TEST(GraphLayoutTest, GeometryIsKeyedByTheGraphsIds) {
  BranchGraph graph = BuildBranchGraph(MapDocument(), {});
  LayoutResult result = LayOutGraph(WriteGraphDot(graph));
  ASSERT_TRUE(result.status) << result.status.message;
  const GraphGeometry& geometry = result.geometry;
  ASSERT_EQ(geometry.nodes.size(), graph.nodes.size());
  for (const GraphNode& node : graph.nodes) {
    const NodeGeometry* box = geometry.node(node.id);
    ASSERT_NE(box, nullptr) << node.id;
    EXPECT_GT(box->box.width, 0);
    EXPECT_GT(box->box.height, 0);
    EXPECT_GE(box->box.center.x - box->box.width / 2, -0.5) << node.id;
    EXPECT_LE(box->box.center.y + box->box.height / 2, geometry.height + 0.5) << node.id;
  }
  // Top-down from the entry: Intro and the ghosts one rank below Start.
  double entry = geometry.node("b0")->box.center.y;
  for (std::string id : {"b1", "g0", "g1"}) EXPECT_GT(geometry.node(id)->box.center.y, entry) << id;

  ASSERT_EQ(geometry.edges.size(), graph.edges.size());
  for (const GraphEdge& edge : graph.edges) {
    const EdgeGeometry* path = geometry.edge(edge.id);
    ASSERT_NE(path, nullptr) << edge.id;
    EXPECT_EQ(path->tail, graph.nodes[edge.from].id);
    EXPECT_EQ(path->head, graph.nodes[edge.to].id);
    ASSERT_FALSE(path->curves.empty());
    EXPECT_EQ(path->curves[0].points.size() % 3, 1u) << edge.id;
    EXPECT_TRUE(path->label.has_value()) << edge.id;
  }
  // The arrows of Start -> Intro end on Intro's border.
  const LayoutBox& intro = geometry.node("b1")->box;
  for (std::string id : {"e0", "e1"}) {
    LayoutPoint tip = *geometry.edge(id)->curves.back().headArrowTip;
    double dx = std::abs(tip.x - intro.center.x) - intro.width / 2;
    double dy = std::abs(tip.y - intro.center.y) - intro.height / 2;
    EXPECT_LT(std::max(dx, dy), 1.0) << id;   // not outside
    EXPECT_GT(std::max(dx, dy), -2.0) << id;  // nor deep inside
  }

  ASSERT_EQ(geometry.clusters.size(), 1u);
  const LayoutBox& apart = geometry.clusters[0].box;
  EXPECT_EQ(geometry.clusters[0].id, "cluster_unreached");
  for (std::string id : {"b2", "b3", "b4"}) {
    LayoutPoint center = geometry.node(id)->box.center;
    EXPECT_LT(std::abs(center.x - apart.center.x), apart.width / 2) << id;
    EXPECT_LT(std::abs(center.y - apart.center.y), apart.height / 2) << id;
  }
}

TEST(GraphLayoutTest, DrawsSvgAndPng) {
  LayoutResult result = LayOutGraph(ExampleDot(), {.geometry = false, .svg = true, .png = true});
  ASSERT_TRUE(result.status) << result.status.message;
  EXPECT_EQ(result.svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(result.svg.find("id=\"b0\""), std::string::npos);
  EXPECT_NE(result.svg.find(">Lighthouse_Greeting</text>"), std::string::npos);
  EXPECT_EQ(result.png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_TRUE(result.geometry.nodes.empty());
}

TEST(GraphLayoutTest, UnreadableDotIsAnErrorAndTheNextLayoutWorks) {
  for (std::string bad : {"digraph { a -> }", "", "not a graph at all {"}) {
    LayoutResult result = LayOutGraph(bad, {.svg = true});
    EXPECT_FALSE(result.status) << bad;
    EXPECT_EQ(result.status.message.rfind("Graphviz cannot read the graph: ", 0), 0u) << result.status.message;
    EXPECT_TRUE(result.svg.empty());
    EXPECT_TRUE(result.geometry.nodes.empty());
  }
  LayoutResult good = LayOutGraph(ExampleDot());
  EXPECT_TRUE(good.status) << good.status.message;
  EXPECT_EQ(good.geometry.nodes.size(), 4u);
}

TEST(GraphLayoutTest, LayoutsFromSeveralThreadsAgree) {
  const std::string dot = MapDot();
  const GraphGeometry expected = LayOutGraph(dot).geometry;
  std::vector<LayoutResult> results(4);
  std::vector<std::thread> threads;
  for (LayoutResult& result : results)
    threads.emplace_back([&dot, &result] { result = LayOutGraph(dot, {.svg = true}); });
  for (std::thread& thread : threads) thread.join();
  for (const LayoutResult& result : results) {
    ASSERT_TRUE(result.status) << result.status.message;
    ASSERT_EQ(result.geometry.nodes.size(), expected.nodes.size());
    for (size_t n = 0; n < expected.nodes.size(); ++n)
      EXPECT_EQ(result.geometry.nodes[n].box.center, expected.nodes[n].box.center) << expected.nodes[n].id;
  }
}

// A graph of `count` nodes in a row.
std::string Chain(int count) {
  std::string dot = "digraph {";
  for (int n = 1; n < count; ++n) dot += " n" + std::to_string(n - 1) + " -> n" + std::to_string(n) + ";";
  return dot + " }";
}

// What a worker delivered, in order: tickets and the nodes laid out.
class Inbox {
 public:
  LayoutWorker::Done receiver() {
    return [this](uint64_t ticket, LayoutResult result) {
      std::lock_guard<std::mutex> lock(mutex_);
      delivered_.emplace_back(ticket, result.geometry.nodes.size());
      arrived_.notify_all();
    };
  }
  // Waits until `ticket` arrived; false after two minutes.
  bool waitFor(uint64_t ticket) {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::minutes(2),
                             [&] { return !delivered_.empty() && delivered_.back().first == ticket; });
  }
  std::vector<std::pair<uint64_t, size_t>> delivered() {
    std::lock_guard<std::mutex> lock(mutex_);
    return delivered_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<std::pair<uint64_t, size_t>> delivered_;
};

TEST(LayoutWorkerTest, TheNewestRequestIsAlwaysLaidOutAndOlderOnesNeverAfterIt) {
  Inbox inbox;
  std::vector<uint64_t> tickets;
  {
    LayoutWorker worker;
    for (int count = 2; count <= 9; ++count) tickets.push_back(worker.request(Chain(count), {}, inbox.receiver()));
    ASSERT_TRUE(inbox.waitFor(tickets.back()));
  }
  for (size_t i = 1; i < tickets.size(); ++i) EXPECT_GT(tickets[i], tickets[i - 1]);
  std::vector<std::pair<uint64_t, size_t>> delivered = inbox.delivered();
  for (size_t i = 0; i < delivered.size(); ++i) {
    auto [ticket, nodes] = delivered[i];
    if (i > 0) {
      EXPECT_GT(ticket, delivered[i - 1].first);
    }
    size_t asked = std::find(tickets.begin(), tickets.end(), ticket) - tickets.begin();
    EXPECT_EQ(nodes, asked + 2) << "ticket " << ticket;  // its own graph
  }
}

TEST(LayoutWorkerTest, AnUnchangedGraphIsNotLaidOutAgain) {
  Inbox inbox;
  LayoutWorker worker;
  ASSERT_TRUE(inbox.waitFor(worker.request(Chain(3), {}, inbox.receiver())));
  ASSERT_TRUE(inbox.waitFor(worker.request(Chain(3), {}, inbox.receiver())));
  EXPECT_EQ(worker.layoutsRun(), 1);
  ASSERT_TRUE(inbox.waitFor(worker.request(Chain(3), {.svg = true}, inbox.receiver())));
  ASSERT_TRUE(inbox.waitFor(worker.request(Chain(4), {}, inbox.receiver())));
  EXPECT_EQ(worker.layoutsRun(), 3);
  std::vector<size_t> nodes;
  for (auto [ticket, count] : inbox.delivered()) nodes.push_back(count);
  EXPECT_EQ(nodes, (std::vector<size_t>{3, 3, 3, 4}));
}

}  // namespace
}  // namespace tellwright
