#include "tools/branch_pairing.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "tools/record_identity.h"

namespace tellwright {

namespace {

constexpr int kLeastLikenessOfRename = 50;

void PairByName(const ProjectRecords& before, const ProjectRecords& after, BranchPairing& pairing) {
  std::map<Text, std::vector<int>> unpairedAfter;  // name -> branches of after, last first
  for (int j = static_cast<int>(after.branches.size()) - 1; j >= 0; --j)
    unpairedAfter[after.branches[j].name].push_back(j);
  for (int i = 0; i < static_cast<int>(before.branches.size()); ++i) {
    auto found = unpairedAfter.find(before.branches[i].name);
    if (found == unpairedAfter.end() || found->second.empty()) continue;
    int j = found->second.back();
    found->second.pop_back();
    pairing.afterOf[i] = j;
    pairing.beforeOf[j] = i;
  }
}

// A branch's lines as sorted ids, to count the lines two branches share.
std::vector<int> SortedLineIds(const BranchRecord& branch, RecordIds& ids) {
  std::vector<int> lineIds;
  for (const DialogueLine& line : branch.lines) lineIds.push_back(ids.of(LineView{&line, nullptr}));
  std::sort(lineIds.begin(), lineIds.end());
  return lineIds;
}

// Empty branches are alike: an empty branch renamed is still the branch.
int Likeness(const std::vector<int>& a, const std::vector<int>& b) {
  return a.empty() && b.empty() ? 100 : SortedLikeness(a, b);
}

void PairByLines(const ProjectRecords& before, const ProjectRecords& after, BranchPairing& pairing) {
  RecordIds ids;
  std::vector<std::pair<int, std::vector<int>>> left, right;  // unpaired branches with their line ids
  for (int i = 0; i < static_cast<int>(before.branches.size()); ++i)
    if (pairing.afterOf[i] < 0) left.push_back({i, SortedLineIds(before.branches[i], ids)});
  for (int j = 0; j < static_cast<int>(after.branches.size()); ++j)
    if (pairing.beforeOf[j] < 0) right.push_back({j, SortedLineIds(after.branches[j], ids)});
  std::vector<std::tuple<int, int, int>> candidates;  // -likeness, before, after: best first
  for (const auto& [i, linesA] : left) {
    for (const auto& [j, linesB] : right) {
      size_t fewer = std::min(linesA.size(), linesB.size()), total = linesA.size() + linesB.size();
      if (total > 0 && 200 * fewer / total < kLeastLikenessOfRename) continue;  // cannot reach the share
      if (int likeness = Likeness(linesA, linesB); likeness >= kLeastLikenessOfRename)
        candidates.emplace_back(-likeness, i, j);
    }
  }
  std::sort(candidates.begin(), candidates.end());
  for (const auto& [negativeLikeness, i, j] : candidates) {
    if (pairing.afterOf[i] >= 0 || pairing.beforeOf[j] >= 0) continue;
    pairing.afterOf[i] = j;
    pairing.beforeOf[j] = i;
  }
}

}  // namespace

BranchPairing PairBranches(const ProjectRecords& before, const ProjectRecords& after) {
  BranchPairing pairing{std::vector<int>(before.branches.size(), -1), std::vector<int>(after.branches.size(), -1)};
  PairByName(before, after, pairing);
  PairByLines(before, after, pairing);
  return pairing;
}

}  // namespace tellwright
