#include <QMenu>
#include <filesystem>

#include "document/character_list_file.h"
#include "os/file_names.h"
#include "session_fixture.h"
#include "ui/document_text.h"

namespace tellwright::testing {
namespace {

namespace fs = std::filesystem;

// --- Requesters and extension rules --------------------------------------

struct SaveCase {
  const char* name;
  int command;
  const char* requester;
  const char* filter;
  const char* chosen;   // the name given in the requester
  const char* written;  // the file that must exist afterwards
};

const SaveCase kSaveCases[] = {
    {"ProjectGetsExtension", kCommandSaveAs, "Save dialogue project", "Dialogues|*.tlwdlg", "a", "a.tlwdlg"},
    {"ProjectExtensionInCapitals", kCommandSaveAs, "Save dialogue project", "Dialogues|*.tlwdlg", "b.TLWDLG",
     "b.TLWDLG"},
    {"ProjectExtensionNotAtTheEnd", kCommandSaveAs, "Save dialogue project", "Dialogues|*.tlwdlg", "c.tlwdlg.bak",
     "c.tlwdlg.bak.tlwdlg"},
    {"UnsavedProjectSaveAsksForAName", kCommandSave, "Save dialogue project", "Dialogues|*.tlwdlg", "d", "d.tlwdlg"},
    {"CharacterList", kCommandSaveCharacterList, "Save character list", "Char. list|*.tlwchr", "cast", "cast.tlwchr"},
    {"CharacterListMixedCase", kCommandSaveCharacterList, "Save character list", "Char. list|*.tlwchr", "cast.TlwChr",
     "cast.TlwChr"},
    {"WmeScript", kCommandExportWme, "Export WME script", "WME script|*.script", "s", "s.script"},
    {"WmeScriptInCapitals", kCommandExportWme, "Export WME script", "WME script|*.script", "s.SCRIPT", "s.SCRIPT"},
    {"VexaBaseUsedAsItIs", kCommandExportVexa, "Export Vexa script", "Vexa script|*.script", "v",
     "v_Dialog_Default.script"},
    {"VexaBaseWithExtension", kCommandExportVexa, "Export Vexa script", "Vexa script|*.script", "v.script",
     "v.script_Dialog_Default.script"},
    {"Text", kCommandExportText, "Export dialogue as text", "Text|*.txt", "t", "t.txt"},
    {"TextInCapitals", kCommandExportText, "Export dialogue as text", "Text|*.txt", "t.TXT", "t.TXT"},
};

void PrintTo(const SaveCase& c, std::ostream* out) { *out << c.name; }

class SaveRequesterTest : public SessionTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveRequesterTest, CompletesTheExtensionAsTheFileKindWants) {
  const SaveCase& c = GetParam();
  Start();
  dialogs.files.push_back(QString::fromStdString(temp.file(c.chosen)));
  Trigger(c.command);
  ASSERT_EQ(dialogs.calls.size(), 1u) << dialogs.trace();
  EXPECT_EQ(dialogs.calls[0].kind, "save");
  EXPECT_EQ(dialogs.calls[0].title, c.requester);
  EXPECT_EQ(dialogs.calls[0].filter, c.filter);
  EXPECT_TRUE(fs::exists(temp.file(c.written))) << c.written;
  EXPECT_EQ(fs::directory_iterator(temp.path()) == fs::directory_iterator(), false);
}

INSTANTIATE_TEST_SUITE_P(Commands, SaveRequesterTest, ::testing::ValuesIn(kSaveCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, SavingSetsThePathAndTheTitleAndClearsTheChangedFlag) {
  Start();
  EXPECT_EQ(title(), "Tellwright");
  Click(kGadgetRemark);
  EXPECT_EQ(title(), "Tellwright -  *");
  dialogs.files.push_back(QString::fromStdString(temp.file("story")));
  Trigger(kCommandSaveAs);
  EXPECT_EQ(document().currentFile, temp.file("story.tlwdlg"));
  EXPECT_EQ(title(), "Tellwright - story.tlwdlg");
  Click(kGadgetCodeline);
  EXPECT_EQ(title(), "Tellwright - story.tlwdlg *");
  Trigger(kCommandSave);  // to the same file, without a requester
  EXPECT_EQ(title(), "Tellwright - story.tlwdlg");
  DialogueDocument reread;
  ASSERT_TRUE(LoadProject(temp.file("story.tlwdlg"), reread));
  EXPECT_EQ(reread.branch(0).lineCount, 2);
  EXPECT_EQ(dialogs.trace(), "save:Save dialogue project");
}

TEST_F(SessionTest, AFailedSaveIsReportedAndKeepsThePathAndTheChangedFlag) {
  Start();
  dialogs.files.push_back(QString::fromStdString(temp.file("first")));
  Trigger(kCommandSaveAs);
  Click(kGadgetTalkline);
  dialogs.files.push_back(QString::fromStdString(temp.file("missing/second")));
  Trigger(kCommandSaveAs);
  EXPECT_EQ(document().currentFile, temp.file("first.tlwdlg"));
  EXPECT_EQ(document().changed, 1);
  EXPECT_EQ(title(), "Tellwright - first.tlwdlg *");
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "Error");
  EXPECT_TRUE(dialogs.messages()[0].text.startsWith("The dialogue project could not be saved."));
  // The system's own words for the reason.
#ifdef _WIN32
  const QString reason = PathToQString(WindowsErrorText(ERROR_PATH_NOT_FOUND));
#else
  const QString reason = QStringLiteral("No such file or directory");
#endif
  EXPECT_TRUE(dialogs.messages()[0].text.contains(reason)) << dialogs.messages()[0].text.toStdString();
}

TEST_F(SessionTest, AFailedExportIsReported) {
  Start();
  fs::create_directories(temp.file("taken.script"));  // a folder where the script should go
  dialogs.files.push_back(QString::fromStdString(temp.file("taken")));
  Trigger(kCommandExportWme);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_TRUE(dialogs.messages()[0].text.startsWith("The script could not be exported."));
}

// --- Exports and the dialogue check ----------------------------------------

TEST_F(SessionTest, AnExportWithAFaultGoesOnlyOnWhenTheUserSaysYes) {
  Start();
  Click(kGadgetTalkline);  // a talkline without a character
  const char* check = "Dialog_Default - Line 0: A talkline needs a character given to work.";
  for (Answer answer : {Answer::No, Answer::Yes}) {
    dialogs.calls.clear();
    dialogs.answers.push_back(answer);
    if (answer == Answer::Yes) dialogs.files.push_back(QString::fromStdString(temp.file("forced")));
    Trigger(kCommandExportWme);
    ASSERT_GE(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].title, "Error:");
    EXPECT_EQ(dialogs.calls[0].text, check);
    EXPECT_EQ(dialogs.calls[1].title, "Really save?");
    EXPECT_EQ(dialogs.calls[1].text,
              "Errors occured during dialogue checking. Do you really want to save to script (it possibly won't run)?");
    EXPECT_EQ(dialogs.calls.size(), answer == Answer::Yes ? 3u : 2u);
  }
  EXPECT_TRUE(fs::exists(temp.file("forced.script")));
  EXPECT_EQ(fs::file_size(temp.file("forced.script")) > 0, true);
}

// --- Opening projects: start-up, Load dialogue, recent files ---------------

TEST_F(SessionTest, StartUpOpensTheProjectNamedOnTheCommandLine) {
  Start({QString::fromStdString("\"" + ExampleProject() + "\"")});
  EXPECT_EQ(title(), "Tellwright - lighthouse.tlwdlg");
  EXPECT_EQ(document().changed, 0);
  EXPECT_EQ(state.recentFiles[0], ExampleProject());
  EXPECT_EQ(window().action(kCommandRecentFile1)->text(), "..\\lighthouse.tlwdlg");
  EXPECT_TRUE(window().findChild<QMenu*>("fileMenu")->actions().contains(window().action(kCommandRecentFile1)));
  EXPECT_TRUE(dialogs.calls.empty()) << dialogs.trace();
}

TEST_F(SessionTest, AProjectThatCannotBeReadChangesNothing) {
  WriteBytes(temp.file("damaged.tlwdlg"), "V1.2\nC:\\g.wpr\n##ENDCHARLIST##\n999\n");
  struct Case {
    std::string file;
    const char* reason;
  };
  const Case cases[] = {{temp.file("damaged.tlwdlg"), "damaged.tlwdlg\", line 4: "},
                        {temp.file("missing.tlwdlg"), "No such file or directory"},
                        {temp.path().string(), "Is a directory"}};
  for (const Case& c : cases) {
    dialogs.calls.clear();
    state = EditorState();
    StoreSettings("C:\\Game\\game.wpr", {"/earlier.tlwdlg"});
    Start({QString::fromStdString(c.file)});
    ASSERT_EQ(dialogs.messages().size(), 1u) << c.file;
    EXPECT_EQ(dialogs.messages()[0].title, "Error");
    EXPECT_TRUE(dialogs.messages()[0].text.startsWith("The dialogue project could not be loaded."));
    EXPECT_TRUE(dialogs.messages()[0].text.contains(c.reason)) << dialogs.messages()[0].text.toStdString();
    EXPECT_EQ(document().branch(0).name, "Dialog_Default");
    EXPECT_EQ(document().engineProjectPath, "C:\\Game\\game.wpr");
    EXPECT_EQ(document().currentFile, "");
    EXPECT_EQ(title(), "Tellwright");
    EXPECT_EQ(state.recentFiles, (RecentFiles{"/earlier.tlwdlg"}));

    // Load dialogue on top of an open project: the open one stays.
    dialogs.files.push_back(QString::fromStdString(ExampleProject()));
    Trigger(kCommandLoadDialogue);
    dialogs.files.push_back(QString::fromStdString(c.file));
    Trigger(kCommandLoadDialogue);
    EXPECT_EQ(document().currentFile, ExampleProject());
    EXPECT_EQ(document().branch(0).name, "Lighthouse_Greeting");
    EXPECT_EQ(title(), "Tellwright - lighthouse.tlwdlg");
    EXPECT_EQ(state.recentFiles[0], ExampleProject());
    session.reset();
  }
}

TEST_F(SessionTest, TheOpenRequesterStartsAtTheProjectThenTheRecentFileThenTheStartUpProject) {
  StoreSettings("C:\\Games\\Demo\\demo.wpr", {});
  Start();
  window().projectField()->setText("C:\\Elsewhere\\other.wpr");  // the field's text does not count
  dialogs.answers = {Answer::No};                                // the typed path is a change
  dialogs.files = {QString(), QString(), QString()};
  Trigger(kCommandLoadDialogue);
  state.recentFiles[0] = "/work/recent.tlwdlg";
  Trigger(kCommandLoadCharacterList);
  ReplaceDocument([](DialogueDocument& document) { document.currentFile = "/work/open.tlwdlg"; });
  Trigger(kCommandSaveCharacterList);
  EXPECT_EQ(dialogs.trace(),
            "question:Project not saved|open:Open dialogue project|open:Open character list|save:Save character list");
  ASSERT_EQ(dialogs.calls.size(), 4u);
  EXPECT_EQ(dialogs.calls[1].text, "C:\\Games\\Demo\\demo.wpr");
  EXPECT_EQ(dialogs.calls[2].text, "/work/recent.tlwdlg");
  EXPECT_EQ(dialogs.calls[2].filter, "Char. list|*.tlwchr");
  EXPECT_EQ(dialogs.calls[3].text, "/work/open.tlwdlg");
  EXPECT_EQ(document().engineProjectPath, "C:\\Elsewhere\\other.wpr");  // typed, then stored by the command
}

struct MenuCase {
  const char* name;
  RecentFiles recent;
  std::vector<int> ids;
};

void PrintTo(const MenuCase& c, std::ostream* out) { *out << c.name; }

class RecentMenuTest : public SessionTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(RecentMenuTest, ShowsTheBlockOnlyWhenRecentFileOneIsSet) {
  StoreSettings("", GetParam().recent);
  Start();
  std::vector<int> ids;
  int separators = 0;
  for (QAction* action : window().findChild<QMenu*>("fileMenu")->actions()) {
    if (action->isSeparator()) ++separators;
    int id = action->data().toInt();
    if (id >= kCommandRecentFile1 && id <= kCommandRecentFile5) ids.push_back(id);
  }
  EXPECT_EQ(ids, GetParam().ids);
  EXPECT_EQ(separators, GetParam().ids.empty() ? 3 : 4);
}

INSTANTIATE_TEST_SUITE_P(RecentFiles, RecentMenuTest,
                         ::testing::Values(MenuCase{"FirstRun", {}, {}},
                                           MenuCase{"OneAndThree", {"/a/x.tlwdlg", "", "/b/y.tlwdlg"}, {17, 19}},
                                           MenuCase{"FirstEmptySecondSet", {"", "/a/x.tlwdlg"}, {}},
                                           MenuCase{"AllFive", {"/1", "/2", "/3", "/4", "/5"}, {17, 18, 19, 20, 21}}),
                         [](const auto& info) { return std::string(info.param.name); });

// A file cut short loads, as far as it goes, and the writer is told where
// it ends.
TEST_F(SessionTest, AProjectCutShortLoadsWithAWarningNamingTheFileAndLine) {
  std::string bytes = ReadBytes(ExampleProject());
  std::string cut = temp.file("cut.tlwdlg");
  WriteBytes(cut, bytes.substr(0, bytes.size() / 2));
  Start({QString::fromStdString(cut)});
  ASSERT_EQ(dialogs.messages().size(), 1u) << dialogs.trace();
  EXPECT_EQ(dialogs.messages()[0].title, "Warning");
  QString text = dialogs.messages()[0].text;
  EXPECT_TRUE(text.contains("cut.tlwdlg\", line ")) << text.toStdString();
  EXPECT_TRUE(text.contains("ends early")) << text.toStdString();
  EXPECT_EQ(document().branch(0).name, "Lighthouse_Greeting");
  EXPECT_EQ(title(), "Tellwright - cut.tlwdlg");
}

// The recording script never goes over the project it comes from, even a
// project whose file name ends as a recording script's does.
TEST_F(SessionTest, TheRecordingScriptRefusesToOverwriteTheProject) {
  std::string project = temp.file("own.csv");
  WriteBytes(project, ReadBytes(ExampleProject()));
  Start({QString::fromStdString(project)});
  dialogs.files.push_back(QString::fromStdString(project));
  Trigger(kCommandExportRecordingScript);
  ASSERT_EQ(dialogs.messages().size(), 1u) << dialogs.trace();
  EXPECT_EQ(dialogs.messages()[0].title, "Error");
  EXPECT_EQ(ReadBytes(project), ReadBytes(ExampleProject()));
}

TEST_F(SessionTest, RecentFilesFollowWhatWasOpened) {
  ASSERT_TRUE(SaveProject(DialogueDocument(), temp.file("other.tlwdlg")));
  StoreSettings("", {temp.file("other.tlwdlg"), ExampleProject()});
  Start();
  dialogs.files.push_back(QString::fromStdString(ExampleProject()));
  Trigger(kCommandLoadDialogue);  // already listed: the order stays
  EXPECT_EQ(state.recentFiles, (RecentFiles{temp.file("other.tlwdlg"), ExampleProject()}));

  dialogs.files.push_back(QString::fromStdString(ExampleCast()));
  Trigger(kCommandLoadCharacterList);
  EXPECT_EQ(state.recentFiles, (RecentFiles{ExampleCast(), temp.file("other.tlwdlg"), ExampleProject()}));
  // The menu follows at once, so item 17 names what it opens.
  EXPECT_EQ(window().action(kCommandRecentFile1)->text(), "..\\lighthouse_cast.tlwchr");
  EXPECT_EQ(document().changed, 0);  // a character list does not change the project's flag
  // The same cast as the project's: nothing changed, nothing to undo.
  EXPECT_FALSE(window().action(kCommandUndo)->isEnabled());
  EXPECT_EQ(title(), "Tellwright - lighthouse.tlwdlg");

  Trigger(kCommandRecentFile1 + 1);  // a project: replaces the open one, the list stays
  EXPECT_EQ(document().currentFile, temp.file("other.tlwdlg"));
  EXPECT_TRUE(document().characters.empty());
  Trigger(kCommandRecentFile1);  // a character list: joins the open project
  EXPECT_EQ(document().currentFile, temp.file("other.tlwdlg"));
  EXPECT_EQ(document().characters.size(), 3u);
  EXPECT_EQ(state.recentFiles, (RecentFiles{ExampleCast(), temp.file("other.tlwdlg"), ExampleProject()}));
  EXPECT_TRUE(dialogs.messages().empty()) << dialogs.trace();
}

TEST_F(SessionTest, QuitWritesTheSettingsAfterAskingToSave) {
  StoreSettings("C:\\Old\\old.wpr", {});
  Start({QString::fromStdString(ExampleProject())});
  Trigger(kCommandQuit);
  RecordingReporter reporter;
  Registry registry(store, reporter);
  Settings stored = ReadSettings(registry);
  EXPECT_EQ(stored.currentProject, "C:\\Games\\Lighthouse\\lighthouse.wpr");  // the project's own
  EXPECT_EQ(stored.recentFiles[0], ExampleProject());
}

}  // namespace
}  // namespace tellwright::testing
