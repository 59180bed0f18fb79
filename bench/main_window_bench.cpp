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
#include <filesystem>
#include <memory>
#include <string>

#include "document/project_file.h"
#include "editing/line_commands.h"
#include "editors/branch_map_window.h"
#include "mainwindow/branch_selector.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/file_commands.h"
#include "mainwindow/main_window.h"
#include "max_project.h"
#include "platform/registry_store.h"
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

// The largest project with Dialogue > Problems and Statistics open and
// their first survey shown, line 500 of the current branch selected.
struct EditorWithToolWindows : Editor {
  EditorWithToolWindows() : Editor(0) {
    if (!session->files().openProject(MaxProjectFile(), false)) std::abort();
    window().action(kCommandProblems)->trigger();
    window().action(kCommandStatistics)->trigger();
    waitForSurvey();
  }
  void waitForSurvey() {
    while (!session->problems().isCurrent()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    settle();
  }
  void insertAndDelete(benchmark::State& state, bool waitForProblems) {
    for (auto _ : state) {
      select(500, 1);
      window().button(kGadgetTalkline)->click();
      settle();
      if (waitForProblems) waitForSurvey();
      state.PauseTiming();
      select(500, 1);
      window().action(kCommandDelete)->trigger();
      waitForSurvey();
      state.ResumeTiming();
    }
    state.counters["problems"] = static_cast<double>(session->problems().problems().size());
  }
};

// An insert with both windows open: until the window is back in its event
// loop (against InsertLineInWindow, which has neither window open) ...
void InsertLineWithProblemsOpen(benchmark::State& state) {
  EditorWithToolWindows editor;
  editor.insertAndDelete(state, false);
}

// ... and until the problems and counts of the edited document are shown.
void ProblemsFollowInsert(benchmark::State& state) {
  EditorWithToolWindows editor;
  editor.insertAndDelete(state, true);
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
BENCHMARK(InsertLineWithProblemsOpen)->Unit(benchmark::kMillisecond);
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
  std::filesystem::remove(MaxProjectFile());
  return 0;
}
