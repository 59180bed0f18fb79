#pragma once

#include <functional>
#include <vector>

namespace tellwright {

// Which record of one sequence is which record of another: pairs of
// positions, increasing in both. The shared helper of comparing and merging
// projects.
struct RecordPair {
  int a = 0;
  int b = 0;
  friend bool operator==(const RecordPair&, const RecordPair&) = default;
};
using Alignment = std::vector<RecordPair>;

// Aligns two sequences of records given as ids (equal ids: equal records).
// First the longest common subsequence of equal records; then, between two
// such anchors, records that are the same record changed, chosen so their
// total `similarity` is highest. `similarity(i, j)` compares a[i] with b[j]:
// 0 when they are different records, more the more alike they are.
Alignment AlignRecords(const std::vector<int>& a, const std::vector<int>& b,
                       const std::function<int(int i, int j)>& similarity);

// Aligns two sequences of keys that are unique within each sequence: the
// longest run of common keys in the same order. Keys present in both but
// outside the run have moved.
Alignment AlignKeys(const std::vector<int>& a, const std::vector<int>& b);

// A stretch of a three-way comparison. Stable: one base record that both
// sides kept (perhaps changed). Otherwise the records between two stable
// ones, on each side.
struct MergeChunk {
  bool stable = false;
  int base = 0, baseEnd = 0;
  int ours = 0, oursEnd = 0;
  int theirs = 0, theirsEnd = 0;
};

// Cuts three sequences into stable records and the stretches between them,
// given how each side aligns with the base.
std::vector<MergeChunk> ThreeWayChunks(int baseSize, int oursSize, int theirsSize, const Alignment& baseOurs,
                                       const Alignment& baseTheirs);

// The partner of every position of `a` in an alignment, -1 for none.
std::vector<int> PartnersOfA(const Alignment& alignment, int sizeA);
std::vector<int> PartnersOfB(const Alignment& alignment, int sizeB);

}  // namespace tellwright
