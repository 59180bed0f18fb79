#include "editors/branch_map_view.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QtMath>
#include <algorithm>

#include "editors/branch_map_scene.h"

namespace tellwright {

namespace {

constexpr double kLeastZoom = 0.02;
constexpr double kMostZoom = 8;
// Zoom per eighth of a degree the wheel turns: one notch (15 degrees) zooms
// by about a fifth.
constexpr double kWheelZoom = 1.0015;
constexpr double kFitSlack = 0.98;

}  // namespace

BranchMapView::BranchMapView(QWidget* parent) : QGraphicsView(parent) {
  setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  setDragMode(QGraphicsView::ScrollHandDrag);
  setResizeAnchor(QGraphicsView::AnchorViewCenter);
  setFocusPolicy(Qt::StrongFocus);
}

// Keys and buttons zoom around the middle of the view, the wheel around the
// mouse.
void BranchMapView::zoomIn() { zoomBy(kZoomStep, AnchorViewCenter); }

void BranchMapView::zoomOut() { zoomBy(1 / kZoomStep, AnchorViewCenter); }

void BranchMapView::fit() {
  if (!scene()) return;
  fitInView(sceneRect(), Qt::KeepAspectRatio);
  // A hair smaller than the view: a map exactly as wide as the view gets a
  // scroll bar from rounding, which then covers part of it.
  const double fitted = std::min(zoom() * kFitSlack, kFitMostZoom);
  setTransform(QTransform::fromScale(fitted, fitted));
  centerOn(sceneRect().center());
  fitted_ = true;
}

void BranchMapView::zoomBy(double factor, ViewportAnchor anchor) {
  fitted_ = false;
  double wanted = qBound(kLeastZoom, zoom() * factor, kMostZoom);
  setTransformationAnchor(anchor);
  scale(wanted / zoom(), wanted / zoom());
}

void BranchMapView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return QGraphicsView::wheelEvent(event);
  zoomBy(qPow(kWheelZoom, event->angleDelta().y()), AnchorUnderMouse);
  event->accept();
}

void BranchMapView::resizeEvent(QResizeEvent* event) {
  QGraphicsView::resizeEvent(event);
  if (fitted_) fit();
}

void BranchMapView::mouseDoubleClickEvent(QMouseEvent* event) {
  MapHit hit = BranchMapScene::hitOf(itemAt(event->position().toPoint()));
  event->accept();
  if (hit.kind == MapHit::Kind::Node) emit nodeDoubleClicked(hit.index);
  if (hit.kind == MapHit::Kind::Edge) emit edgeDoubleClicked(hit.index);
}

}  // namespace tellwright
