#include "tools/graph_dot.h"

#include <deque>
#include <vector>

#include "base/cp1252.h"
#include "base/utf8_text.h"

namespace tellwright {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
constexpr std::string_view kLineBreak = "&#10;";                    // inside a tooltip

// Colours of the map, shared by nodes, badges and ghosts.
constexpr std::string_view kErrorColour = "#c62828";
constexpr std::string_view kWarningColour = "#f9a825";
constexpr std::string_view kUnreachedColour = "#9e9e9e";
constexpr std::string_view kEntryFill = "#e3f2fd";
constexpr std::string_view kFont = "DejaVu Sans";

bool IsControl(char32_t u) { return u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0); }

}  // namespace

std::string DotText(std::string_view text, DotTextUse use) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  size_t plainFrom = 0;  // start of the run of bytes copied as they are
  auto flush = [&](size_t to) {
    out += Cp1252ToUtf8(text.substr(plainFrom, to - plainFrom));
    plainFrom = to + 1;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    char32_t u = Cp1252ToUnicode(static_cast<unsigned char>(c));
    std::string_view entity;
    switch (c) {
      case '"':
        entity = "&quot;";
        break;
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      case '\\':
        // A label's text passes Graphviz's escape processing once (\\ is
        // one backslash), a tooltip's twice.
        entity = use == DotTextUse::Label ? "&#92;&#92;" : "&#92;&#92;&#92;&#92;";
        break;
      case '\t':
        entity = " ";
        break;
      default:
        if (IsControl(u)) entity = kReplacementCharacter;
        break;
    }
    if (entity.empty()) continue;
    flush(i);
    out += entity;
  }
  flush(text.size());
  return out;
}

namespace {

// Clicks from the entry: the ranks of the layout. Nodes the entry cannot
// reach count from the unreached branches, and what is left from the first
// node of each remaining cycle. Edges that do not lead one rank down leave
// the ranking to these, so the map reads top-down from the entry and stays
// as few ranks deep as the dialogue is.
std::vector<int> ClicksFromEntry(const BranchGraph& graph) {
  const size_t count = graph.nodes.size();
  std::vector<std::vector<int>> targets(count);
  for (const GraphEdge& edge : graph.edges) targets[edge.from].push_back(edge.to);
  std::vector<int> rank(count, -1);
  std::deque<int> queue;
  auto walk = [&] {
    while (!queue.empty()) {
      int node = queue.front();
      queue.pop_front();
      for (int target : targets[node])
        if (rank[target] < 0) {
          rank[target] = rank[node] + 1;
          queue.push_back(target);
        }
    }
  };
  auto start = [&](size_t node) {
    if (rank[node] >= 0) return;
    rank[node] = 0;
    queue.push_back(static_cast<int>(node));
  };
  for (size_t n = 0; n < count; ++n)
    if (graph.nodes[n].entry) start(n);
  walk();
  for (size_t n = 0; n < count; ++n)
    if (graph.nodes[n].unreached) start(n);
  walk();
  for (size_t n = 0; n < count; ++n) {
    start(n);
    walk();
  }
  return rank;
}

std::string Counted(int count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string ProblemsText(const GraphNode& node) {
  std::string text;
  if (node.errors > 0) text = Counted(node.errors, "error", "errors");
  if (node.warnings > 0) text += (text.empty() ? "" : ", ") + Counted(node.warnings, "warning", "warnings");
  return text;
}

std::string NodeName(const GraphNode& node) {
  if (!node.name.empty()) return DotText(node.name);
  return "branch " + std::to_string(node.branch + 1) + " (no name)";
}

bool ListsBlocks(const GraphNode& node, const DotOptions& options) {
  return options.showBlockOrder && node.blocks.size() > 1;
}

std::string SmallRow(const std::string& text, std::string_view cellAttributes = "") {
  std::string row = "<TR><TD";
  if (!cellAttributes.empty()) row += " " + std::string(cellAttributes);
  return row + "><FONT POINT-SIZE=\"9\">" + text + "</FONT></TD></TR>";
}

std::string BlockRow(const BlockUse& use, size_t position) {
  std::string text = std::to_string(position + 1) + ". line " + std::to_string(use.line + 1) + ": ";
  text += use.blockSlot < 0 ? "no such responseblock" : Counted(use.responses, "response", "responses");
  return SmallRow(text, "ALIGN=\"LEFT\" PORT=\"l" + std::to_string(use.line) + "\"");
}

std::string BranchLabel(const GraphNode& node, const DotOptions& options) {
  std::string label = "<<TABLE BORDER=\"0\" CELLBORDER=\"0\" CELLSPACING=\"0\" CELLPADDING=\"1\">";
  label += "<TR><TD><B>" + NodeName(node) + "</B></TD></TR>";
  label += SmallRow(Counted(node.lines, "line", "lines"));
  if (ListsBlocks(node, options))
    for (size_t i = 0; i < node.blocks.size(); ++i) label += BlockRow(node.blocks[i], i);
  if (node.worstProblem) {
    bool error = *node.worstProblem == Severity::Error;
    std::string badge = "BGCOLOR=\"" + std::string(error ? kErrorColour : kWarningColour) + "\"";
    std::string text = ProblemsText(node);
    if (error) text = "<FONT COLOR=\"#ffffff\">" + text + "</FONT>";
    label += SmallRow(text, badge);
  }
  return label + "</TABLE>>";
}

std::string BranchTooltip(const GraphNode& node) {
  std::string tip = node.name.empty() ? NodeName(node) : DotText(node.name, DotTextUse::Tooltip);
  tip += kLineBreak;
  tip += Counted(node.lines, "line", "lines");
  if (node.worstProblem) tip += std::string(kLineBreak) + ProblemsText(node);
  if (node.entry) tip += std::string(kLineBreak) + "The dialogue starts here.";
  if (node.unreached) tip += std::string(kLineBreak) + "No response of another branch links here.";
  return tip;
}

void WriteBranchNode(std::string& out, const GraphNode& node, const DotOptions& options) {
  out += "  " + node.id + " [id=\"" + node.id + "\" label=" + BranchLabel(node, options);
  out += " tooltip=\"" + BranchTooltip(node) + "\"";
  if (node.entry) out += " peripheries=2 fillcolor=\"" + std::string(kEntryFill) + "\"";
  if (node.worstProblem)
    out += " color=\"" + std::string(*node.worstProblem == Severity::Error ? kErrorColour : kWarningColour) + "\"";
  out += "];\n";
}

void WriteGhostNode(std::string& out, const GraphNode& node) {
  std::string label = "<" + DotText(node.name) + "<BR/><FONT POINT-SIZE=\"9\">no such branch</FONT>>";
  out += "  " + node.id + " [id=\"" + node.id + "\" label=" + label + " tooltip=\"" +
         DotText(node.name, DotTextUse::Tooltip) + std::string(kLineBreak) + "No branch has this name.\"" +
         " style=\"rounded,dashed\" color=\"" + std::string(kErrorColour) + "\" fontcolor=\"" +
         std::string(kErrorColour) + "\"];\n";
}

std::string_view LineStyle(EdgeLine line) {
  switch (line) {
    case EdgeLine::Dashed:
      return "dashed";
    case EdgeLine::Dotted:
      return "dotted";
    default:
      return "solid";
  }
}

std::string EdgeTooltip(const GraphEdge& edge) {
  std::string tip = DotText(edge.text, DotTextUse::Tooltip);
  tip += std::string(kLineBreak) + std::string(VisibilityName(edge.visibility));
  if (!edge.conditions.empty())
    tip += std::string(kLineBreak) + "Conditions: " + DotText(edge.conditions, DotTextUse::Tooltip);
  if (edge.leavesLoop) tip += std::string(kLineBreak) + "Leave loop if clicked";
  return tip;
}

void WriteEdge(std::string& out, const BranchGraph& graph, const GraphEdge& edge, const std::vector<int>& rank,
               const DotOptions& options) {
  const GraphNode& from = graph.nodes[edge.from];
  out += "  " + from.id + " -> " + graph.nodes[edge.to].id + " [id=\"" + edge.id + "\"";
  out += (graph.edges.size() > kManyEdges ? " xlabel=\"" : " label=\"") + DotText(edge.label) + "\"";
  out += " tooltip=\"" + EdgeTooltip(edge) + "\"";
  if (edge.line != EdgeLine::Solid) out += " style=" + std::string(LineStyle(edge.line));
  // A bar where the response leaves its loop.
  if (edge.leavesLoop) out += " dir=both arrowtail=tee";
  if (rank[edge.to] != rank[edge.from] + 1) out += " constraint=false";
  // Graphviz draws loops from a port through the node, on top of each other.
  if (ListsBlocks(from, options) && edge.from != edge.to)
    out += " tailport=\"l" + std::to_string(edge.place.line) + "\"";
  out += "];\n";
}

void WriteHeader(std::string& out, const BranchGraph& graph) {
  std::string font = "fontname=\"" + std::string(kFont) + "\"";
  out += "digraph \"branch map\" {\n";
  out += "  graph [charset=\"UTF-8\" rankdir=TB " + font + " nodesep=0.3 ranksep=0.5";
  // Graphviz's positioning runs to the optimum by default, which takes
  // minutes on the largest project; a few passes per node are plenty.
  if (graph.edges.size() > kManyEdges) out += " nslimit=0.5";
  out += "];\n";
  out += "  node [shape=box style=\"rounded,filled\" fillcolor=\"#ffffff\" " + font + " fontsize=11];\n";
  out += "  edge [" + font + " fontsize=9 arrowsize=0.7];\n";
}

}  // namespace

std::string WriteGraphDot(const BranchGraph& graph, const DotOptions& options) {
  std::string out;
  out.reserve(256 * (graph.nodes.size() + graph.edges.size()));
  WriteHeader(out, graph);
  bool anyUnreached = false;
  for (const GraphNode& node : graph.nodes) {
    if (node.unreached)
      anyUnreached = true;
    else if (node.kind == GraphNodeKind::Branch)
      WriteBranchNode(out, node, options);
  }
  if (anyUnreached) {
    out += "  subgraph cluster_unreached {\n";
    out += "    graph [label=\"Not linked from another branch\" style=\"rounded,dashed\" color=\"" +
           std::string(kUnreachedColour) + "\" fontcolor=\"" + std::string(kUnreachedColour) + "\" fontsize=9];\n";
    for (const GraphNode& node : graph.nodes)
      if (node.unreached) {
        out += "  ";
        WriteBranchNode(out, node, options);
      }
    out += "  }\n";
  }
  for (const GraphNode& node : graph.nodes)
    if (node.kind == GraphNodeKind::Ghost) WriteGhostNode(out, node);
  std::vector<int> rank = ClicksFromEntry(graph);
  for (const GraphEdge& edge : graph.edges) WriteEdge(out, graph, edge, rank, options);
  out += "}\n";
  return out;
}

}  // namespace tellwright
