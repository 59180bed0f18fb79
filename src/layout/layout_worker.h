#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "layout/graph_layout.h"

namespace tellwright {

// Lays out graphs on a thread of its own, one at a time, so that a window
// never waits for Graphviz. Only the newest request counts: one asked for
// while a layout runs waits, and replaces any other still waiting, so a
// burst of edits costs at most one layout beyond the one running. A graph
// the same as the last one laid out (an edit that changed nothing on the
// map) gets the last result again without Graphviz. The window keeps
// showing the old picture until a result arrives.
class LayoutWorker {
 public:
  // Runs on the worker's thread with the request's ticket and its result; a
  // window hands it on to its own thread (QMetaObject::invokeMethod).
  using Done = std::function<void(uint64_t ticket, LayoutResult result)>;

  LayoutWorker();
  // Waits for the layout that runs, drops the one waiting.
  ~LayoutWorker();
  LayoutWorker(const LayoutWorker&) = delete;
  LayoutWorker& operator=(const LayoutWorker&) = delete;

  // Asks for a layout of `dot`; returns its ticket, higher than any before.
  // A request replaced before it started never calls `done`.
  uint64_t request(std::string dot, const LayoutRequest& what, Done done);

  // How many layouts Graphviz ran (results given again not counted).
  int layoutsRun() const { return layoutsRun_; }

 private:
  struct Job {
    uint64_t ticket = 0;
    std::string dot;
    LayoutRequest what;
    Done done;
  };
  void run();
  LayoutResult layOut(const Job& job);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> waiting_;
  uint64_t lastTicket_ = 0;
  bool stopping_ = false;
  std::atomic<int> layoutsRun_ = 0;
  // The last layout, used on the worker's thread only.
  std::string lastDot_;
  std::optional<LayoutRequest> lastWhat_;
  LayoutResult lastResult_;
  std::thread thread_;  // last: starts once the members above exist
};

}  // namespace tellwright
