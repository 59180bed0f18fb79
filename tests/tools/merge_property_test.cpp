#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "document/project_file.h"
#include "export/sample_documents.h"
#include "support/random_documents.h"
#include "tools/project_merge.h"

namespace tellwright {
namespace {

using namespace testing;
using Edit = std::function<void(DialogueDocument&)>;

constexpr uint32_t kSeeds = 100;

// A document as its file gives it back.
DialogueDocument Loaded(const DialogueDocument& document) {
  DialogueDocument loaded;
  EXPECT_TRUE(ReadProject(WriteProject(document), loaded).ok);
  return loaded;
}

DialogueDocument RandomProject(uint32_t seed) { return Loaded(RandomDocuments(seed).make()); }

// Edits a writer makes, chosen at random but applied the same way to
// every copy they are given.
class RandomEdits {
 public:
  explicit RandomEdits(uint32_t seed) : random_(seed) {}

  // Changes, inserts, deletes or moves one line of `branch`.
  Edit lineEdit(const DialogueDocument& document, int branch) {
    const int lines = LinesOf(document.branch(branch));
    const int at = below(lines + 1);
    const int to = lines > 0 ? below(lines) : 0;
    const std::string text = "edited " + std::to_string(random_());
    switch (lines == 0 ? 1 : below(4)) {
      case 0:
        return [=](DialogueDocument& d) { d.editBranch(branch).lines.slot(at % lines).text = text; };
      case 1:
        if (lines == kLinesPerBranch) return lineEdit(document, branch);
        return [=](DialogueDocument& d) { Splice(d.editBranch(branch), at, 0, {Talk("Ed", text)}); };
      case 2:
        return [=](DialogueDocument& d) { Splice(d.editBranch(branch), at % lines, 1, {}); };
      default:
        return [=](DialogueDocument& d) {
          DialogueBranch& b = d.editBranch(branch);
          DialogueLine moved = b.lines[at % lines];
          Splice(b, at % lines, 1, {});
          Splice(b, to, 0, {moved});
        };
    }
  }

  // Any edit: lines, responses, blocks, branches, the cast, the path.
  void anyEdit(DialogueDocument& d) {
    const int branch = below(d.branchCount());
    switch (below(9)) {
      case 0:
      case 1:
      case 2:
        lineEdit(d, branch)(d);
        break;
      case 3:
        RenameBranch(d, branch, "Renamed" + std::to_string(below(3)));
        break;
      case 4:
        if (d.lastBranchIndex + 1 < kBranchSlots) SetBranch(d, d.lastBranchIndex + 1, "Added", {Remark("new")});
        break;
      case 5:
        if (d.lastBranchIndex > 0) d.branches.slot(d.lastBranchIndex--) = DialogueBranch{};
        break;
      case 6:
        editResponse(d);
        break;
      case 7:
        if (d.characters.empty() || chance(2))
          d.characters.push_back({"Cast" + std::to_string(below(3)), "entity"});
        else
          d.characters[below(static_cast<int>(d.characters.size()))].entityName = "e" + std::to_string(below(3));
        break;
      default:
        d.engineProjectPath = "path" + std::to_string(below(3));
        break;
    }
  }

 private:
  static int LinesOf(const DialogueBranch& branch) { return branch.lines.used(); }

  static void Splice(DialogueBranch& branch, int at, int count, const std::vector<DialogueLine>& lines) {
    branch.lines.splice(at, count, lines);
    branch.lineCount = std::clamp<int32_t>(branch.lineCount + static_cast<int32_t>(lines.size()) - count, 0,
                                           kLinesPerBranch);
  }

  void editResponse(DialogueDocument& d) {
    std::vector<int> slots;
    for (int k = 0; k < d.responseBlocks.stored(); ++k)
      if (d.responseBlocks[k].inUse()) slots.push_back(k);
    if (slots.empty()) return;
    ResponseBlock& block = d.responseBlocks.slot(slots[below(static_cast<int>(slots.size()))]);
    int used = block.usedResponses();
    if (used == 0 || (used < kResponsesPerBlock && chance(3)))
      block.responses.slot(used) = MakeResponse({.text = "said " + std::to_string(below(3))});
    else
      block.responses.slot(below(used)).leaveLoop = below(2);
  }

  int below(int bound) { return static_cast<int>(random_() % static_cast<uint32_t>(bound)); }
  bool chance(int oneIn) { return below(oneIn) == 0; }

  std::mt19937 random_;
};

DialogueDocument Edited(DialogueDocument document, uint32_t seed, int edits) {
  RandomEdits random(seed);
  for (int i = 0; i < edits; ++i) random.anyEdit(document);
  return Loaded(document);
}

// A merged project always saves, and loads back to the same bytes.
void ExpectSavesAndLoadsBack(const MergeResult& result, uint32_t seed) {
  ASSERT_TRUE(result.status.ok) << "seed " << seed << ": " << result.status.message;
  std::string saved = WriteProject(result.merged);
  DialogueDocument loaded;
  Status status = ReadProject(saved, loaded);
  ASSERT_TRUE(status.ok) << "seed " << seed << ": line " << status.line << ": " << status.message;
  EXPECT_EQ(WriteProject(loaded), saved) << "seed " << seed;
}

void ExpectMerge(const DialogueDocument& base, const DialogueDocument& ours, const DialogueDocument& theirs,
                 const DialogueDocument& expected, uint32_t seed, const char* what) {
  MergeResult result = MergeProjects(&base, ours, theirs);
  ExpectSavesAndLoadsBack(result, seed);
  EXPECT_EQ(WriteProject(result.merged), WriteProject(expected)) << what << ", seed " << seed;
  EXPECT_TRUE(result.conflicts.empty()) << what << ", seed " << seed << ": " << DescribeConflict(result.conflicts[0]);
}

TEST(MergePropertyTest, AProjectMergedWithItselfStaysAsItIs) {
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    DialogueDocument x = RandomProject(seed);
    ExpectMerge(x, x, x, x, seed, "merge(X, X, X)");
  }
}

TEST(MergePropertyTest, WhatOnlyOneSideChangedIsTaken) {
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    DialogueDocument base = RandomProject(seed);
    for (const DialogueDocument& changed : {Edited(base, seed, 6), RandomProject(seed + 100000)}) {
      ExpectMerge(base, changed, base, changed, seed, "merge(B, O, B)");
      ExpectMerge(base, base, changed, changed, seed, "merge(B, B, T)");
      ExpectMerge(base, changed, changed, changed, seed, "merge(B, O, O)");
    }
  }
}

TEST(MergePropertyTest, EditsOfDifferentBranchesMergeToBoth) {
  int merged = 0;
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    DialogueDocument base = RandomProject(seed);
    if (base.branchCount() < 2) continue;
    RandomEdits random(seed);
    int first = static_cast<int>(seed % base.branchCount());
    int second = (first + 1 + static_cast<int>(seed / 7) % (base.branchCount() - 1)) % base.branchCount();
    Edit oursEdit = random.lineEdit(base, first), theirsEdit = random.lineEdit(base, second);
    DialogueDocument ours = base, theirs = base, both = base;
    oursEdit(ours);
    theirsEdit(theirs);
    oursEdit(both);
    theirsEdit(both);
    ExpectMerge(base, Loaded(ours), Loaded(theirs), Loaded(both), seed, "edits of two branches");
    ++merged;
  }
  EXPECT_GT(merged, static_cast<int>(kSeeds) / 2);
}

// Whatever both sides did, the merge gives a project that saves and loads
// back, or refuses it because it would pass a table end.
TEST(MergePropertyTest, AnyTwoVersionsMergeToAProjectThatLoads) {
  int withConflicts = 0;
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    DialogueDocument base = RandomProject(seed);
    DialogueDocument ours = Edited(base, seed * 2, 8), theirs = Edited(base, seed * 2 + 1, 8);
    MergeResult result = MergeProjects(&base, ours, theirs);
    if (!result.status.ok) {
      EXPECT_NE(result.status.message.find("would"), std::string::npos) << result.status.message;
      continue;
    }
    ExpectSavesAndLoadsBack(result, seed);
    for (const MergeConflict& conflict : result.conflicts) EXPECT_FALSE(conflict.message.empty());
    withConflicts += !result.conflicts.empty();
  }
  EXPECT_GT(withConflicts, 0);  // the edits do collide now and then
}

}  // namespace
}  // namespace tellwright
