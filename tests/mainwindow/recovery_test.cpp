#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>

#include "history/recovery_file.h"
#include "mainwindow/edit_history.h"
#include "mainwindow/recovery_keeper.h"
#include "mainwindow/recovery_offer.h"
#include "os/atomic_write.h"
#include "os/user_folders.h"
#include "session_fixture.h"
#include "ui/document_text.h"

namespace tellwright::testing {
namespace {

class RecoveryTest : public SessionTest {
 protected:
  // Below the temporary folder: state/tellwright on Linux,
  // local\Tellwright\Recovery on Windows.
  QString Folder() { return PathToQString(RecoveryFolder(ProcessEnvironment()).value_or("")); }
  // Starts on the example with a short wait before recovery writes.
  void StartOnExample() {
    Start({QString::fromStdString(ExampleProject())});
    session->recovery().setDelay(5);
  }
  bool Kept() { return QFile::exists(session->recovery().file()); }
  // Group or others may read, write or enter it.
  static bool OpenToOthers(const QString& path) {
    constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                 QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                 QFileDevice::WriteOther | QFileDevice::ExeOther;
    return (QFile::permissions(path) & kOthers) != 0;
  }
  bool WaitKept(bool kept) {
    return QTest::qWaitFor([&] { return Kept() == kept; });
  }
  // Work an editor that is no longer running left behind: a recovery file
  // without a running editor's lock.
  QString LeaveWork(const DialogueDocument& document, const std::string& bytes = {}) {
    QDir().mkpath(Folder());
    QString file = Folder() + QStringLiteral("/session-1-left.tlwrec");
    EXPECT_TRUE(WriteFileAtomically(file.toStdString(), bytes.empty() ? WriteRecovery(document, 1796745600) : bytes));
    return file;
  }
};

TEST_F(RecoveryTest, WrittenWhileWorkIsUnsavedAndRemovedOnceNothingIs) {
  StartOnExample();
  auto change = [&] { Click(kGadgetRemark); };
  struct Step {
    const char* what;
    std::function<void()> act;
    bool kept;
  };
  const Step steps[] = {
      {"opened", [] {}, false},
      {"changed", change, true},
      {"saved",
       [&] {
         dialogs.files.push_back(QString::fromStdString(temp.file("saved.tlwdlg")));
         Trigger(kCommandSaveAs);
       },
       false},
      {"changed again", change, true},
      {"undone to the saved state", [&] { Trigger(kCommandUndo); }, false},
      {"redone", [&] { Trigger(kCommandRedo); }, true},
      {"No to saving before New",
       [&] {
         dialogs.answers.push_back(Answer::No);
         Trigger(kCommandNew);
       },
       false},
  };
  for (const Step& step : steps) {
    step.act();
    ASSERT_TRUE(WaitKept(step.kept)) << step.what;
    if (!step.kept) continue;
    std::string bytes;
    RecoveredWork work;
    ASSERT_TRUE(ReadWholeFile(session->recovery().file().toStdString(), bytes));
    ASSERT_TRUE(ReadRecovery(bytes, work)) << step.what;
    EXPECT_EQ(work.projectPath, document().currentFile) << step.what;
    EXPECT_TRUE(work.document.branches == document().branches) << step.what;
#ifdef Q_OS_UNIX
    // Unsaved work is the writer's alone.
    EXPECT_FALSE(OpenToOthers(session->recovery().file())) << step.what;
    EXPECT_FALSE(OpenToOthers(Folder())) << step.what;
#endif
  }
  // A clean end takes the file away even with work unsaved.
  change();
  ASSERT_TRUE(WaitKept(true));
  QString file = session->recovery().file();
  session.reset();
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_FALSE(QFile::exists(file + ".lock"));
}

TEST_F(RecoveryTest, TwoEditorsKeepTheirOwnFilesAndNeverTakeEachOthers) {
  StartOnExample();
  Click(kGadgetRemark);
  ASSERT_TRUE(WaitKept(true));
  EditorState otherState;
  ScriptedDialogs otherDialogs;  // any question would fail the test
  EditorSession other(otherState, otherDialogs, store);
  other.start({});
  EXPECT_TRUE(otherDialogs.calls.empty()) << otherDialogs.trace();
  EXPECT_NE(other.recovery().file(), session->recovery().file());
  EXPECT_TRUE(Kept());
}

TEST_F(RecoveryTest, LeftWorkIsRestoredDiscardedOrKeptAndDamagedWorkIsSetAside) {
  DialogueDocument left;
  ASSERT_TRUE(LoadProject(ExampleProject(), left));
  left.currentFile = "/stories/harbour.tlwdlg";
  left.editBranch(0).lines.slot(0).text = "Restored text";
  const std::string damaged = WriteRecovery(left, 1796745600).substr(0, 200);
  struct Case {
    const char* what;
    std::string bytes;  // "" for a whole file
    std::deque<Answer> answers;
    bool restored;
    bool fileKept;
    bool setAside;
  };
  const Case cases[] = {
      {"Restore", "", {Answer::Yes}, true, false, false},
      {"Discard", "", {Answer::No}, false, false, false},
      {"Closed", "", {Answer::Cancel}, false, true, false},
      {"Damaged", damaged, {}, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QString file = LeaveWork(left, c.bytes);
    dialogs.calls.clear();
    dialogs.answers = c.answers;
    StartOnExample();
    EXPECT_EQ(document().branch(0).lines[0].text == "Restored text", c.restored);
    EXPECT_EQ(document().currentFile, c.restored ? left.currentFile : ExampleProject());
    EXPECT_EQ(title().endsWith(" *"), c.restored);
    EXPECT_FALSE(window().action(kCommandUndo)->isEnabled());
    EXPECT_EQ(QFile::exists(file), c.fileKept);
    EXPECT_FALSE(QFile::exists(file + ".lock"));  // released for the next start
    EXPECT_EQ(QFile::exists(file + ".damaged"), c.setAside);
    if (c.setAside) {
      ASSERT_EQ(dialogs.messages().size(), 1u);
      EXPECT_TRUE(dialogs.messages()[0].text.contains("cannot be restored. The recovery file is damaged"));
    } else {
      ASSERT_EQ(dialogs.calls.size(), 1u);
      EXPECT_EQ(dialogs.calls[0].text, RestoreQuestion(left.currentFile, QDateTime::fromSecsSinceEpoch(1796745600)));
      EXPECT_EQ(dialogs.calls[0].filter, "Restore/Discard");
    }
    if (c.restored) {
      // Restored work stays unsaved whatever is undone, and is kept again.
      Click(kGadgetRemark);
      Trigger(kCommandUndo);
      EXPECT_TRUE(title().endsWith(" *"));
      EXPECT_TRUE(WaitKept(true));
    }
    QFile::remove(file);
    QFile::remove(file + ".damaged");
  }
  EXPECT_TRUE(RestoreQuestion("", QDateTime::fromSecsSinceEpoch(0)).contains("unsaved changes to a new project from"));
}

// A running editor's work is not offered, however old its lock.
TEST_F(RecoveryTest, WorkOfARunningEditorIsNotOffered) {
  DialogueDocument left;
  QString file = LeaveWork(left);
  QLockFile running(file + ".lock");
  ASSERT_TRUE(running.tryLock(0));
  Start();
  EXPECT_TRUE(dialogs.calls.empty()) << dialogs.trace();
  EXPECT_TRUE(QFile::exists(file));
}

}  // namespace
}  // namespace tellwright::testing
