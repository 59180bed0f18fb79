#include <filesystem>

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
  if (c.reply == Reply::YesSavesToItsFile) document().currentFile = temp.file("own.tlwdlg");
  if (c.reply == Reply::YesSaveFails) document().currentFile = temp.file("no-such-folder/own.tlwdlg");
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
