#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "editors/branch_map_builder.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tellwright {

class BranchMapScene;
class BranchMapView;
class EditorContext;
class ProblemsMonitor;

// Dialogue > Branch map: every branch as a box, every response that links
// to a branch as an arrow, laid out by Graphviz away from the window's
// thread, and the branches again as a list for the keyboard. Follows the
// project as it changes; the old picture stays until the new one is laid
// out, in the same place and zoom.
class BranchMapWindow : public QWidget {
  Q_OBJECT

 public:
  BranchMapWindow(EditorContext& context, ProblemsMonitor& problems);
  ~BranchMapWindow() override;

  // The document changed: the node of the branch now shown is highlighted at
  // once; when more than that changed (`content`), the map is built again
  // while the window is open, or once it opens again.
  void followDocument(bool content);
  // Builds the map of the document as it is now.
  void rebuild();
  // "Save map...": the picture as SVG or PNG, by the chosen name's extension.
  void saveMap();
  // Selects branch `branch` in the list and centres its node.
  void goToBranch(int branch);

  BranchMapView* view() const { return view_; }
  BranchMapScene* scene() const { return scene_; }
  QTreeWidget* branchList() const { return list_; }
  QLineEdit* searchField() const { return search_; }
  QCheckBox* blockOrder() const { return blockOrder_; }
  QLabel* status() const { return status_; }
  // Pictures shown since the window opened (a new layout each).
  int picturesShown() const { return builder_->picturesDelivered(); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void buildControls();
  // Highlights the node of the branch the main window shows, and brings it
  // into view when another branch is shown.
  void followCurrentBranch();
  void showModel(std::shared_ptr<const BranchMapModel> model);
  void showPicture(const BranchMapPicture& picture);
  void centreNode(int node);
  void search(bool next);
  void showBranchOfRow(QTreeWidgetItem* row);
  void openResponse(int edge);

  EditorContext& context_;
  ProblemsMonitor& problems_;
  std::unique_ptr<BranchMapBuilder> builder_;
  // The document as last copied, and whether it is still the document.
  std::shared_ptr<const DialogueDocument> snapshot_;
  bool snapshotCurrent_ = false;
  bool stale_ = true;  // changed while the window was closed
  QTimer rebuildTimer_;
  std::shared_ptr<const BranchMapModel> listed_;  // what the list shows
  std::string shownDot_;                          // what the map shows
  std::vector<int> matches_;  // nodes the search text finds, best first
  size_t matchShown_ = 0;

  QLineEdit* search_;
  QCheckBox* blockOrder_;
  QPushButton* fit_;
  QPushButton* save_;
  QLabel* status_;
  BranchMapScene* scene_;
  BranchMapView* view_;
  QTreeWidget* list_;
};

}  // namespace tellwright
