#include <QFile>
#include <filesystem>

#include "mainwindow/recovery_keeper.h"
#include "session_fixture.h"

namespace tellwright::testing {
namespace {

// Every command that would drop the open project asks first; each answer
// either lets it go on or stops it with the document as it was.
enum class Asker { New, LoadDialogue, RecentFile, Quit, CloseBox };
enum class Reply { No, Cancel, YesSavesToItsFile, YesRequesterCancelled, YesRequesterNamed, YesSaveFails };

struct AskCase {
  Asker asker;
  Reply reply;
};

bool GoesOn(Reply reply) {
  return reply == Reply::No || reply == Reply::YesSavesToItsFile || reply == Reply::YesRequesterNamed;
}

class AskToSaveTest : public SessionTest, public ::testing::WithParamInterface<AskCase> {
 protected:
  void Run(Asker asker) {
    switch (asker) {
      case Asker::New:
        Trigger(kCommandNew);
        break;
      case Asker::LoadDialogue:
        Trigger(kCommandLoadDialogue);
        break;
      case Asker::RecentFile:
        Trigger(kCommandRecentFile1);
        break;
      case Asker::Quit:
        Trigger(kCommandQuit);
        break;
      case Asker::CloseBox:
        window().close();
        break;
    }
  }

  // Whether the command did its work after the question.
  bool WentOn(Asker asker) {
    switch (asker) {
      case Asker::New:
        return Lines().empty() && title() == "Tellwright";
      case Asker::LoadDialogue:
      case Asker::RecentFile:
        return document().branch(0).name == "Lighthouse_Greeting";
      case Asker::Quit:
        return state.quit && !window().isVisible();
      case Asker::CloseBox:
        return !window().isVisible();
    }
    return false;
  }
};

TEST_P(AskToSaveTest, TheAnswerDecidesWhetherTheCommandGoesOn) {
  const AskCase& c = GetParam();
  StoreSettings("", {ExampleProject()});
  Start();
  auto projectAt = [](const std::string& path) {
    DialogueDocument document;
    document.currentFile = path;
    return document;
  };
  if (c.reply == Reply::YesSavesToItsFile) session->replaceDocument(projectAt(temp.file("own.tlwdlg")));
  if (c.reply == Reply::YesSaveFails) session->replaceDocument(projectAt(temp.file("no-such-folder/own.tlwdlg")));
  Click(kGadgetTalkline);
  ASSERT_EQ(document().changed, 1);

  dialogs.answers.push_back(c.reply == Reply::No       ? Answer::No
                            : c.reply == Reply::Cancel ? Answer::Cancel
                                                       : Answer::Yes);
  if (c.reply == Reply::YesRequesterCancelled) dialogs.files.push_back(QString());
  if (c.reply == Reply::YesRequesterNamed) dialogs.files.push_back(QString::fromStdString(temp.file("named")));
  if (c.asker == Asker::LoadDialogue && GoesOn(c.reply))
    dialogs.files.push_back(QString::fromStdString(ExampleProject()));
  Run(c.asker);

  ASSERT_FALSE(dialogs.calls.empty());
  EXPECT_EQ(dialogs.calls[0].title, "Project not saved");
  EXPECT_EQ(dialogs.calls[0].text, "The current project was changed. Do you want to save it first?");
  EXPECT_EQ(WentOn(c.asker), GoesOn(c.reply));
  if (!GoesOn(c.reply)) {
    EXPECT_EQ(Lines(), "Talkline:");
    EXPECT_EQ(document().changed, 1);
    EXPECT_TRUE(title().endsWith(" *")) << title().toStdString();
  }
  if (c.reply == Reply::YesSavesToItsFile) {
    EXPECT_TRUE(std::filesystem::exists(temp.file("own.tlwdlg")));
  }
  if (c.reply == Reply::YesRequesterNamed) {
    EXPECT_TRUE(std::filesystem::exists(temp.file("named.tlwdlg")));
  }
  bool errorShown = !dialogs.messages().empty();
  EXPECT_EQ(errorShown, c.reply == Reply::YesSaveFails) << dialogs.trace();
}

std::vector<AskCase> AllAskCases() {
  std::vector<AskCase> cases;
  for (Asker asker : {Asker::New, Asker::LoadDialogue, Asker::RecentFile, Asker::Quit, Asker::CloseBox})
    for (Reply reply : {Reply::No, Reply::Cancel, Reply::YesSavesToItsFile, Reply::YesRequesterCancelled,
                        Reply::YesRequesterNamed, Reply::YesSaveFails})
      cases.push_back({asker, reply});
  return cases;
}

std::string Name(const AskCase& c) {
  const char* askers[] = {"New", "LoadDialogue", "RecentFile", "Quit", "CloseBox"};
  const char* replies[] = {"No",          "Cancel", "YesSavesToItsFile", "YesRequesterCancelled", "YesRequesterNamed",
                           "YesSaveFails"};
  return std::string(askers[static_cast<int>(c.asker)]) + "_" + replies[static_cast<int>(c.reply)];
}
void PrintTo(const AskCase& c, std::ostream* out) { *out << Name(c); }
std::string CaseName(const ::testing::TestParamInfo<AskCase>& info) { return Name(info.param); }

INSTANTIATE_TEST_SUITE_P(Commands, AskToSaveTest, ::testing::ValuesIn(AllAskCases()), CaseName);

// "No" discards nothing by itself: when the command then fails, the
// document stays with its " *", its undo history and its recovery file.
enum class Failure { RequesterCancelled, DamagedProject, MissingRecentFile, DamagedRecentFile };

struct AfterNoCase {
  Asker asker;
  Failure failure;
};

class NoThenFailureTest : public SessionTest, public ::testing::WithParamInterface<AfterNoCase> {};

TEST_P(NoThenFailureTest, KeepsTheUnsavedWork) {
  const AfterNoCase& c = GetParam();
  std::string damaged = temp.file("damaged.tlwdlg");
  WriteBytes(damaged, "V1.2\n\n##ENDCHARLIST##\n600\n");
  std::string recent = c.failure == Failure::MissingRecentFile ? temp.file("gone.tlwdlg") : damaged;
  StoreSettings("", {recent});
  Start();
  Click(kGadgetTalkline);
  ASSERT_EQ(document().changed, 1);
  dialogs.answers.push_back(Answer::No);
  if (c.failure == Failure::RequesterCancelled) dialogs.files.push_back(QString());
  if (c.failure == Failure::DamagedProject) dialogs.files.push_back(QString::fromStdString(damaged));
  Trigger(c.asker == Asker::LoadDialogue ? kCommandLoadDialogue : kCommandRecentFile1);

  EXPECT_EQ(Lines(), "Talkline:");
  EXPECT_EQ(document().changed, 1);
  EXPECT_TRUE(title().endsWith(" *")) << title().toStdString();
  EXPECT_EQ(window().action(kCommandUndo)->text(), "Undo Insert Talkline");
  // The recovery file is still to be written, not discarded.
  QString recovery = session->recovery().file();
  ASSERT_FALSE(recovery.isEmpty());
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(recovery); }, 10000));
  // Quit asks again, as the work is still unsaved.
  dialogs.answers.push_back(Answer::Cancel);
  Trigger(kCommandQuit);
  EXPECT_FALSE(state.quit);
  EXPECT_EQ(dialogs.calls.back().title, "Project not saved");
  bool errorShown = !dialogs.messages().empty();
  EXPECT_EQ(errorShown, c.failure != Failure::RequesterCancelled) << dialogs.trace();
}

std::string AfterNoName(const ::testing::TestParamInfo<AfterNoCase>& info) {
  const char* failures[] = {"RequesterCancelled", "DamagedProject", "MissingRecentFile", "DamagedRecentFile"};
  return failures[static_cast<int>(info.param.failure)];
}

INSTANTIATE_TEST_SUITE_P(Commands, NoThenFailureTest,
                         ::testing::Values(AfterNoCase{Asker::LoadDialogue, Failure::RequesterCancelled},
                                           AfterNoCase{Asker::LoadDialogue, Failure::DamagedProject},
                                           AfterNoCase{Asker::RecentFile, Failure::MissingRecentFile},
                                           AfterNoCase{Asker::RecentFile, Failure::DamagedRecentFile}),
                         AfterNoName);

TEST_F(AskToSaveTest, NothingIsAskedWithoutChanges) {
  Start();
  dialogs.files.push_back(QString());
  Trigger(kCommandLoadDialogue);
  Trigger(kCommandNew);
  Trigger(kCommandQuit);
  EXPECT_EQ(dialogs.trace(), "open:Open dialogue project");
  EXPECT_TRUE(state.quit);
}

}  // namespace
}  // namespace tellwright::testing
