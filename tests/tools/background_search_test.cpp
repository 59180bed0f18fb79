#include "tools/background_search.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "tools/tools_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

// The tools' document, its first branch copied into 60 more: a search of it
// stops between branches many times.
DialogueDocument ManyBranches() {
  DialogueDocument d = ToolsDocument();
  for (int b = 3; b < 63; ++b) {
    d.editBranch(b) = d.branch(0);
    d.editBranch(b).name = "Copy" + std::to_string(b);
  }
  d.lastBranchIndex = 62;
  return d;
}

// Every batch handed over, in order; a batch of `hold` waits for release().
class Batches {
 public:
  void deliver(MatchBatch batch) {
    std::unique_lock lock(mutex_);
    bool wait = batch.ticket == hold && !held_;
    held_ = held_ || wait;
    batches_.push_back(std::move(batch));
    changed_.notify_all();
    if (wait) changed_.wait(lock, [this] { return released_; });
  }
  // Waits for a batch that satisfies `done`.
  template <typename Done>
  void waitFor(Done done) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
      for (const MatchBatch& batch : batches_)
        if (done(batch)) return true;
      return false;
    });
  }
  void release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  // Call once the search is gone.
  std::vector<MatchBatch> of(uint64_t ticket) const {
    std::vector<MatchBatch> found;
    for (const MatchBatch& batch : batches_)
      if (batch.ticket == ticket) found.push_back(batch);
    return found;
  }

  uint64_t hold = 0;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<MatchBatch> batches_;
  bool held_ = false;
  bool released_ = false;
};

TEST(BackgroundSearchTest, BatchesTogetherAreTheMatchesOfTheSnapshotInOrder) {
  const auto d = std::make_shared<const DialogueDocument>(ManyBranches());
  for (SearchQuery query : {SearchQuery{"hello"}, SearchQuery{.text = "hello", .wholeWords = true},
                            SearchQuery{.text = "Hello", .matchCase = true, .fields = kFieldTalkText},
                            SearchQuery{"\xC9LISE"}, SearchQuery{"absent"}}) {
    Batches batches;
    std::vector<MatchBatch> got;
    uint64_t ticket;
    {
      BackgroundSearch search([&](MatchBatch batch) { batches.deliver(std::move(batch)); },
                              std::chrono::milliseconds(0));
      ticket = search.request(d, query);
      batches.waitFor([](const MatchBatch& batch) { return batch.last; });
    }
    got = batches.of(ticket);
    std::vector<Match> joined;
    for (const MatchBatch& batch : got) joined.insert(joined.end(), batch.matches.begin(), batch.matches.end());
    EXPECT_EQ(joined, FindMatches(*d, query)) << query.text;
    EXPECT_TRUE(got.back().last) << query.text;
    if (joined.size() > 100) EXPECT_GT(got.size(), 2u) << query.text << ": the list fills in as the matches come";
  }
}

// A search no longer wanted stops: the batch it is handing over when a newer
// request comes (or the search is cancelled) is its last.
TEST(BackgroundSearchTest, AnOlderRequestSendsNothingOnceANewerOneOrACancelCame) {
  const auto d = std::make_shared<const DialogueDocument>(ManyBranches());
  for (bool cancel : {false, true}) {
    Batches batches;
    uint64_t older, newer = 0;
    {
      BackgroundSearch search([&](MatchBatch batch) { batches.deliver(std::move(batch)); },
                              std::chrono::milliseconds(0));
      batches.hold = 1;  // the first request's ticket
      older = search.request(d, {"hello"});
      EXPECT_EQ(older, 1u);
      batches.waitFor([&](const MatchBatch& batch) { return batch.ticket == older; });
      if (cancel) {
        search.cancel();
      } else {
        newer = search.request(d, {"guy"});
      }
      batches.release();
      if (!cancel) batches.waitFor([&](const MatchBatch& batch) { return batch.ticket == newer && batch.last; });
    }
    std::vector<MatchBatch> old = batches.of(older);
    ASSERT_EQ(old.size(), 1u) << cancel;
    EXPECT_FALSE(old[0].last) << cancel;
    if (!cancel) EXPECT_FALSE(batches.of(newer).empty());
  }
}

}  // namespace
}  // namespace tellwright
