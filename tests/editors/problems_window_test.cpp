#include "editors/problems_window.h"

#include <QLabel>
#include <QTreeView>

#include "editors/response_block_editor.h"
#include "mainwindow/branch_selector.h"
#include "mainwindow/edit_history.h"
#include "mainwindow/session_fixture.h"
#include "modal_window.h"
#include "ui/problems_monitor.h"

namespace tellwright::testing {
namespace {

TEST(ProblemCountsTest, ReadAsAWriterWouldSayThem) {
  const std::pair<ProblemCounts, QString> cases[] = {
      {{0, 0, 0}, "No problems"},
      {{1, 0, 0}, "1 error, 0 warnings"},
      {{2, 5, 0}, "2 errors, 5 warnings"},
      {{0, 1, 3}, "0 errors, 1 warning, 3 notes"},
      {{0, 0, 1}, "0 errors, 0 warnings, 1 note"},
  };
  for (const auto& [counts, text] : cases) EXPECT_EQ(CountsText(counts), text);
}

// The example has no problems; a talkline without a character and a link
// to a missing branch are errors.
class ProblemsWindowTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    Start({QString::fromStdString(ExampleProject())});
  }
  bool CountsRead(const QString& text) {
    return QTest::qWaitFor([&] { return window().problemCounts()->text() == text; });
  }
  QTreeView* List() { return session->problemsWindow()->list(); }
  int RowCount() { return List()->model()->rowCount(); }
  QString Cell(int row, int column) { return List()->model()->index(row, column).data().toString(); }
  QStringList Rows() {
    QStringList rows;
    for (int i = 0; i < RowCount(); ++i)
      rows << Cell(i, 0) + " | " + Cell(i, 1) + " | " + Cell(i, 2).section(' ', 0, 3);
    return rows;
  }
  // Rows and counts of the same survey: the list follows the counts.
  bool ListShows(int rows) {
    return QTest::qWaitFor([&] { return RowCount() == rows; });
  }
  void DoubleClickRow(int row) {
    QModelIndex index = List()->model()->index(row, 0);
    List()->setCurrentIndex(index);
    emit List()->doubleClicked(index);
  }
};

TEST_F(ProblemsWindowTest, ListsEveryProblemAfterEachChangeAndGoesToItsPlace) {
  ASSERT_TRUE(CountsRead("No problems"));
  Trigger(kCommandProblems);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(session->problemsWindow()));
  EXPECT_EQ(RowCount(), 0);

  SelectRows({2});
  Click(kGadgetTalkline);  // no character: the check's error, and the script would say nothing
  ASSERT_TRUE(CountsRead("1 error, 0 warnings"));
  ASSERT_TRUE(ListShows(1));
  EXPECT_EQ(Rows(), (QStringList{"error | Lighthouse_Greeting, line 3 | A talkline needs a"}));

  // A response that links nowhere: an error in the block, before the warning
  // that the first branch's block can no longer reach Ask_About_Storm.
  session->apply({"Link nowhere", kPartBlocks, [](DialogueDocument& d) {
                    d.responseBlocks.slot(0).responses.slot(0).linkBranch = "Nowhere";
                    return EditResult::Changed();
                  }});
  ASSERT_TRUE(CountsRead("2 errors, 0 warnings, 1 note"));
  ASSERT_TRUE(ListShows(3));
  QStringList rows = Rows();
  ASSERT_EQ(rows.size(), 3);
  EXPECT_TRUE(rows[1].startsWith("error | Lighthouse_Greeting, line 6, response 1 |")) << rows[1].toStdString();
  EXPECT_TRUE(rows[2].startsWith("note | Ask_About_Storm")) << rows[2].toStdString();

  // Going to the response opens its block with the response selected.
  emit window().branchSelector()->branchChosen(2);
  RowSelection selected;
  WhenShown<ResponseBlockEditor>([&](ResponseBlockEditor* editor) {
    for (const QModelIndex& index : editor->list()->selectionModel()->selectedRows()) selected.push_back(index.row());
    editor->close();
  });
  DoubleClickRow(1);
  EXPECT_EQ(document().currentBranch, 0);
  EXPECT_EQ(window().selectedLineRows(), RowSelection{5});
  EXPECT_EQ(selected, RowSelection{0});

  DoubleClickRow(0);
  EXPECT_EQ(window().selectedLineRows(), RowSelection{2});

  // Undone, the problems go again.
  Trigger(kCommandUndo);
  Trigger(kCommandUndo);
  ASSERT_TRUE(CountsRead("No problems"));
  EXPECT_TRUE(ListShows(0));
}

}  // namespace
}  // namespace tellwright::testing
