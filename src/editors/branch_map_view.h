#pragma once

#include <QGraphicsView>

namespace tellwright {

// The branch map on screen: Ctrl+wheel zooms around the mouse, a drag or
// the arrow keys pan, a double-click on a node or an edge says which.
class BranchMapView : public QGraphicsView {
  Q_OBJECT

 public:
  explicit BranchMapView(QWidget* parent = nullptr);

  void zoomIn();
  void zoomOut();
  // The whole map in view, never drawn larger than kFitMostZoom; it stays
  // so as the view changes size, until the writer zooms.
  void fit();
  bool fitted() const { return fitted_; }
  double zoom() const { return transform().m11(); }

  static constexpr double kZoomStep = 1.25;
  static constexpr double kFitMostZoom = 1.5;

 signals:
  void nodeDoubleClicked(int node);
  void edgeDoubleClicked(int edge);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void zoomBy(double factor, ViewportAnchor anchor);

  bool fitted_ = true;  // the first map is fitted
};

}  // namespace tellwright
