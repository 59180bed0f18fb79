#include "tools/record_alignment.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace tellwright {

namespace {

// Tables larger than this are not filled: a branch holds at most 1000 lines,
// so only sequences far beyond the document's capacities come near it.
constexpr int64_t kLargestExactTable = 4'000'000;
// Between two equal records, changed records are paired only in stretches
// up to this size (500 by 500 records); longer stretches count as deleted
// and inserted.
constexpr int64_t kLargestSimilarTable = 250'000;

struct Range {
  int a = 0, aEnd = 0, b = 0, bEnd = 0;
  int64_t area() const { return int64_t(aEnd - a) * (bEnd - b); }
};

// The longest common subsequence of a[range] and b[range], by a table of
// lengths read back from the end.
void AppendCommonSubsequence(const std::vector<int>& a, const std::vector<int>& b, const Range& r, Alignment& out) {
  const int n = r.aEnd - r.a, m = r.bEnd - r.b;
  std::vector<int32_t> length(size_t(n + 1) * (m + 1), 0);
  auto at = [&](int i, int j) -> int32_t& { return length[size_t(i) * (m + 1) + j]; };
  for (int i = n - 1; i >= 0; --i)
    for (int j = m - 1; j >= 0; --j)
      at(i, j) = a[r.a + i] == b[r.b + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
  for (int i = 0, j = 0; i < n && j < m;) {
    if (a[r.a + i] == b[r.b + j]) {
      out.push_back({r.a + i, r.b + j});
      ++i, ++j;
    } else if (at(i + 1, j) >= at(i, j + 1)) {
      ++i;
    } else {
      ++j;
    }
  }
}

// The longest increasing run of b-positions over pairs sorted by a-position.
Alignment LongestIncreasingRun(const std::vector<RecordPair>& pairs) {
  std::vector<int> tails;                      // index into pairs of the smallest tail of each run length
  std::vector<int> previous(pairs.size(), -1);
  for (int p = 0; p < static_cast<int>(pairs.size()); ++p) {
    auto slot = std::lower_bound(tails.begin(), tails.end(), pairs[p].b,
                                 [&](int index, int value) { return pairs[index].b < value; });
    if (slot != tails.begin()) previous[p] = *(slot - 1);
    if (slot == tails.end())
      tails.push_back(p);
    else
      *slot = p;
  }
  Alignment run;
  for (int p = tails.empty() ? -1 : tails.back(); p >= 0; p = previous[p]) run.push_back(pairs[p]);
  std::reverse(run.begin(), run.end());
  return run;
}

// For stretches too long for a table: the records that occur once on each
// side, kept in the longest order both agree on.
void AppendUniqueMatches(const std::vector<int>& a, const std::vector<int>& b, const Range& r, Alignment& out) {
  std::unordered_map<int, int> countA, countB, positionA;
  for (int i = r.a; i < r.aEnd; ++i) ++countA[a[i]], positionA[a[i]] = i;
  for (int j = r.b; j < r.bEnd; ++j) ++countB[b[j]];
  std::vector<RecordPair> pairs;
  for (int j = r.b; j < r.bEnd; ++j)
    if (countA[b[j]] == 1 && countB[b[j]] == 1) pairs.push_back({positionA[b[j]], j});
  std::sort(pairs.begin(), pairs.end(), [](const RecordPair& x, const RecordPair& y) { return x.a < y.a; });
  for (const RecordPair& match : LongestIncreasingRun(pairs)) out.push_back(match);
}

// Pairs of changed records in a stretch without equal ones, with the highest
// total similarity.
void AppendSimilarPairs(const Range& r, const std::function<int(int, int)>& similarity, Alignment& out) {
  const int n = r.aEnd - r.a, m = r.bEnd - r.b;
  if (n == 0 || m == 0 || r.area() > kLargestSimilarTable) return;
  std::vector<int> score(size_t(n) * m);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < m; ++j) score[size_t(i) * m + j] = similarity(r.a + i, r.b + j);
  std::vector<int64_t> best(size_t(n + 1) * (m + 1), 0);
  auto at = [&](int i, int j) -> int64_t& { return best[size_t(i) * (m + 1) + j]; };
  for (int i = n - 1; i >= 0; --i) {
    for (int j = m - 1; j >= 0; --j) {
      int64_t value = std::max(at(i + 1, j), at(i, j + 1));
      if (int s = score[size_t(i) * m + j]; s > 0) value = std::max(value, at(i + 1, j + 1) + s);
      at(i, j) = value;
    }
  }
  for (int i = 0, j = 0; i < n && j < m;) {
    int s = score[size_t(i) * m + j];
    if (s > 0 && at(i, j) == at(i + 1, j + 1) + s) {
      out.push_back({r.a + i, r.b + j});
      ++i, ++j;
    } else if (at(i, j) == at(i + 1, j)) {
      ++i;
    } else {
      ++j;
    }
  }
}

}  // namespace

Alignment AlignRecords(const std::vector<int>& a, const std::vector<int>& b,
                       const std::function<int(int i, int j)>& similarity) {
  Range middle{0, static_cast<int>(a.size()), 0, static_cast<int>(b.size())};
  Alignment exact;
  while (middle.a < middle.aEnd && middle.b < middle.bEnd && a[middle.a] == b[middle.b])
    exact.push_back({middle.a++, middle.b++});
  Alignment tail;
  while (middle.a < middle.aEnd && middle.b < middle.bEnd && a[middle.aEnd - 1] == b[middle.bEnd - 1])
    tail.push_back({--middle.aEnd, --middle.bEnd});
  if (middle.area() <= kLargestExactTable)
    AppendCommonSubsequence(a, b, middle, exact);
  else
    AppendUniqueMatches(a, b, middle, exact);
  exact.insert(exact.end(), tail.rbegin(), tail.rend());

  // Changed records are looked for between the equal ones.
  Alignment result;
  RecordPair previous{-1, -1};
  auto fillGap = [&](const RecordPair& next) {
    AppendSimilarPairs({previous.a + 1, next.a, previous.b + 1, next.b}, similarity, result);
  };
  for (const RecordPair& match : exact) {
    fillGap(match);
    result.push_back(match);
    previous = match;
  }
  fillGap({static_cast<int>(a.size()), static_cast<int>(b.size())});
  return result;
}

Alignment AlignKeys(const std::vector<int>& a, const std::vector<int>& b) {
  std::unordered_map<int, int> positionA;
  for (int i = 0; i < static_cast<int>(a.size()); ++i) positionA.emplace(a[i], i);
  std::vector<RecordPair> pairs;
  for (int j = 0; j < static_cast<int>(b.size()); ++j)
    if (auto found = positionA.find(b[j]); found != positionA.end()) pairs.push_back({found->second, j});
  std::sort(pairs.begin(), pairs.end(), [](const RecordPair& x, const RecordPair& y) { return x.a < y.a; });
  return LongestIncreasingRun(pairs);
}

std::vector<MergeChunk> ThreeWayChunks(int baseSize, int oursSize, int theirsSize, const Alignment& baseOurs,
                                       const Alignment& baseTheirs) {
  const std::vector<int> oursOf = PartnersOfA(baseOurs, baseSize);
  const std::vector<int> theirsOf = PartnersOfA(baseTheirs, baseSize);
  std::vector<MergeChunk> chunks;
  int i = 0, j = 0, k = 0;
  while (i < baseSize || j < oursSize || k < theirsSize) {
    if (i < baseSize && oursOf[i] == j && theirsOf[i] == k) {
      chunks.push_back({true, i, i + 1, j, j + 1, k, k + 1});
      ++i, ++j, ++k;
      continue;
    }
    int next = i;
    while (next < baseSize && (oursOf[next] < 0 || theirsOf[next] < 0)) ++next;
    int oursEnd = next < baseSize ? oursOf[next] : oursSize;
    int theirsEnd = next < baseSize ? theirsOf[next] : theirsSize;
    chunks.push_back({false, i, next, j, oursEnd, k, theirsEnd});
    i = next, j = oursEnd, k = theirsEnd;
  }
  return chunks;
}

std::vector<int> PartnersOfA(const Alignment& alignment, int sizeA) {
  std::vector<int> partners(sizeA, -1);
  for (const RecordPair& match : alignment) partners[match.a] = match.b;
  return partners;
}

std::vector<int> PartnersOfB(const Alignment& alignment, int sizeB) {
  std::vector<int> partners(sizeB, -1);
  for (const RecordPair& match : alignment) partners[match.b] = match.a;
  return partners;
}

}  // namespace tellwright
