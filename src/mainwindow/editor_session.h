#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

#include "editing/row_selection.h"
#include "mainwindow/editor_state.h"
#include "settings/registry.h"
#include "settings/reporter.h"
#include "ui/document_change.h"
#include "ui/editor_context.h"
#include "ui/ui_text_table.h"

namespace tellwright {

struct DocumentDelta;
class CellEditor;
class EditHistory;
class FindWindow;
class PlayWindow;
class StatisticsWindow;
class BranchMapWindow;
class ProblemsMonitor;
class Spelling;
class SpellingCommands;
class ProblemsWindow;
struct ProblemPlace;
struct PlayPlace;
class RecoveryKeeper;
class InfoWindows;
class EditCommands;
class ExportCommands;
class FileCommands;
class LocalisationCommands;
class MainWindow;
class RegistryBackend;
class ShellCommands;
class UserDialogs;

// Tells the user what the settings code reports, in message boxes.
class DialogReporter : public Reporter {
 public:
  explicit DialogReporter(UserDialogs& dialogs) : dialogs_(dialogs) {}
  void ReportError(std::string_view title, std::string_view message) override;

 private:
  UserDialogs& dialogs_;
};

// One run of the editor: the document and its state, the main window, and
// the commands wired to its menu, shortcuts and gadgets.
class EditorSession : public QObject, public EditorContext {
  Q_OBJECT

 public:
  // Start-up up to the event loop, but for the command line: reads the
  // settings, builds the window with branch "Dialog_Default" and the
  // current project from the settings.
  EditorSession(EditorState& state, UserDialogs& dialogs, RegistryBackend& registry);
  ~EditorSession() override;

  // The rest of start-up: shows the window and opens the project named by
  // the first argument (quotes removed), unless work left by an editor that
  // ended without saving is restored instead.
  void start(const QStringList& arguments);

  EditorState& state() { return state_; }
  // The open project, read-only: only apply() and the history change it,
  // and replaceDocument() replaces it whole.
  const DialogueDocument& document() const override { return document_; }
  UserDialogs& dialogs() override { return dialogs_; }
  Registry& registry() { return registry_; }
  Reporter& reporter() { return reporter_; }
  const UiTextTable& texts() const override { return texts_; }
  QWidget* mainWindow() override;
  MainWindow& window() { return *window_; }
  FileCommands& files() { return *files_; }

  // The one road of every change: closes open edits, runs the change, shows
  // a refusal, and when the document changed shows it afresh and records it
  // in the history, which says whether there are unsaved changes. True when
  // the document changed.
  bool apply(const DocumentChange& change) override;

  // In debug and test builds (and with TELLWRIGHT_CHECK_SCOPES=1 in the
  // environment) the road compares everything outside a change's declared
  // scope with a copy taken before it and stops the program when a change
  // touched what it did not declare: its undo step would be incomplete.
  static void setCheckingScopes(bool on);

  // New, a project that loaded, restored work: the whole document replaced,
  // with a fresh history and no selection. Restored work is unsaved; the
  // others are saved as they are. Unsaved changes of the old document, and
  // its recovery file, go with it.
  void replaceDocument(DialogueDocument document, bool restoredWork = false);
  // The document as it is now was saved to `path`.
  void documentSaved(const std::string& path);
  // A sound file chosen with the browse button: unsaved until the next save,
  // even when the edit is then cancelled.
  void markUnsaved();

  // Edit > Undo and Redo: the last change taken back, or made again.
  void undo();
  void redo();
  EditHistory& history() { return *history_; }
  RecoveryKeeper& recovery() { return *recovery_; }

  // Dialogue > Play: from the first selected line, else from the start of
  // the current branch.
  void play();
  PlayWindow* playWindow() const { return playWindow_.get(); }
  // Shows the branch of `place` with its line selected.
  void goToLine(const PlayPlace& place);
  // Shows branch `branch` with line `line` selected (none when -1).
  void goToPlace(int branch, int line);

  // Dialogue > Problems.
  void showProblems();
  ProblemsMonitor& problems() { return *problems_; }
  // Dialogue > Spelling, and the words it marks.
  Spelling* spelling() override { return spelling_.get(); }
  SpellingCommands& spellingCommands() { return *spellingCommands_; }
  ProblemsWindow* problemsWindow() const { return problemsWindow_.get(); }
  // Goes to where a problem lives; a response's block opens in its editor.
  void goToProblem(const ProblemPlace& place) override;

  // Edit > Find (replace: false) and Replace; F3 and Shift+F3.
  void showFind(bool replace);
  void findNext(bool forward);
  FindWindow* findWindow() const { return findWindow_.get(); }
  // Dialogue > Statistics.
  void showStatistics();
  StatisticsWindow* statisticsWindow() const { return statisticsWindow_.get(); }
  // Dialogue > Branch map.
  void showBranchMap();
  BranchMapWindow* branchMapWindow() const { return branchMapWindow_.get(); }
  void showBranch(int branch) override;

  // Localisation: the prefix of the string-table keys the editor gives in
  // this project (pasted copies of keyed lines get new keys with it).
  std::string keyPrefix();
  LocalisationCommands& localisation() { return *localisation_; }
  // The translations to check changed, or the project they belong to: the
  // Problems list follows.
  void problemsChanged();

  // Commits what is being typed and not yet stored, before any command.
  // False when a typed text was refused: its edit stays open and the
  // command must not run.
  [[nodiscard]] bool commitOpenEdits() override;
  CellEditor& cellEditor() { return *cellEditor_; }
  InfoWindows& infoWindows() { return *infoWindows_; }

  void showTitle();
  // Shows a newly opened or new document: its branches, characters, branch
  // 0 and the current project.
  void showDocument();
  void showError(const QString& message) override;

  void writeSettings();
  void updateActions();

 private:
  // The changed flag with the window title: product name, " - ", the
  // project file's name, and " *" while there are unsaved changes. Its one
  // caller is the history, which owns the answer.
  void SetChanged(int flag);
  void connectCommands();
  void refresh(unsigned parts, const std::vector<int>& selectRows);
  void showHistoryStep(const DocumentDelta& delta, bool forward, const RowSelection& rows);
  void updateHistoryActions();
  // Tells the windows that follow the current branch that the document
  // changed (`content`: more than which branch is shown).
  void followDocument(bool content);
  bool allowClose();

  EditorState& state_;
  DialogueDocument document_;
  UserDialogs& dialogs_;
  DialogReporter reporter_;
  Registry registry_;
  UiTextTable texts_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<FileCommands> files_;
  std::unique_ptr<ExportCommands> exports_;
  std::unique_ptr<EditCommands> edits_;
  std::unique_ptr<ShellCommands> shell_;
  std::unique_ptr<LocalisationCommands> localisation_;
  std::unique_ptr<CellEditor> cellEditor_;
  std::unique_ptr<InfoWindows> infoWindows_;
  std::unique_ptr<EditHistory> history_;
  std::unique_ptr<RecoveryKeeper> recovery_;
  std::unique_ptr<PlayWindow> playWindow_;
  std::unique_ptr<Spelling> spelling_;  // outlives the monitor that reads it
  std::unique_ptr<ProblemsMonitor> problems_;
  SpellingCommands* spellingCommands_ = nullptr;  // a child of the session
  std::unique_ptr<ProblemsWindow> problemsWindow_;
  std::unique_ptr<FindWindow> findWindow_;
  std::unique_ptr<StatisticsWindow> statisticsWindow_;
  std::unique_ptr<BranchMapWindow> branchMapWindow_;
  bool committing_ = false;
};

// The window title for a project file (the name part is shown) and the
// changed flag.
QString WindowTitle(std::string_view projectPath, bool changed);

}  // namespace tellwright
