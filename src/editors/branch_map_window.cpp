#include "editors/branch_map_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editors/branch_map_scene.h"
#include "editors/branch_map_view.h"
#include "os/atomic_write.h"
#include "ui/document_text.h"
#include "ui/editor_context.h"
#include "ui/fixed_layout.h"
#include "ui/problems_monitor.h"
#include "ui/return_key.h"
#include "ui/selection_palette.h"
#include "ui/user_dialogs.h"

namespace tellwright {

namespace {

constexpr int kNodeRole = Qt::UserRole;
constexpr int kMapWidth = 700;
constexpr int kListWidth = 260;
const char* const kNoGraphviz = "The branch map needs Graphviz, which this build does not have.";

QTreeWidgetItem* BranchRow(const GraphNode& node, int index) {
  QString name = node.name.empty() ? QStringLiteral("(no name)") : TextToQString(node.name);
  auto* row = new QTreeWidgetItem({name});
  row->setData(0, kNodeRole, index);
  row->setData(1, Qt::DisplayRole, node.linksIn);
  row->setData(2, Qt::DisplayRole, node.linksOut);
  for (int column : {1, 2}) row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
  if (node.entry) row->setToolTip(0, QStringLiteral("The dialogue starts here."));
  if (node.unreached) row->setToolTip(0, QStringLiteral("No response of another branch links here."));
  return row;
}

// The nodes of branches whose names hold `text` (letter case ignored):
// those that start with it first, each group in the project's order.
std::vector<int> Matches(const BranchGraph& graph, const QString& text) {
  std::vector<int> starting, containing;
  if (text.isEmpty()) return starting;
  for (int n = 0; n < graph.branchNodes(); ++n) {
    QString name = TextToQString(graph.nodes[n].name);
    if (name.startsWith(text, Qt::CaseInsensitive)) {
      starting.push_back(n);
    } else if (name.contains(text, Qt::CaseInsensitive)) {
      containing.push_back(n);
    }
  }
  starting.insert(starting.end(), containing.begin(), containing.end());
  return starting;
}

// The picture's file: the chosen name, with ".svg" when it names neither
// format.
std::pair<QString, MapFormat> MapFile(QString name) {
  if (name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) return {name, MapFormat::Png};
  if (!name.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) name += QStringLiteral(".svg");
  return {name, MapFormat::Svg};
}

// The platform's zoom keys and `more`, each once: a key given twice makes
// its shortcut ambiguous, and then it does nothing.
QList<QKeySequence> ZoomKeys(QKeySequence::StandardKey standard, std::initializer_list<QKeyCombination> more) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
  for (QKeyCombination key : more)
    if (!keys.contains(QKeySequence(key))) keys << QKeySequence(key);
  return keys;
}

}  // namespace

BranchMapWindow::BranchMapWindow(EditorContext& context, ProblemsMonitor& problems)
    : QWidget(nullptr, Qt::Window), context_(context), problems_(problems) {
  setObjectName(QStringLiteral("branchMapWindow"));
  setWindowTitle(QStringLiteral("Branch map"));
  builder_ = std::make_unique<BranchMapBuilder>(
      [this](std::shared_ptr<const BranchMapModel> model) { showModel(std::move(model)); },
      [this](const BranchMapPicture& picture) { showPicture(picture); });
  buildControls();
  // A burst of changes (an edit, then its problems) is built once.
  rebuildTimer_.setSingleShot(true);
  rebuildTimer_.setInterval(0);
  connect(&rebuildTimer_, &QTimer::timeout, this, [this] { rebuild(); });
  connect(&problems_, &ProblemsMonitor::updated, this, [this] {
    if (isVisible()) {
      rebuildTimer_.start();
    } else {
      stale_ = true;
    }
  });
  resize(960, 640);
}

BranchMapWindow::~BranchMapWindow() = default;

void BranchMapWindow::buildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  search_ = Named(new QLineEdit(this), "findBranch", QStringLiteral("Find branch"));
  search_->setPlaceholderText(QStringLiteral("Branch name"));
  search_->setClearButtonEnabled(true);
  auto* searchLabel = new QLabel(QStringLiteral("&Find branch:"), this);
  searchLabel->setBuddy(search_);
  bar->addWidget(searchLabel);
  bar->addWidget(search_, 1);
  connect(search_, &QLineEdit::textEdited, this, [this] { search(false); });
  connect(search_, &QLineEdit::returnPressed, this, [this] { search(true); });
  blockOrder_ = Named(new QCheckBox(QStringLiteral("&Block order"), this), "blockOrder", QStringLiteral("Block order"));
  blockOrder_->setToolTip(QStringLiteral("List the responseblocks of a branch inside its box, in their order"));
  connect(blockOrder_, &QCheckBox::toggled, this, [this] { rebuild(); });
  bar->addWidget(blockOrder_);
  fit_ = RowButton(this, bar, QStringLiteral("F&it"), "fit", [this] { view_->fit(); });
  fit_->setAccessibleName(QStringLiteral("Fit"));
  fit_->setToolTip(QStringLiteral("Show the whole map (zoom: Ctrl+wheel, Ctrl++ and Ctrl+-)"));
  save_ = RowButton(this, bar, QStringLiteral("&Save map..."), "saveMap", [this] { saveMap(); });
  save_->setAccessibleName(QStringLiteral("Save map..."));
  save_->setToolTip(QStringLiteral("Save the map as an SVG or PNG picture"));
  layout->addLayout(bar);

  status_ = Named(new QLabel(this), "mapStatus", QStringLiteral("Map status"));
  status_->setWordWrap(true);
  layout->addWidget(status_);

  auto* split = Named(new QSplitter(this), "mapSplit");
  scene_ = new BranchMapScene(this);
  view_ = Named(new BranchMapView(split), "branchMap", QStringLiteral("Branch map"));
  view_->setScene(scene_);
  view_->setToolTip(QStringLiteral("Double-click a branch to show it, a link to open its response"));
  connect(view_, &BranchMapView::nodeDoubleClicked, this, [this](int node) {
    const BranchMapModel* model = scene_->model();
    if (model && node < model->graph.branchNodes()) context_.showBranch(model->graph.nodes[node].branch);
  });
  connect(view_, &BranchMapView::edgeDoubleClicked, this, [this](int edge) { openResponse(edge); });
  list_ = Named(new QTreeWidget(split), "branchList", QStringLiteral("Branches"));
  list_->setHeaderLabels({QStringLiteral("Branch"), QStringLiteral("Links in"), QStringLiteral("Links out")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  KeepSelectionVisible(list_);
  connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* row) {
    if (row) centreNode(row->data(0, kNodeRole).toInt());
  });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) { showBranchOfRow(row); });
  OnReturnKey(list_, [this] { showBranchOfRow(list_->currentItem()); });
  split->addWidget(view_);
  split->addWidget(list_);
  // The map takes what the list does not need; the list keeps its width
  // when the window grows.
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 0);
  split->setSizes({kMapWidth, kListWidth});
  layout->addWidget(split, 1);
  setTabOrder(search_, blockOrder_);
  setTabOrder(blockOrder_, fit_);
  setTabOrder(fit_, save_);
  setTabOrder(save_, view_);
  setTabOrder(view_, list_);

  // Zoom from anywhere in the window. Ctrl+= and Ctrl+Shift++ for keyboards
  // whose + needs Shift.
  auto* zoomIn = new QAction(QStringLiteral("Zoom in"), this);
  zoomIn->setShortcuts(ZoomKeys(QKeySequence::ZoomIn, {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal,
                                                       Qt::CTRL | Qt::SHIFT | Qt::Key_Plus}));
  auto* zoomOut = new QAction(QStringLiteral("Zoom out"), this);
  zoomOut->setShortcuts(ZoomKeys(QKeySequence::ZoomOut, {Qt::CTRL | Qt::Key_Minus}));
  for (QAction* zoom : {zoomIn, zoomOut}) {
    zoom->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(zoom);
  }
  connect(zoomIn, &QAction::triggered, view_, &BranchMapView::zoomIn);
  connect(zoomOut, &QAction::triggered, view_, &BranchMapView::zoomOut);

  if (!BranchMapBuilder::layoutAvailable()) {
    view_->hide();
    status_->setText(QString::fromLatin1(kNoGraphviz));
  }
  fit_->setEnabled(false);
  save_->setEnabled(false);
}

void BranchMapWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (stale_) rebuild();
}

void BranchMapWindow::followDocument(bool content) {
  followCurrentBranch();
  if (!content) return;
  snapshotCurrent_ = false;
  if (isVisible()) {
    rebuildTimer_.start();
  } else {
    stale_ = true;
  }
}

void BranchMapWindow::followCurrentBranch() {
  const int current = context_.document().currentBranch;
  if (current == scene_->highlightedBranch()) return;
  scene_->highlightBranch(current);
  // Into view with the least movement: a map zoomed in on one part keeps it
  // while the main window stays among the branches shown.
  if (std::optional<QRectF> box = scene_->nodeBox(current)) view_->ensureVisible(*box);
}

void BranchMapWindow::rebuild() {
  rebuildTimer_.stop();
  stale_ = false;
  // The one part on this thread: the copy the map is built from.
  if (!snapshotCurrent_) {
    snapshot_ = std::make_shared<const DialogueDocument>(context_.document());
    snapshotCurrent_ = true;
  }
  builder_->build(snapshot_, problems_.problems(), {.showBlockOrder = blockOrder_->isChecked()});
  if (shownDot_.empty() && BranchMapBuilder::layoutAvailable()) status_->setText(QStringLiteral("Laying out the map..."));
}

void BranchMapWindow::showModel(std::shared_ptr<const BranchMapModel> model) {
  int current = -1;
  if (QTreeWidgetItem* row = list_->currentItem()) current = row->data(0, kNodeRole).toInt();
  QList<QTreeWidgetItem*> rows;
  for (int n = 0; n < model->graph.branchNodes(); ++n) rows << BranchRow(model->graph.nodes[n], n);
  {
    // The row chosen before stays chosen, without moving the map.
    QSignalBlocker quiet(list_);
    list_->clear();
    list_->addTopLevelItems(rows);
    if (current >= 0 && current < rows.size()) list_->setCurrentItem(rows[current]);
  }
  list_->viewport()->update();
  listed_ = std::move(model);
  if (!search_->text().isEmpty()) matches_ = Matches(listed_->graph, search_->text());
}

void BranchMapWindow::showPicture(const BranchMapPicture& picture) {
  if (!picture.fault.isEmpty()) {
    // The last good picture stays.
    status_->setText(QStringLiteral("The branch map could not be laid out: ") + picture.fault);
    return;
  }
  const int current = context_.document().currentBranch;
  if (picture.model->dot == shownDot_) {
    // The same map; only where its responses live may have moved.
    scene_->adoptModel(picture.model);
  } else {
    const QPointF centre = view_->mapToScene(view_->viewport()->rect().center());
    scene_->showPicture(picture, current);
    shownDot_ = picture.model->dot;
    // A map the writer has not zoomed stays whole in view; a zoomed one keeps
    // its zoom and the place shown.
    if (view_->fitted()) {
      view_->fit();
    } else {
      view_->centerOn(centre);
    }
  }
  const BranchGraph& graph = picture.model->graph;
  status_->setText(QStringLiteral("%1 branches, %2 links").arg(graph.branchNodes()).arg(graph.edges.size()));
  fit_->setEnabled(true);
  save_->setEnabled(true);
}

void BranchMapWindow::centreNode(int node) {
  if (std::optional<QRectF> box = scene_->nodeBox(node)) view_->centerOn(box->center());
}

void BranchMapWindow::goToBranch(int branch) {
  if (branch < 0 || branch >= list_->topLevelItemCount()) return;
  QTreeWidgetItem* row = list_->topLevelItem(branch);
  list_->setCurrentItem(row);
  list_->scrollToItem(row);
  centreNode(branch);
}

void BranchMapWindow::search(bool next) {
  if (!listed_) return;
  if (!next) {
    matches_ = Matches(listed_->graph, search_->text());
    matchShown_ = 0;
  } else if (!matches_.empty()) {
    matchShown_ = (matchShown_ + 1) % matches_.size();
  }
  if (matches_.empty()) return;
  goToBranch(matches_[matchShown_]);
}

void BranchMapWindow::showBranchOfRow(QTreeWidgetItem* row) {
  if (!row || !listed_) return;
  context_.showBranch(listed_->graph.nodes[row->data(0, kNodeRole).toInt()].branch);
}

void BranchMapWindow::openResponse(int edge) {
  const BranchMapModel* model = scene_->model();
  if (!model || edge < 0 || edge >= static_cast<int>(model->graph.edges.size())) return;
  const ResponsePlace& place = model->graph.edges[edge].place;
  ProblemPlace where;
  where.branch = place.branch;
  where.line = place.line;
  where.blockSlot = place.blockSlot;
  where.response = place.response;
  context_.goToProblem(where);
}

void BranchMapWindow::saveMap() {
  if (shownDot_.empty()) return;
  const std::string& project = context_.document().currentFile;
  QString suggested = QStringLiteral("Branch map.svg");
  if (!project.empty()) {
    QFileInfo file(PathToQString(project));
    suggested = file.dir().filePath(file.completeBaseName() + QStringLiteral(" map.svg"));
  }
  std::optional<QString> chosen = context_.dialogs().chooseSaveFile(
      QStringLiteral("Save map"), suggested, QStringLiteral("SVG picture|*.svg|PNG picture|*.png"));
  if (!chosen) return;
  auto [name, format] = MapFile(*chosen);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  RenderedMap picture = RenderMap(shownDot_, format);
  Status status = picture.status;
  if (status) status = WriteFileAtomically(PathFromQString(name), picture.bytes);
  QApplication::restoreOverrideCursor();
  if (!status)
    context_.showError(QStringLiteral("The branch map could not be saved.\n\n") + PathToQString(status.message));
}

}  // namespace tellwright
