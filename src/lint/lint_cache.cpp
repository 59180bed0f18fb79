#include "lint/lint_cache.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>
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

// The keys a block slot put in the index: none while no line runs it.
struct SlotKeys {
  const ResponseBlock* block = nullptr;  // the same object while the cache keeps its document
  LineRef user;                          // the first line that runs it
  std::vector<std::pair<std::string, int>> keys;

  ProblemPlace place(int slot, int response) const {
    return {.branch = user.branch, .line = user.line, .response = response, .blockSlot = slot};
  }
};

// Keys whose first text may have changed, with where it was before.
class KeyChanges {
 public:
  explicit KeyChanges(KeyIndex& keys) : keys_(keys) {}

  void remove(const std::string& key, const ProblemPlace& place) {
    touch(key);
    whole_ = keys_.remove(key, place) && whole_;
  }
  void add(const std::string& key, const ProblemPlace& place) {
    touch(key);
    keys_.add(key, place);
  }
  // False when the index could not follow a removal and must be built afresh.
  bool whole() const { return whole_; }
  // The keys whose first text is no longer where it was.
  std::unordered_set<std::string> changed() const {
    std::unordered_set<std::string> keys;
    for (const auto& [key, before] : before_) {
      const ProblemPlace* now = keys_.first(key);
      if (now ? !before || !(*before == *now) : before.has_value()) keys.insert(key);
    }
    return keys;
  }

 private:
  void touch(const std::string& key) {
    if (before_.contains(key)) return;
    const ProblemPlace* first = keys_.first(key);
    before_.emplace(key, first ? std::optional<ProblemPlace>(*first) : std::nullopt);
  }

  KeyIndex& keys_;
  bool whole_ = true;
  std::unordered_map<std::string, std::optional<ProblemPlace>> before_;
};

// The keys of the blocks whose keys or first user changed, moved in the index.
void UpdateBlockKeys(const LintRun& run, std::vector<SlotKeys>& records, KeyChanges& changes) {
  const auto& blocks = run.document().responseBlocks;
  const int slots = std::min(blocks.stored(), kBlockSlots);
  if (static_cast<int>(records.size()) < slots) records.resize(slots);
  for (int slot = 0; slot < static_cast<int>(records.size()); ++slot) {
    SlotKeys& record = records[slot];
    const ResponseBlock* block = slot < slots ? &blocks[slot] : nullptr;
    const LineRef user = block && !run.usersOf(slot).empty() ? run.usersOf(slot).front() : LineRef{};
    if (record.block == block && record.user.branch == user.branch && record.user.line == user.line) continue;
    for (const auto& [key, response] : record.keys) changes.remove(key, record.place(slot, response));
    record = {block, user, {}};
    if (block && user.branch >= 0) record.keys = BlockKeys(*block);
    for (const auto& [key, response] : record.keys) changes.add(key, record.place(slot, response));
  }
  records.resize(slots);
}

// Every key of the document afresh: the branches' talklines, and the
// blocks' responses at their first user.
void IndexKeys(const LintRun& run, const std::vector<const BranchSummary*>& summaries, KeyIndex& keys,
               std::vector<SlotKeys>& records) {
  keys.clear();
  for (int b = 0; b < static_cast<int>(summaries.size()); ++b)
    for (const BranchSummary::KeyedText& keyed : summaries[b]->talkKeys)
      keys.add(keyed.foldedKey, {.branch = b, .line = keyed.line});
  const auto& blocks = run.document().responseBlocks;
  const int slots = std::min(blocks.stored(), kBlockSlots);
  records.assign(slots, {});
  for (int slot = 0; slot < slots; ++slot) {
    SlotKeys& record = records[slot];
    record.block = &blocks[slot];
    if (run.usersOf(slot).empty()) continue;
    record.user = run.usersOf(slot).front();
    record.keys = BlockKeys(blocks[slot]);
    for (const auto& [key, response] : record.keys) keys.add(key, record.place(slot, response));
  }
}

}  // namespace

struct LintCache::State {
  LintOptions options;
  std::shared_ptr<const DialogueDocument> previous;  // keeps what the branches' reads name alive
  std::vector<BranchLint> branches;                   // per branch index
  std::unique_ptr<SoundFiles> sounds;
  std::string soundsFor;  // the engine project path they were listed for
  std::chrono::steady_clock::duration recheckEvery = std::chrono::seconds(5);
  std::chrono::steady_clock::time_point listed;  // when the folders were last listed
  int linted = 0;
  KeyIndex keys;
  std::vector<SlotKeys> slotKeys;  // per block slot
  // The last run's problems outside the branches, and every run of them.
  std::vector<Problem> lead, characters, unusedBlocks;
  std::vector<std::span<const Problem>> runs;
};

LintCache::LintCache(LintOptions options) : state_(std::make_unique<State>()) {
  state_->options = std::move(options);
}

LintCache::~LintCache() = default;

void LintCache::clear() {
  auto fresh = std::make_unique<State>();
  fresh->options = std::move(state_->options);
  fresh->recheckEvery = state_->recheckEvery;
  state_ = std::move(fresh);
}

void LintCache::recheckFoldersEvery(std::chrono::steady_clock::duration interval) { state_->recheckEvery = interval; }

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
  // Gathered into one list sized once: a hundred thousand problems moved
  // again at every growth would cost as much as several rules.
  size_t total = state.lead.size() + state.characters.size() + state.unusedBlocks.size();
  for (const BranchLint& branch : state.branches) total += branch.problems.size();
  std::vector<Problem> problems;
  problems.reserve(total);
  auto take = [&](std::vector<Problem>& run) {
    problems.insert(problems.end(), std::make_move_iterator(run.begin()), std::make_move_iterator(run.end()));
    std::vector<Problem>().swap(run);
  };
  take(state.lead);
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
  const auto now = std::chrono::steady_clock::now();
  if (!state.sounds || state.soundsFor != document.engineProjectPath ||
      (now - state.listed >= state.recheckEvery && !state.sounds->foldersUnchanged())) {
    state.sounds = std::make_unique<SoundFiles>(document, state.options);
    state.soundsFor = document.engineProjectPath;
    keep = false;  // the problems kept looked at other folders
  }
  if (now - state.listed >= state.recheckEvery) state.listed = now;
  SoundFiles* sounds = state.sounds->active() ? state.sounds.get() : nullptr;

  const int branches = BranchesToVisit(document);
  KeyChanges keyChanges(state.keys);
  if (keep)
    for (int b = branches; b < static_cast<int>(state.branches.size()); ++b)
      for (const BranchSummary::KeyedText& keyed : state.branches[b].summary.talkKeys)
        keyChanges.remove(keyed.foldedKey, {.branch = b, .line = keyed.line});
  state.branches.resize(branches);
  std::vector<bool> same(branches);
  std::vector<const BranchSummary*> summaries(branches);
  for (int b = 0; b < branches; ++b) {
    BranchLint& entry = state.branches[b];
    same[b] = keep && entry.done && document.branches.sharesSlot(state.previous->branches, b);
    if (!same[b]) {
      if (keep && entry.done)
        for (const BranchSummary::KeyedText& keyed : entry.summary.talkKeys)
          keyChanges.remove(keyed.foldedKey, {.branch = b, .line = keyed.line});
      entry.summary = SummarizeBranch(document.branch(b));
      if (keep)
        for (const BranchSummary::KeyedText& keyed : entry.summary.talkKeys)
          keyChanges.add(keyed.foldedKey, {.branch = b, .line = keyed.line});
    }
    summaries[b] = &entry.summary;
  }

  LintRun run(document, state.options, summaries, state.keys);
  if (keep) UpdateBlockKeys(run, state.slotKeys, keyChanges);
  const bool rebuild = !keep || !keyChanges.whole();
  if (rebuild) IndexKeys(run, summaries, state.keys, state.slotKeys);
  const std::unordered_set<std::string> changedKeys = rebuild ? std::unordered_set<std::string>{} : keyChanges.changed();
  std::optional<Utf8Sighting> utf8 = FirstUtf8InCharacters(document);
  LintCharacters(run);
  state.characters = run.takeProblems();
  for (int b = 0; b < branches; ++b) {
    BranchLint& entry = state.branches[b];
    if (!same[b] || !entry.reads.holdIn(run, rebuild ? nullptr : &changedKeys)) {
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
