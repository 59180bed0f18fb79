#include "layout/layout_worker.h"

namespace tellwright {

LayoutWorker::LayoutWorker() : thread_([this] { run(); }) {}

LayoutWorker::~LayoutWorker() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    waiting_.reset();
  }
  wake_.notify_one();
  thread_.join();
}

uint64_t LayoutWorker::request(std::string dot, const LayoutRequest& what, Done done) {
  uint64_t ticket;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ticket = ++lastTicket_;
    waiting_ = Job{ticket, std::move(dot), what, std::move(done)};
  }
  wake_.notify_one();
  return ticket;
}

void LayoutWorker::run() {
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || waiting_.has_value(); });
      if (stopping_) return;
      job = std::move(*waiting_);
      waiting_.reset();
    }
    LayoutResult result = layOut(job);
    if (job.done) job.done(job.ticket, std::move(result));
  }
}

LayoutResult LayoutWorker::layOut(const Job& job) {
  if (lastWhat_ == job.what && lastDot_ == job.dot) return lastResult_;
  lastResult_ = LayOutGraph(job.dot, job.what);
  ++layoutsRun_;
  lastDot_ = job.dot;
  lastWhat_ = job.what;
  return lastResult_;
}

}  // namespace tellwright
