#include <functional>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTreeView>

#include "editors/cell_editor.h"
#include "editors/problems_window.h"
#include "mainwindow/spelling_commands.h"
#include "session_fixture.h"
#include "spelling/project_dictionary.h"
#include "ui/problems_monitor.h"
#include "ui/spelling.h"

namespace tellwright::testing {
namespace {

// A saved project whose first branch says "The keepr saw Zorbo." (line 1)
// after a codeline no one reads; the writer picks English in Dialogue >
// Spelling.
class SpellingTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
#ifdef _WIN32
    GTEST_SKIP() << "the Windows build has no spelling check: Hunspell is not built for Windows here";
#endif
    DialogueDocument project;
    project.characters = {{"Keeper", "keeper"}};
    DialogueBranch& branch = project.editBranch(0);
    branch.lineCount = 2;
    branch.lines.slot(0) = {"Codeline", "", "Gmae.Wrnog();", "", 0};
    branch.lines.slot(1) = {"Talkline", "Keeper", "The keepr saw Zorbo.", "", 0};
    path = temp.file("tale.tlwdlg");
    ASSERT_TRUE(SaveProject(project, path));
    Start({QString::fromStdString(path)});
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ChooseLanguage("en_US");
  }

  void ChooseLanguage(const QString& language) {
    QMenu* menu = session->spellingCommands().menu();
    emit menu->aboutToShow();
    for (QAction* action : menu->actions())
      if (action->text() == language) return action->trigger();
    ADD_FAILURE() << "Dialogue > Spelling has no " << language.toStdString();
  }

  // The words of the spelling notes in Problems, once the check has ended.
  QStringList NotedWords() {
    EXPECT_TRUE(QTest::qWaitFor([this] { return !session->spelling()->checking(); }));
    QStringList words;
    for (const Problem& problem : session->problems().problems())
      if (problem.rule == "spelling") words << QString::fromStdString(problem.message).section('\'', 1, 1);
    return words;
  }

  // Right-clicks the cell editor's field on the character at `position`
  // and waits for the menu.
  QMenu* ContextMenuAt(int position) {
    QLineEdit* field = session->cellEditor().field();
    field->setCursorPosition(position);
    QPoint at = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center() + QPoint(2, 0);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, field->mapToGlobal(at));
    QApplication::sendEvent(field, &event);
    QMenu* menu = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())); }));
    return menu;
  }

  static QAction* Entry(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
      if (action->text() == text) return action;
    return nullptr;
  }

  std::string path;
};

TEST_F(SpellingTest, TheChoiceIsTheProjectsKeptBesideIt) {
  EXPECT_EQ(ReadProjectLanguage(ProjectLanguageFile(path)), "en_US");
  EXPECT_EQ(NotedWords(), (QStringList{"keepr", "Zorbo"})) << "the codeline is no text of the game";
  ChooseLanguage("None");
  EXPECT_EQ(ReadProjectLanguage(ProjectLanguageFile(path)), "None");
  EXPECT_EQ(NotedWords(), QStringList{});
  EXPECT_TRUE(QTest::qWaitFor([this] { return window().problemCounts()->text() == "No problems"; }));
}

TEST_F(SpellingTest, ContextMenuSuggestionReplacesTheWordAndUndoRestoresIt) {
  ASSERT_TRUE(session->cellEditor().open(1, 2));
  QLineEdit* field = session->cellEditor().field();
  QMenu* menu = ContextMenuAt(5);
  ASSERT_NE(menu, nullptr);
  QStringList suggestions;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) break;
    suggestions << action->text();
  }
  EXPECT_LE(suggestions.size(), 7);
  ASSERT_TRUE(suggestions.contains("keeper")) << suggestions.join(", ").toStdString();
  ASSERT_NE(Entry(menu, "Add to project dictionary"), nullptr);
  ASSERT_NE(Entry(menu, "Ignore"), nullptr);
  Entry(menu, "keeper")->trigger();
  menu->close();
  EXPECT_EQ(field->text(), "The keeper saw Zorbo.");

  // Undo in the field takes it back; chosen again and stored, the editor's
  // Undo takes it back from the project.
  ASSERT_TRUE(QTest::qWaitFor([field] { return QApplication::focusWidget() == field; }));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(field->text(), "The keepr saw Zorbo.");
  menu = ContextMenuAt(6);
  ASSERT_NE(menu, nullptr);
  Entry(menu, "keeper")->trigger();
  menu->close();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(document().branch(0).lines[1].text, "The keeper saw Zorbo.");
  Trigger(kCommandUndo);
  EXPECT_EQ(document().branch(0).lines[1].text, "The keepr saw Zorbo.");
}

TEST_F(SpellingTest, AddedWordsGoBesideTheProjectIgnoredOnesForTheSession) {
  ASSERT_TRUE(session->cellEditor().open(1, 2));
  QMenu* menu = ContextMenuAt(16);
  ASSERT_NE(menu, nullptr);
  Entry(menu, "Add to project dictionary")->trigger();
  menu->close();
  EXPECT_EQ(ReadBytes(ProjectWordListFile(path)), "Zorbo\n");
  EXPECT_EQ(NotedWords(), QStringList{"keepr"});

  menu = ContextMenuAt(5);
  ASSERT_NE(menu, nullptr);
  Entry(menu, "Ignore")->trigger();
  menu->close();
  EXPECT_EQ(NotedWords(), QStringList{});
  EXPECT_EQ(ReadBytes(ProjectWordListFile(path)), "Zorbo\n") << "an ignored word stays out of the file";

  // A word spelt right has the field's own menu alone.
  menu = ContextMenuAt(11);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Entry(menu, "Ignore"), nullptr);
  menu->close();
}

TEST_F(SpellingTest, ProblemsListTheNotesAndGoThere) {
  ASSERT_EQ(NotedWords(), (QStringList{"keepr", "Zorbo"}));
  ASSERT_TRUE(QTest::qWaitFor([this] { return window().problemCounts()->text().endsWith("2 notes"); }))
      << window().problemCounts()->text().toStdString();
  Trigger(kCommandProblems);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(session->problemsWindow()));
  QTreeView* list = session->problemsWindow()->list();
  ASSERT_TRUE(QTest::qWaitFor([list] { return list->model()->rowCount() == 2; }));
  QModelIndex index = list->model()->index(1, 0);
  const QString message = list->model()->index(1, 2).data().toString();
  EXPECT_TRUE(message.contains("Zorbo")) << message.toStdString();
  list->setCurrentIndex(index);
  emit list->doubleClicked(index);
  EXPECT_EQ(window().selectedLineRows(), RowSelection{1});
}

// The check's problems and the spelling notes arrive apart; the list shows
// the check's first and the notes after them, and the counts of both, after
// either changes.
TEST_F(SpellingTest, ProblemsListTheChecksProblemsBeforeTheNotes) {
  ASSERT_EQ(NotedWords(), (QStringList{"keepr", "Zorbo"}));
  Trigger(kCommandProblems);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(session->problemsWindow()));
  QTreeView* list = session->problemsWindow()->list();
  auto rows = [list] {
    QStringList rows;
    for (int row = 0; row < list->model()->rowCount(); ++row)
      rows << list->model()->index(row, 0).data().toString() + " " +
                  list->model()->index(row, 2).data().toString().section(' ', 0, 2);
    return rows;
  };
  auto summary = [this] { return session->problemsWindow()->findChild<QLabel*>("summary")->text(); };
  const struct {
    const char* step;
    std::function<void(DialogueDocument&)> edit;
    QString counts;
    QStringList rows;
  } kSteps[] = {
      {"a talkline without a character",
       [](DialogueDocument& d) { d.editBranch(0).lines.slot(1).character = ""; }, "1 error, 0 warnings, 2 notes",
       {"error A talkline needs", "note 'keepr' is not", "note 'Zorbo' is not"}},
      {"the misspelling mended",
       [](DialogueDocument& d) { d.editBranch(0).lines.slot(1).text = "The keeper saw Zorbo."; },
       "1 error, 0 warnings, 1 note", {"error A talkline needs", "note 'Zorbo' is not"}},
      {"the character back",
       [](DialogueDocument& d) { d.editBranch(0).lines.slot(1).character = "Keeper"; }, "0 errors, 0 warnings, 1 note",
       {"note 'Zorbo' is not"}},
  };
  for (const auto& step : kSteps) {
    SCOPED_TRACE(step.step);
    session->apply({step.step, kPartLines, [&](DialogueDocument& d) {
                      step.edit(d);
                      return EditResult::Changed();
                    }});
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows() == step.rows && summary() == step.counts; }))
        << rows().join(" / ").toStdString() << " | " << summary().toStdString();
    EXPECT_EQ(window().problemCounts()->text(), step.counts);
  }
}

}  // namespace
}  // namespace tellwright::testing
