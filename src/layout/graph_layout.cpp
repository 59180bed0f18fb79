#include "layout/graph_layout.h"

#include <graphviz/gvc.h>

#include <memory>
#include <mutex>

namespace tellwright {

const NodeGeometry* GraphGeometry::node(std::string_view id) const {
  for (const NodeGeometry& node : nodes)
    if (node.id == id) return &node;
  return nullptr;
}

const EdgeGeometry* GraphGeometry::edge(std::string_view id) const {
  for (const EdgeGeometry& edge : edges)
    if (edge.id == id) return &edge;
  return nullptr;
}

namespace {

// Everything below runs with this lock held: Graphviz's parser, layout and
// error handler are process-wide.
std::mutex& GraphvizLock() {
  static std::mutex lock;
  return lock;
}

// What Graphviz reported during the current layout (the lock is held).
std::string& Reports() {
  static std::string reports;
  return reports;
}

int CollectReport(char* message) {
  Reports() += message;
  return 0;
}

// One context for the process: creating one loads the plugin list, which
// would cost every layout several milliseconds. It lives until the process
// ends.
GVC_t* Context() {
  static GVC_t* context = [] {
    agseterrf(CollectReport);
    return gvContext();
  }();
  return context;
}

// The report without its trailing line break, or `fallback`.
std::string ReportOr(std::string fallback) {
  std::string text = Reports();
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text.empty() ? fallback : text;
}

struct GraphCloser {
  void operator()(Agraph_t* graph) const { agclose(graph); }
};
using GraphHandle = std::unique_ptr<Agraph_t, GraphCloser>;

// Converts Graphviz's coordinates (points, y upwards) into ours.
class Flip {
 public:
  explicit Flip(Agraph_t* graph) : box_(GD_bb(graph)) {}
  LayoutPoint operator()(pointf p) const { return {p.x - box_.LL.x, box_.UR.y - p.y}; }
  LayoutBox box(pointf center, double width, double height) const { return {(*this)(center), width, height}; }
  double width() const { return box_.UR.x - box_.LL.x; }
  double height() const { return box_.UR.y - box_.LL.y; }

 private:
  boxf box_;
};

std::string TextOf(char* text) { return text ? std::string(text) : std::string(); }

std::optional<LayoutBox> LabelBox(const Flip& flip, const textlabel_t* label) {
  if (!label || !label->set) return std::nullopt;
  return flip.box(label->pos, label->dimen.x, label->dimen.y);
}

EdgeGeometry EdgeOf(const Flip& flip, Agedge_t* edge) {
  EdgeGeometry geometry;
  geometry.id = TextOf(agget(edge, const_cast<char*>("id")));
  geometry.tail = agnameof(agtail(edge));
  geometry.head = agnameof(aghead(edge));
  if (const splines* spline = ED_spl(edge)) {
    for (int i = 0; i < spline->size; ++i) {
      const bezier& piece = spline->list[i];
      EdgeCurve curve;
      for (int p = 0; p < piece.size; ++p) curve.points.push_back(flip(piece.list[p]));
      if (piece.sflag) curve.tailArrowTip = flip(piece.sp);
      if (piece.eflag) curve.headArrowTip = flip(piece.ep);
      geometry.curves.push_back(std::move(curve));
    }
  }
  geometry.label = LabelBox(flip, ED_label(edge));
  if (!geometry.label) geometry.label = LabelBox(flip, ED_xlabel(edge));
  return geometry;
}

void AddClusters(const Flip& flip, Agraph_t* graph, std::vector<ClusterGeometry>& clusters) {
  for (int c = 1; c <= GD_n_cluster(graph); ++c) {  // Graphviz counts clusters from 1
    Agraph_t* cluster = GD_clust(graph)[c];
    boxf box = GD_bb(cluster);
    pointf center{(box.LL.x + box.UR.x) / 2, (box.LL.y + box.UR.y) / 2};
    clusters.push_back({agnameof(cluster), flip.box(center, box.UR.x - box.LL.x, box.UR.y - box.LL.y),
                        LabelBox(flip, GD_label(cluster))});
    AddClusters(flip, cluster, clusters);
  }
}

GraphGeometry GeometryOf(Agraph_t* graph) {
  Flip flip(graph);
  GraphGeometry geometry;
  geometry.width = flip.width();
  geometry.height = flip.height();
  for (Agnode_t* node = agfstnode(graph); node; node = agnxtnode(graph, node))
    geometry.nodes.push_back({agnameof(node), flip.box(ND_coord(node), ND_width(node) * 72, ND_height(node) * 72)});
  for (Agnode_t* node = agfstnode(graph); node; node = agnxtnode(graph, node))
    for (Agedge_t* edge = agfstout(graph, node); edge; edge = agnxtout(graph, edge))
      geometry.edges.push_back(EdgeOf(flip, edge));
  AddClusters(flip, graph, geometry.clusters);
  return geometry;
}

bool Render(GVC_t* context, Agraph_t* graph, const char* format, std::string& out) {
  char* data = nullptr;
  unsigned int length = 0;
  if (gvRenderData(context, graph, format, &data, &length) != 0) return false;
  out.assign(data, length);
  gvFreeRenderData(data);
  return true;
}

LayoutResult LayOutLocked(std::string_view dot, const LayoutRequest& request) {
  GVC_t* context = Context();
  Reports().clear();
  LayoutResult result;
  // agmemread needs a terminated string.
  GraphHandle graph(agmemread(std::string(dot).c_str()));
  if (!graph) {
    result.status = Status::Error("Graphviz cannot read the graph: " + ReportOr("no graph in the text"));
    return result;
  }
  if (gvLayout(context, graph.get(), "dot") != 0) {
    result.status = Status::Error("Graphviz cannot lay out the graph: " + ReportOr("no reason given"));
    return result;
  }
  if (request.geometry) result.geometry = GeometryOf(graph.get());
  if (request.svg && !Render(context, graph.get(), "svg", result.svg))
    result.status = Status::Error("Graphviz cannot draw the graph as SVG: " + ReportOr("no reason given"));
  if (result.status && request.png && !Render(context, graph.get(), "png", result.png))
    result.status = Status::Error("Graphviz cannot draw the graph as PNG: " + ReportOr("no reason given"));
  gvFreeLayout(context, graph.get());
  return result;
}

}  // namespace

LayoutResult LayOutGraph(std::string_view dot, const LayoutRequest& request) {
  std::lock_guard<std::mutex> lock(GraphvizLock());
  return LayOutLocked(dot, request);
}

}  // namespace tellwright

#ifdef __SANITIZE_ADDRESS__
// Graphviz 2.42 and the font libraries under it keep memory they never free:
// fontconfig's and Pango's caches for the process, and in every layout a
// few bytes for each HTML label (parsed, or measured in bold) and for
// dot's virtual nodes. The leak checker of sanitizer builds leaves those
// alone; a graph or layout this code fails to free is still reported (its
// stack runs through agmemread or dot's other passes). Telling them apart
// takes whole stacks: Debian's libraries are built without frame pointers,
// which the fast unwinder stops at.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:pango_parse_markup\n"
         "leak:textspan_size\n"
         "leak:htmlparse\n"
         "leak:XML_ParseBuffer\n"
         "leak:named_virtual_node\n";
}
#endif
