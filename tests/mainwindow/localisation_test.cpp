#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <filesystem>

#include "editors/cell_editor.h"
#include "editors/play_window.h"
#include "editors/problems_window.h"
#include "editors/response_block_editor.h"
#include "editors/response_editor.h"
#include "mainwindow/line_list_model.h"
#include "session_fixture.h"
#include "settings/project_settings.h"
#include "tools/string_keys.h"
#include "ui/problems_monitor.h"

namespace tellwright::testing {
namespace {

// The example, copied into a folder of its own so that its settings file
// lands there, opened from the command line.
class LocalisationTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    project = temp.file("lighthouse.tlwdlg");
    std::filesystem::copy_file(ExampleProject(), project);
    Start({QString::fromStdString(project)});
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  }

  // Assign keys, typing `prefix` when the prefix is asked.
  void AssignKeys(const QString& prefix) {
    dialogs.typed.push_back(prefix);
    Trigger(kCommandAssignKeys);
  }
  LineListModel& model() { return *window().lineModel(); }
  QString Cell(int row, int column) { return model().index(row, column).data().toString(); }
  const Text& ResponseText(int slot, int response) {
    return document().responseBlocks[slot].responses[response].text;
  }
  // Keys go where a person's would: to the widget with the focus.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }));
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }

  std::string project;
};

TEST_F(LocalisationTest, AssignKeysAsksThePrefixOnceForTheProjectAndIsOneUndoStep) {
  const std::string before = Lines();
  EXPECT_EQ(model().columnCount(), 4) << "no key column before the project uses keys";

  // A prefix the keys cannot take is refused and asked again, as typed.
  dialogs.typed.push_back(QStringLiteral("lh 1"));
  AssignKeys(QStringLiteral("LH"));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, QString::fromLatin1(kInvalidPrefixMessage.data()));
  EXPECT_EQ(dialogs.calls.front().text, "LIGHTHOUSE") << "the default is the project's file name";
  EXPECT_EQ(dialogs.calls.back().text, "lh 1");

  EXPECT_EQ(document().branch(0).lines[1].text,
            "/LH0001/Another one who wants to see the lamp? Mind the oil on the floor.");
  EXPECT_EQ(ResponseText(0, 0), "/LH0003/What happened to the ship?");
  EXPECT_EQ(document().branch(0).lines[0].text.rfind("Ada climbs", 0), 0u) << "remarks get no key";
  EXPECT_EQ(ReadBytes(ProjectSettingsPath(project)).find("KeyPrefix=LH\n") != std::string::npos, true);

  // The list shows texts as the game does, the keys in a column of their own.
  ASSERT_EQ(model().columnCount(), 5);
  EXPECT_EQ(model().headerData(LineListModel::kKeyColumn, Qt::Horizontal, Qt::DisplayRole).toString(), "Key");
  EXPECT_EQ(Cell(1, 2), "Another one who wants to see the lamp? Mind the oil on the floor.");
  EXPECT_EQ(Cell(1, LineListModel::kKeyColumn), "LH0001");
  EXPECT_EQ(Cell(2, LineListModel::kKeyColumn), "") << "a codeline has none";
  QHeaderView* header = window().lineList()->header();
  EXPECT_EQ(header->sectionSize(2) + header->sectionSize(LineListModel::kKeyColumn), kLineListColumnWidths[2]);

  // One step takes back every key, in every branch and block.
  EXPECT_EQ(window().action(kCommandUndo)->text(), "Undo Assign keys");
  Trigger(kCommandUndo);
  EXPECT_EQ(Lines(), before);
  EXPECT_EQ(ResponseText(0, 0), "What happened to the ship?");
  EXPECT_EQ(document().branch(3).lines[0].text, "Watch the rocks on your way down.");
  EXPECT_EQ(model().columnCount(), 4);
  Trigger(kCommandRedo);
  EXPECT_EQ(document().branch(3).lines[0].text, "/LH0014/Watch the rocks on your way down.");

  // Asked once: later runs, in this editor or the next, take the prefix kept.
  Trigger(kCommandUndo);
  size_t asked = dialogs.calls.size();
  Trigger(kCommandAssignKeys);
  EXPECT_EQ(dialogs.calls.size(), asked) << dialogs.trace();
  EXPECT_EQ(ResponseText(1, 2), "/LH0011/Thanks, that helps.");
  Trigger(kCommandUndo);
  session.reset();
  Start({QString::fromStdString(project)});
  Trigger(kCommandAssignKeys);
  EXPECT_EQ(document().branch(0).lines[3].text.rfind("/LH0002/", 0), 0u);
  EXPECT_EQ(dialogs.calls.size(), asked) << dialogs.trace();

  // Nothing left to key: said so, nothing changes.
  Trigger(kCommandAssignKeys);
  EXPECT_EQ(dialogs.calls.back().kind, "information");
  EXPECT_EQ(window().action(kCommandUndo)->text(), "Undo Assign keys");
}

// A settings file the editor cannot read is reported once and never
// written over; the prefix typed holds for the run.
TEST_F(LocalisationTest, AnUnreadableSettingsFileIsLeftAsItIs) {
  const std::string damaged = "KeyPrefix=LH\nno setting here\n";
  WriteBytes(ProjectSettingsPath(project), damaged);
  AssignKeys(QStringLiteral("XY"));
  ASSERT_EQ(dialogs.messages().size(), 1u) << dialogs.trace();
  EXPECT_TRUE(dialogs.messages()[0].text.contains("line 2")) << dialogs.messages()[0].text.toStdString();
  EXPECT_EQ(document().branch(0).lines[1].text.rfind("/XY0001/", 0), 0u);
  EXPECT_EQ(ReadBytes(ProjectSettingsPath(project)), damaged);
  EXPECT_EQ(session->keyPrefix(), "XY");
  EXPECT_EQ(dialogs.messages().size(), 1u);
}

// A project never saved keeps its prefix until it has a file, then beside it.
TEST_F(SessionTest, TheUnsavedProjectsPrefixGoesWithItWhenItIsSaved) {
  Start();
  Click(kGadgetTalkline);
  ReplaceDocument([](DialogueDocument& document) { document.editBranch(0).lines.slot(0).text = "Hello"; });
  dialogs.typed.push_back(QStringLiteral("NEW"));
  Trigger(kCommandAssignKeys);
  ASSERT_EQ(dialogs.calls.back().text, "TEXT") << "no file name to take the default from";
  EXPECT_EQ(document().branch(0).lines[0].text, "/NEW0001/Hello");
  std::string saved = temp.file("new.tlwdlg");
  dialogs.files.push_back(QString::fromStdString(saved));
  Trigger(kCommandSaveAs);
  EXPECT_NE(ReadBytes(ProjectSettingsPath(saved)).find("KeyPrefix=NEW\n"), std::string::npos);
}

TEST_F(LocalisationTest, EditingTheTextKeepsItsKeyAndPastedCopiesGetKeysOfTheirOwn) {
  AssignKeys(QStringLiteral("LH"));
  SelectRows({1});
  window().lineList()->setCurrentIndex(model().index(1, 0));
  Key(Qt::Key_F2);
  ASSERT_TRUE(QTest::qWaitFor([this] { return session->cellEditor().isOpen(); }));
  EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(),
            "Another one who wants to see the lamp? Mind the oil on the floor.");
  Key(Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(QApplication::focusWidget(), "Mind the oil.");
  Key(Qt::Key_Return);
  EXPECT_EQ(document().branch(0).lines[1].text, "/LH0001/Mind the oil.");
  EXPECT_EQ(Cell(1, 2), "Mind the oil.");

  // Copied and pasted: the copy gets the next key, the original keeps its own.
  SelectRows({1, 3});
  Key(Qt::Key_C, Qt::ControlModifier);
  SelectRows({5});
  Key(Qt::Key_V, Qt::ControlModifier);
  const DialogueBranch& branch = document().branch(0);
  EXPECT_EQ(branch.lines[1].text, "/LH0001/Mind the oil.");
  EXPECT_EQ(branch.lines[5].text, "/LH0015/Mind the oil.");
  EXPECT_EQ(branch.lines[6].text.rfind("/LH0016/I'm Ada.", 0), 0u);
  // Cut and pasted back: the lines are the same texts and keep their keys.
  SelectRows({5, 6});
  Key(Qt::Key_X, Qt::ControlModifier);
  SelectRows({0});
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(document().branch(0).lines[0].text, "/LH0015/Mind the oil.");
  EXPECT_EQ(document().branch(0).lines[1].text.rfind("/LH0016/", 0), 0u);
  session->problems().update();
  ASSERT_TRUE(QTest::qWaitFor([this] { return session->problems().isCurrent(); }));
  EXPECT_EQ(session->problems().counts().errors + session->problems().counts().warnings, 0)
      << "no key given twice, no text left without one";
}

TEST_F(LocalisationTest, ResponseEditorsShowTheTextWithoutItsKeyAndKeepTheKey) {
  AssignKeys(QStringLiteral("LH"));
  ResponseBlockEditor blockEditor(*session, 0, &window());
  blockEditor.show();
  QTableWidgetItem* first = blockEditor.list()->item(0, 0);
  EXPECT_EQ(first->text(), "What happened to the ship?");
  EXPECT_EQ(first->toolTip(), "String-table key: LH0003");

  ResponseEditor editor(*session, &blockEditor);
  editor.load(document().responseBlocks[0].responses[0]);
  auto* text = editor.findChild<QLineEdit*>("responseText");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(), "What happened to the ship?");
  EXPECT_EQ(text->toolTip(), "String-table key: LH0003");
  text->setText("What became of the ship?");
  std::string stored;
  editor.setOnOk([&stored](const Response& response) { stored = response.text; });
  editor.accept();
  EXPECT_EQ(stored, "/LH0003/What became of the ship?");
}

TEST_F(LocalisationTest, ExportsTheTableOrAPoTemplate) {
  dialogs.files.push_back(QString::fromStdString(temp.file("none")));
  Trigger(kCommandExportStringTable);
  ASSERT_EQ(dialogs.messages().size(), 1u) << "a project without keys has no table";
  EXPECT_TRUE(dialogs.messages()[0].text.contains("Assign keys"));
  dialogs.files.clear();

  AssignKeys(QStringLiteral("LH"));
  dialogs.files.push_back(QString::fromStdString(temp.file("string")));
  dialogs.files.push_back(QString::fromStdString(temp.file("game.pot")));
  Trigger(kCommandExportStringTable);
  Trigger(kCommandExportStringTable);
  std::string table = ReadBytes(temp.file("string.tab"));
  EXPECT_EQ(table.rfind("\xEF\xBB\xBF", 0), 0u) << "UTF-8 with the byte-order mark";
  EXPECT_NE(table.find("; Lighthouse_Greeting\r\nLH0001\tAnother one who wants"), std::string::npos) << table;
  EXPECT_NE(table.find("LH0012\tFresh herring, three for a copper. Or a caf\xC3\xA9 au lait"), std::string::npos);
  std::string po = ReadBytes(temp.file("game.pot"));
  EXPECT_NE(po.find("msgctxt \"LH0001\"\nmsgid \"Another one who wants"), std::string::npos) << po;
  EXPECT_EQ(dialogs.messages().size(), 1u);
}

TEST_F(LocalisationTest, NamedTranslationsAreCheckedInTheProblemsAndPlayedIn) {
  AssignKeys(QStringLiteral("LH"));
  std::filesystem::create_directory(temp.file("de"));
  std::string table = temp.file("de/string.tab");
  WriteBytes(table, "\xEF\xBB\xBFLH0001\tNoch eine, die die Lampe sehen will?\r\nLH9999\tVeraltet\r\n");
  dialogs.files.push_back(QString::fromStdString(table));
  Trigger(kCommandAddTranslation);
  EXPECT_NE(ReadBytes(ProjectSettingsPath(project)).find("TranslationFile=de/string.tab\n"), std::string::npos)
      << "named relative to the project, beside it";

  // 13 keys missing (errors), one the project does not have (a warning).
  ASSERT_TRUE(QTest::qWaitFor([this] { return window().problemCounts()->text() == "13 errors, 1 warning"; }))
      << window().problemCounts()->text().toStdString();
  int stale = 0;
  for (const Problem& problem : session->problems().problems())
    if (problem.rule == "translation-not-in-project") {
      ++stale;
      EXPECT_EQ(problem.message.rfind("string.tab:2: ", 0), 0u) << problem.message;
    }
  EXPECT_EQ(stale, 1);

  // The Play window plays in it: the table's text where it has the key.
  SelectRows({1});
  Trigger(kCommandPlay);
  PlayWindow& play = *session->playWindow();
  ASSERT_EQ(play.languageChooser()->count(), 2);
  EXPECT_EQ(play.languageChooser()->itemText(1), "string.tab");
  play.playIn(1);
  EXPECT_TRUE(play.transcriptText().contains("Mara: Noch eine, die die Lampe sehen will?")) << play.transcriptText().toStdString();
  play.playIn(0);
  EXPECT_TRUE(play.transcriptText().contains("Mara: Another one who wants")) << play.transcriptText().toStdString();

  // A file that cannot be read is a problem naming it, not a silent pass.
  std::filesystem::remove(table);
  session->problems().update();
  ASSERT_TRUE(QTest::qWaitFor([this] { return session->problems().isCurrent(); }));
  EXPECT_EQ(window().problemCounts()->text(), "1 error, 0 warnings");
  EXPECT_EQ(session->problems().problems().back().message.rfind("string.tab: ", 0), 0u);

  dialogs.answers.push_back(Answer::Yes);
  Trigger(kCommandStopCheckingTranslations);
  ASSERT_TRUE(QTest::qWaitFor([this] { return window().problemCounts()->text() == "No problems"; }));
  EXPECT_EQ(ReadBytes(ProjectSettingsPath(project)).find("TranslationFile"), std::string::npos);
}

}  // namespace
}  // namespace tellwright::testing
