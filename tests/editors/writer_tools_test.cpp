#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

#include "editors/find_window.h"
#include "editors/statistics_window.h"
#include "mainwindow/session_fixture.h"

namespace tellwright::testing {
namespace {

// The example: "lamp" is in a talkline of Lighthouse_Greeting (row 2), in
// the response "Nice lamp." of its block (row 5) and in the first talkline
// of Ask_About_Storm. Mara speaks four talklines.
class WriterToolsTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    Start({QString::fromStdString(ExampleProject())});
  }
  FindWindow& find() { return *session->findWindow(); }
  void Search(const QString& text) {
    find().findField()->setText(text);
    find().search();
  }
  QStringList Places() {
    QStringList places;
    for (int i = 0; i < find().results()->topLevelItemCount(); ++i)
      places << find().results()->topLevelItem(i)->text(0) + " / " + find().results()->topLevelItem(i)->text(1);
    return places;
  }
  // Where the main window is: "branch:selected rows".
  std::string Shown() {
    std::string rows;
    for (int row : window().selectedLineRows()) rows += std::to_string(row);
    return std::to_string(document().currentBranch) + ":" + rows;
  }
};

TEST_F(WriterToolsTest, FindListsEveryMatchAndF3WalksThemInTheMainWindow) {
  Trigger(kCommandFind);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&find()));
  EXPECT_FALSE(find().replaceField()->isVisible());
  find().findField()->setText("lamp");
  QTest::keyClick(find().findField(), Qt::Key_Return);  // finds the first match
  EXPECT_EQ(Places(), (QStringList{"Lighthouse_Greeting, line 2 / Talk text",
                                   "Lighthouse_Greeting, line 5, response 3 / Response text",
                                   "Ask_About_Storm, line 1 / Talk text"}));
  EXPECT_EQ(find().findChild<QLabel*>("summary")->text(), "3 matches");
  EXPECT_TRUE(find().results()->topLevelItem(1)->text(2).contains(QString::fromUtf8("Nice \u00ablamp\u00bb.")));
  EXPECT_EQ(Shown(), "0:1");
  const struct {
    int command;
    std::string shown;
  } steps[] = {
      {kCommandFindNext, "0:4"}, {kCommandFindNext, "1:0"}, {kCommandFindNext, "0:1"}, {kCommandFindPrevious, "1:0"}};
  for (const auto& step : steps) {
    Trigger(step.command);
    EXPECT_EQ(Shown(), step.shown) << step.command;
  }
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);  // walking the matches opens no block

  const struct {
    const char* text;
    bool matchCase;
    bool wholeWords;
    unsigned fields;
    int count;
  } queries[] = {
      {"LAMP", false, false, kAllSearchFields, 3},      {"LAMP", true, false, kAllSearchFields, 0},
      {"lam", false, true, kAllSearchFields, 0},        {"lamp", false, false, kFieldResponseText, 1},
      {"caf\u00e9", false, false, kAllSearchFields, 1},
  };
  for (const auto& q : queries) {
    find().matchCase()->setChecked(q.matchCase);
    find().wholeWords()->setChecked(q.wholeWords);
    for (unsigned field = 1; field <= kFieldEntityName; field <<= 1)
      find().fieldSwitch(static_cast<SearchField>(field))->setChecked(q.fields & field);
    Search(QString::fromUtf8(q.text));
    EXPECT_EQ(static_cast<int>(find().matches().size()), q.count) << q.text;
  }
  Search(QString::fromUtf8("\u03a9"));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_TRUE(dialogs.messages()[0].text.contains("cannot be stored"));
}

TEST_F(WriterToolsTest, ReplaceAllIsOneStepAndANewCharacterNameCanFollowIntoTheLines) {
  Trigger(kCommandReplace);
  EXPECT_TRUE(find().replaceField()->isVisible());
  const DialogueDocument before = document();
  find().findField()->setText("lamp");
  find().replaceField()->setText("lantern");
  find().findChild<QPushButton*>("replaceAll")->click();
  EXPECT_EQ(document().branch(0).lines[1].text, "Another one who wants to see the lantern? Mind the oil on the floor.");
  EXPECT_EQ(document().responseBlocks[0].responses[2].text, "Nice lantern.");
  EXPECT_EQ(find().findChild<QLabel*>("summary")->text(), "3 replaced");
  EXPECT_TRUE(find().matches().empty());
  EXPECT_EQ(window().action(kCommandUndo)->text(), "Undo Replace all");
  Trigger(kCommandUndo);
  EXPECT_TRUE(document().branches == before.branches && document().responseBlocks == before.responseBlocks);

  // A character's real name: the lines that name it follow when the writer says so.
  for (unsigned field = 1; field <= kFieldEntityName; field <<= 1)
    find().fieldSwitch(static_cast<SearchField>(field))->setChecked(field == kFieldCharacterName);
  find().findField()->setText("Mara");
  find().replaceField()->setText("Marla");
  find().search();
  ASSERT_EQ(find().matches().size(), 1u);
  find().results()->setCurrentItem(find().results()->topLevelItem(0));
  dialogs.answers.push_back(Answer::Yes);
  find().findChild<QPushButton*>("replace")->click();
  EXPECT_EQ(document().characters[1].realName, "Marla");
  EXPECT_EQ(document().branch(0).lines[1].character, "Marla");
  EXPECT_EQ(window().action(kCommandUndo)->text(), "Undo Replace");
  EXPECT_EQ(dialogs.trace(), "question:Replace");
}

// The rows follow branches that come and go, in the order the writer
// sorted them, each row's numbers its own branch's; every value reads
// whole.
TEST_F(WriterToolsTest, StatisticsRowsFollowABranchAddedAndTakenBack) {
  Trigger(kCommandStatistics);
  QTreeWidget* branches = session->statisticsWindow()->branches();
  ASSERT_TRUE(QTest::qWaitFor([&] { return branches->topLevelItemCount() == 4; }));
  auto rows = [&] {
    QStringList shown;
    for (int i = 0; i < branches->topLevelItemCount(); ++i)
      shown << branches->topLevelItem(i)->text(0) + "=" + branches->topLevelItem(i)->text(1);
    return shown;
  };
  const QStringList before = rows();
  QHeaderView* header = branches->header();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));  // by lines
  const QStringList sorted = rows();
  Click(kGadgetAddBranch);
  ASSERT_TRUE(QTest::qWaitFor([&] { return branches->topLevelItemCount() == 5; }));
  EXPECT_EQ(rows(), QStringList{"Unnamed=0"} + sorted);  // no lines: first by lines
  Trigger(kCommandUndo);
  ASSERT_TRUE(QTest::qWaitFor([&] { return branches->topLevelItemCount() == 4; }));
  EXPECT_EQ(rows(), sorted);
  for (int column = 1; column < branches->columnCount(); ++column)
    for (int i = 0; i < branches->topLevelItemCount(); ++i) {
      QString value = branches->topLevelItem(i)->text(column);
      EXPECT_GT(header->sectionSize(column), branches->fontMetrics().horizontalAdvance(value)) << value.toStdString();
    }
  EXPECT_NE(before, sorted);  // the click did sort them
}

TEST_F(WriterToolsTest, StatisticsFollowTheDialogueAndTheRecordingScriptIsUtf8WithAByteOrderMark) {
  Trigger(kCommandStatistics);
  StatisticsWindow& stats = *session->statisticsWindow();
  auto maraLines = [&] {
    QList<QTreeWidgetItem*> rows = stats.characters()->findItems("Mara", Qt::MatchExactly);
    return rows.size() == 1 ? rows.front()->data(1, Qt::DisplayRole).toInt() : -1;
  };
  ASSERT_TRUE(QTest::qWaitFor([&] { return maraLines() == 4; }));
  // In the order of the project, without a sort arrow, until a title is
  // clicked; every title reads whole.
  QTreeWidget* branches = stats.branches();
  auto firstBranch = [&] { return branches->topLevelItem(0)->text(0); };
  ASSERT_EQ(branches->topLevelItemCount(), 4);
  EXPECT_EQ(firstBranch(), "Lighthouse_Greeting");
  EXPECT_FALSE(branches->header()->isSortIndicatorShown());
  for (QTreeWidget* table : {stats.characters(), branches})
    for (int column = 1; column < table->columnCount(); ++column) {
      QString title = table->headerItem()->text(column);
      EXPECT_GE(table->header()->sectionSize(column), table->header()->fontMetrics().horizontalAdvance(title))
          << title.toStdString();
    }
  QHeaderView* header = branches->header();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
  EXPECT_TRUE(branches->header()->isSortIndicatorShown());
  EXPECT_EQ(firstBranch(), "Ask_About_Storm");
  SelectRows({1});
  Trigger(kCommandDelete);  // one of Mara's lines
  EXPECT_TRUE(QTest::qWaitFor([&] { return maraLines() == 3; }));

  dialogs.files.push_back(QString::fromStdString(temp.file("voices")));
  Trigger(kCommandExportRecordingScript);
  QFile csv(QString::fromStdString(temp.file("voices.csv")));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  QByteArray bytes = csv.readAll();
  EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(bytes.contains(QString::fromUtf8("caf\u00e9 au lait").toUtf8()));
  EXPECT_FALSE(bytes.contains("Mind the oil"));  // deleted before the export
  EXPECT_TRUE(dialogs.messages().empty()) << dialogs.trace();
}

}  // namespace
}  // namespace tellwright::testing

namespace tellwright::testing {
namespace {

// A single letter can match millions of times: the list stops at its
// limit, Find next goes on past it.
TEST_F(SessionTest, TheMatchListStopsAtItsLimitAndFindNextGoesOnPastIt) {
  Start();
  ReplaceDocument([](DialogueDocument& document) {
    DialogueBranch& branch = document.editBranch(0);
    for (int i = 0; i < 1000; ++i) {
      branch.lines.slot(i).kind = kTalkline;
      branch.lines.slot(i).text = "xxxxxx";  // six matches a line
    }
    branch.lineCount = 1000;
  });
  Trigger(kCommandFind);
  FindWindow& find = *session->findWindow();
  find.findField()->setText("x");
  find.search();
  EXPECT_EQ(find.matches().size(), 6000u);
  EXPECT_EQ(find.results()->topLevelItemCount(), FindWindow::kMaxListed);
  EXPECT_EQ(find.findChild<QLabel*>("summary")->text(), "6000 matches, the first 5000 listed");
  find.results()->setCurrentItem(find.results()->topLevelItem(FindWindow::kMaxListed - 1));
  Trigger(kCommandFindNext);
  EXPECT_EQ(find.current(), FindWindow::kMaxListed);
  EXPECT_EQ(window().selectedLineRows(), RowSelection{FindWindow::kMaxListed / 6});
}

}  // namespace
}  // namespace tellwright::testing
