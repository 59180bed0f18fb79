#include "tools/project_merge.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <unordered_map>

#include "base/decimal.h"
#include "document/conflict_markers.h"
#include "tools/branch_pairing.h"
#include "tools/project_records.h"
#include "tools/record_identity.h"
#include "tools/sequence_merge.h"

namespace tellwright {

namespace {

enum Side { kBase = 0, kOurs = 1, kTheirs = 2 };
constexpr std::array<Side, 3> kSides = {kBase, kOurs, kTheirs};
constexpr ConflictMarkers kMarkers = {kOursMarker, kSeparatorMarker, kTheirsMarker};

std::string Number(int64_t value) {
  std::string text;
  AppendDecimal(text, value);
  return text;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

DialogueLine MarkerLine(std::string_view text) { return {std::string(kRemark), "", std::string(text), "", 0}; }

Response MarkerResponse(std::string_view text) {
  Response response;
  response.text = text;
  return response;
}

std::vector<std::string_view> MergeLineFields(const DialogueLine& b, const DialogueLine& o, const DialogueLine& t,
                                              DialogueLine& merged) {
  std::vector<std::string_view> clashes;
  if (!MergeValue(b.kind, o.kind, t.kind, merged.kind)) clashes.push_back("kind");
  if (!MergeValue(b.character, o.character, t.character, merged.character)) clashes.push_back("character");
  if (!MergeValue(b.text, o.text, t.text, merged.text)) clashes.push_back("text");
  if (!MergeValue(b.soundFile, o.soundFile, t.soundFile, merged.soundFile)) clashes.push_back("soundFile");
  if (!MergeValue(b.blockId, o.blockId, t.blockId, merged.blockId)) clashes.push_back("blockId");
  return clashes;
}

std::vector<std::string_view> MergeResponseFields(const Response& b, const Response& o, const Response& t,
                                                  Response& merged) {
  std::vector<std::string_view> clashes;
  if (!MergeValue(b.text, o.text, t.text, merged.text)) clashes.push_back("text");
  if (!MergeValue(b.conditions, o.conditions, t.conditions, merged.conditions)) clashes.push_back("conditions");
  if (!MergeValue(b.linkBranch, o.linkBranch, t.linkBranch, merged.linkBranch)) clashes.push_back("linkBranch");
  if (!MergeValue(b.visibility, o.visibility, t.visibility, merged.visibility)) clashes.push_back("visibility");
  if (!MergeValue(b.leaveLoop, o.leaveLoop, t.leaveLoop, merged.leaveLoop)) clashes.push_back("leaveLoop");
  if (!MergeValue(b.sayResponse, o.sayResponse, t.sayResponse, merged.sayResponse)) clashes.push_back("sayResponse");
  return clashes;
}

// Both versions of a record that only one side kept (the other deleted
// it): the kept one between the markers, on its side.
template <typename Record>
std::vector<Record> KeptWhole(const std::vector<Record>& records, Side keptBy, Record (*marker)(std::string_view)) {
  std::vector<Record> out{marker(kOursMarker)};
  if (keptBy == kOurs) out.insert(out.end(), records.begin(), records.end());
  out.push_back(marker(kSeparatorMarker));
  if (keptBy == kTheirs) out.insert(out.end(), records.begin(), records.end());
  out.push_back(marker(kTheirsMarker));
  return out;
}

std::string_view SideName(Side side) { return side == kOurs ? "ours" : "theirs"; }
Side Other(Side side) { return side == kOurs ? kTheirs : kOurs; }

// The same branch on each side (an index, -1 where the side has none).
struct BranchTrio {
  std::array<int, 3> at = {-1, -1, -1};
};

// Items known by key on each side: the n-th block of an id, the n-th
// character of a real name.
struct KeyedSide {
  std::vector<int> keys;                 // per item, in order
  std::unordered_map<int, int> indexOf;  // key -> item
  int find(int key) const {
    auto found = indexOf.find(key);
    return found == indexOf.end() ? -1 : found->second;
  }
};

class ProjectMerge {
 public:
  ProjectMerge(ProjectRecords base, ProjectRecords ours, ProjectRecords theirs)
      : v_{std::move(base), std::move(ours), std::move(theirs)} {}

  MergeResult run() {
    pairBranches();
    nameBranches();
    translateLinks();
    renumberBlocksAddedTwice();
    for (Side side : kSides) lookups_.emplace_back(v_[side]);
    mergePath();
    mergeCast();
    mergeBlocks();
    mergeBranches();
    placeBlockConflicts();
    checkCapacities();
    MergeResult result;
    result.conflicts = std::move(conflicts_);
    if (!faults_.empty()) {
      std::string message = "the merged project would not fit: ";
      for (size_t i = 0; i < faults_.size(); ++i) message += (i ? "; " : "") + faults_[i];
      result.status = Status::Error(message);
      return result;
    }
    result.merged = DocumentOf(merged_);
    return result;
  }

 private:
  // Branches: the same branch on the three sides, and its merged name.
  void pairBranches() {
    BranchPairing withOurs = PairBranches(v_[kBase], v_[kOurs]);
    BranchPairing withTheirs = PairBranches(v_[kBase], v_[kTheirs]);
    for (int i = 0; i < branchCount(kBase); ++i) trios_.push_back({{i, withOurs.afterOf[i], withTheirs.afterOf[i]}});
    for (int j = 0; j < branchCount(kOurs); ++j)
      if (withOurs.beforeOf[j] < 0) trios_.push_back({{-1, j, -1}});
    for (int k = 0; k < branchCount(kTheirs); ++k) {
      if (withTheirs.beforeOf[k] >= 0) continue;
      // A branch both sides added under one name is one branch.
      auto same = std::find_if(trios_.begin(), trios_.end(), [&](const BranchTrio& trio) {
        return trio.at[kBase] < 0 && trio.at[kTheirs] < 0 && trio.at[kOurs] >= 0 &&
               v_[kOurs].branches[trio.at[kOurs]].name == v_[kTheirs].branches[k].name;
      });
      if (same != trios_.end())
        same->at[kTheirs] = k;
      else
        trios_.push_back({{-1, -1, k}});
    }
    for (Side side : kSides) trioOf_[side].assign(branchCount(side), -1);
    for (int t = 0; t < static_cast<int>(trios_.size()); ++t)
      for (Side side : kSides)
        if (trios_[t].at[side] >= 0) trioOf_[side][trios_[t].at[side]] = t;
  }

  int branchCount(Side side) const { return static_cast<int>(v_[side].branches.size()); }

  const BranchRecord* branchOf(const BranchTrio& trio, Side side) const {
    return trio.at[side] >= 0 ? &v_[side].branches[trio.at[side]] : nullptr;
  }

  void nameBranches() {
    for (const BranchTrio& trio : trios_) {
      const BranchRecord* b = branchOf(trio, kBase);
      const BranchRecord* o = branchOf(trio, kOurs);
      const BranchRecord* t = branchOf(trio, kTheirs);
      Text name;
      bool clash = b && o && t && !MergeValue(b->name, o->name, t->name, name);
      if (!(b && o && t)) name = o ? o->name : t ? t->name : b->name;
      names_.push_back(name);
      nameClashes_.push_back(clash);
    }
  }

  // A link names a branch: on each side it is made to name the branch's
  // merged name, so a rename on one side carries to the other side's links.
  void translateLinks() {
    for (Side side : kSides) {
      std::unordered_map<Text, Text> renamed;
      for (int j = 0; j < branchCount(side); ++j) renamed.emplace(v_[side].branches[j].name, names_[trioOf_[side][j]]);
      for (BlockRecord& block : v_[side].blocks) {
        for (Response& response : block.responses) {
          if (response.linkBranch.empty()) continue;
          if (auto found = renamed.find(response.linkBranch); found != renamed.end()) response.linkBranch = found->second;
        }
      }
    }
  }

  KeyedSide blockKeys(Side side) {
    KeyedSide keyed;
    std::map<int32_t, int> seen;
    for (const BlockRecord& block : v_[side].blocks) {
      int key = ids_.ofKey("B" + Number(block.id) + "\n" + Number(seen[block.id]++));
      keyed.indexOf.emplace(key, static_cast<int>(keyed.keys.size()));
      keyed.keys.push_back(key);
    }
    return keyed;
  }

  // Two blocks that both sides added with one id are different blocks: the
  // one theirs added takes a fresh id, and the lines of theirs that run it
  // follow it.
  void renumberBlocksAddedTwice() {
    KeyedSide base = blockKeys(kBase), ours = blockKeys(kOurs), theirs = blockKeys(kTheirs);
    int64_t next = 1;
    for (Side side : kSides)
      for (const BlockRecord& block : v_[side].blocks) next = std::max<int64_t>(next, int64_t(block.id) + 1);
    std::map<int32_t, int> seen;
    for (int k = 0; k < static_cast<int>(v_[kTheirs].blocks.size()); ++k) {
      BlockRecord& block = v_[kTheirs].blocks[k];
      bool first = seen[block.id]++ == 0;
      int key = theirs.keys[k];
      int o = ours.find(key);
      if (base.find(key) >= 0 || o < 0 || v_[kOurs].blocks[o].responses == block.responses) continue;
      if (next > INT32_MAX) {
        faults_.push_back("no block id is left for the responseblock " + Number(block.id) + " theirs added");
        return;
      }
      int32_t old = block.id;
      block.id = static_cast<int32_t>(next++);
      if (!first) continue;  // lines run only the first block of an id
      for (BranchRecord& branch : v_[kTheirs].branches)
        for (DialogueLine& line : branch.lines)
          if (RunsBlock(line) && line.blockId == old) line.blockId = block.id;
    }
  }

  void conflict(std::string message) { conflicts_.push_back({"", 0, 0, 0, std::move(message)}); }

  void mergePath() {
    const std::string& b = v_[kBase].engineProjectPath;
    const std::string& o = v_[kOurs].engineProjectPath;
    const std::string& t = v_[kTheirs].engineProjectPath;
    if (!MergeValue(b, o, t, merged_.engineProjectPath))
      conflict("the engine project path: both sides changed it (ours " + Quoted(o) + ", theirs " + Quoted(t) +
               "); ours is kept");
  }

  KeyedSide castKeys(Side side) {
    KeyedSide keyed;
    std::map<std::string, int> seen;
    for (const Character& character : v_[side].characters) {
      int key = ids_.ofKey("C" + character.realName + "\n" + Number(seen[std::string(character.realName)]++));
      keyed.indexOf.emplace(key, static_cast<int>(keyed.keys.size()));
      keyed.keys.push_back(key);
    }
    return keyed;
  }

  // The merged characters of one key: none (deleted), one, or ours and
  // theirs when their entity names clash.
  std::vector<Character> mergeCharacter(const Character* b, const Character* o, const Character* t) {
    auto both = [&](const std::string& what) {
      conflict("the character " + Quoted(o->realName) + ": " + what + " (ours " + Quoted(o->entityName) + ", theirs " +
               Quoted(t->entityName) + "); both are kept");
      return std::vector<Character>{*o, *t};
    };
    if (o && t) {
      Text entity;
      if (!MergeValue(b ? b->entityName : Text(), o->entityName, t->entityName, entity))
        return both(b ? "both sides changed its entity name" : "both sides added it with different entity names");
      Character merged = *o;
      merged.entityName = entity;
      return {merged};
    }
    const Character* kept = o ? o : t;
    if (!kept || (b && kept->entityName == b->entityName)) return {};
    if (b)
      conflict("the character " + Quoted(kept->realName) + ": " + std::string(SideName(o ? kTheirs : kOurs)) +
               " deleted it, " + std::string(SideName(o ? kOurs : kTheirs)) + " changed its entity name; it is kept");
    return {*kept};
  }

  void mergeCast() {
    std::array<KeyedSide, 3> keyed = {castKeys(kBase), castKeys(kOurs), castKeys(kTheirs)};
    std::unordered_map<int, std::vector<Character>> merged;
    for (Side side : kSides) {
      for (int key : keyed[side].keys) {
        if (merged.count(key)) continue;
        std::array<const Character*, 3> at{};
        for (Side s : kSides)
          if (int index = keyed[s].find(key); index >= 0) at[s] = &v_[s].characters[index];
        merged[key] = mergeCharacter(at[kBase], at[kOurs], at[kTheirs]);
      }
    }
    auto kept = [&](int key) { return !merged[key].empty(); };
    for (int key : MergeKeyOrder(keyed[kBase].keys, keyed[kOurs].keys, keyed[kTheirs].keys, kept))
      merged_.characters.insert(merged_.characters.end(), merged[key].begin(), merged[key].end());
  }

  template <typename Record>
  SequenceVersion<Record> version(const std::vector<Record>& records, Side side) {
    SequenceVersion<Record> out{records, {}};
    for (const Record& record : records) out.ids.push_back(idOf(record, side));
    return out;
  }
  int idOf(const Response& response, Side) { return ids_.of(response); }
  int idOf(const DialogueLine& line, Side side) { return ids_.of(view(line, side)); }

  LineView view(const DialogueLine& line, Side side) const {
    return {&line, RunsBlock(line) ? lookups_[side].responsesOf(line.blockId) : nullptr};
  }

  // A block's responses merged; conflicts are kept to be placed later, when
  // the lines that run the block are known.
  std::optional<BlockRecord> mergeBlock(const BlockRecord* b, const BlockRecord* o, const BlockRecord* t) {
    if (o && t) {
      static const std::vector<Response> kNone;
      const std::vector<Response>& baseResponses = b ? b->responses : kNone;
      RecordMerging<Response> how{
          [&](int i, int j) { return ResponseSimilarity(baseResponses[i], o->responses[j]); },
          [&](int i, int j) { return ResponseSimilarity(baseResponses[i], t->responses[j]); },
          MergeResponseFields,
          MarkerResponse,
          "response",
          "responses"};
      MergedSequence<Response> merged = MergeSequence(version(baseResponses, kBase), version(o->responses, kOurs),
                                                      version(t->responses, kTheirs), how, kMarkers);
      for (const SequenceConflict& c : merged.conflicts) blockConflicts_.push_back({o->id, c.at + 1, c.message});
      return BlockRecord{o->id, std::move(merged.records)};
    }
    const BlockRecord* kept = o ? o : t;
    if (!kept || (b && kept->responses == b->responses)) return std::nullopt;
    if (!b) return *kept;
    Side keptBy = o ? kOurs : kTheirs;
    blockConflicts_.push_back({kept->id, 1,
                               std::string(SideName(Other(keptBy))) + " deleted the responseblock, " +
                                   std::string(SideName(keptBy)) + " changed its responses"});
    return BlockRecord{kept->id, KeptWhole(kept->responses, keptBy, MarkerResponse)};
  }

  void mergeBlocks() {
    std::array<KeyedSide, 3> keyed = {blockKeys(kBase), blockKeys(kOurs), blockKeys(kTheirs)};
    std::unordered_map<int, std::optional<BlockRecord>> merged;
    for (Side side : kSides) {
      for (int key : keyed[side].keys) {
        if (merged.count(key)) continue;
        std::array<const BlockRecord*, 3> at{};
        for (Side s : kSides)
          if (int index = keyed[s].find(key); index >= 0) at[s] = &v_[s].blocks[index];
        merged[key] = mergeBlock(at[kBase], at[kOurs], at[kTheirs]);
      }
    }
    auto kept = [&](int key) { return merged[key].has_value(); };
    for (int key : MergeKeyOrder(keyed[kBase].keys, keyed[kOurs].keys, keyed[kTheirs].keys, kept))
      merged_.blocks.push_back(std::move(*merged[key]));
  }

  bool sameBranch(const BranchRecord& a, Side sideA, const BranchRecord& b, Side sideB) {
    if (a.name != b.name || a.lineCountOffset() != b.lineCountOffset() || a.lines.size() != b.lines.size())
      return false;
    return version(a.lines, sideA).ids == version(b.lines, sideB).ids;
  }

  // The lines of a branch all three sides (or both sides, from no base) have.
  BranchRecord mergeBranch(int trio, const BranchRecord& b, const BranchRecord& o, const BranchRecord& t,
                           std::vector<MergeConflict>& found) {
    RecordMerging<DialogueLine> how{
        [&](int i, int j) { return LineSimilarity(view(b.lines[i], kBase), view(o.lines[j], kOurs)); },
        [&](int i, int j) { return LineSimilarity(view(b.lines[i], kBase), view(t.lines[j], kTheirs)); },
        MergeLineFields,
        MarkerLine,
        "line",
        "lines"};
    MergedSequence<DialogueLine> merged =
        MergeSequence(version(b.lines, kBase), version(o.lines, kOurs), version(t.lines, kTheirs), how, kMarkers);
    BranchRecord out{names_[trio], 0, {}};
    if (nameClashes_[trio]) {
      // Both names stay in sight until the writer picks one.
      out.lines = {MarkerLine(kOursMarker), MarkerLine("Branch name: " + o.name), MarkerLine(kSeparatorMarker),
                   MarkerLine("Branch name: " + t.name), MarkerLine(kTheirsMarker)};
      found.push_back({out.name, 1, 0, 0,
                       "both sides renamed the branch (ours " + Quoted(o.name) + ", theirs " + Quoted(t.name) +
                           "); it keeps ours"});
    }
    const int shift = static_cast<int>(out.lines.size());
    out.lines.insert(out.lines.end(), merged.records.begin(), merged.records.end());
    for (const SequenceConflict& c : merged.conflicts) found.push_back({out.name, c.at + shift + 1, 0, 0, c.message});
    int32_t offset = 0;
    if (!MergeValue(b.lineCountOffset(), o.lineCountOffset(), t.lineCountOffset(), offset)) offset = 0;
    out.lineCount = static_cast<int32_t>(std::clamp<int64_t>(int64_t(out.lines.size()) + offset, 0, kLinesPerBranch));
    return out;
  }

  std::optional<BranchRecord> mergeBranch(int trio, std::vector<MergeConflict>& found) {
    const BranchRecord* b = branchOf(trios_[trio], kBase);
    const BranchRecord* o = branchOf(trios_[trio], kOurs);
    const BranchRecord* t = branchOf(trios_[trio], kTheirs);
    if (o && t) return mergeBranch(trio, b ? *b : BranchRecord{o->name, 0, {}}, *o, *t, found);
    const BranchRecord* kept = o ? o : t;
    if (!kept) return std::nullopt;
    if (!b) return *kept;
    Side keptBy = o ? kOurs : kTheirs;
    if (sameBranch(*b, kBase, *kept, keptBy)) return std::nullopt;
    BranchRecord out{kept->name, 0, KeptWhole(kept->lines, keptBy, MarkerLine)};
    out.lineCount = static_cast<int32_t>(
        std::clamp<int64_t>(int64_t(out.lines.size()) + kept->lineCountOffset(), 0, kLinesPerBranch));
    found.push_back({out.name, 1, 0, 0,
                     std::string(SideName(Other(keptBy))) + " deleted the branch, " + std::string(SideName(keptBy)) +
                         " changed it"});
    return out;
  }

  void mergeBranches() {
    std::vector<std::optional<BranchRecord>> merged;
    std::vector<std::vector<MergeConflict>> found(trios_.size());
    for (int t = 0; t < static_cast<int>(trios_.size()); ++t) merged.push_back(mergeBranch(t, found[t]));
    std::array<std::vector<int>, 3> order;
    for (Side side : kSides) order[side] = trioOf_[side];
    auto kept = [&](int trio) { return merged[trio].has_value(); };
    for (int trio : MergeKeyOrder(order[kBase], order[kOurs], order[kTheirs], kept)) {
      merged_.branches.push_back(std::move(*merged[trio]));
      conflicts_.insert(conflicts_.end(), found[trio].begin(), found[trio].end());
    }
    reportNamesGivenTwice();
  }

  // One side renamed a branch to a name the other side gave a new branch:
  // two branches of one name, which neither side had.
  void reportNamesGivenTwice() {
    auto counts = [](const std::vector<BranchRecord>& branches) {
      std::map<std::string, int> count;
      for (const BranchRecord& branch : branches) ++count[branch.name.str()];
      return count;
    };
    std::map<std::string, int> merged = counts(merged_.branches), ours = counts(v_[kOurs].branches),
                               theirs = counts(v_[kTheirs].branches);
    for (const auto& [name, count] : merged)
      if (count > 1 && ours[name] < count && theirs[name] < count)
        conflict("the branch name " + Quoted(name) + ": ours and theirs each gave it to another branch; rename one");
  }

  // A conflict among responses is shown at the first line that runs the
  // block.
  void placeBlockConflicts() {
    std::unordered_map<int32_t, std::pair<int, int>> firstRun;  // id -> branch, line
    for (int b = 0; b < static_cast<int>(merged_.branches.size()); ++b) {
      const std::vector<DialogueLine>& lines = merged_.branches[b].lines;
      for (int l = 0; l < static_cast<int>(lines.size()); ++l)
        if (RunsBlock(lines[l])) firstRun.emplace(lines[l].blockId, std::pair{b, l});
    }
    for (const PendingConflict& pending : blockConflicts_) {
      MergeConflict placed{"", 0, pending.block, pending.response, pending.message};
      if (auto run = firstRun.find(pending.block); run != firstRun.end()) {
        placed.branch = merged_.branches[run->second.first].name;
        placed.line = run->second.second + 1;
      }
      conflicts_.push_back(std::move(placed));
    }
  }

  void checkCapacities() {
    const int branches = static_cast<int>(merged_.branches.size());
    if (branches == 0) faults_.push_back("no branch would be left, and a project has at least one");
    if (branches > kBranchSlots)
      faults_.push_back(Number(branches) + " branches, more than a project holds (" + Number(kBranchSlots) + ")");
    for (const BranchRecord& branch : merged_.branches)
      if (branch.lines.size() > kLinesPerBranch)
        faults_.push_back("the branch " + Quoted(branch.name) + " would have " + Number(branch.lines.size()) +
                          " lines, more than a branch holds (" + Number(kLinesPerBranch) + ")");
    const int blocks = static_cast<int>(merged_.blocks.size());
    if (blocks > kBlockSlots)
      faults_.push_back(Number(blocks) + " responseblocks, more than a project holds (" + Number(kBlockSlots) + ")");
    for (const BlockRecord& block : merged_.blocks)
      if (block.responses.size() > kResponsesPerBlock)
        faults_.push_back("the responseblock " + Number(block.id) + " would have " + Number(block.responses.size()) +
                          " responses, more than a block holds (" + Number(kResponsesPerBlock) + ")");
  }

  struct PendingConflict {
    int32_t block = 0;
    int response = 0;
    std::string message;
  };

  std::array<ProjectRecords, 3> v_;
  std::vector<BlockLookup> lookups_;  // per side, once the blocks are final
  RecordIds ids_;
  std::vector<BranchTrio> trios_;
  std::array<std::vector<int>, 3> trioOf_;  // per side and branch: its trio
  std::vector<Text> names_;                 // per trio: the merged name
  std::vector<bool> nameClashes_;           // per trio: both sides renamed it differently
  ProjectRecords merged_;
  std::vector<MergeConflict> conflicts_;
  std::vector<PendingConflict> blockConflicts_;
  std::vector<std::string> faults_;
};

}  // namespace

MergeResult MergeProjects(const DialogueDocument* base, const DialogueDocument& ours, const DialogueDocument& theirs) {
  return ProjectMerge(base ? RecordsOf(*base) : ProjectRecords{}, RecordsOf(ours), RecordsOf(theirs)).run();
}

std::string DescribeConflict(const MergeConflict& conflict) {
  std::string place;
  if (conflict.line > 0) place = (conflict.branch.empty() ? "branch (no name)" : conflict.branch) + ", line " + Number(conflict.line);
  if (conflict.block > 0 || conflict.response > 0) {
    if (!place.empty()) place += ", ";
    place += "responseblock " + Number(conflict.block) + ", response " + Number(conflict.response);
  }
  return place.empty() ? conflict.message : place + ": " + conflict.message;
}

}  // namespace tellwright
