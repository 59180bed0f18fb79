#include "editors/branch_map_scene.h"

#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QGraphicsPathItem>
#include <QPainter>
#include <QPainterPathStroker>
#include <QStyleOptionGraphicsItem>
#include <QtMath>
#include <unordered_map>

#include "ui/document_text.h"

namespace tellwright {

namespace {

// Colours as the DOT text gives them, so that the map on screen and the
// saved picture agree.
const QColor kInk(0x21, 0x21, 0x21);
const QColor kErrorColour(0xc6, 0x28, 0x28);
const QColor kWarningColour(0xf9, 0xa8, 0x25);
const QColor kUnreachedColour(0x9e, 0x9e, 0x9e);
const QColor kEntryFill(0xe3, 0xf2, 0xfd);
const QColor kCurrentBorder(0x15, 0x65, 0xc0);
const QColor kCurrentFill(0xff, 0xf9, 0xc4);
// The responseblock editor shows a response that leaves the loop in this red.
const QColor kLeavesLoopColour(170, 0, 0);

constexpr double kCornerRadius = 6;
constexpr double kNameSize = 11;   // points, as the layout measured them
constexpr double kSmallSize = 9;
constexpr double kArrowWidth = 0.35;  // half the arrowhead's width over its length
constexpr double kEdgeHitWidth = 8;   // how near a click must come to an edge

constexpr int kKindKey = 0;
constexpr int kIndexKey = 1;

QFont MapFont(double size, bool bold = false) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(qRound(size));  // one pixel of the scene is one point
  font.setBold(bold);
  return font;
}

QRectF BoxRect(const LayoutBox& box) {
  return {box.center.x - box.width / 2, box.center.y - box.height / 2, box.width, box.height};
}

QPointF Point(const LayoutPoint& p) { return {p.x, p.y}; }

void Mark(QGraphicsItem* item, MapHit::Kind kind, int index) {
  item->setData(kKindKey, static_cast<int>(kind));
  item->setData(kIndexKey, index);
}

QString Counted(int count, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

QString ProblemsText(const GraphNode& node) {
  QStringList parts;
  if (node.errors > 0) parts << Counted(node.errors, "error", "errors");
  if (node.warnings > 0) parts << Counted(node.warnings, "warning", "warnings");
  return parts.join(QStringLiteral(", "));
}

QString NodeName(const GraphNode& node) {
  if (!node.name.empty()) return TextToQString(node.name);
  return QStringLiteral("branch %1 (no name)").arg(node.branch + 1);
}

QString NodeTooltip(const GraphNode& node) {
  QStringList tip{NodeName(node)};
  if (node.kind == GraphNodeKind::Ghost) {
    tip << QStringLiteral("No branch has this name.");
    return tip.join(QLatin1Char('\n'));
  }
  tip << Counted(node.lines, "line", "lines");
  if (node.worstProblem) tip << ProblemsText(node);
  if (node.entry) tip << QStringLiteral("The dialogue starts here.");
  if (node.unreached) tip << QStringLiteral("No response of another branch links here.");
  tip << QStringLiteral("Links in: %1, links out: %2").arg(node.linksIn).arg(node.linksOut);
  tip << QStringLiteral("Double-click to show the branch.");
  return tip.join(QLatin1Char('\n'));
}

QString EdgeTooltip(const GraphEdge& edge) {
  QStringList tip{TextToQString(edge.text), QString::fromLatin1(VisibilityName(edge.visibility).data(),
                                                                static_cast<int>(VisibilityName(edge.visibility).size()))};
  if (!edge.conditions.empty()) tip << QStringLiteral("Conditions: ") + TextToQString(edge.conditions);
  if (edge.leavesLoop) tip << QStringLiteral("Leave loop if clicked");
  tip << QStringLiteral("Double-click to open the response.");
  return tip.join(QLatin1Char('\n'));
}

Qt::PenStyle PenStyleOf(EdgeLine line) {
  switch (line) {
    case EdgeLine::Dashed:
      return Qt::DashLine;
    case EdgeLine::Dotted:
      return Qt::DotLine;
    default:
      return Qt::SolidLine;
  }
}

// One text row of a node's box.
struct NodeRow {
  QString text;
  QFont font;
  QColor ink;
  QColor background;  // the badge's; invalid for none
  Qt::Alignment alignment = Qt::AlignHCenter;
};

}  // namespace

// A branch (or ghost) box, drawn as the layout sized it.
class MapNodeItem : public QGraphicsItem {
 public:
  MapNodeItem(const GraphNode& node, const QRectF& box, bool listBlocks) : node_(node), box_(box) {
    setToolTip(NodeTooltip(node));
    rows_ = rowsOf(node, listBlocks);
  }
  QRectF boundingRect() const override { return box_.adjusted(-3, -3, 3, 3); }
  void setCurrent(bool current) {
    if (current_ == current) return;
    current_ = current;
    update();
  }
  bool current() const { return current_; }

  void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
    painter->setRenderHint(QPainter::Antialiasing);
    paintFrame(painter);
    paintRows(painter);
  }

 private:
  static std::vector<NodeRow> rowsOf(const GraphNode& node, bool listBlocks) {
    const bool ghost = node.kind == GraphNodeKind::Ghost;
    const QColor ink = ghost ? kErrorColour : kInk;
    std::vector<NodeRow> rows{{NodeName(node), MapFont(kNameSize, !ghost), ink, {}}};
    if (ghost) {
      rows.push_back({QStringLiteral("no such branch"), MapFont(kSmallSize), ink, {}});
      return rows;
    }
    rows.push_back({Counted(node.lines, "line", "lines"), MapFont(kSmallSize), ink, {}});
    if (listBlocks && node.blocks.size() > 1)
      for (size_t i = 0; i < node.blocks.size(); ++i) {
        const BlockUse& use = node.blocks[i];
        QString text = QStringLiteral("%1. line %2: ").arg(i + 1).arg(use.line + 1);
        text += use.blockSlot < 0 ? QStringLiteral("no such responseblock")
                                  : Counted(use.responses, "response", "responses");
        rows.push_back({text, MapFont(kSmallSize), ink, {}, Qt::AlignLeft});
      }
    if (node.worstProblem) {
      bool error = *node.worstProblem == Severity::Error;
      rows.push_back({ProblemsText(node), MapFont(kSmallSize), error ? QColor(Qt::white) : kInk,
                      error ? kErrorColour : kWarningColour});
    }
    return rows;
  }

  void paintFrame(QPainter* painter) const {
    const bool ghost = node_.kind == GraphNodeKind::Ghost;
    QColor border = kInk;
    if (ghost) border = kErrorColour;
    if (node_.worstProblem) border = *node_.worstProblem == Severity::Error ? kErrorColour : kWarningColour;
    QPen pen(current_ ? kCurrentBorder : border, current_ ? 3 : 1, ghost ? Qt::DashLine : Qt::SolidLine);
    painter->setPen(pen);
    QColor fill = node_.entry ? kEntryFill : QColor(Qt::white);
    if (current_) fill = kCurrentFill;
    painter->setBrush(fill);
    painter->drawRoundedRect(box_, kCornerRadius, kCornerRadius);
    if (node_.entry) {  // the entry has a second frame around the first
      painter->setBrush(Qt::NoBrush);
      painter->setPen(QPen(current_ ? kCurrentBorder : border, 1));
      painter->drawRoundedRect(box_.adjusted(4, 4, -4, -4), kCornerRadius - 2, kCornerRadius - 2);
    }
  }

  void paintRows(QPainter* painter) const {
    double height = 0;
    for (const NodeRow& row : rows_) height += QFontMetricsF(row.font).height() + 2;
    const double inner = box_.width() - 12;
    double y = box_.center().y() - height / 2;
    for (const NodeRow& row : rows_) {
      QFontMetricsF metrics(row.font);
      QRectF line(box_.left() + 6, y, inner, metrics.height() + 2);
      if (row.background.isValid()) {
        double width = std::min(inner, metrics.horizontalAdvance(row.text) + 8);
        QRectF badge(line.center().x() - width / 2, line.top(), width, line.height());
        painter->setPen(Qt::NoPen);
        painter->setBrush(row.background);
        painter->drawRoundedRect(badge, 2, 2);
      }
      painter->setFont(row.font);
      painter->setPen(row.ink);
      painter->drawText(line, row.alignment | Qt::AlignVCenter, metrics.elidedText(row.text, Qt::ElideRight, inner));
      y += line.height();
    }
  }

  GraphNode node_;
  QRectF box_;
  std::vector<NodeRow> rows_;
  bool current_ = false;
};

namespace {

// An edge's curve, easy to hit with the mouse.
class MapEdgePath : public QGraphicsPathItem {
 public:
  using QGraphicsPathItem::QGraphicsPathItem;
  QPainterPath shape() const override {
    QPainterPathStroker stroker;
    stroker.setWidth(kEdgeHitWidth);
    return stroker.createStroke(path());
  }
};

QPainterPath CurvePath(const EdgeCurve& curve) {
  QPainterPath path;
  if (curve.points.empty()) return path;
  path.moveTo(Point(curve.points[0]));
  for (size_t i = 1; i + 2 < curve.points.size(); i += 3)
    path.cubicTo(Point(curve.points[i]), Point(curve.points[i + 1]), Point(curve.points[i + 2]));
  return path;
}

// A filled arrowhead from `base` to `tip`.
QPolygonF Arrowhead(QPointF base, QPointF tip) {
  QPointF along = tip - base;
  QPointF across(-along.y() * kArrowWidth, along.x() * kArrowWidth);
  return QPolygonF({tip, base + across, base - across});
}

// A bar across the line from `base` to `tip`, near the tip: the response
// leaves the loop.
QPainterPath Tee(QPointF base, QPointF tip) {
  QPointF along = tip - base;
  double length = std::hypot(along.x(), along.y());
  QPainterPath path;
  path.moveTo(base);
  path.lineTo(tip);
  if (length <= 0) return path;
  QPointF unit = along / length;
  QPointF across(-unit.y() * 5, unit.x() * 5);
  QPointF at = tip - unit * 2;
  path.moveTo(at + across);
  path.lineTo(at - across);
  return path;
}

}  // namespace

BranchMapScene::BranchMapScene(QObject* parent) : QGraphicsScene(parent) {
  setBackgroundBrush(Qt::white);
}

BranchMapScene::~BranchMapScene() = default;

void BranchMapScene::showPicture(const BranchMapPicture& picture, int current) {
  clear();
  nodes_.clear();
  drawnEdges_ = 0;
  model_ = picture.model;
  const BranchGraph& graph = model_->graph;
  const GraphGeometry& geometry = picture.geometry;
  const bool listBlocks = model_->options.showBlockOrder;
  for (const ClusterGeometry& cluster : geometry.clusters) addCluster(cluster);

  std::unordered_map<std::string_view, const NodeGeometry*> boxes;
  for (const NodeGeometry& node : geometry.nodes) boxes.emplace(node.id, &node);
  nodes_.assign(graph.nodes.size(), nullptr);
  for (size_t n = 0; n < graph.nodes.size(); ++n) {
    auto box = boxes.find(graph.nodes[n].id);
    if (box == boxes.end()) continue;
    auto* item = new MapNodeItem(graph.nodes[n], BoxRect(box->second->box), listBlocks);
    item->setZValue(1);
    Mark(item, MapHit::Kind::Node, static_cast<int>(n));
    addItem(item);
    nodes_[n] = item;
  }
  std::unordered_map<std::string_view, const EdgeGeometry*> curves;
  for (const EdgeGeometry& edge : geometry.edges) curves.emplace(edge.id, &edge);
  for (size_t e = 0; e < graph.edges.size(); ++e) {
    auto curve = curves.find(graph.edges[e].id);
    if (curve != curves.end()) addEdge(static_cast<int>(e), graph.edges[e], *curve->second);
  }
  setSceneRect(QRectF(0, 0, geometry.width, geometry.height).adjusted(-12, -12, 12, 12));
  highlighted_ = -1;
  highlightBranch(current);
}

void BranchMapScene::addCluster(const ClusterGeometry& cluster) {
  QRectF box = BoxRect(cluster.box);
  QPainterPath outline;
  outline.addRoundedRect(box, kCornerRadius, kCornerRadius);
  auto* frame = addPath(outline, QPen(kUnreachedColour, 1, Qt::DashLine));
  frame->setZValue(-1);
  frame->setToolTip(QStringLiteral("These branches are not linked from another branch: the game's own scripts "
                                   "may start them."));
  if (!cluster.label) return;
  auto* label = addSimpleText(QStringLiteral("Not linked from another branch"), MapFont(kSmallSize));
  label->setBrush(kUnreachedColour);
  label->setParentItem(frame);
  QRectF text = label->boundingRect();
  label->setPos(cluster.label->center.x - text.width() / 2, cluster.label->center.y - text.height() / 2);
}

void BranchMapScene::addEdge(int index, const GraphEdge& edge, const EdgeGeometry& geometry) {
  QPen pen(kInk, 1.2, PenStyleOf(edge.line));
  const QString tip = EdgeTooltip(edge);
  auto* owner = new MapEdgePath;
  owner->setPen(pen);
  owner->setToolTip(tip);
  Mark(owner, MapHit::Kind::Edge, index);
  QPainterPath path;
  for (const EdgeCurve& curve : geometry.curves) {
    QPainterPath piece = CurvePath(curve);
    path.addPath(piece);
    if (curve.headArrowTip && !curve.points.empty()) {
      auto* head = new QGraphicsPolygonItem(Arrowhead(Point(curve.points.back()), Point(*curve.headArrowTip)), owner);
      head->setPen(QPen(kInk, 1));
      head->setBrush(kInk);
    }
    if (curve.tailArrowTip && !curve.points.empty()) {
      auto* tee = new QGraphicsPathItem(Tee(Point(curve.points.front()), Point(*curve.tailArrowTip)), owner);
      tee->setPen(QPen(edge.leavesLoop ? kLeavesLoopColour : kInk, 2));
    }
  }
  owner->setPath(path);
  if (geometry.label) {
    QRectF box = BoxRect(*geometry.label);
    QFont font = MapFont(kSmallSize);
    QString text = QFontMetricsF(font).elidedText(TextToQString(edge.label), Qt::ElideRight, box.width() + 6);
    auto* label = new QGraphicsSimpleTextItem(text, owner);
    label->setFont(font);
    label->setBrush(edge.leavesLoop ? kLeavesLoopColour : kInk);
    label->setToolTip(tip);
    QRectF shown = label->boundingRect();
    label->setPos(box.center().x() - shown.width() / 2, box.center().y() - shown.height() / 2);
  }
  for (QGraphicsItem* part : owner->childItems()) Mark(part, MapHit::Kind::Edge, index);
  addItem(owner);
  ++drawnEdges_;
}

void BranchMapScene::highlightBranch(int branch) {
  if (highlighted_ >= 0 && highlighted_ < static_cast<int>(nodes_.size()) && nodes_[highlighted_])
    nodes_[highlighted_]->setCurrent(false);
  highlighted_ = -1;
  if (!model_ || branch < 0 || branch >= model_->graph.branchNodes()) return;
  if (!nodes_[branch]) return;
  nodes_[branch]->setCurrent(true);
  highlighted_ = branch;
}

std::optional<QRectF> BranchMapScene::nodeBox(int node) const {
  if (node < 0 || node >= static_cast<int>(nodes_.size()) || !nodes_[node]) return std::nullopt;
  return nodes_[node]->boundingRect().adjusted(3, 3, -3, -3);
}

MapHit BranchMapScene::hitOf(const QGraphicsItem* item) {
  for (; item; item = item->parentItem()) {
    QVariant kind = item->data(kKindKey);
    if (kind.isValid()) return {static_cast<MapHit::Kind>(kind.toInt()), item->data(kIndexKey).toInt()};
  }
  return {};
}

}  // namespace tellwright
