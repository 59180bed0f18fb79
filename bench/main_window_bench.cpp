// The editor's window at full size: each line command on a branch of 1000
// lines with its list refresh painted, switching to such a branch, and
// opening the largest project; the branch map of the example appearing and
// following an edit. Each against the same work of the core alone (no
// window), so the figures read as what the window adds.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTreeView>
#include <QUndoStack>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "document/project_file.h"
#include "editing/branch_commands.h"
#include "editing/line_commands.h"
#include "editors/branch_map_window.h"
#include "editors/cell_editor.h"
#include "history/document_delta.h"
#include "mainwindow/branch_selector.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/edit_history.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/file_commands.h"
#include "mainwindow/main_window.h"
#include "max_project.h"
#include "platform/registry_store.h"
#include "ui/document_text.h"
#include "ui/problems_monitor.h"
#include "ui/user_dialogs.h"

namespace {

using namespace tellwright;

class NoDialogs : public UserDialogs {
 public:
  Answer askYesNoCancel(const QString&, const QString&) override { return Answer::No; }
  bool askYesNo(const QString&, const QString&) override { return false; }
  Answer askChoice(const QString&, const QString&, const QString&, const QString&) override { return Answer::Cancel; }
  void showMessage(const QString&, const QString& text) override { last = text; }
  void showInformation(const QString&, const QString&) override {}
  std::optional<QString> askText(const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QString> chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QString> chooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
  QString last;
};

DialogueLine Talk(int i) {
  return {std::string(kTalkline), "Character" + std::to_string(i % 40),
          "A line of dialogue of a usual length, number " + std::to_string(i) + ".",
          "voice\\line_" + std::to_string(i) + ".ogg", 0};
}

void FillBranch(DialogueDocument& document, int branch, int lines) {
  DialogueBranch& b = document.editBranch(branch);
  b.name = "Branch" + std::to_string(branch);
  for (int i = 0; i < lines; ++i) b.lines.slot(i) = Talk(i);
  b.lineCount = lines;
}

// A window on a document whose branch 0 holds `lines` lines, shown offscreen.
struct Editor {
  explicit Editor(int lines, int branches = 1) {
    folder =
        (std::filesystem::temp_directory_path() / ("tellwright-window-bench-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(folder);
    store = std::make_unique<RegistryStore>(folder + "/registry");
    setenv("XDG_STATE_HOME", folder.c_str(), 1);  // recovery files stay in the bench's folder
    session = std::make_unique<EditorSession>(state, dialogs, *store);
    session->start({});
    DialogueDocument document;
    for (int b = 0; b < branches; ++b) FillBranch(document, b, lines);
    document.lastBranchIndex = branches - 1;
    session->replaceDocument(std::move(document));
    settle();
  }
  ~Editor() {
    session.reset();
    std::filesystem::remove_all(folder);
  }
  MainWindow& window() { return session->window(); }
  void select(int first, int count) {
    QTreeView* list = window().lineList();
    list->setFocus();
    QItemSelection selection(list->model()->index(first, 0), list->model()->index(first + count - 1, 3));
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  }
  // Lets the list lay itself out and paints the window, as the next frame would.
  void settle() {
    QApplication::processEvents();
    window().repaint();
  }
  int lines() {
    const DialogueDocument& document = session->document();
    return document.branch(document.currentBranch).lineCount;
  }

  std::string folder;
  std::unique_ptr<RegistryStore> store;
  EditorState state;
  NoDialogs dialogs;
  std::unique_ptr<EditorSession> session;
};

void InsertLineInWindow(benchmark::State& state) {
  Editor editor(999);
  for (auto _ : state) {
    editor.select(500, 1);
    editor.window().button(kGadgetTalkline)->click();
    editor.settle();
    state.PauseTiming();
    if (editor.lines() != 1000) state.SkipWithError("not inserted");
    editor.select(500, 1);
    editor.window().action(kCommandDelete)->trigger();
    state.ResumeTiming();
  }
}

// Undo of an insert in the middle of a full-size branch, the list shown
// afresh with the rows selected again.
void UndoInsertInWindow(benchmark::State& state) {
  Editor editor(999);
  for (auto _ : state) {
    state.PauseTiming();
    editor.select(500, 1);
    editor.window().button(kGadgetTalkline)->click();
    editor.settle();
    state.ResumeTiming();
    editor.window().action(kCommandUndo)->trigger();
    editor.settle();
    state.PauseTiming();
    if (editor.lines() != 999) state.SkipWithError("not undone");
    state.ResumeTiming();
  }
}

void InsertLineCoreOnly(benchmark::State& state) {
  DialogueDocument document;
  FillBranch(document, 0, 999);
  for (auto _ : state) {
    InsertLine(document, kTalkline, {500});
    state.PauseTiming();
    DeleteLines(document, {500}, {true, false});
    state.ResumeTiming();
  }
}

void PasteHundredLinesInWindow(benchmark::State& state) {
  Editor editor(900);
  editor.select(0, 100);
  editor.window().action(kCommandCopy)->trigger();
  for (auto _ : state) {
    editor.select(400, 1);
    editor.window().action(kCommandPaste)->trigger();
    editor.settle();
    state.PauseTiming();
    if (editor.lines() != 1000) state.SkipWithError("not pasted");
    editor.select(400, 100);
    editor.window().action(kCommandDelete)->trigger();
    state.ResumeTiming();
  }
}

void PasteHundredLinesCoreOnly(benchmark::State& state) {
  DialogueDocument document;
  FillBranch(document, 0, 900);
  LineClipboard clipboard;
  RowSelection hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back(400 + i);
  CopyLines(document, hundred, {}, clipboard);
  for (auto _ : state) {
    PasteLines(document, {400}, {true, false}, clipboard);
    state.PauseTiming();
    DeleteLines(document, hundred, {true, false});
    state.ResumeTiming();
  }
}

// Every tenth line selected, moved down one place; they walk to the end.
void MoveLinesInWindow(benchmark::State& state) {
  Editor editor(1000);
  QTreeView* list = editor.window().lineList();
  QItemSelection every10th;
  for (int row = 0; row < 1000; row += 10) every10th.select(list->model()->index(row, 0), list->model()->index(row, 3));
  for (auto _ : state) {
    state.PauseTiming();
    list->setFocus();
    list->selectionModel()->select(every10th, QItemSelectionModel::ClearAndSelect);
    state.ResumeTiming();
    editor.window().action(kCommandMoveDown)->trigger();
    editor.settle();
  }
}

void MoveLinesCoreOnly(benchmark::State& state) {
  DialogueDocument document;
  FillBranch(document, 0, 1000);
  RowSelection every10th;
  for (int row = 0; row < 1000; row += 10) every10th.push_back(row);
  for (auto _ : state) MoveLinesDown(document, every10th, {true, false});
}

void DeleteHundredLinesInWindow(benchmark::State& state) {
  Editor editor(1000);
  editor.select(100, 100);
  editor.window().action(kCommandCopy)->trigger();
  for (auto _ : state) {
    editor.select(100, 100);
    editor.window().action(kCommandDelete)->trigger();
    editor.settle();
    state.PauseTiming();
    if (editor.lines() != 900) state.SkipWithError("not deleted");
    editor.select(100, 1);
    editor.window().action(kCommandPaste)->trigger();
    state.ResumeTiming();
  }
}

void DeleteHundredLinesCoreOnly(benchmark::State& state) {
  DialogueDocument document;
  FillBranch(document, 0, 1000);
  LineClipboard clipboard;
  RowSelection hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back(100 + i);
  CopyLines(document, hundred, {}, clipboard);
  for (auto _ : state) {
    DeleteLines(document, hundred, {true, false});
    state.PauseTiming();
    PasteLines(document, {100}, {true, false}, clipboard);
    state.ResumeTiming();
  }
}

// Two branches of range(0) lines each; each iteration picks the other one.
// With empty branches it is what choosing a branch costs by itself.
void SwitchBranchInWindow(benchmark::State& state) {
  Editor editor(static_cast<int>(state.range(0)), 2);
  BranchSelector* selector = editor.window().branchSelector();
  int next = 1;
  for (auto _ : state) {
    selector->setCurrentIndex(next);
    emit selector->activated(next);
    editor.settle();
    next = 1 - next;
  }
}

std::string MaxProjectFile() {
  static const std::string path = [] {
    std::string file = (std::filesystem::temp_directory_path() /
                        ("tellwright-window-bench-max-" + std::to_string(getpid()) + ".tlwdlg"))
                           .string();
    if (!SaveProject(bench::MakeMaxProject(), file)) std::abort();
    return file;
  }();
  return path;
}

// Bytes of heap in use (glibc's count, which sees Qt's allocations too).
double HeapMiB() {
  struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / (1 << 20);
}

// Opening into an empty editor each time; the old project is dropped before
// the clock runs.
void OpenLargestProjectInWindow(benchmark::State& state) {
  std::string file = MaxProjectFile();
  Editor editor(0);
  double added = 0;
  for (auto _ : state) {
    state.PauseTiming();
    editor.session->replaceDocument(DialogueDocument());
    editor.settle();
    double before = HeapMiB();
    state.ResumeTiming();
    if (!editor.session->files().openProject(file, false)) state.SkipWithError("not opened");
    editor.settle();
    state.PauseTiming();
    added = HeapMiB() - before;
    state.ResumeTiming();
  }
  state.counters["heap_MiB_added"] = added;
}

void OpenLargestProjectCoreOnly(benchmark::State& state) {
  std::string file = MaxProjectFile();
  double added = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto document = std::make_unique<DialogueDocument>();
    double before = HeapMiB();
    state.ResumeTiming();
    if (!LoadProject(file, *document)) state.SkipWithError("not loaded");
    state.PauseTiming();
    added = HeapMiB() - before;
    document.reset();
    state.ResumeTiming();
  }
  state.counters["heap_MiB_added"] = added;
}

// The largest project, rich in problems, with 500 responses (one in each
// block) linking to its first branch, the one the editor shows: renaming
// that branch rewrites them. That branch has room for 100 more lines.
DialogueDocument MaxProjectWithLinks() {
  DialogueDocument document = bench::MakeMaxProject(bench::ProblemRichShape());  // 125,500 problems
  document.currentBranch = 0;
  RowSelection hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back(800 + i);
  DeleteLines(document, hundred, {true, false});
  for (int slot = 0; slot < kBlockSlots; ++slot)
    document.responseBlocks.slot(slot).responses.slot(0).linkBranch = document.branch(0).name;
  return document;
}

std::string MaxProjectWithLinksFile() {
  static const std::string path = [] {
    std::string file = (std::filesystem::temp_directory_path() /
                        ("tellwright-window-bench-links-" + std::to_string(getpid()) + ".tlwdlg"))
                           .string();
    if (!SaveProject(MaxProjectWithLinks(), file)) std::abort();
    return file;
  }();
  return path;
}

// Every edit the writer makes on a large project, each on branch 0 of the
// largest one, and each taken back by undo.
enum class Edit { Insert, DeleteHundred, PasteHundred, Move, CellEdit, Rename };
// What is timed: the edit, its undo, or its redo.
enum class Phase { Do, Undo, Redo };

constexpr int kEditRow = 500;

// The first talkline from line 500 of branch 0: a text to edit in place.
int TalklineToEdit(const DialogueDocument& document) {
  int row = kEditRow;
  while (KindOf(document.branch(0).lines[row].kind) != LineKind::Talk) ++row;
  return row;
}
const Text kRenamedBranch = "Harbour_talk";

RowSelection Rows(int first, int count, int step = 1) {
  RowSelection rows;
  for (int i = 0; i < count; ++i) rows.push_back(first + i * step);
  return rows;
}

// The largest project with Dialogue > Problems and Statistics open and
// their first survey shown, line 500 of the current branch selected.
struct EditorWithToolWindows : Editor {
  EditorWithToolWindows() : Editor(0) {
    if (!session->files().openProject(MaxProjectWithLinksFile(), false)) std::abort();
    window().action(kCommandProblems)->trigger();
    window().action(kCommandStatistics)->trigger();
    select(0, 100);
    window().action(kCommandCopy)->trigger();  // what PasteHundred pastes
    waitForSurvey();
  }
  // Runs the events until the problems and counts of the document as it is
  // are shown, noting the longest the window was away from its event loop.
  void waitForSurvey() {
    while (!session->problems().isCurrent()) {
      QElapsedTimer clock;
      clock.start();
      QApplication::processEvents();
      longestEventMs = std::max(longestEventMs, clock.nsecsElapsed() / 1e6);
      usleep(200);
    }
    settle();
  }
  void selectRows(const RowSelection& rows) {
    QTreeView* list = window().lineList();
    list->setFocus();
    QItemSelection selection;
    for (int row : rows) selection.select(list->model()->index(row, 0), list->model()->index(row, 3));
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  }
  // What the writer does before the edit: selects, or types the new text.
  void prepare(Edit edit) {
    switch (edit) {
      case Edit::Insert:
      case Edit::PasteHundred:
        return selectRows(Rows(kEditRow, 1));
      case Edit::DeleteHundred:
        return selectRows(Rows(kEditRow, 100));
      case Edit::Move:
        return selectRows(Rows(0, 90, 10));
      case Edit::CellEdit:
        selectRows(Rows(TalklineToEdit(session->document()), 1));
        session->cellEditor().open(TalklineToEdit(session->document()), 2);
        session->cellEditor().field()->setText(QStringLiteral("A text typed in place of the old one."));
        return;
      case Edit::Rename:
        window().branchSelector()->setEditText(TextToQString(kRenamedBranch));
        return;
    }
  }
  // The edit itself, as the click, key or Return makes it.
  void perform(Edit edit) {
    switch (edit) {
      case Edit::Insert:
        return window().button(kGadgetTalkline)->click();
      case Edit::DeleteHundred:
        return window().action(kCommandDelete)->trigger();
      case Edit::PasteHundred:
        return window().action(kCommandPaste)->trigger();
      case Edit::Move:
        return window().action(kCommandMoveDown)->trigger();
      case Edit::CellEdit:
        session->cellEditor().commit(true);
        return;
      case Edit::Rename:
        emit window().branchSelector()->renameRequested(window().branchSelector()->currentText());
        return;
    }
  }
  // Runs `timed` with the clock on, the window's next frame included, and
  // waits (untimed) for the problems of the result.
  template <typename Step>
  void timed(benchmark::State& state, Step step) {
    state.ResumeTiming();
    step();
    settle();
    state.PauseTiming();
    waitForSurvey();
  }
  void measure(benchmark::State& state, Edit edit, Phase phase) {
    QUndoStack& history = session->history().stack();
    const int steps = history.index();
    longestEventMs = 0;
    auto undo = [this] { window().action(kCommandUndo)->trigger(); };
    auto redo = [this] { window().action(kCommandRedo)->trigger(); };
    for (auto _ : state) {
      state.PauseTiming();
      prepare(edit);
      if (phase == Phase::Do) {
        timed(state, [&] { perform(edit); });
      } else {
        perform(edit);
        waitForSurvey();
      }
      if (history.index() != steps + 1) {
        state.SkipWithError("the edit made no step");
        break;
      }
      if (phase == Phase::Undo) timed(state, undo);
      if (phase == Phase::Redo) {
        undo();
        waitForSurvey();
        timed(state, redo);
      }
      if (phase != Phase::Undo) undo();
      waitForSurvey();
      if (history.index() != steps) {
        state.SkipWithError("not undone");
        break;
      }
      state.ResumeTiming();
    }
    state.counters["problems"] = static_cast<double>(session->problems().problems().size());
    state.counters["longest_event_ms"] = longestEventMs;
  }

  double longestEventMs = 0;
};

// Each edit with both windows open, until the window is back in its event
// loop with the edit painted; longest_event_ms is the longest the window
// then spent away from its event loop until the new problems were shown.
std::unique_ptr<EditorWithToolWindows> sharedEditor;  // opened once for the whole set

void EditWithToolWindowsOpen(benchmark::State& state) {
  if (!sharedEditor) sharedEditor = std::make_unique<EditorWithToolWindows>();
  sharedEditor->measure(state, static_cast<Edit>(state.range(0)), static_cast<Phase>(state.range(1)));
}

// The same edit, undo or redo by the core alone: the change, its undo step
// recorded, and the step taken back or made again.
void EditCoreOnly(benchmark::State& state) {
  static const DialogueDocument project = MaxProjectWithLinks();
  DialogueDocument document = project;
  const auto edit = static_cast<Edit>(state.range(0));
  const auto phase = static_cast<Phase>(state.range(1));
  LineClipboard clipboard;
  CopyLines(document, Rows(0, 100), {true, false}, clipboard);
  const LineListState list{true, false};
  auto change = [&]() -> EditResult {
    switch (edit) {
      case Edit::Insert:
        return InsertLine(document, kTalkline, Rows(kEditRow, 1));
      case Edit::DeleteHundred:
        return DeleteLines(document, Rows(kEditRow, 100), list);
      case Edit::PasteHundred:
        return PasteLines(document, Rows(kEditRow, 1), list, clipboard);
      case Edit::Move:
        return MoveLinesDown(document, Rows(0, 90, 10), list);
      case Edit::CellEdit:
        document.editBranch(0).lines.slot(TalklineToEdit(document)).text = "A text typed in place of the old one.";
        return EditResult::Changed({TalklineToEdit(document)});
      case Edit::Rename:
        return RenameCurrentBranch(document, kRenamedBranch);
    }
    return EditResult::Unchanged();
  };
  const ChangeScope scope{edit == Edit::Rename ? kScopeBranchTable | kScopeBlocks : kScopeCurrentBranch};
  for (auto _ : state) {
    if (phase != Phase::Do) state.PauseTiming();
    ChangeRecorder recorder(document, scope);
    if (!change().changed) {
      state.SkipWithError("unchanged");
      break;
    }
    DocumentDelta delta = recorder.finish(document);
    if (phase != Phase::Do) state.ResumeTiming();
    if (phase != Phase::Do) UndoDelta(document, delta);
    if (phase == Phase::Redo) RedoDelta(document, delta);
    state.PauseTiming();
    if (phase != Phase::Undo) UndoDelta(document, delta);
    state.ResumeTiming();
  }
}

void EditArguments(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgNames({"edit", "phase"});
  for (int edit = 0; edit <= static_cast<int>(Edit::Rename); ++edit)
    for (int phase = 0; phase <= static_cast<int>(Phase::Redo); ++phase) benchmark->Args({edit, phase});
}

// An insert until the problems and counts of the edited document are shown.
void ProblemsFollowInsert(benchmark::State& state) {
  EditorWithToolWindows editor;
  for (auto _ : state) {
    editor.selectRows(Rows(kEditRow, 1));
    editor.window().button(kGadgetTalkline)->click();
    editor.waitForSurvey();
    state.PauseTiming();
    editor.window().action(kCommandUndo)->trigger();
    editor.waitForSurvey();
    state.ResumeTiming();
  }
  state.counters["problems"] = static_cast<double>(editor.session->problems().problems().size());
}

// The empty editor, for the memory figures above.
void EmptyEditorMemory(benchmark::State& state) {
  double before = HeapMiB();
  for (auto _ : state) {
    Editor editor(0);
    state.counters["heap_MiB_added"] = HeapMiB() - before;
  }
}

// Runs the events until `done`; false when it took more than 30 s.
template <typename Done>
bool WaitFor(Done done) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > 30000) return false;
    QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
  }
  return true;
}

// The example in the window, its branch map about to be opened.
struct ExampleEditor : Editor {
  ExampleEditor() : Editor(0) {
    session->replaceDocument(bench::ExampleProject());
    session->problems().update();
    settle();
  }
};

// Dialogue > Branch map on the example: from the command until the laid-out
// map is painted. Each iteration in an editor of its own, so no layout is
// reused.
void BranchMapOfExampleAppears(benchmark::State& state) {
  if (!BranchMapBuilder::layoutAvailable()) return state.SkipWithError("this build has no Graphviz");
  for (auto _ : state) {
    state.PauseTiming();
    auto editor = std::make_unique<ExampleEditor>();
    state.ResumeTiming();
    editor->window().action(kCommandBranchMap)->trigger();
    BranchMapWindow* map = editor->session->branchMapWindow();
    if (!WaitFor([&] { return map->picturesShown() > 0; })) state.SkipWithError("no map");
    map->repaint();
    state.PauseTiming();
    editor.reset();
    state.ResumeTiming();
  }
}

// An undoable change (a talkline inserted in the entry branch, whose line
// count the map shows) until the new map is painted; the undo is not timed.
void BranchMapFollowsAnEdit(benchmark::State& state) {
  if (!BranchMapBuilder::layoutAvailable()) return state.SkipWithError("this build has no Graphviz");
  ExampleEditor editor;
  editor.window().action(kCommandBranchMap)->trigger();
  BranchMapWindow* map = editor.session->branchMapWindow();
  if (!WaitFor([&] { return map->picturesShown() > 0; })) return state.SkipWithError("no map");
  for (auto _ : state) {
    int shown = map->picturesShown();
    editor.select(0, 1);
    editor.window().button(kGadgetTalkline)->click();
    if (!WaitFor([&] { return map->picturesShown() > shown; })) state.SkipWithError("the map did not follow");
    map->repaint();
    state.PauseTiming();
    shown = map->picturesShown();
    editor.window().action(kCommandUndo)->trigger();
    if (!WaitFor([&] { return map->picturesShown() > shown; })) state.SkipWithError("the map did not follow the undo");
    state.ResumeTiming();
  }
}

// The baseline: the same map made by the core and laid out on this thread.
void BranchMapOfExampleCoreOnly(benchmark::State& state) {
  if (!BranchMapBuilder::layoutAvailable()) return state.SkipWithError("this build has no Graphviz");
  const DialogueDocument& document = bench::ExampleProject();
  std::vector<Problem> problems = LintDialogue(document);
  for (auto _ : state) {
    std::string dot = WriteGraphDot(BuildBranchGraph(document, problems));
    benchmark::DoNotOptimize(RenderMap(dot, MapFormat::Svg));
  }
}

BENCHMARK(InsertLineCoreOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(InsertLineInWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoInsertInWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(PasteHundredLinesCoreOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(PasteHundredLinesInWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(MoveLinesCoreOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(MoveLinesInWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteHundredLinesCoreOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteHundredLinesInWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(SwitchBranchInWindow)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1000);
BENCHMARK(EditCoreOnly)->Unit(benchmark::kMillisecond)->Apply(EditArguments);
BENCHMARK(EditWithToolWindowsOpen)->Unit(benchmark::kMillisecond)->Apply(EditArguments)->Iterations(10);
BENCHMARK(ProblemsFollowInsert)->Unit(benchmark::kMillisecond);
BENCHMARK(EmptyEditorMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(OpenLargestProjectCoreOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(OpenLargestProjectInWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BranchMapOfExampleCoreOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BranchMapOfExampleAppears)->Unit(benchmark::kMillisecond);
BENCHMARK(BranchMapFollowsAnEdit)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  sharedEditor.reset();
  std::filesystem::remove(MaxProjectFile());
  std::filesystem::remove(MaxProjectWithLinksFile());
  return 0;
}
