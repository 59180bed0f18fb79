#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace tellwright {

// Laying out a graph given as DOT text with Graphviz's dot, without any of
// Graphviz's types: in go bytes, out come bytes (SVG, PNG) and plain numbers
// a scene can draw.
//
// Graphviz keeps global state (the parser, the layout's working data, the
// error handler), so every call in this process that reaches Graphviz must
// go through LayOutGraph, which runs one layout at a time behind a single
// lock. It may be called from any thread; a caller on the window's thread
// should use a LayoutWorker instead, as a layout of the largest project
// takes a second or more.

// Positions are in points (1/72 inch), with the origin at the top left of
// the drawing and y growing downwards, as in a Qt scene.
struct LayoutPoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const LayoutPoint&, const LayoutPoint&) = default;
};

struct LayoutBox {
  LayoutPoint center;
  double width = 0;
  double height = 0;
};

struct NodeGeometry {
  std::string id;  // the node's name in the DOT text
  LayoutBox box;
};

// One piece of an edge's path: a cubic Bézier spline given as its start
// point followed by three points (two control points and the end) per
// segment. Where an arrowhead is drawn, the path stops short of the node
// and the arrow's tip is given apart.
struct EdgeCurve {
  std::vector<LayoutPoint> points;
  std::optional<LayoutPoint> tailArrowTip;
  std::optional<LayoutPoint> headArrowTip;
};

struct EdgeGeometry {
  std::string id;  // the edge's id attribute ("" when it has none)
  std::string tail;
  std::string head;
  std::vector<EdgeCurve> curves;   // usually one
  std::optional<LayoutBox> label;  // the label or xlabel, where one was placed
};

struct ClusterGeometry {
  std::string id;  // the subgraph's name, such as "cluster_unreached"
  LayoutBox box;
  std::optional<LayoutBox> label;
};

struct GraphGeometry {
  double width = 0;
  double height = 0;
  std::vector<NodeGeometry> nodes;  // in the DOT text's order
  std::vector<EdgeGeometry> edges;  // node by node, each node's edges out
  std::vector<ClusterGeometry> clusters;

  const NodeGeometry* node(std::string_view id) const;
  const EdgeGeometry* edge(std::string_view id) const;
};

// What a layout should give beside the geometry.
struct LayoutRequest {
  bool geometry = true;
  bool svg = false;
  bool png = false;
  friend bool operator==(const LayoutRequest&, const LayoutRequest&) = default;
};

struct LayoutResult {
  Status status;  // an error names what Graphviz reported
  GraphGeometry geometry;
  std::string svg;  // UTF-8 SVG document
  std::string png;  // PNG image bytes
};

// Reads `dot` and lays it out with dot. Never throws; DOT that Graphviz
// cannot read gives an error status and nothing else.
LayoutResult LayOutGraph(std::string_view dot, const LayoutRequest& request = {});

}  // namespace tellwright
