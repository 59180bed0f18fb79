#include "lint/lint_cache.h"

#include <optional>
#include <string>
#include <utility>

#include "export/document_index.h"
#include "lint/lint_run.h"

namespace tellwright {

namespace {

using namespace lint;

// What is kept of a branch between runs.
struct BranchLint {
  bool done = false;  // linted in a run that remembered it
  BranchSummary summary;
  std::vector<Problem> problems;
  BranchReads reads;
  std::optional<Utf8Sighting> utf8;  // the branch's first text that looks like UTF-8
};

}  // namespace

struct LintCache::State {
  LintOptions options;
  std::shared_ptr<const DialogueDocument> previous;  // keeps what the branches' reads name alive
  std::vector<BranchLint> branches;                   // per branch index
  std::unique_ptr<SoundFiles> sounds;
  std::string soundsFor;  // the engine project path they were listed for
  int linted = 0;
  // The last run's problems outside the branches, and every run of them.
  std::vector<Problem> lead, characters, unusedBlocks;
  std::vector<std::span<const Problem>> runs;
};

LintCache::LintCache(LintOptions options) : state_(std::make_unique<State>()) {
  state_->options = std::move(options);
}

LintCache::~LintCache() = default;

void LintCache::clear() {
  LintOptions options = std::move(state_->options);
  state_ = std::make_unique<State>();
  state_->options = std::move(options);
}

int LintCache::branchesLinted() const { return state_->linted; }

std::vector<Problem> LintCache::lint(std::shared_ptr<const DialogueDocument> document) {
  std::vector<Problem> problems;
  for (std::span<const Problem> run : lintInRuns(std::move(document))) problems.insert(problems.end(), run.begin(), run.end());
  return problems;
}

std::vector<Problem> LintDialogue(const DialogueDocument& document, const LintOptions& options) {
  LintCache cache(options);
  cache.run(document, false);
  LintCache::State& state = *cache.state_;
  std::vector<Problem> problems = std::move(state.lead);
  auto take = [&](std::vector<Problem>& run) {
    problems.insert(problems.end(), std::make_move_iterator(run.begin()), std::make_move_iterator(run.end()));
  };
  take(state.characters);
  for (BranchLint& branch : state.branches) take(branch.problems);
  take(state.unusedBlocks);
  return problems;
}

const std::vector<std::span<const Problem>>& LintCache::lintInRuns(std::shared_ptr<const DialogueDocument> document) {
  run(*document, true);
  state_->previous = std::move(document);
  return state_->runs;
}

void LintCache::run(const DialogueDocument& document, bool remember) {
  State& state = *state_;
  state.linted = 0;
  bool keep = remember && state.previous;
  if (!state.sounds || state.soundsFor != document.engineProjectPath) {
    state.sounds = std::make_unique<SoundFiles>(document, state.options);
    state.soundsFor = document.engineProjectPath;
    keep = false;  // the problems kept looked in other folders
  }
  SoundFiles* sounds = state.sounds->active() ? state.sounds.get() : nullptr;

  const int branches = BranchesToVisit(document);
  state.branches.resize(branches);
  std::vector<bool> same(branches);
  std::vector<const BranchSummary*> summaries(branches);
  for (int b = 0; b < branches; ++b) {
    BranchLint& entry = state.branches[b];
    same[b] = keep && entry.done && document.branches.sharesSlot(state.previous->branches, b);
    if (!same[b]) entry.summary = SummarizeBranch(document.branch(b));
    summaries[b] = &entry.summary;
  }

  LintRun run(document, state.options, summaries);
  std::optional<Utf8Sighting> utf8 = FirstUtf8InCharacters(document);
  LintCharacters(run);
  state.characters = run.takeProblems();
  for (int b = 0; b < branches; ++b) {
    BranchLint& entry = state.branches[b];
    if (!same[b] || !entry.reads.holdIn(run)) {
      entry.reads.clear();
      run.noteReadsIn(remember ? &entry.reads : nullptr);
      LintBranch(run, sounds, b);
      run.noteReadsIn(nullptr);
      entry.problems = run.takeProblems();
      // A single run looks no further than the first sighting.
      if (remember || !utf8) entry.utf8 = FirstUtf8InBranch(document.branch(b), b);
      entry.done = remember;
      ++state.linted;
    }
    if (!utf8) utf8 = entry.utf8;
  }
  LintUnusedBlocks(run);
  state.unusedBlocks = run.takeProblems();
  if (!utf8) utf8 = FirstUtf8InBlocks(run);
  state.lead.clear();
  if (utf8) ReportUtf8(*utf8, state.lead);

  state.runs = {state.lead, state.characters};
  for (int b = 0; b < branches; ++b) state.runs.push_back(state.branches[b].problems);
  state.runs.push_back(state.unusedBlocks);
}

}  // namespace tellwright
