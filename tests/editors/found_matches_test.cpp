#include "editors/found_matches.h"

#include <gtest/gtest.h>

#include <vector>

namespace tellwright::testing {
namespace {

// Batches of any size, empty ones among them, read back as one list in the
// order they came.
TEST(FoundMatchesTest, ReadsTheBatchesAsOneListInTheirOrder) {
  const std::vector<std::vector<size_t>> kBatchSizes = {{}, {1}, {0}, {3, 0, 1}, {1, 1, 1}, {5, 2, 0, 7}};
  for (const auto& sizes : kBatchSizes) {
    FoundMatches found;
    std::vector<Match> expected;
    for (size_t size : sizes) {
      std::vector<Match> batch;
      for (size_t i = 0; i < size; ++i) {
        Match match;
        match.offset = expected.size();
        batch.push_back(match);
        expected.push_back(match);
      }
      found.append(std::move(batch));
    }
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(found[i].offset, i);
    EXPECT_TRUE(std::equal(found.begin(), found.end(), expected.begin(), expected.end()));
    found.clear();
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(found.begin(), found.end());
  }
}

}  // namespace
}  // namespace tellwright::testing
