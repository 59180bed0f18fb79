#include <QCheckBox>
#include <QFile>
#include <QGraphicsPathItem>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QXmlStreamReader>

#include "editors/branch_map_builder.h"
#include "editors/branch_map_scene.h"
#include "editors/branch_map_view.h"
#include "editors/branch_map_window.h"
#include "editors/response_block_editor.h"
#include "mainwindow/branch_selector.h"
#include "mainwindow/session_fixture.h"
#include "modal_window.h"

namespace tellwright::testing {
namespace {

// The example's map: Lighthouse_Greeting (the entry) links through its block
// (slot 0) to Ask_About_Storm (response 0, Once), Trade_Fish (response 1,
// Once game) and Goodbye (response 3, leaves the loop); the block of
// Ask_About_Storm links nowhere.
class BranchMapTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    if (!BranchMapBuilder::layoutAvailable()) GTEST_SKIP() << "this build has no Graphviz";
    Start({QString::fromStdString(ExampleProject())});
  }
  BranchMapWindow& map() { return *session->branchMapWindow(); }
  BranchMapScene& scene() { return *map().scene(); }
  BranchMapView& view() { return *map().view(); }

  // F6 in the main window, then the picture.
  void OpenMap() {
    window().activateWindow();
    window().lineList()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    ASSERT_TRUE(session->branchMapWindow());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return scene().drawnNodes() == 4 && scene().drawnEdges() == 3; }));
  }
  // Waits for a picture after the one shown now.
  bool NextPicture(int shown) {
    return QTest::qWaitFor([&] { return map().picturesShown() > shown; });
  }
  // The branch list as "name in/out" rows joined by "|".
  std::string ListRows() {
    std::string rows;
    QTreeWidget* list = map().branchList();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QTreeWidgetItem* row = list->topLevelItem(i);
      rows += (i ? "|" : "") + row->text(0).toStdString() + " " + row->text(1).toStdString() + "/" +
              row->text(2).toStdString();
    }
    return rows;
  }
  QPoint OnScreen(QPointF scenePoint) { return view().mapFromScene(scenePoint); }
  QPointF NodeCentre(int node) { return scene().nodeBox(node).value_or(QRectF()).center(); }
  // A point on the curve of edge `edge`.
  QPointF OnEdge(int edge) {
    for (QGraphicsItem* item : scene().items()) {
      MapHit hit = BranchMapScene::hitOf(item);
      auto* curve = dynamic_cast<QGraphicsPathItem*>(item);
      if (curve && !item->parentItem() && hit.kind == MapHit::Kind::Edge && hit.index == edge)
        return curve->path().pointAtPercent(0.5);
    }
    ADD_FAILURE() << "no edge " << edge;
    return {};
  }
  // Whether node `node` is whole in the part of the map the view shows.
  bool InView(int node) {
    QRectF shown = view().mapToScene(view().viewport()->rect()).boundingRect();
    return shown.contains(*scene().nodeBox(node));
  }
  void PressInMap(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
};

TEST_F(BranchMapTest, F6DrawsTheExampleAndDoubleClicksShowTheBranchAndOpenTheResponse) {
  OpenMap();
  EXPECT_EQ(map().windowTitle(), "Branch map");
  EXPECT_EQ(view().accessibleName(), "Branch map");
  EXPECT_EQ(ListRows(), "Lighthouse_Greeting 0/3|Ask_About_Storm 1/0|Trade_Fish 1/0|Goodbye 1/0");
  EXPECT_EQ(scene().highlightedBranch(), 0);
  for (int node = 0; node < 4; ++node) EXPECT_TRUE(InView(node)) << node;  // the first picture is fitted
  // A smaller window still shows the whole map, until the writer zooms.
  map().resize(map().width() * 2 / 3, map().height() * 2 / 3);
  EXPECT_TRUE(QTest::qWaitFor([&] { return InView(0) && InView(1) && InView(2) && InView(3); }));
  // The entry sits above the branches it links to.
  for (int node = 1; node < 4; ++node) EXPECT_LT(NodeCentre(0).y(), NodeCentre(node).y());

  QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, OnScreen(NodeCentre(2)));
  EXPECT_EQ(document().currentBranch, 2);
  EXPECT_EQ(window().branchSelector()->currentText(), "Trade_Fish");
  EXPECT_EQ(scene().highlightedBranch(), 2);

  int shownRows = -1, selected = -1;
  WhenShown<ResponseBlockEditor>([&](ResponseBlockEditor* editor) {
    shownRows = editor->list()->rowCount();
    selected = editor->list()->currentRow();
    editor->close();
  });
  QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, OnScreen(OnEdge(1)));
  EXPECT_EQ(shownRows, 4);
  EXPECT_EQ(selected, 1);  // "Do you know a fisherman called Tobin?"
  EXPECT_EQ(document().currentBranch, 0);  // the main window shows where the response lives
}

TEST_F(BranchMapTest, FollowsARenameAndItsUndoKeepingZoomAndPlaceAndTheCurrentBranch) {
  OpenMap();
  std::vector<QRectF> boxes;
  for (int node = 0; node < 4; ++node) boxes.push_back(*scene().nodeBox(node));
  PressInMap(Qt::Key_Plus, Qt::ControlModifier);
  const double zoom = view().zoom();

  int shown = map().picturesShown();
  emit window().branchSelector()->branchChosen(1);
  EXPECT_EQ(scene().highlightedBranch(), 1);  // at once, without a new layout
  EXPECT_EQ(map().picturesShown(), shown);
  const QPointF centre = view().mapToScene(view().viewport()->rect().center());
  window().branchSelector()->lineEdit()->setText("Storm_Night");
  QTest::keyClick(window().branchSelector()->lineEdit(), Qt::Key_Return);
  // A picture of the graph before the rename (its problems found in the
  // background after the map opened) may still come first.
  // The list follows the document at once; the picture once it is laid out.
  ASSERT_TRUE(QTest::qWaitFor([&] {
    return ListRows() == "Lighthouse_Greeting 0/3|Storm_Night 1/0|Trade_Fish 1/0|Goodbye 1/0" &&
           scene().model()->graph.nodes[1].name == "Storm_Night";
  })) << ListRows() << " / " << scene().model()->graph.nodes[1].name;
  EXPECT_EQ(view().zoom(), zoom);
  QPointF after = view().mapToScene(view().viewport()->rect().center());
  // The same part of the map in view: it moves only as far as the map's
  // size changed (a dimension that fits the view stays centred).
  EXPECT_NEAR(after.x(), centre.x(), 8);
  EXPECT_NEAR(after.y(), centre.y(), 8);

  Trigger(kCommandUndo);
  // The same graph again: every box where it was. (The problems of the
  // rename, found in the background, may bring one more picture of it first.)
  auto undone = [&] {
    if (ListRows() != "Lighthouse_Greeting 0/3|Ask_About_Storm 1/0|Trade_Fish 1/0|Goodbye 1/0") return false;
    for (int node = 0; node < 4; ++node)
      if (scene().nodeBox(node) != boxes[node]) return false;
    return true;
  };
  ASSERT_TRUE(QTest::qWaitFor(undone)) << ListRows();
  for (int node = 0; node < 4; ++node) EXPECT_EQ(*scene().nodeBox(node), boxes[node]) << node;
  EXPECT_EQ(scene().highlightedBranch(), document().currentBranch);

  // Zoomed in on the entry, the map brings the branch the main window shows
  // into view.
  for (int i = 0; i < 4; ++i) view().zoomIn();
  map().goToBranch(0);
  ASSERT_FALSE(InView(3));
  emit window().branchSelector()->branchChosen(3);
  EXPECT_EQ(scene().highlightedBranch(), 3);
  EXPECT_TRUE(InView(3));
}

TEST_F(BranchMapTest, BlockOrderListsTheBlocksOfABranchWithMoreThanOne) {
  OpenMap();
  int shown = map().picturesShown();
  Click(kGadgetResponseblock);  // a second block in the entry branch
  ASSERT_TRUE(NextPicture(shown));
  const double entryHeight = scene().nodeBox(0)->height();
  const double otherHeight = scene().nodeBox(1)->height();
  map().blockOrder()->click();
  // A picture without the order (of the block's problems, found in the
  // background) may still come first.
  EXPECT_TRUE(QTest::qWaitFor([&] { return scene().nodeBox(0)->height() > entryHeight; }))
      << scene().nodeBox(0)->height() << " vs " << entryHeight;
  EXPECT_EQ(scene().nodeBox(1)->height(), otherHeight);  // one block: nothing to order
}

TEST_F(BranchMapTest, SearchZoomAndTheListWorkFromTheKeyboard) {
  OpenMap();
  map().searchField()->setFocus();
  // Tab reaches every control, each with a name a screen reader reads.
  const char* order[] = {"findBranch", "blockOrder", "fit", "saveMap", "branchMap", "branchList"};
  for (const char* name : order) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_TRUE(focused);
    EXPECT_EQ(focused->objectName(), name);
    EXPECT_FALSE(focused->accessibleName().isEmpty()) << name;
    PressInMap(Qt::Key_Tab);
  }

  // Zoom by the keys, from any control of the window.
  map().searchField()->setFocus();
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    double factor;
  } zooms[] = {{Qt::Key_Plus, Qt::ControlModifier, 1.25},
               {Qt::Key_Equal, Qt::ControlModifier, 1.25},
               {Qt::Key_Minus, Qt::ControlModifier, 0.8},
               {Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier, 1.25}};
  for (const auto& zoom : zooms) {
    double before = view().zoom();
    PressInMap(zoom.key, zoom.modifiers);
    EXPECT_NEAR(view().zoom(), before * zoom.factor, 1e-9) << zoom.key;
  }
  double before = view().zoom();
  QPointF middle = view().viewport()->rect().center();
  QWheelEvent wheel(middle, view().viewport()->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, Qt::ControlModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(view().viewport(), &wheel);
  EXPECT_GT(view().zoom(), before);
  // Zoomed in so that the map is wider than the view but a node is not.
  view().fit();
  view().zoomIn();
  view().zoomIn();
  ASSERT_FALSE(view().mapToScene(view().viewport()->rect()).boundingRect().contains(scene().sceneRect()));
  // The arrow keys pan the map.
  map().view()->setFocus();
  const struct {
    Qt::Key key;
    double dx;
  } pans[] = {{Qt::Key_Right, 1}, {Qt::Key_Left, -1}};
  for (const auto& pan : pans) {
    QPointF centre = view().mapToScene(view().viewport()->rect().center());
    PressInMap(pan.key);
    EXPECT_GT((view().mapToScene(view().viewport()->rect().center()).x() - centre.x()) * pan.dx, 0) << pan.key;
  }

  // Names that start with the text first, then names that hold it; Return
  // goes on to the next.
  map().searchField()->setFocus();
  QTest::keyClicks(QApplication::focusWidget(), "G");
  EXPECT_EQ(map().branchList()->currentItem()->text(0), "Goodbye");
  EXPECT_TRUE(InView(3));
  const char* next[] = {"Lighthouse_Greeting", "Goodbye"};
  for (const char* name : next) {
    PressInMap(Qt::Key_Return);
    EXPECT_EQ(map().branchList()->currentItem()->text(0), name);
    EXPECT_TRUE(InView(map().branchList()->currentIndex().row()));
  }
  QTest::keyClicks(QApplication::focusWidget(), "oodBYE");
  EXPECT_EQ(map().branchList()->currentItem()->text(0), "Goodbye");

  // The list: a row chosen with the keys comes into view; Return shows it in
  // the main window.
  map().branchList()->setFocus();
  map().branchList()->setCurrentItem(map().branchList()->topLevelItem(0));
  PressInMap(Qt::Key_Down);
  PressInMap(Qt::Key_Down);
  EXPECT_TRUE(InView(2));
  PressInMap(Qt::Key_Return);
  EXPECT_EQ(document().currentBranch, 2);
}

TEST_F(BranchMapTest, SaveMapWritesSvgOrPngByTheNameAndReportsAFailedWrite) {
  OpenMap();
  const struct {
    std::string chosen;
    std::string written;  // "" when the write must fail
  } cases[] = {
      {"map.svg", "map.svg"},
      {"map.PNG", "map.PNG"},
      {"plain", "plain.svg"},
      {"missing/map.svg", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    dialogs.calls.clear();
    std::string chosen = temp.folder("maps") + "/" + c.chosen;
    dialogs.files.push_back(QString::fromStdString(chosen));
    map().findChild<QPushButton*>("saveMap")->click();
    ASSERT_EQ(dialogs.calls.size(), c.written.empty() ? 2u : 1u);
    EXPECT_EQ(dialogs.calls[0].title, "Save map");
    EXPECT_EQ(dialogs.calls[0].filter, "SVG picture|*.svg|PNG picture|*.png");
    if (c.written.empty()) {
      EXPECT_EQ(dialogs.calls[1].title, "Error");
      EXPECT_TRUE(dialogs.calls[1].text.contains(QString::fromStdString(chosen))) << dialogs.calls[1].text.toStdString();
      EXPECT_FALSE(QFile::exists(QString::fromStdString(chosen)));
      continue;
    }
    QFile file(QString::fromStdString(temp.folder("maps") + "/" + c.written));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    if (c.written.ends_with(".PNG")) {
      QImage picture = QImage::fromData(bytes, "PNG");
      EXPECT_FALSE(picture.isNull());
      EXPECT_GT(picture.width(), 100);
      continue;
    }
    QXmlStreamReader svg(bytes);
    QStringList ids;
    while (!svg.atEnd())
      if (svg.readNext() == QXmlStreamReader::StartElement && svg.attributes().hasAttribute("id"))
        ids << svg.attributes().value("id").toString();
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    for (const char* id : {"b0", "b1", "b2", "b3", "e0", "e1", "e2"}) EXPECT_TRUE(ids.contains(id)) << id;
    EXPECT_TRUE(bytes.contains("Lighthouse_Greeting"));
  }
}

// Snapshots asked for faster than they are laid out: a picture older than
// one already shown never follows it, and the newest comes last.
TEST(BranchMapBuilderTest, NoPictureOfAnOlderSnapshotFollowsANewerOne) {
  if (!BranchMapBuilder::layoutAvailable()) GTEST_SKIP() << "this build has no Graphviz";
  std::vector<int> shownBranches;
  BranchMapBuilder builder([](std::shared_ptr<const BranchMapModel>) {},
                           [&](const BranchMapPicture& picture) {
                             shownBranches.push_back(picture.model->graph.branchNodes());
                           });
  constexpr int kSnapshots = 6;
  for (int count = 1; count <= kSnapshots; ++count) {
    auto document = std::make_shared<DialogueDocument>();
    document->lastBranchIndex = count - 1;
    for (int b = 0; b < count; ++b) document->editBranch(b).name = "Branch" + std::to_string(b);
    builder.build(document, {}, {});
  }
  // Layouts run and are handed over in the order they were asked for, so
  // once the newest is shown nothing older is on its way.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !shownBranches.empty() && shownBranches.back() == kSnapshots; }));
  EXPECT_TRUE(std::is_sorted(shownBranches.begin(), shownBranches.end()));
  EXPECT_EQ(shownBranches.back(), kSnapshots);
  EXPECT_EQ(std::count(shownBranches.begin(), shownBranches.end(), kSnapshots), 1);
}

}  // namespace
}  // namespace tellwright::testing
