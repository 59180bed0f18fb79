#include "mainwindow/editor_session.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeView>

#include "base/path_names.h"
#include "editors/branch_map_window.h"
#include "editors/cell_editor.h"
#include "editors/editor_commands.h"
#include "editors/find_window.h"
#include "editors/info_windows.h"
#include "editors/play_window.h"
#include "editors/problems_window.h"
#include "editors/statistics_window.h"
#include "mainwindow/branch_selector.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/edit_commands.h"
#include "mainwindow/edit_history.h"
#include "mainwindow/export_commands.h"
#include "mainwindow/file_commands.h"
#include "mainwindow/localisation_commands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/recovery_keeper.h"
#include "mainwindow/recovery_offer.h"
#include "mainwindow/shell_commands.h"
#include "mainwindow/spelling_commands.h"
#include "os/user_folders.h"
#include "settings/settings.h"
#include "ui/document_text.h"
#include "ui/problems_monitor.h"
#include "ui/spelling.h"
#include "ui/spelling_delegate.h"
#include "ui/user_dialogs.h"
#include "ui/window_placement.h"

namespace tellwright {

void DialogReporter::ReportError(std::string_view title, std::string_view message) {
  dialogs_.showMessage(PathToQString(title), PathToQString(message));
}

namespace {

// What a change may alter, from the parts it declares.
ChangeScope ScopeOf(const DocumentChange& change) {
  static constexpr std::pair<unsigned, unsigned> kScopes[] = {{kPartLines, kScopeCurrentBranch},
                                                              {kPartBranchNames, kScopeBranchTable},
                                                              {kPartBlocks, kScopeBlocks},
                                                              {kPartCharacters, kScopeCharacters},
                                                              {kPartProjectPath, kScopeProjectPath}};
  if (change.scope) return *change.scope;
  ChangeScope scope{0, change.blockSlot};
  for (auto [part, scopePart] : kScopes)
    if (change.parts & part) scope.parts |= scopePart;
  return scope;
}

// The parts of the window a step of the history changes when it is undone
// or redone; the line list always shows the branch of the step.
unsigned PartsOf(const DocumentDelta& delta) {
  unsigned parts = kPartLines | kPartShownBranch;
  bool renamed = std::any_of(delta.branches.begin(), delta.branches.end(),
                             [](const BranchDelta& branch) { return branch.name.has_value(); });
  if (renamed || delta.lastBranchIndex) parts |= kPartBranchNames;
  if (delta.characters) parts |= kPartCharacters;
  if (delta.engineProjectPath) parts |= kPartProjectPath;
  return parts;
}

}  // namespace

QString WindowTitle(std::string_view projectPath, bool changed) {
  QString title = QString::fromLatin1(kProductName) + QStringLiteral(" - ") + PathToQString(FileNamePart(projectPath));
  if (changed) title += QStringLiteral(" *");
  return title;
}

EditorSession::EditorSession(EditorState& state, UserDialogs& dialogs, RegistryBackend& registry)
    : state_(state), dialogs_(dialogs), reporter_(dialogs), registry_(registry, reporter_) {
  Settings settings = ReadSettings(registry_);
  state_.recentFiles = settings.recentFiles;
  state_.startupCurrentProject = settings.currentProject;
  document_.engineProjectPath = settings.currentProject;

  window_ = std::make_unique<MainWindow>(texts_, document_);
  files_ = std::make_unique<FileCommands>(*this);
  exports_ = std::make_unique<ExportCommands>(*this);
  edits_ = std::make_unique<EditCommands>(*this);
  shell_ = std::make_unique<ShellCommands>(*this);
  localisation_ = std::make_unique<LocalisationCommands>(*this);
  cellEditor_ = std::make_unique<CellEditor>(
      window_->lineList(), texts_[kTextBrowse],
      [this](int row, int column, const QString& text) { return edits_->storeCell(row, column, text); },
      [this](const QString& current) { return edits_->browseSoundFile(current); });
  infoWindows_ = std::make_unique<InfoWindows>(texts_);
  std::optional<std::string> recoveryFolder = RecoveryFolder(ProcessEnvironment());
  recovery_ =
      std::make_unique<RecoveryKeeper>(document_, recoveryFolder ? PathToQString(*recoveryFolder) : QString());
  spelling_ = std::make_unique<Spelling>(document_);
  problems_ = std::make_unique<ProblemsMonitor>(document_);
  problems_->setSpelling(spelling_.get());
  cellEditor_->setSpelling(spelling_.get());
  window_->lineList()->setItemDelegateForColumn(2, new SpellingDelegate(*spelling_, window_->lineList()));
  connect(spelling_.get(), &Spelling::wordsChanged, this, [this] {
    window_->lineList()->viewport()->update();
    cellEditor_->markSpelling();
  });
  connect(spelling_.get(), &Spelling::failed, this, [this](const QString& fault) { showError(fault); });
  spellingCommands_ =
      new SpellingCommands(*this, *spelling_, window_->menuBar()->findChild<QMenu*>(QStringLiteral("dialogueMenu")));
  connect(problems_.get(), &ProblemsMonitor::updated, this, [this] {
    window_->problemCounts()->setText(CountsText(problems_->counts()));
    if (problemsWindow_ && problemsWindow_->isVisible()) problemsWindow_->showSurvey(problems_->sharedSurvey(), problems_->sharedNotes());
    // The statistics follow it too (the find window follows every change itself).
    if (statisticsWindow_ && statisticsWindow_->isVisible()) statisticsWindow_->showStats(problems_->survey().stats);
  });
  history_ = std::make_unique<EditHistory>([this](const DocumentDelta& delta, bool forward, const RowSelection& rows) {
    showHistoryStep(delta, forward, rows);
  });
  connect(history_.get(), &EditHistory::unsavedChanged, this, [this](bool unsaved) { SetChanged(unsaved ? 1 : 0); });
  // The stack moves its index after a step is undone or redone.
  connect(&history_->stack(), &QUndoStack::indexChanged, this, [this] { updateHistoryActions(); });
  window_->setCloseGuard([this] { return allowClose(); });
  window_->rebuildMainMenu(state_.recentFiles);
  showDocument();
  spellingCommands_->projectOpened();
  problems_->schedule();
  connectCommands();
}

EditorSession::~EditorSession() {
  // Widgets still send signals while the window is taken down (a field
  // losing the focus finishes its edit); the commands must not hear them.
  window_->setCloseGuard(nullptr);
  cellEditor_.reset();
  for (QObject* sender : window_->findChildren<QObject*>()) {
    sender->disconnect(window_.get());
    sender->disconnect(this);
  }
  window_.reset();
  spelling_->disconnect(this);
}

void EditorSession::start(const QStringList& arguments) {
  window_->show();
  // Restored work is shown in place of the project named on the command line.
  if (OfferLeftWork(*this)) return;
  QString project = arguments.value(0);
  if (project.size() >= 2 && project.startsWith(QLatin1Char('"')) && project.endsWith(QLatin1Char('"')))
    project = project.mid(1, project.size() - 2);
  if (!project.isEmpty()) files_->openProject(PathFromQString(project), true);
}

void EditorSession::connectCommands() {
  MainWindow& w = *window_;
  auto on = [&w](int id, auto&& slot) { QObject::connect(w.action(id), &QAction::triggered, &w, slot); };
  FileCommands& files = *files_;
  ExportCommands& exports = *exports_;
  EditCommands& edits = *edits_;
  on(kCommandNew, [&files] { files.newProject(); });
  on(kCommandLoadDialogue, [&files] { files.loadDialogue(); });
  on(kCommandSave, [&files] { files.save(); });
  on(kCommandSaveAs, [&files] { files.saveAs(); });
  on(kCommandLoadCharacterList, [&files] { files.loadCharacterList(); });
  on(kCommandSaveCharacterList, [&files] { files.saveCharacterList(); });
  on(kCommandExportWme, [&exports] { exports.exportWme(); });
  on(kCommandExportVexa, [&exports] { exports.exportVexa(); });
  on(kCommandExportText, [&exports] { exports.exportText(); });
  on(kCommandQuit, [&files] { files.quit(); });
  for (int id = kCommandRecentFile1; id <= kCommandRecentFile5; ++id)
    on(id, [&files, id] { files.openRecentFile(id - kCommandRecentFile1); });
  on(kCommandUndo, [this] { undo(); });
  on(kCommandPlay, [this] { play(); });
  on(kCommandProblems, [this] { showProblems(); });
  on(kCommandStatistics, [this] { showStatistics(); });
  on(kCommandBranchMap, [this] { showBranchMap(); });
  on(kCommandFind, [this] { showFind(false); });
  on(kCommandReplace, [this] { showFind(true); });
  on(kCommandFindNext, [this] { findNext(true); });
  on(kCommandFindPrevious, [this] { findNext(false); });
  on(kCommandExportRecordingScript, [&exports] { exports.exportRecordingScript(); });
  LocalisationCommands& localisation = *localisation_;
  on(kCommandAssignKeys, [&localisation] { localisation.assignKeys(); });
  on(kCommandExportStringTable, [&localisation] { localisation.exportStringTable(); });
  on(kCommandAddTranslation, [&localisation] { localisation.chooseTranslationFiles(); });
  on(kCommandStopCheckingTranslations, [&localisation] { localisation.stopCheckingTranslations(); });
  on(kCommandRedo, [this] { redo(); });
  on(kCommandCut, [&edits] { edits.cut(); });
  on(kCommandCopy, [&edits] { edits.copy(); });
  on(kCommandPaste, [&edits] { edits.paste(); });
  on(kCommandDelete, [&edits] { edits.deleteLines(); });
  on(kCommandMoveUp, [&edits] { edits.moveUp(); });
  on(kCommandMoveDown, [&edits] { edits.moveDown(); });
  ShellCommands& shell = *shell_;
  on(kCommandAssociate, [&shell] { shell.associateFiles(); });
  InfoWindows& info = *infoWindows_;
  on(kCommandHelp, [&info, &w] { info.showHelp(&w); });
  on(kCommandAbout, [&info, &w] { info.showAbout(&w); });

  const std::pair<int, std::string_view> inserts[] = {{kGadgetTalkline, kTalkline},
                                                      {kGadgetCodeline, kCodeline},
                                                      {kGadgetRemark, kRemark},
                                                      {kGadgetResponseblock, kResponseblock}};
  for (const auto& [gadget, kind] : inserts)
    connect(w.button(gadget), &QPushButton::clicked, &w, [&edits, kind = kind] { edits.insertLine(kind); });
  connect(w.characterList(), &QListWidget::itemDoubleClicked, &w,
          [&edits, &w](QListWidgetItem* item) { edits.assignCharacter(w.characterList()->row(item)); });
  connect(w.button(kGadgetAddCharacter), &QPushButton::clicked, &w, [this] { AddCharacterWithEditor(*this); });
  connect(w.button(kGadgetEditCharacter), &QPushButton::clicked, &w,
          [this, &w] { EditCharacterWithEditor(*this, w.selectedCharacterRow()); });
  connect(w.button(kGadgetDeleteCharacter), &QPushButton::clicked, &w, [&edits] { edits.deleteCharacter(); });
  connect(w.branchSelector(), &BranchSelector::branchChosen, &w, [&edits](int index) { edits.selectBranch(index); });
  connect(w.branchSelector(), &BranchSelector::renameRequested, &w,
          [&edits](const QString& name) { edits.renameBranch(name); });
  connect(w.button(kGadgetAddBranch), &QPushButton::clicked, &w, [&edits] { edits.addBranch(); });
  connect(w.button(kGadgetChooseProject), &QPushButton::clicked, &w, [&edits] { edits.chooseProject(); });
  connect(w.projectField(), &QLineEdit::editingFinished, &w, [&edits] { edits.commitProjectField(); });
  connect(w.lineList()->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { updateActions(); });
  connect(w.lineList(), &QTreeView::doubleClicked, &w,
          [&edits](const QModelIndex& index) { edits.doubleClickLine(index.row(), index.column()); });
  connect(cellEditor_.get(), &CellEditor::editRequested, &w, [&edits](int row) { edits.doubleClickLine(row, 2); });
}

namespace {

#ifdef NDEBUG
bool checkingScopes = qEnvironmentVariableIntValue("TELLWRIGHT_CHECK_SCOPES") != 0;
#else
bool checkingScopes = true;
#endif

// Stops the program when `change` altered what its undo step does not keep.
void CheckScope(const DialogueDocument& before, const DialogueDocument& after, const DocumentChange& change) {
  std::vector<std::string> outside = ChangesOutsideScope(before, after, ScopeOf(change));
  if (outside.empty()) return;
  std::string what;
  for (const std::string& part : outside) what += (what.empty() ? "" : ", ") + part;
  qFatal("The change \"%s\" altered what its scope does not declare: %s", qUtf8Printable(change.name), what.c_str());
}

}  // namespace

void EditorSession::setCheckingScopes(bool on) { checkingScopes = on; }

bool EditorSession::apply(const DocumentChange& change) {
  if (!commitOpenEdits()) return false;
  RowSelection rowsBefore = window_->selectedLineRows();
  ChangeRecorder recorder(document_, ScopeOf(change));
  std::optional<DialogueDocument> before;
  if (checkingScopes) before = document_;
  EditResult result = change.apply(document_);
  if (before) CheckScope(*before, document_, change);
  if (!result.status) showError(TextToQString(result.status.message));
  if (!result.changed) return false;
  refresh(change.parts, result.selectRows);
  recovery_->scheduleWrite();
  problems_->schedule();
  DocumentDelta delta = recorder.finish(document_);
  const bool content = !delta.empty();
  if (content) {
    history_->record(change.name, std::move(delta), std::move(rowsBefore), window_->selectedLineRows(),
                     !change.setsChangedFlag);
  } else if (change.setsChangedFlag) {
    history_->mark();  // another branch shown: no step, but unsaved
  }
  followDocument(content);
  updateActions();
  return true;
}

void EditorSession::undo() {
  if (!commitOpenEdits()) return;
  history_->undo();
}

void EditorSession::redo() {
  if (!commitOpenEdits()) return;
  history_->redo();
}

void EditorSession::showHistoryStep(const DocumentDelta& delta, bool forward, const RowSelection& rows) {
  if (forward) {
    RedoDelta(document_, delta);
  } else {
    UndoDelta(document_, delta);
  }
  refresh(PartsOf(delta), rows);
  recovery_->scheduleWrite();
  problems_->schedule();
  followDocument(true);
  updateActions();
}

void EditorSession::replaceDocument(DialogueDocument document, bool restoredWork) {
  // The flag is the session's until the history says otherwise.
  int changed = document_.changed;
  document_ = std::move(document);
  document_.changed = changed;
  history_->reset(!restoredWork);
  showDocument();
  showTitle();
  spellingCommands_->projectOpened();
  problemsChanged();
  followDocument(true);
}

void EditorSession::documentSaved(const std::string& path) {
  bool renamed = document_.currentFile != path;
  document_.currentFile = path;
  history_->markSaved();
  showTitle();
  if (renamed) problemsChanged();
  spellingCommands_->projectSaved();
}

std::string EditorSession::keyPrefix() { return localisation_->keyPrefix(); }

void EditorSession::problemsChanged() {
  problems_->setTranslationFiles(localisation_->translationPaths());
  problems_->schedule();
}

void EditorSession::markUnsaved() { history_->mark(); }

void EditorSession::play() {
  if (!commitOpenEdits()) return;
  RowSelection rows = window_->selectedLineRows();
  PlayWindow& window = ToolWindow(playWindow_, window_.get(), ToolWindowSide::Right, [this] {
    return std::make_unique<PlayWindow>(document_, dialogs_, [this](const PlayPlace& place) { goToLine(place); });
  });
  window.setTranslations(localisation_->translationPaths());
  window.play(document_.currentBranch, rows.empty() ? 0 : rows.front());
  RaiseWindow(playWindow_.get());
}

void EditorSession::goToLine(const PlayPlace& place) { goToPlace(place.branch, place.line); }

void EditorSession::goToPlace(int branch, int line) {
  if (branch < 0 || branch >= document_.branchCount()) return;
  if (branch != document_.currentBranch) edits_->selectBranch(branch);
  if (document_.currentBranch != branch) return;  // an open edit was refused
  window_->RefreshLineList(branch, line >= 0 ? std::vector<int>{line} : std::vector<int>{});
  QTreeView* list = window_->lineList();
  if (line >= 0) list->scrollTo(list->model()->index(line, 0));
  list->setFocus();
  window_->raise();
  window_->activateWindow();
  updateActions();
}

// The windows show the last survey at once and the next one when it comes
// (the document may have changed in a way that did not ask for one).
void EditorSession::showProblems() {
  problems_->update();
  ToolWindow(problemsWindow_, window_.get(), ToolWindowSide::Below, [this] {
    return std::make_unique<ProblemsWindow>([this](const ProblemPlace& place) { goToProblem(place); });
  }).showSurvey(problems_->sharedSurvey(), problems_->sharedNotes());
  RaiseWindow(problemsWindow_.get());
}

void EditorSession::showFind(bool replace) {
  if (!commitOpenEdits()) return;
  ToolWindow(findWindow_, window_.get(), ToolWindowSide::Right, [this] {
    return std::make_unique<FindWindow>(*this);
  }).open(replace);
}

void EditorSession::findNext(bool forward) {
  if (!commitOpenEdits()) return;
  if (!findWindow_ || findWindow_->findField()->text().isEmpty()) {
    showFind(false);
    return;
  }
  findWindow_->findNext(forward);
}

void EditorSession::showStatistics() {
  problems_->update();
  ToolWindow(statisticsWindow_, window_.get(), ToolWindowSide::Right, [] {
    return std::make_unique<StatisticsWindow>();
  }).showStats(problems_->survey().stats);
  RaiseWindow(statisticsWindow_.get());
}

void EditorSession::showBranchMap() {
  ToolWindow(branchMapWindow_, window_.get(), ToolWindowSide::Right, [this] {
    return std::make_unique<BranchMapWindow>(*this, *problems_);
  });
  RaiseWindow(branchMapWindow_.get());
}

void EditorSession::showBranch(int branch) {
  if (!commitOpenEdits()) return;
  goToPlace(branch, -1);
}

void EditorSession::followDocument(bool content) {
  if (branchMapWindow_) branchMapWindow_->followDocument(content);
  if (content && findWindow_ && findWindow_->isVisible()) findWindow_->followDocument();
}

void EditorSession::goToProblem(const ProblemPlace& place) {
  if (!commitOpenEdits()) return;
  if (place.character >= 0) window_->characterList()->setCurrentRow(place.character + 1);  // row 0 is "None"
  if (place.branch >= 0) goToPlace(place.branch, place.line);
  if (place.blockSlot >= 0 && place.response >= 0) OpenResponseBlockEditor(*this, place.blockSlot, place.response);
}

void EditorSession::refresh(unsigned parts, const std::vector<int>& selectRows) {
  const DialogueDocument& document = document_;
  if (parts & kPartBranchNames) {
    window_->fillBranchSelector(document.currentBranch);
  } else if (parts & kPartShownBranch) {
    window_->branchSelector()->choose(document.currentBranch);
  }
  if (parts & (kPartLines | kPartShownBranch)) window_->RefreshLineList(document.currentBranch, selectRows);
  if (parts & kPartCharacters) window_->fillCharacterList();
  if (parts & kPartProjectPath) window_->showProjectPath();
}

bool EditorSession::commitOpenEdits() {
  // Storing what was typed is itself a change on this road; it must not
  // come back here.
  if (committing_) return true;
  QScopedValueRollback<bool> committing(committing_, true);
  if (!cellEditor_->commit()) return false;
  edits_->commitProjectField();
  return true;
}

void EditorSession::SetChanged(int flag) {
  if (flag == document_.changed) return;
  document_.changed = flag;
  showTitle();
  if (flag) {
    recovery_->scheduleWrite();
  } else {
    recovery_->discard();
  }
}

void EditorSession::showTitle() {
  window_->setWindowTitle(WindowTitle(document_.currentFile, document_.changed != 0));
}

void EditorSession::showDocument() {
  window_->fillBranchSelector(document_.currentBranch);
  window_->fillCharacterList();
  window_->RefreshLineList(document_.currentBranch);
  window_->showProjectPath();
  updateActions();
}

QWidget* EditorSession::mainWindow() { return window_.get(); }

void EditorSession::showError(const QString& message) { dialogs_.showMessage(QStringLiteral("Error"), message); }

void EditorSession::writeSettings() {
  WriteSettings(registry_, Settings{document_.engineProjectPath, state_.recentFiles});
}

void EditorSession::updateActions() {
  bool selected = !window_->selectedLineRows().empty();
  for (int id : {kCommandCut, kCommandCopy, kCommandDelete, kCommandMoveUp, kCommandMoveDown})
    window_->action(id)->setEnabled(selected);
  window_->action(kCommandPaste)->setEnabled(!state_.clipboard.empty());
  updateHistoryActions();
}

void EditorSession::updateHistoryActions() {
  const QUndoStack& stack = history_->stack();
  const std::pair<int, QString> actions[] = {{kCommandUndo, stack.undoText()}, {kCommandRedo, stack.redoText()}};
  for (const auto& [id, step] : actions) {
    QString verb = id == kCommandUndo ? QStringLiteral("Undo") : QStringLiteral("Redo");
    window_->action(id)->setText(step.isEmpty() ? verb : verb + QLatin1Char(' ') + step);
    window_->action(id)->setEnabled(!step.isEmpty());
  }
}

bool EditorSession::allowClose() {
  if (state_.quit) return true;
  return files_->quitting();
}

}  // namespace tellwright
