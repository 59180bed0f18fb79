#include "tools/project_diff.h"

#include <deque>
#include <map>
#include <set>
#include <unordered_map>

#include "tools/branch_pairing.h"
#include "tools/project_records.h"
#include "tools/record_alignment.h"
#include "tools/record_identity.h"

namespace tellwright {

namespace {

// One change of a sequence: a is the position in the old sequence, b in the
// new one, -1 on the side without the record.
struct Step {
  ChangeKind kind;
  int a = -1;
  int b = -1;
};

// The changes that turn sequence a into b, each gap's removed records before
// its added ones. A record removed in one place and added unchanged in
// another has moved.
std::vector<Step> CompareSequences(const std::vector<int>& a, const std::vector<int>& b,
                                   const std::function<int(int, int)>& similarity) {
  const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
  Alignment alignment = AlignRecords(a, b, similarity);
  std::vector<int> partnerA = PartnersOfA(alignment, n), partnerB = PartnersOfB(alignment, m);
  std::unordered_map<int, std::deque<int>> unpairedA;  // id -> removed positions, in order
  for (int i = 0; i < n; ++i)
    if (partnerA[i] < 0) unpairedA[a[i]].push_back(i);
  std::vector<int> movedFrom(m, -1), movedTo(n, -1);
  for (int j = 0; j < m; ++j) {
    if (partnerB[j] >= 0) continue;
    auto found = unpairedA.find(b[j]);
    if (found == unpairedA.end() || found->second.empty()) continue;
    movedFrom[j] = found->second.front();
    movedTo[movedFrom[j]] = j;
    found->second.pop_front();
  }
  std::vector<Step> steps;
  RecordPair previous{-1, -1};
  alignment.push_back({n, m});  // the end closes the last gap
  for (const RecordPair& match : alignment) {
    for (int i = previous.a + 1; i < match.a; ++i)
      if (movedTo[i] < 0) steps.push_back({ChangeKind::Removed, i, -1});
    for (int j = previous.b + 1; j < match.b; ++j)
      steps.push_back(movedFrom[j] >= 0 ? Step{ChangeKind::Moved, movedFrom[j], j} : Step{ChangeKind::Added, -1, j});
    if (match.a < n && a[match.a] != b[match.b]) steps.push_back({ChangeKind::Changed, match.a, match.b});
    previous = match;
  }
  return steps;
}

const std::vector<Response> kNoResponses;

std::vector<ResponseChange> CompareResponses(const std::vector<Response>* before, const std::vector<Response>* after,
                                             RecordIds& ids) {
  const std::vector<Response>& a = before ? *before : kNoResponses;
  const std::vector<Response>& b = after ? *after : kNoResponses;
  std::vector<int> idsA, idsB;
  for (const Response& response : a) idsA.push_back(ids.of(response));
  for (const Response& response : b) idsB.push_back(ids.of(response));
  std::vector<ResponseChange> changes;
  for (const Step& step : CompareSequences(idsA, idsB, [&](int i, int j) { return ResponseSimilarity(a[i], b[j]); })) {
    ResponseChange change{step.kind, step.a, step.b, {}, {}, {}};
    if (step.a >= 0) change.before = a[step.a];
    if (step.b >= 0) change.after = b[step.b];
    if (step.kind == ChangeKind::Changed) change.fields = ChangedFields(change.before, change.after);
    changes.push_back(std::move(change));
  }
  return changes;
}

class ProjectComparison {
 public:
  ProjectComparison(const ProjectRecords& before, const ProjectRecords& after)
      : before_(before), after_(after), blocksBefore_(before), blocksAfter_(after) {}

  ProjectDiff compare() {
    ProjectDiff diff;
    diff.oldPath = before_.engineProjectPath;
    diff.newPath = after_.engineProjectPath;
    diff.pathChanged = diff.oldPath != diff.newPath;
    compareCast(diff.characters);
    compareBranches(diff.branches);
    compareUnrunBlocks(diff.blocks);
    return diff;
  }

 private:
  LineView viewBefore(const DialogueLine& line) const {
    return {&line, RunsBlock(line) ? blocksBefore_.responsesOf(line.blockId) : nullptr};
  }
  LineView viewAfter(const DialogueLine& line) const {
    return {&line, RunsBlock(line) ? blocksAfter_.responsesOf(line.blockId) : nullptr};
  }

  // The n-th character of a real name is the same as the n-th of that name.
  std::vector<int> castKeys(const std::vector<Character>& characters) {
    std::map<std::string, int> seen;
    std::vector<int> keys;
    for (const Character& character : characters)
      keys.push_back(ids_.ofKey("C" + character.realName + "\n" + std::to_string(seen[std::string(character.realName)]++)));
    return keys;
  }

  void compareCast(std::vector<CharacterChange>& changes) {
    const std::vector<Character>& a = before_.characters;
    const std::vector<Character>& b = after_.characters;
    std::vector<int> keysA = castKeys(a), keysB = castKeys(b);
    std::unordered_map<int, int> positionA;
    for (int i = 0; i < static_cast<int>(keysA.size()); ++i) positionA[keysA[i]] = i;
    std::set<int> keptA, inOrder;
    for (const RecordPair& match : AlignKeys(keysA, keysB)) inOrder.insert(match.b);
    for (int j = 0; j < static_cast<int>(keysB.size()); ++j) {
      auto found = positionA.find(keysB[j]);
      if (found == positionA.end()) {
        changes.push_back({ChangeKind::Added, -1, j, {}, b[j]});
        continue;
      }
      int i = found->second;
      keptA.insert(i);
      if (a[i].entityName != b[j].entityName) changes.push_back({ChangeKind::Changed, i, j, a[i], b[j]});
      if (!inOrder.count(j)) changes.push_back({ChangeKind::Moved, i, j, a[i], b[j]});
    }
    for (int i = 0; i < static_cast<int>(a.size()); ++i)
      if (!keptA.count(i)) changes.push_back({ChangeKind::Removed, i, -1, a[i], {}});
  }

  LineChange lineChange(const Step& step, const std::vector<DialogueLine>& a, const std::vector<DialogueLine>& b) {
    LineChange change{step.kind, step.a, step.b, {}, {}, {}, {}};
    const std::vector<Response>* responsesBefore = nullptr;
    const std::vector<Response>* responsesAfter = nullptr;
    if (step.a >= 0) {
      change.before = a[step.a];
      responsesBefore = viewBefore(change.before).responses;
    }
    if (step.b >= 0) {
      change.after = b[step.b];
      responsesAfter = viewAfter(change.after).responses;
    }
    if (step.kind == ChangeKind::Moved) return change;
    change.responses = CompareResponses(responsesBefore, responsesAfter, ids_);
    if (step.kind == ChangeKind::Changed) {
      change.fields = ChangedFields(change.before, change.after);
      if (!change.responses.empty()) change.fields.push_back("responses");
    }
    return change;
  }

  std::vector<LineChange> compareLines(const BranchRecord* before, const BranchRecord* after) {
    static const std::vector<DialogueLine> kNoLines;
    const std::vector<DialogueLine>& a = before ? before->lines : kNoLines;
    const std::vector<DialogueLine>& b = after ? after->lines : kNoLines;
    std::vector<int> idsA, idsB;
    for (const DialogueLine& line : a) idsA.push_back(ids_.of(viewBefore(line)));
    for (const DialogueLine& line : b) idsB.push_back(ids_.of(viewAfter(line)));
    auto similarity = [&](int i, int j) { return LineSimilarity(viewBefore(a[i]), viewAfter(b[j])); };
    std::vector<LineChange> changes;
    for (const Step& step : CompareSequences(idsA, idsB, similarity)) changes.push_back(lineChange(step, a, b));
    return changes;
  }

  BranchChange branchChange(int i, int j) {
    BranchChange change;
    change.oldIndex = i;
    change.newIndex = j;
    const BranchRecord* a = i >= 0 ? &before_.branches[i] : nullptr;
    const BranchRecord* b = j >= 0 ? &after_.branches[j] : nullptr;
    if (a) change.oldName = a->name, change.oldLineCount = a->lineCount;
    if (b) change.newName = b->name, change.newLineCount = b->lineCount;
    change.renamed = a && b && a->name != b->name;
    change.lineCountChanged = a && b && a->lineCountOffset() != b->lineCountOffset();
    change.lines = compareLines(a, b);
    return change;
  }

  void compareBranches(std::vector<BranchChange>& changes) {
    BranchPairing pairing = PairBranches(before_, after_);
    std::vector<int> orderA, orderB;  // the paired branches by their index in `before`
    for (int i = 0; i < static_cast<int>(before_.branches.size()); ++i)
      if (pairing.afterOf[i] >= 0) orderA.push_back(i);
    for (int j = 0; j < static_cast<int>(after_.branches.size()); ++j)
      if (pairing.beforeOf[j] >= 0) orderB.push_back(pairing.beforeOf[j]);
    std::set<int> inOrder;
    for (const RecordPair& match : AlignKeys(orderA, orderB)) inOrder.insert(orderA[match.a]);
    for (int j = 0; j < static_cast<int>(after_.branches.size()); ++j) {
      int i = pairing.beforeOf[j];
      BranchChange change = branchChange(i, j);
      change.moved = i >= 0 && !inOrder.count(i);
      if (i < 0 || change.renamed || change.moved || change.lineCountChanged || !change.lines.empty())
        changes.push_back(std::move(change));
    }
    for (int i = 0; i < static_cast<int>(before_.branches.size()); ++i)
      if (pairing.afterOf[i] < 0) changes.push_back(branchChange(i, -1));
  }

  static std::set<int32_t> IdsRun(const ProjectRecords& records) {
    std::set<int32_t> ids;
    for (const BranchRecord& branch : records.branches)
      for (const DialogueLine& line : branch.lines)
        if (RunsBlock(line)) ids.insert(line.blockId);
    return ids;
  }

  // Blocks by id, the n-th of an id with the n-th; only the first of an id
  // can be run by a line.
  static std::map<std::pair<int32_t, int>, const BlockRecord*> BlocksByKey(const ProjectRecords& records) {
    std::map<std::pair<int32_t, int>, const BlockRecord*> blocks;
    std::map<int32_t, int> seen;
    for (const BlockRecord& block : records.blocks) blocks[{block.id, seen[block.id]++}] = &block;
    return blocks;
  }

  void compareUnrunBlocks(std::vector<BlockChange>& changes) {
    std::set<int32_t> runBefore = IdsRun(before_), runAfter = IdsRun(after_);
    auto blocksA = BlocksByKey(before_), blocksB = BlocksByKey(after_);
    std::set<std::pair<int32_t, int>> keys;
    for (const auto& [key, block] : blocksA) keys.insert(key);
    for (const auto& [key, block] : blocksB) keys.insert(key);
    for (const auto& key : keys) {
      const BlockRecord* a = blocksA.count(key) ? blocksA[key] : nullptr;
      const BlockRecord* b = blocksB.count(key) ? blocksB[key] : nullptr;
      bool runA = a && key.second == 0 && runBefore.count(key.first);
      bool runB = b && key.second == 0 && runAfter.count(key.first);
      if ((a && b && (*a == *b || (runA && runB))) || (a && !b && runA) || (b && !a && runB)) continue;
      ChangeKind kind = !a ? ChangeKind::Added : !b ? ChangeKind::Removed : ChangeKind::Changed;
      changes.push_back({kind, key.first, CompareResponses(a ? &a->responses : nullptr, b ? &b->responses : nullptr, ids_)});
    }
  }

  const ProjectRecords& before_;
  const ProjectRecords& after_;
  BlockLookup blocksBefore_, blocksAfter_;
  RecordIds ids_;
};

}  // namespace

std::string_view ChangeKindName(ChangeKind kind) {
  switch (kind) {
    case ChangeKind::Added:
      return "added";
    case ChangeKind::Removed:
      return "removed";
    case ChangeKind::Moved:
      return "moved";
    default:
      return "changed";
  }
}

ProjectDiff DiffProjects(const DialogueDocument* before, const DialogueDocument* after) {
  ProjectRecords recordsBefore = before ? RecordsOf(*before) : ProjectRecords{};
  ProjectRecords recordsAfter = after ? RecordsOf(*after) : ProjectRecords{};
  ProjectDiff diff = ProjectComparison(recordsBefore, recordsAfter).compare();
  diff.added = !before && after;
  diff.removed = before && !after;
  return diff;
}

}  // namespace tellwright
