#include <QUndoStack>

#include "document/character_list_file.h"
#include "editors/cell_editor.h"
#include "editors/editor_commands.h"
#include "editors/response_block_editor.h"
#include "mainwindow/branch_selector.h"
#include "mainwindow/edit_history.h"
#include "mainwindow/session_fixture.h"
#include "modal_window.h"

namespace tellwright::testing {
namespace {

// The example: branch 0 "Lighthouse_Greeting" with a responseblock line in
// row 4 (block slot 0, whose responses link to other branches); its cast
// is Ada, Mara and Tobin.
class UndoTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    Start({QString::fromStdString(ExampleProject())});
  }
  // Equal but for the changed flag, which follows the history.
  bool Same(const DialogueDocument& a, const DialogueDocument& b) {
    DialogueDocument copy = a;
    copy.changed = b.changed;
    return copy == b;
  }
  bool Changed() { return title().endsWith(" *"); }
  void DoubleClickCharacter(int row) {
    QListWidget* list = window().characterList();
    emit list->itemDoubleClicked(list->item(row));
  }
};

TEST_F(UndoTest, EveryChangeIsOneStepThatUndoesExactlyAndRedoesAgain) {
  const std::string cast = temp.file("other.tlwchr");
  ASSERT_TRUE(SaveCharacterList({{"Nell", "nell"}}, cast));
  struct Case {
    QString name;                   // as the Edit menu names the step
    std::function<void()> prepare;  // not a step of its own
    std::function<void()> change;
  };
  const Case cases[] = {
      {"Insert Talkline", [&] { SelectRows({1}); }, [&] { Click(kGadgetTalkline); }},
      {"Insert Responseblock", [&] { SelectRows({2}); }, [&] { Click(kGadgetResponseblock); }},
      {"Cut",
       [&] {
         SelectRows({0, 2});
       },
       [&] { Trigger(kCommandCut); }},
      {"Paste",
       [&] {
         SelectRows({0});
         Trigger(kCommandCopy);
         SelectRows({3});
       },
       [&] { Trigger(kCommandPaste); }},
      {"Delete", [&] { SelectRows({1}); }, [&] { Trigger(kCommandDelete); }},
      {"Move lines down", [&] { SelectRows({0}); }, [&] { Trigger(kCommandMoveDown); }},
      {"Assign character", [&] { SelectRows({1}); }, [&] { DoubleClickCharacter(3); }},
      {"Edit text", [&] { SelectRows({1}); },
       [&] {
         ASSERT_TRUE(session->cellEditor().open(1, 2));
         session->cellEditor().field()->setText("Typed");
         QTest::keyClick(session->cellEditor().field(), Qt::Key_Return);
       }},
      {"Rename branch", [&] { emit window().branchSelector()->branchChosen(1); },
       [&] {
         window().branchSelector()->lineEdit()->setText("Storm");
         QTest::keyClick(window().branchSelector()->lineEdit(), Qt::Key_Return);
       }},
      {"Add dialogue branch", [] {}, [&] { Click(kGadgetAddBranch); }},
      {"Choose project", [&] { dialogs.files.push_back("/games/other/other.wpr"); },
       [&] { Click(kGadgetChooseProject); }},
      {"Load character list", [&] { dialogs.files.push_back(QString::fromStdString(cast)); },
       [&] { Trigger(kCommandLoadCharacterList); }},
      {"Delete character",
       [&] {
         window().characterList()->setCurrentRow(2);
         dialogs.answers.push_back(Answer::Yes);
       },
       [&] { Click(kGadgetDeleteCharacter); }},
      {"Delete response", [&] { SelectRows({4}); },
       [&] {
         dialogs.answers.push_back(Answer::Yes);
         WhenShown<ResponseBlockEditor>([](ResponseBlockEditor* editor) {
           editor->list()->selectRow(1);
           Child<QPushButton>(editor, "deleteResponse")->click();
           editor->close();
         });
         OpenResponseBlockEditors(*session, {4});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    Start({QString::fromStdString(ExampleProject())});
    c.prepare();
    const DialogueDocument before = document();
    const RowSelection rowsBefore = window().selectedLineRows();
    c.change();
    const DialogueDocument after = document();
    const RowSelection rowsAfter = window().selectedLineRows();
    ASSERT_FALSE(Same(before, after));
    EXPECT_EQ(window().action(kCommandUndo)->text(), "Undo " + c.name);
    EXPECT_EQ(session->history().stack().count(), 1);

    // In another branch with nothing selected, undo goes back to where the
    // change was made.
    emit window().branchSelector()->branchChosen(document().branchCount() - 1);
    window().lineList()->clearSelection();
    Trigger(kCommandUndo);
    EXPECT_TRUE(Same(document(), before));
    EXPECT_EQ(window().branchSelector()->currentIndex(), before.currentBranch);
    EXPECT_EQ(window().selectedLineRows(), rowsBefore);
    EXPECT_EQ(window().action(kCommandRedo)->text(), "Redo " + c.name);

    Trigger(kCommandRedo);
    EXPECT_TRUE(Same(document(), after));
    EXPECT_EQ(window().selectedLineRows(), rowsAfter);
    EXPECT_EQ(window().action(kCommandUndo)->text(), "Undo " + c.name);
  }
  EXPECT_TRUE(dialogs.messages().empty()) << dialogs.trace();
}

TEST_F(UndoTest, TheChangedFlagFollowsTheHistoryAndNewOrOpenStartsAfresh) {
  auto insert = [&] { Click(kGadgetRemark); };
  auto undo = [&] { Trigger(kCommandUndo); };
  auto redo = [&] { Trigger(kCommandRedo); };
  auto save = [&] {
    dialogs.files.push_back(QString::fromStdString(temp.file("saved.tlwdlg")));
    Trigger(kCommandSaveAs);
  };
  auto selectBranch = [&] { emit window().branchSelector()->branchChosen(1); };
  struct Step {
    const char* what;
    std::function<void()> act;
    bool changed;
    bool canUndo;
  };
  const Step steps[] = {
      {"open", [] {}, false, false},
      {"insert", insert, true, true},
      {"undo to the opened state", undo, false, false},
      {"redo", redo, true, true},
      {"save", save, false, true},
      {"undo past the saved state", undo, true, false},
      {"redo to the saved state", redo, false, true},
      {"select a branch: flagged, no step", selectBranch, true, true},
      {"insert", insert, true, true},
      // Choosing another branch counts as unsaved until the next save.
      {"undo to the saved state: the branch choice still counts", undo, true, true},
      {"undo", undo, true, false},
      {"insert after undoing drops the redo", insert, true, true},
      {"new",
       [&] {
         dialogs.answers.push_back(Answer::No);
         Trigger(kCommandNew);
       },
       false, false},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(Changed(), step.changed) << step.what;
    EXPECT_EQ(document().changed != 0, step.changed) << step.what;
    EXPECT_EQ(window().action(kCommandUndo)->isEnabled(), step.canUndo) << step.what;
  }
  EXPECT_FALSE(window().action(kCommandRedo)->isEnabled());
  EXPECT_EQ(window().action(kCommandUndo)->text(), "Undo");
}

}  // namespace
}  // namespace tellwright::testing
