#include "tools/branch_graph.h"

#include <algorithm>
#include <unordered_map>

#include "export/document_index.h"

namespace tellwright {

int BranchGraph::branchNodes() const {
  return static_cast<int>(std::count_if(nodes.begin(), nodes.end(),
                                        [](const GraphNode& node) { return node.kind == GraphNodeKind::Branch; }));
}

int BranchGraph::nodeWithId(std::string_view id) const {
  for (size_t i = 0; i < nodes.size(); ++i)
    if (nodes[i].id == id) return static_cast<int>(i);
  return -1;
}

int BranchGraph::edgeWithId(std::string_view id) const {
  for (size_t i = 0; i < edges.size(); ++i)
    if (edges[i].id == id) return static_cast<int>(i);
  return -1;
}

EdgeLine LineOf(int32_t visibility) {
  switch (visibility) {
    case kOnce:
      return EdgeLine::Dashed;
    case kOnceGame:
      return EdgeLine::Dotted;
    default:
      return EdgeLine::Solid;
  }
}

std::string_view VisibilityName(int32_t visibility) {
  switch (visibility) {
    case kOnce:
      return "Once";
    case kOnceGame:
      return "Once Game";
    default:
      return "Always";
  }
}

std::string ShortLabel(std::string_view text, size_t length) {
  if (text.size() <= length || length < 2) return std::string(text);
  std::string_view kept = text.substr(0, length - 1);
  size_t blank = text.find_last_of(' ', length - 1);  // a blank right after the kept part ends a word too
  if (blank != std::string_view::npos && blank >= length / 2) kept = kept.substr(0, blank);
  while (!kept.empty() && kept.back() == ' ') kept.remove_suffix(1);
  return std::string(kept) + '\x85';
}

namespace {

int LinesInUse(const DialogueBranch& branch) {
  int lines = 0;
  for (int l = 0; l < LinesToVisit(branch); ++l)
    if (!branch.lines[l].empty()) ++lines;
  return lines;
}

// Builds the map in one walk over the branches' lines.
class GraphBuilder {
 public:
  explicit GraphBuilder(const DialogueDocument& document) : document_(document) {
    const auto& blocks = document.responseBlocks;
    const int slots = std::min(blocks.stored(), kBlockSlots);
    for (int slot = 0; slot < slots; ++slot)
      if (blocks[slot].inUse()) firstSlotWithId_.try_emplace(blocks[slot].id, slot);
  }

  BranchGraph build(const std::vector<Problem>& problems) {
    const int branches = BranchesToVisit(document_);
    for (int b = 0; b < branches; ++b) addBranchNode(b);
    for (int b = 0; b < branches; ++b) addEdgesOf(b);
    markLinks();
    countProblems(problems);
    return std::move(graph_);
  }

 private:
  void addBranchNode(int b) {
    const DialogueBranch& branch = document_.branch(b);
    GraphNode node;
    node.id = "b" + std::to_string(b);
    node.branch = b;
    node.name = branch.name;
    node.lines = LinesInUse(branch);
    node.entry = b == 0;
    graph_.nodes.push_back(std::move(node));
    if (!branch.name.empty()) branchByName_.try_emplace(branch.name, b);
  }

  void addEdgesOf(int b) {
    const DialogueBranch& branch = document_.branch(b);
    std::vector<int> slotsRun;  // each block's edges once per branch
    for (int l = 0; l < LinesToVisit(branch); ++l) {
      const DialogueLine& line = branch.lines[l];
      if (KindOf(line.kind) != LineKind::Response) continue;
      BlockUse use{.line = l, .blockId = line.blockId};
      if (auto found = firstSlotWithId_.find(line.blockId); found != firstSlotWithId_.end()) {
        use.blockSlot = found->second;
        const ResponseBlock& block = document_.responseBlocks[use.blockSlot];
        use.responses = block.usedResponses();
        for (int r = 0; r < use.responses; ++r)
          if (!block.responses[r].linkBranch.empty()) ++use.links;
        if (std::find(slotsRun.begin(), slotsRun.end(), use.blockSlot) == slotsRun.end()) {
          slotsRun.push_back(use.blockSlot);
          addEdgesOfBlock(b, l, use.blockSlot);
        }
      }
      graph_.nodes[b].blocks.push_back(use);
    }
  }

  void addEdgesOfBlock(int b, int line, int slot) {
    const ResponseBlock& block = document_.responseBlocks[slot];
    for (int r = 0, offered = block.usedResponses(); r < offered; ++r) {
      const Response& response = block.responses[r];
      if (response.linkBranch.empty()) continue;
      GraphEdge edge;
      edge.id = "e" + std::to_string(graph_.edges.size());
      edge.from = b;
      edge.to = nodeForLink(response.linkBranch.str());
      edge.label = ShortLabel(response.text);
      edge.text = response.text;
      edge.conditions = response.conditions;
      edge.visibility = response.visibility;
      edge.line = LineOf(response.visibility);
      edge.leavesLoop = FlagSet(response.leaveLoop);
      edge.place = {.branch = b, .line = line, .blockSlot = slot, .response = r};
      graph_.edges.push_back(std::move(edge));
    }
  }

  // The branch a link names, or its ghost, made on first use.
  int nodeForLink(const std::string& name) {
    if (auto found = branchByName_.find(name); found != branchByName_.end()) return found->second;
    auto [ghost, added] = ghostByName_.try_emplace(name, static_cast<int>(graph_.nodes.size()));
    if (added) {
      GraphNode node;
      node.id = "g" + std::to_string(ghostByName_.size() - 1);
      node.kind = GraphNodeKind::Ghost;
      node.name = name;
      graph_.nodes.push_back(std::move(node));
    }
    return ghost->second;
  }

  void markLinks() {
    std::vector<bool> linkedFromElsewhere(graph_.nodes.size(), false);
    for (const GraphEdge& edge : graph_.edges) {
      ++graph_.nodes[edge.from].linksOut;
      ++graph_.nodes[edge.to].linksIn;
      if (edge.from != edge.to) linkedFromElsewhere[edge.to] = true;
    }
    for (size_t n = 0; n < graph_.nodes.size(); ++n) {
      GraphNode& node = graph_.nodes[n];
      node.unreached = node.kind == GraphNodeKind::Branch && !node.entry && !linkedFromElsewhere[n];
    }
  }

  // A problem counts where the lint places it: a block's problems at the
  // first line that runs it (the others get a warning of their own), the
  // character list's nowhere.
  void countProblems(const std::vector<Problem>& problems) {
    const int branches = BranchesToVisit(document_);
    for (const Problem& problem : problems) {
      const ProblemPlace& place = problem.place;
      if (problem.severity == Severity::Note || place.character >= 0) continue;
      if (place.branch >= 0 && place.branch < branches) count(graph_.nodes[place.branch], problem.severity);
    }
  }

  static void count(GraphNode& node, Severity severity) {
    ++(severity == Severity::Error ? node.errors : node.warnings);
    if (!node.worstProblem || severity < *node.worstProblem) node.worstProblem = severity;
  }

  const DialogueDocument& document_;
  BranchGraph graph_;
  std::unordered_map<int32_t, int> firstSlotWithId_;
  std::unordered_map<std::string_view, int> branchByName_;
  std::unordered_map<std::string, int> ghostByName_;
};

}  // namespace

BranchGraph BuildBranchGraph(const DialogueDocument& document, const std::vector<Problem>& problems) {
  return GraphBuilder(document).build(problems);
}

BranchGraph BuildBranchGraph(const DialogueDocument& document) {
  return BuildBranchGraph(document, LintDialogue(document));
}

}  // namespace tellwright
