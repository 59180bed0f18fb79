#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <memory>
#include <string>

#include "document/project_file.h"
#include "editing/line_slots.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/file_commands.h"
#include "mainwindow/main_window.h"
#include "platform/registry_store.h"
#include "scripted_dialogs.h"
#include "settings/settings.h"
#include "settings/test_support.h"
#include "support/temp_dir.h"

namespace tellwright::testing {

inline std::string ExampleProject() { return std::string(TELLWRIGHT_SOURCE_DIR) + "/examples/lighthouse.tlwdlg"; }
inline std::string ExampleCast() { return std::string(TELLWRIGHT_SOURCE_DIR) + "/examples/lighthouse_cast.tlwchr"; }

// An editor session on a fresh state, with scripted dialogs, a registry in a
// temporary folder and the desktop folders pointed there too.
class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    environment.Set("XDG_DATA_HOME", temp.folder("data"));
    environment.Set("XDG_STATE_HOME", temp.folder("state"));
    environment.Set("LOCALAPPDATA", temp.folder("local"));  // the recovery files' on Windows
    environment.Set(kRegistryDirVariable, temp.folder("registry"));
  }
  void TearDown() override {
    session.reset();
    EXPECT_TRUE(dialogs.answers.empty()) << "unused scripted answers";
    EXPECT_TRUE(dialogs.files.empty()) << "unused scripted files";
  }

  // Start-up with the given command line (after the program name).
  void Start(const QStringList& arguments = {}) {
    session = std::make_unique<EditorSession>(state, dialogs, store);
    session->start(arguments);
  }

  // Settings as an earlier run left them, for the next Start().
  void StoreSettings(const std::string& currentProject, RecentFiles recentFiles) {
    RecordingReporter reporter;
    Registry registry(store, reporter);
    ASSERT_TRUE(WriteSettings(registry, Settings{currentProject, std::move(recentFiles)}));
  }

  MainWindow& window() { return session->window(); }
  const DialogueDocument& document() { return session->document(); }
  // Sets up the document for a test: a copy of it edited by `edit` replaces
  // it, saved as it is and with a fresh history.
  template <typename Edit>
  void ReplaceDocument(Edit edit) {
    DialogueDocument copy = session->document();
    edit(copy);
    session->replaceDocument(std::move(copy));
  }
  void Trigger(int command) { window().action(command)->trigger(); }
  void Click(int gadget) { window().button(gadget)->click(); }
  QString title() { return window().windowTitle(); }

  // The current branch's lines as "kind:text" joined by "|".
  std::string Lines() {
    const DialogueBranch& branch = document().branch(document().currentBranch);
    std::string out;
    for (int i = 0; i < LinesInUse(branch); ++i)
      out += (i ? "|" : "") + branch.lines[i].kind + ":" + branch.lines[i].text;
    return out;
  }

  void SelectRows(std::initializer_list<int> rows) {
    QTreeView* list = window().lineList();
    list->clearSelection();
    for (int row : rows)
      list->selectionModel()->select(list->model()->index(row, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list->setFocus();
  }

  ScopedEnvironment environment;
  TempDir temp;
  RegistryStore store{temp.file("registry.store")};
  EditorState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<EditorSession> session;
};

}  // namespace tellwright::testing
