#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/dialogue_document.h"
#include "lint/lint.h"

namespace tellwright {

// The branch map: which branch links to which, through which response.
// Plain data, built from the document in one pass; the DOT writer and the
// editor's map window read it. Texts are Windows-1252, as in the document.

// A responseblock line of a branch, in line order.
struct BlockUse {
  int line = -1;       // line index in the branch
  int blockSlot = -1;  // the block the line runs; -1 when no block has its id
  int32_t blockId = 0;
  int responses = 0;  // responses the block offers
  int links = 0;      // of them, those with a link

  friend bool operator==(const BlockUse&, const BlockUse&) = default;
};

enum class GraphNodeKind { Branch, Ghost };

struct GraphNode {
  // Stable name of the node in the DOT text and in the layout: "b" + branch
  // index for a branch, "g" + a counter for a ghost (in the order the links
  // to missing names are first met).
  std::string id;
  GraphNodeKind kind = GraphNodeKind::Branch;
  int branch = -1;   // branch index; -1 for a ghost
  std::string name;  // the branch's name; for a ghost, the name no branch has
  int lines = 0;     // lines in use
  // The lint's errors and warnings placed in the branch (a block's at the
  // first line that runs it) and the worst of them; notes do not count.
  std::optional<Severity> worstProblem;
  int errors = 0;
  int warnings = 0;
  bool entry = false;            // the first branch: the dialogue starts here
  bool unreached = false;        // no response of another branch links here (never the entry or a ghost)
  std::vector<BlockUse> blocks;  // the branch's responseblock lines
  int linksIn = 0;               // edges ending here
  int linksOut = 0;              // edges starting here

  friend bool operator==(const GraphNode&, const GraphNode&) = default;
};

// Where a response lives: what the responseblock editor opens at.
struct ResponsePlace {
  int branch = -1;     // the branch whose line offers the response
  int line = -1;       // that responseblock line
  int blockSlot = -1;  // slot in document.responseBlocks
  int response = -1;   // response index in the block

  friend bool operator==(const ResponsePlace&, const ResponsePlace&) = default;
};

// How an edge is drawn, by the response's visibility: Always solid, Once
// dashed, Once Game dotted.
enum class EdgeLine { Solid, Dashed, Dotted };
EdgeLine LineOf(int32_t visibility);

// "Always", "Once" or "Once Game", as the response editor names them; an
// unknown code reads "Always", as the exports offer it.
std::string_view VisibilityName(int32_t visibility);

// A response that links to a branch.
struct GraphEdge {
  std::string id;     // "e" + its index in BranchGraph::edges
  int from = -1;      // node index
  int to = -1;        // node index
  std::string label;  // the response text, shortened (ShortLabel)
  std::string text;   // the whole response text
  std::string conditions;
  int32_t visibility = kAlways;
  EdgeLine line = EdgeLine::Solid;
  bool leavesLoop = false;
  ResponsePlace place;

  friend bool operator==(const GraphEdge&, const GraphEdge&) = default;
};

struct BranchGraph {
  // Branch i is node i (branches 0..lastBranchIndex); the ghosts follow.
  std::vector<GraphNode> nodes;
  // Branch by branch, line by line, response by response.
  std::vector<GraphEdge> edges;

  int branchNodes() const;
  // The node with `id`, or -1.
  int nodeWithId(std::string_view id) const;
  // The edge with `id`, or -1.
  int edgeWithId(std::string_view id) const;
};

// Builds the map. Every responseblock line gives an edge per linked
// response of its block, from the line's branch; a block several branches
// run gives edges from each, a block no line runs gives none. A branch that
// runs the same block twice gets its edges once, placed at the first line. A
// link finds the first branch with exactly its name, else a ghost node of
// that name. `problems` is the lint's list of the same document (the
// editor has it at hand); a problem of the character list counts for no
// branch.
BranchGraph BuildBranchGraph(const DialogueDocument& document, const std::vector<Problem>& problems);
// The same, running the lint first.
BranchGraph BuildBranchGraph(const DialogueDocument& document);

// Longest edge label, in characters.
inline constexpr size_t kEdgeLabelLength = 24;

// `text` cut for an edge label: at most `length` characters, cut after a
// word where one ends in the second half, ending in "…" (Windows-1252 0x85)
// when shortened.
std::string ShortLabel(std::string_view text, size_t length = kEdgeLabelLength);

}  // namespace tellwright
