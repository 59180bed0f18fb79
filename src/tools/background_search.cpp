#include "tools/background_search.h"

#include <utility>

namespace tellwright {

BackgroundSearch::BackgroundSearch(Deliver deliver, std::chrono::milliseconds interval)
    : deliver_(std::move(deliver)), interval_(interval), thread_([this] { run(); }) {}

BackgroundSearch::~BackgroundSearch() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.reset();
    wanted_ = 0;
  }
  wake_.notify_one();
  thread_.join();
}

uint64_t BackgroundSearch::request(std::shared_ptr<const DialogueDocument> document, SearchQuery query) {
  uint64_t ticket;
  {
    std::lock_guard lock(mutex_);
    ticket = ++lastTicket_;
    waiting_ = Job{ticket, std::move(document), std::move(query)};
    wanted_ = ticket;
  }
  wake_.notify_one();
  return ticket;
}

void BackgroundSearch::cancel() {
  std::lock_guard lock(mutex_);
  waiting_.reset();
  wanted_ = 0;
}

void BackgroundSearch::run() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || waiting_; });
      if (stopping_) return;
      job = std::move(*waiting_);
      waiting_.reset();
    }
    search(job);
  }
}

void BackgroundSearch::search(const Job& job) {
  using Clock = std::chrono::steady_clock;
  MatchBatch batch{job.ticket, {}, false};
  Clock::time_point handed = Clock::now();
  bool handedAny = false;
  auto handOver = [&] {
    deliver_(std::exchange(batch, MatchBatch{job.ticket, {}, false}));
    handed = Clock::now();
    handedAny = true;
  };
  bool complete = SearchMatches(
      *job.document, job.query, [&](Match&& match) { batch.matches.push_back(std::move(match)); },
      [&] {
        if (!wanted(job.ticket)) return false;
        // The first matches go at once, so the list starts filling while the
        // search goes on; later ones in batches, so the window is not flooded.
        if (!batch.matches.empty() && (!handedAny || Clock::now() - handed >= interval_)) handOver();
        return true;
      });
  if (!complete || !wanted(job.ticket)) return;
  batch.last = true;
  handOver();
}

}  // namespace tellwright
