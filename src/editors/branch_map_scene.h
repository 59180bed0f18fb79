#pragma once

#include <QGraphicsScene>
#include <memory>
#include <optional>
#include <vector>

#include "editors/branch_map_builder.h"

namespace tellwright {

class MapNodeItem;

// What a point of the map shows: a node (by its index in the graph) or an
// edge (by its index), or nothing.
struct MapHit {
  enum class Kind { None, Node, Edge };
  Kind kind = Kind::None;
  int index = -1;
};

// The laid-out branch map as scene items, in the layout's units (points,
// y down): a box per node with its name, line count and problem badge, the
// unreached branches in their frame, an edge per linking response with its
// arrowhead, label and tooltip.
class BranchMapScene : public QGraphicsScene {
  Q_OBJECT

 public:
  explicit BranchMapScene(QObject* parent = nullptr);
  ~BranchMapScene() override;

  // Draws `picture` in place of what was shown, the node of branch
  // `current` highlighted.
  void showPicture(const BranchMapPicture& picture, int current);
  // Takes `model` for the picture shown: its DOT text is the same, so it
  // draws the same; where its responses live may differ.
  void adoptModel(std::shared_ptr<const BranchMapModel> model) { model_ = std::move(model); }
  // Highlights the node of branch `branch` (none when -1).
  void highlightBranch(int branch);

  // The model of the picture shown, or null before the first.
  const BranchMapModel* model() const { return model_.get(); }
  // Where the box of node `node` is, or nothing when it is not drawn.
  std::optional<QRectF> nodeBox(int node) const;
  int highlightedBranch() const { return highlighted_; }
  int drawnNodes() const { return static_cast<int>(nodes_.size()); }
  int drawnEdges() const { return drawnEdges_; }

  // What the item under `item` (a drawn part of the map, or null) belongs to.
  static MapHit hitOf(const QGraphicsItem* item);

 private:
  void addCluster(const ClusterGeometry& cluster);
  void addEdge(int index, const GraphEdge& edge, const EdgeGeometry& geometry);

  std::shared_ptr<const BranchMapModel> model_;
  std::vector<MapNodeItem*> nodes_;  // by node index; null where a node has no box
  int drawnEdges_ = 0;
  int highlighted_ = -1;
};

}  // namespace tellwright
