#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "editors/find_window.h"
#include "mainwindow/session_fixture.h"

namespace tellwright::testing {
namespace {

// 200 branches of 100 talklines, "The lamp of line L in branch B.": large
// enough that a search comes in many batches.
class FindWhileTypingTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    Start();
    ReplaceDocument([](DialogueDocument& d) {
      for (int b = 0; b < 200; ++b) {
        DialogueBranch& branch = d.editBranch(b);
        branch.name = "Branch" + std::to_string(b);
        for (int l = 0; l < 100; ++l) {
          branch.lines.slot(l).kind = kTalkline;
          branch.lines.slot(l).text = "The lamp of line " + std::to_string(l) + " in branch " + std::to_string(b) + ".";
        }
        branch.lineCount = 100;
      }
      d.lastBranchIndex = 199;
    });
    Trigger(kCommandFind);
    FocusFindField();
  }
  FindWindow& find() { return *session->findWindow(); }
  void FocusFindField() {
    find().open(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == find().findField(); }));
  }
  // Types as a person does: into whatever has the focus.
  void Type(const QString& keys) { QTest::keyClicks(QApplication::focusWidget(), keys); }

  // Waits for the search to end; at every look on the way the matches shown
  // must be the first ones a search of the dialogue as it is now finds.
  // Then they must be all of them.
  void ExpectEveryMatchOf(const SearchQuery& query) {
    const std::vector<Match> all = FindMatches(document(), query);
    size_t wrongAt = SIZE_MAX;
    ASSERT_TRUE(QTest::qWaitFor([&] {
      const FoundMatches& shown = find().matches();
      if (shown.size() > all.size() || !std::equal(shown.begin(), shown.end(), all.begin()))
        wrongAt = std::min(wrongAt, shown.size());
      return find().isComplete();
    })) << query.text;
    EXPECT_EQ(wrongAt, SIZE_MAX) << query.text << ": matches of another search or dialogue shown";
    EXPECT_TRUE(std::equal(find().matches().begin(), find().matches().end(), all.begin(), all.end())) << query.text;
    EXPECT_EQ(find().results()->topLevelItemCount(), std::min<int>(all.size(), FindWindow::kMaxListed));
  }
};

TEST_F(FindWhileTypingTest, TypingListsWhatASearchOfTheDialogueFinds) {
  const struct {
    const char* keys;  // typed after the field is emptied
    bool matchCase;
    bool wholeWords;
    const char* summary;
  } steps[] = {
      {"lamp", false, false, "20000 matches, the first 5000 listed"},
      {"LINE 7", false, false, "2200 matches"},  // 7, 70..79 in each branch
      {"LINE 7", true, false, "0 matches"},
      {"line 7", false, true, "200 matches"},
      {"branch 19.", false, false, "100 matches"},
  };
  for (const auto& step : steps) {
    find().matchCase()->setChecked(step.matchCase);
    find().wholeWords()->setChecked(step.wholeWords);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    Type(QString::fromLatin1(step.keys));
    ExpectEveryMatchOf({.text = step.keys, .matchCase = step.matchCase, .wholeWords = step.wholeWords});
    EXPECT_EQ(find().findChild<QLabel*>("summary")->text(), step.summary) << step.keys;
  }
}

// An edit, its undo and a Replace while a search runs: what is shown and
// what Find next and Replace act on are the matches of the dialogue as it
// is then.
TEST_F(FindWhileTypingTest, AnEditWhileASearchRunsNeverLeavesTheOlderMatchesShown) {
  const SearchQuery lamp{"lamp"};
  Type("lamp");
  SelectRows({0, 1, 2});
  Trigger(kCommandDelete);  // three matches fewer in branch 0, the others move up
  ExpectEveryMatchOf(lamp);
  EXPECT_EQ(find().matches().size(), 19997u);

  FocusFindField();
  Type("lamp");  // the same text again: a new search
  Trigger(kCommandUndo);
  ExpectEveryMatchOf(lamp);
  EXPECT_EQ(find().matches().size(), 20000u);

  find().open(true);
  find().replaceField()->setText("torch");
  SelectRows({0});
  Trigger(kCommandDelete);  // the search starts over; Find next cannot wait for it
  Trigger(kCommandFindNext);
  EXPECT_EQ(document().currentBranch, 0);
  EXPECT_EQ(window().selectedLineRows(), RowSelection{0});
  find().findChild<QPushButton*>("replace")->click();
  EXPECT_EQ(document().branch(0).lines[0].text, "The torch of line 1 in branch 0.");
  ExpectEveryMatchOf(lamp);
  EXPECT_EQ(find().current(), 0);  // the next match takes the replaced one's place
  EXPECT_EQ(window().selectedLineRows(), RowSelection{1});
}

}  // namespace
}  // namespace tellwright::testing
