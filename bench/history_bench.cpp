// Undo on the largest project: each change with its step recorded, against
// the same change alone (the baseline), and the step's undo and redo. Then
// what a thousand recorded edits keep, against the size of what they edited.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <functional>
#include <string>
#include <vector>

#include "document/project_file.h"
#include "editing/branch_commands.h"
#include "editing/line_commands.h"
#include "editing/line_slots.h"
#include "history/document_delta.h"
#include "history/recovery_file.h"
#include "max_project.h"

namespace {

using namespace tellwright;

using bench::MaxProject;

struct Change {
  ChangeScope scope;
  std::function<void(DialogueDocument&, int)> apply;  // the int makes each run differ
};

Change EditLine() {
  return {{kScopeCurrentBranch}, [](DialogueDocument& d, int i) {
            d.editBranch(d.currentBranch).lines.slot(500).text = "Edited " + std::to_string(i);
          }};
}
Change InsertAtTop() {
  return {{kScopeCurrentBranch}, [](DialogueDocument& d, int) { InsertLine(d, kTalkline, {0}); }};
}
Change RenameLinkedBranch() {
  return {{kScopeBranchTable | kScopeBlocks},
          [](DialogueDocument& d, int i) { RenameCurrentBranch(d, "Renamed" + std::to_string(i)); }};
}

enum class Measure { ChangeOnly, ChangeRecorded, UndoThenRedo };

// Each run starts from the project with one line of branch 7 removed, so
// that a line can be inserted; a change that adds a line is taken back
// again outside the clock.
void Run(benchmark::State& state, const Change& change, Measure measure) {
  DialogueDocument document = MaxProject();
  document.currentBranch = 7;
  DeleteLines(document, {999}, {true, false});
  int i = 0;
  DocumentDelta delta;
  if (measure == Measure::UndoThenRedo) {
    ChangeRecorder recorder(document, change.scope);
    change.apply(document, 0);
    delta = recorder.finish(document);
  }
  for (auto _ : state) {
    switch (measure) {
      case Measure::ChangeOnly:
        change.apply(document, ++i);
        break;
      case Measure::ChangeRecorded: {
        ChangeRecorder recorder(document, change.scope);
        change.apply(document, ++i);
        delta = recorder.finish(document);
        benchmark::DoNotOptimize(delta);
        break;
      }
      case Measure::UndoThenRedo:
        UndoDelta(document, delta);
        RedoDelta(document, delta);
        break;
    }
    if (measure != Measure::UndoThenRedo && LinesInUse(document.branch(7)) == 1000) {
      state.PauseTiming();
      DeleteLines(document, {0}, {true, false});
      state.ResumeTiming();
    }
  }
  state.counters["step_bytes"] = static_cast<double>(delta.bytes());
}

void EditLineBaseline(benchmark::State& state) { Run(state, EditLine(), Measure::ChangeOnly); }
void EditLineRecorded(benchmark::State& state) { Run(state, EditLine(), Measure::ChangeRecorded); }
void EditLineUndoRedo(benchmark::State& state) { Run(state, EditLine(), Measure::UndoThenRedo); }
void InsertAtTopBaseline(benchmark::State& state) { Run(state, InsertAtTop(), Measure::ChangeOnly); }
void InsertAtTopRecorded(benchmark::State& state) { Run(state, InsertAtTop(), Measure::ChangeRecorded); }
void InsertAtTopUndoRedo(benchmark::State& state) { Run(state, InsertAtTop(), Measure::UndoThenRedo); }
void RenameLinkedBranchBaseline(benchmark::State& state) { Run(state, RenameLinkedBranch(), Measure::ChangeOnly); }
void RenameLinkedBranchRecorded(benchmark::State& state) { Run(state, RenameLinkedBranch(), Measure::ChangeRecorded); }
void RenameLinkedBranchUndoRedo(benchmark::State& state) { Run(state, RenameLinkedBranch(), Measure::UndoThenRedo); }

size_t HeapBytes() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// A thousand single-line edits spread over the branches, each step kept as
// the history keeps it. The heap they add, per edit, against a line and a
// branch of the project.
void ThousandEditsMemory(benchmark::State& state) {
  DialogueDocument document = MaxProject();
  size_t added = 0;
  size_t counted = 0;
  for (auto _ : state) {
    std::vector<DocumentDelta> history;
    history.reserve(1000);
    size_t before = HeapBytes();
    for (int i = 0; i < 1000; ++i) {
      document.currentBranch = i % 500;
      ChangeRecorder recorder(document, {kScopeCurrentBranch});
      document.editBranch(document.currentBranch).lines.slot(i % 999).text = "Edit number " + std::to_string(i);
      history.push_back(recorder.finish(document));
    }
    added = HeapBytes() - before;
    counted = 0;
    for (const DocumentDelta& delta : history) counted += delta.bytes();
  }
  size_t branchBytes = 0;
  const DialogueBranch& branch = MaxProject().branch(0);
  for (int i = 0; i < branch.lines.stored(); ++i)
    branchBytes += sizeof(DialogueLine) + branch.lines[i].text.size() + branch.lines[i].character.size();
  state.counters["heap_bytes_per_edit"] = static_cast<double>(added) / 1000;
  state.counters["step_bytes_per_edit"] = static_cast<double>(counted) / 1000;
  state.counters["one_branch_bytes"] = static_cast<double>(branchBytes);
}

// The editor makes the project's text on its own thread (what the user could
// notice, at most once each time changes stop); the recovery file around it
// is made in the background. Against saving the project's text.
void ProjectText(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(WriteProject(MaxProject()));
}
void RecoveryTextInBackground(benchmark::State& state) {
  std::string project = WriteProject(MaxProject());
  for (auto _ : state) benchmark::DoNotOptimize(RecoveryBytes("/stories/max.tlwdlg", project, 0));
}

}  // namespace

BENCHMARK(EditLineBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(EditLineRecorded)->Unit(benchmark::kMicrosecond);
BENCHMARK(EditLineUndoRedo)->Unit(benchmark::kMicrosecond);
BENCHMARK(InsertAtTopBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(InsertAtTopRecorded)->Unit(benchmark::kMicrosecond);
BENCHMARK(InsertAtTopUndoRedo)->Unit(benchmark::kMicrosecond);
BENCHMARK(RenameLinkedBranchBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(RenameLinkedBranchRecorded)->Unit(benchmark::kMicrosecond);
BENCHMARK(RenameLinkedBranchUndoRedo)->Unit(benchmark::kMicrosecond);
BENCHMARK(ProjectText)->Unit(benchmark::kMillisecond);
BENCHMARK(RecoveryTextInBackground)->Unit(benchmark::kMillisecond);
BENCHMARK(ThousandEditsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
