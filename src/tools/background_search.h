#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "tools/find_replace.h"

namespace tellwright {

// The next matches of a search, in document order.
struct MatchBatch {
  uint64_t ticket = 0;  // the request they answer
  std::vector<Match> matches;
  bool last = false;  // the search is complete with these
};

// Finds the matches of a query in a snapshot of the document on a thread of
// its own, so that typing the text to find never waits for a search of the
// whole document. The matches come in batches as they are found: the first
// as soon as there are some, then one every `interval`, then the last. The
// newest request wins: a search running when another is asked for (or
// cancelled) stops at the end of the branch it is in and sends nothing more.
class BackgroundSearch {
 public:
  // Runs on the search's thread; a window hands the batch on to its own.
  using Deliver = std::function<void(MatchBatch batch)>;

  explicit BackgroundSearch(Deliver deliver,
                            std::chrono::milliseconds interval = std::chrono::milliseconds(25));
  // Stops the search that runs and waits for it.
  ~BackgroundSearch();
  BackgroundSearch(const BackgroundSearch&) = delete;
  BackgroundSearch& operator=(const BackgroundSearch&) = delete;

  // Asks for the matches of `query` in `snapshot`, a copy of the document
  // made on the caller's thread (it shares the branches and blocks, so it
  // costs little, and one serves every search until the document changes);
  // returns the ticket its batches carry.
  uint64_t request(std::shared_ptr<const DialogueDocument> snapshot, SearchQuery query);
  // Stops every request made so far: none sends a batch after this, apart
  // from one being handed over as it is called (its ticket tells it apart).
  void cancel();

 private:
  struct Job {
    uint64_t ticket = 0;
    std::shared_ptr<const DialogueDocument> document;
    SearchQuery query;
  };
  void run();
  void search(const Job& job);
  bool wanted(uint64_t ticket) const { return wanted_.load() == ticket; }

  const Deliver deliver_;
  const std::chrono::milliseconds interval_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> waiting_;
  uint64_t lastTicket_ = 0;
  std::atomic<uint64_t> wanted_{0};  // the only request whose search may go on
  bool stopping_ = false;
  std::thread thread_;  // last: starts once the members above exist
};

}  // namespace tellwright
