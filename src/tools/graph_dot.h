#pragma once

#include <string>
#include <string_view>

#include "tools/branch_graph.h"

namespace tellwright {

struct DotOptions {
  // List a branch's responseblock lines inside its node, in order, for
  // branches with more than one; each one's edges leave from its row.
  bool showBlockOrder = false;
};

// The map as Graphviz DOT, UTF-8, laid out top-down from the entry. The
// same graph gives the same bytes. Node and edge names are the graph's ids
// (b0, g0, e0, ...), also set as the id attribute so that SVG elements and
// layouts carry them; the unreached branches sit in the subgraph
// "cluster_unreached". A graph with more than kManyEdges edges puts its
// edge labels beside the edges (xlabel) and caps Graphviz's positioning
// passes, which keeps the largest project's layout within seconds.
std::string WriteGraphDot(const BranchGraph& graph, const DotOptions& options = {});

inline constexpr size_t kManyEdges = 200;

// Windows-1252 text as the inside of a DOT string that Graphviz shows as
// the text itself: UTF-8, with quotes, ampersands, angle brackets and
// backslashes as entities (so no Graphviz escape such as \N applies), and
// control characters shown as U+FFFD. Tooltips go through Graphviz's
// escape processing twice, so their backslashes are doubled once more.
enum class DotTextUse { Label, Tooltip };
std::string DotText(std::string_view text, DotTextUse use = DotTextUse::Label);

}  // namespace tellwright
