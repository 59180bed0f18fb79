#include "editors/play_window.h"

#include <QCheckBox>
#include <QListWidget>

#include "mainwindow/branch_selector.h"
#include "mainwindow/session_fixture.h"

namespace tellwright::testing {
namespace {

// The example: branch 0 greets, its block offers "What happened to the
// ship?" (Once, to Ask_About_Storm), "Do you know a fisherman called Tobin?"
// (if heard_of_tobin, Once Game, to Trade_Fish), "Nice lamp." and "I'll be
// going." (to Goodbye, leaves). Ask_About_Storm's block offers "Who would
// cut the wick?", "Was anyone else up here?" (if knows_wick_cut) and
// "Thanks, that helps." (leaves).
class PlayWindowTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    Start({QString::fromStdString(ExampleProject())});
  }
  PlayWindow& play() { return *session->playWindow(); }
  QStringList Buttons() {
    QStringList texts;
    for (QPushButton* button : play().menuButtons()) texts << button->text();
    return texts;
  }
  QStringList Items() {
    QStringList items;
    for (int row = 0; row < play().transcriptList()->count(); ++row)
      if (!play().transcriptList()->item(row)->isHidden()) items << play().transcriptList()->item(row)->text();
    return items;
  }
  QCheckBox* Switch(const QString& condition) {
    for (QCheckBox* box : play().conditionSwitches())
      if (box->text().contains(condition)) return box;
    ADD_FAILURE() << "no switch for " << condition.toStdString();
    return nullptr;
  }
  void Choose(int entry) { play().menuButtons().at(entry - 1)->click(); }
};

TEST_F(PlayWindowTest, PlaysTheExampleThroughItsMenusWithConditionsSwitchedAndLiveEdits) {
  Trigger(kCommandPlay);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&play()));
  EXPECT_EQ(play().windowTitle(), "Play - Lighthouse_Greeting");
  EXPECT_EQ(Items().mid(0, 2), (QStringList{"// Ada climbs the last steps and meets the keeper.",
                                            QString::fromUtf8("Mara:  Another one who wants to see the lamp? Mind the "
                                                              "oil on the floor.   \u266a voice\\mara_greet_01.ogg")}));
  EXPECT_EQ(Buttons(), (QStringList{"1. What happened to the ship?", "2. Do you know a fisherman called Tobin?",
                                    "3. Nice lamp.", "4. I'll be going."}));
  ASSERT_EQ(play().conditionSwitches().size(), 2);
  for (QCheckBox* box : play().conditionSwitches()) EXPECT_TRUE(box->isChecked());

  Choose(1);
  EXPECT_TRUE(
      Items().contains("Mara:  The lamp went dark at midnight. Someone cut the wick, I'd swear to it.   "
                       "\u266a voice\\mara_storm_01.ogg"));
  EXPECT_EQ(Buttons(),
            (QStringList{"1. Who would cut the wick?", "2. Was anyone else up here?", "3. Thanks, that helps."}));
  Switch("knows_wick_cut")->click();
  Choose(3);
  // Back in the first loop: the Once response is used up.
  EXPECT_EQ(Buttons(), (QStringList{"1. Do you know a fisherman called Tobin?", "2. Nice lamp.", "3. I'll be going."}));

  // An edit in the main window shows on the next step.
  DocumentChange edit{QStringLiteral("Edit text"), kPartLines, [](DialogueDocument& document) {
                        document.editBranch(3).lines.slot(0).text = "Mind the rocks, edited.";
                        return EditResult::Changed();
                      }};
  edit.scope = ChangeScope{0, -1, {3}};
  ASSERT_TRUE(session->apply(edit));
  Choose(3);
  EXPECT_TRUE(Buttons().isEmpty());
  QStringList items = Items();
  EXPECT_TRUE(items.contains(QString::fromUtf8("Mara:  Mind the rocks, edited.   \u266a voice\\mara_bye_01.ogg")));
  EXPECT_EQ(items.mid(items.size() - 2), (QStringList{"Mara:  Come back when the fog lifts.", "The end."}));

  // Remarks can be hidden, and are left out of the saved transcript then.
  play().findChild<QCheckBox*>("showRemarks")->click();
  EXPECT_FALSE(Items().contains("// Ada climbs the last steps and meets the keeper."));
  dialogs.files.push_back(QString::fromStdString(temp.file("transcript")));
  play().saveTranscript();
  QFile saved(QString::fromStdString(temp.file("transcript.txt")));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  QString text = QString::fromUtf8(saved.readAll());
  EXPECT_EQ(text, play().transcriptText());
  EXPECT_TRUE(text.contains("Come back when the fog lifts.")) << text.toStdString();
  EXPECT_FALSE(text.contains("Ada climbs the last steps")) << text.toStdString();

  // Restart keeps the switches; the condition stays off.
  play().findChild<QPushButton*>("restart")->click();
  EXPECT_EQ(Buttons().size(), 4);
  Choose(1);
  EXPECT_EQ(Buttons(), (QStringList{"1. Who would cut the wick?", "2. Thanks, that helps."}));
  EXPECT_TRUE(dialogs.messages().empty()) << dialogs.trace();
}

TEST_F(PlayWindowTest, StartsAtTheSelectedLineAndGoesBackToTheLineOfAnEntry) {
  SelectRows({3});
  Trigger(kCommandPlay);
  ASSERT_FALSE(Items().isEmpty());
  EXPECT_TRUE(Items().front().startsWith("Ada:  I'm Ada.")) << Items().front().toStdString();
  Choose(4);  // "I'll be going." calls Goodbye
  QListWidget* list = play().transcriptList();
  QList<QListWidgetItem*> goodbye = list->findItems("Mara:  Watch the rocks", Qt::MatchStartsWith);
  ASSERT_EQ(goodbye.size(), 1);
  list->setCurrentItem(goodbye.front());
  play().findChild<QPushButton*>("goToLine")->click();
  EXPECT_EQ(document().currentBranch, 3);
  EXPECT_EQ(window().selectedLineRows(), RowSelection{0});
  EXPECT_EQ(window().branchSelector()->currentIndex(), 3);
}

}  // namespace
}  // namespace tellwright::testing
