#include "cli/tries.hpp"

#include "request/stop_flag.hpp"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace cubega {

namespace {

class Tries {
  public:
    Tries(const SolveTask& task, const TaskServices& services)
        : task_(task),
          services_(services),
          firstSeed_(firstSeedOf(task)),
          runs_(static_cast<std::size_t>(task.tries)) {}

    void work() {
        StopWhenFlagged stop(answered_);
        for (std::size_t k = next_++; k < runs_.size() && !answered_; k = next_++) {
            try {
                runTry(k, stop);
            } catch (const SolveStopped&) {
            } catch (...) {
                std::lock_guard lock(mutex_);
                failure_ = failure_ ? failure_ : std::current_exception();
                answered_ = true;  // the others stop too
            }
        }
    }

    TaskOutcome answer() {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        return answerOfTries(task_, firstSeed_, std::move(runs_), firstFinished_,
                             services_.resultsLog);
    }

  private:
    void runTry(std::size_t k, StopWhenFlagged& stop) {
        TextRecordWriter log;
        TaskServices one = services_;
        SolveListeners listeners{&stop, services_.listener};
        one.listener = &listeners;
        one.resultsLog = services_.resultsLog != nullptr ? &log : nullptr;
        TaskOutcome outcome = runTask(tryOf(task_, static_cast<std::int32_t>(k), firstSeed_), one);
        std::lock_guard lock(mutex_);
        runs_[k].outcome = std::move(outcome);
        runs_[k].resultsLog = log.text();
        if (task_.firstTry && !firstFinished_) {
            firstFinished_ = k;
            answered_ = true;
        }
    }

    const SolveTask& task_;
    const TaskServices& services_;
    std::uint32_t firstSeed_;
    std::vector<TryRun> runs_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> answered_{false};
    std::mutex mutex_;
    std::optional<std::size_t> firstFinished_;
    std::exception_ptr failure_;
};

}  // namespace

TaskOutcome runTriesSideBySide(const SolveTask& task, const TaskServices& services,
                               std::size_t jobs) {
    Tries tries(task, services);
    std::vector<std::thread> workers;
    const std::size_t threads =
        std::clamp<std::size_t>(jobs, 1, static_cast<std::size_t>(task.tries));
    for (std::size_t j = 0; j < threads; ++j) {
        workers.emplace_back([&tries] { tries.work(); });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    return tries.answer();
}

}  // namespace cubega
