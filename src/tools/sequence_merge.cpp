#include "tools/sequence_merge.h"

#include <algorithm>
#include <unordered_set>

namespace tellwright {

std::string JoinedNames(const std::vector<std::string_view>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
}

namespace {

bool SameKeys(const std::vector<int>& a, int aBegin, int aEnd, const std::vector<int>& b, int bBegin, int bEnd) {
  return aEnd - aBegin == bEnd - bBegin && std::equal(a.begin() + aBegin, a.begin() + aEnd, b.begin() + bBegin);
}

// Puts every kept key that is not in `order` after the nearest key before it
// in `list` that is.
void InsertLeftOut(std::vector<int>& order, std::unordered_set<int>& placed, const std::vector<int>& list,
                   const std::function<bool(int)>& kept) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (placed.count(list[i]) || !kept(list[i])) continue;
    auto at = order.begin();
    for (size_t before = i; before-- > 0;) {
      if (!placed.count(list[before])) continue;
      at = std::find(order.begin(), order.end(), list[before]) + 1;
      break;
    }
    order.insert(at, list[i]);
    placed.insert(list[i]);
  }
}

}  // namespace

std::vector<int> MergeKeyOrder(const std::vector<int>& base, const std::vector<int>& ours,
                               const std::vector<int>& theirs, const std::function<bool(int key)>& kept) {
  std::vector<int> candidates;
  auto append = [&](const std::vector<int>& list, int begin, int end) {
    candidates.insert(candidates.end(), list.begin() + begin, list.begin() + end);
  };
  const auto chunks = ThreeWayChunks(static_cast<int>(base.size()), static_cast<int>(ours.size()),
                                     static_cast<int>(theirs.size()), AlignKeys(base, ours), AlignKeys(base, theirs));
  for (const MergeChunk& c : chunks) {
    if (c.stable || SameKeys(ours, c.ours, c.oursEnd, base, c.base, c.baseEnd)) {
      append(theirs, c.theirs, c.theirsEnd);
    } else if (SameKeys(theirs, c.theirs, c.theirsEnd, base, c.base, c.baseEnd)) {
      append(ours, c.ours, c.oursEnd);
    } else {
      append(ours, c.ours, c.oursEnd);
      append(theirs, c.theirs, c.theirsEnd);
    }
  }
  std::vector<int> order;
  std::unordered_set<int> placed;
  for (int key : candidates)
    if (kept(key) && placed.insert(key).second) order.push_back(key);
  InsertLeftOut(order, placed, ours, kept);
  InsertLeftOut(order, placed, theirs, kept);
  InsertLeftOut(order, placed, base, kept);
  return order;
}

}  // namespace tellwright
