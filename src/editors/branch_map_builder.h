#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "layout/graph_layout.h"
#include "lint/lint.h"
#include "tools/branch_graph.h"
#include "tools/graph_dot.h"

namespace tellwright {

class LayoutWorker;

// The map of one snapshot of the document: the model and its DOT text.
struct BranchMapModel {
  BranchGraph graph;
  DotOptions options;
  std::string dot;
};

// A model with its layout.
struct BranchMapPicture {
  std::shared_ptr<const BranchMapModel> model;
  GraphGeometry geometry;
  QString fault;  // why the layout failed; empty when it did not
};

// Builds the branch map away from the window's thread: the model and its
// DOT text on a thread of its own from a snapshot of the document, then the
// layout on a LayoutWorker. The window's thread only copies the document.
// Only the newest snapshot counts: one that waits while a newer one is
// asked for is skipped, and a picture older than the newest layout asked
// for is dropped. The callbacks run on the thread that made the builder.
class BranchMapBuilder : public QObject {
  Q_OBJECT

 public:
  using ModelReady = std::function<void(std::shared_ptr<const BranchMapModel>)>;
  using PictureReady = std::function<void(const BranchMapPicture&)>;

  BranchMapBuilder(ModelReady modelReady, PictureReady pictureReady);
  // Waits for the model being built and the layout that runs.
  ~BranchMapBuilder() override;

  // Whether this build can lay out maps (it has Graphviz).
  static bool layoutAvailable();

  void build(std::shared_ptr<const DialogueDocument> document, std::vector<Problem> problems,
             const DotOptions& options);

  // How many pictures arrived and were shown (the newest ones).
  int picturesDelivered() const { return picturesDelivered_; }

 private:
  void requestLayout(std::shared_ptr<const BranchMapModel> model);

  ModelReady modelReady_;
  PictureReady pictureReady_;
  QThreadPool modelThread_;  // one thread: snapshots are modelled in order
  std::atomic<uint64_t> newestBuild_ = 0;
  std::atomic<uint64_t> newestTicket_ = 0;
  int picturesDelivered_ = 0;
  std::unique_ptr<LayoutWorker> layout_;
};

// The map laid out and drawn by Graphviz as an SVG document or PNG image,
// for saving; an error status when this build has no Graphviz or the
// layout failed.
struct RenderedMap {
  Status status;
  std::string bytes;
};
enum class MapFormat { Svg, Png };
RenderedMap RenderMap(const std::string& dot, MapFormat format);

}  // namespace tellwright
