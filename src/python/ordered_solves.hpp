// Several solves at once, their results in the order they were asked for: what the Python
// module's solve_many runs on. Nothing here touches Python: the module adds jobs and takes
// results with the GIL held and waits without it, so the solves run beside the interpreter.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "python/solve_job.hpp"

namespace cubega {

class OrderedSolves {
  public:
    // At most `threads` solves at once; a thread is started for each job until there are that
    // many.
    explicit OrderedSolves(std::size_t threads) : maxThreads_(threads) {}
    ~OrderedSolves() { stop(); }
    OrderedSolves(const OrderedSolves&) = delete;
    OrderedSolves& operator=(const OrderedSolves&) = delete;

    // A job to solve; its result comes after those of everything added before it.
    void add(SolveJob job);
    // A result that needs no solve (a request that broke a rule), in its place in the order.
    void addResult(JobResult result);

    // Added and not yet taken.
    std::size_t waiting() const;

    // The next result in order, if it is done within `timeout`.
    std::optional<JobResult> takeNext(std::chrono::milliseconds timeout);

    // Ends the running solves (within the few milliseconds between two observations of a
    // search), drops what is left and joins the threads.
    void stop();

  private:
    void work();

    std::size_t maxThreads_;
    mutable std::mutex mutex_;
    std::condition_variable jobAdded_;
    std::condition_variable resultFiled_;
    std::deque<std::pair<std::size_t, SolveJob>> queue_;  // by their place in the order
    std::deque<std::optional<JobResult>> results_;        // from the next to take on
    std::size_t added_ = 0;
    std::size_t taken_ = 0;
    std::vector<std::thread> threads_;
    std::atomic<bool> stopping_{false};
};

}  // namespace cubega
