// The one engine of solves: the batch, the Python module's solve_many and every task's tries
// run on it. Its results come in the order their tasks were added, each as soon as it and all
// before it are done; a task's tries are jobs of their own, side by side on the engine's
// threads. One stop flag ends every solve within milliseconds and leaves no thread running.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "request/solve_task.hpp"

namespace cubega {

// A task as the engine solves it.
struct EngineJob {
    SolveTask task;
    std::size_t tag = 0;  // the caller's own mark (a batch's line), handed back with the result
    // Told of the search, for a task of one try (a progress bar, a logbook written as it
    // goes); it must outlive the task's result. Several tries are never followed.
    SolveListener* listener = nullptr;
    bool keepResultsLog = false;  // keep the answering try's results.txt in the result
    SolveFunction solve;          // the solve itself (tests plant faults here); solve() when empty
};

struct EngineResult {
    std::size_t tag = 0;
    SolveTask task;
    TaskOutcome outcome;
    std::vector<LogbookRow> rows;  // the logbook's rows, when the task keeps its logbook
    std::string resultsLog;
};

// A request refused before it was solved, in its place in the order.
struct EngineRefusal {
    std::size_t tag = 0;
    std::string message;
};

using EngineTaken = std::variant<EngineResult, EngineRefusal>;

class SolveEngine {
  public:
    // At most `threads` solves at once, a thread started for each job until there are that
    // many; with none, the jobs run on the caller's thread within takeNext().
    explicit SolveEngine(std::size_t threads);
    ~SolveEngine();
    SolveEngine(const SolveEngine&) = delete;
    SolveEngine& operator=(const SolveEngine&) = delete;

    void add(EngineJob job);
    void addRefusal(EngineRefusal refusal);
    // No more tasks will be added: takeNext() gives nothing once every task is taken.
    void closeInput();

    // Added and not yet taken.
    std::size_t waiting() const;

    // The next result in order, once it is done: within `timeout`, or else nothing (without a
    // timeout it waits as long as it takes; nothing too once the input is closed and every
    // task taken, or the engine stops). A fault that ended a task's solve (an exception
    // of its try) is thrown here; a task none of whose tries finished throws RunError.
    std::optional<EngineTaken> takeNext(
        std::optional<std::chrono::milliseconds> timeout = std::nullopt);

    // Ends the running solves, drops what is left and joins the threads. Safe to call more
    // than once, and from another thread than the taker's only through requestStop().
    void stop();
    // Raises the stop flag only: the solves end, and takeNext() gives nothing more.
    void requestStop() { stopping_ = true; }
    bool stopping() const { return stopping_; }

  private:
    struct Task;
    struct Try {
        std::shared_ptr<Task> task;
        std::int32_t index = 0;
    };

    void work();
    void runTry(const Try& next);
    void runNextInline();
    void finish(Task& task);

    std::size_t maxThreads_;
    mutable std::mutex mutex_;
    std::condition_variable tryAdded_;
    std::condition_variable taskDone_;
    std::deque<Try> queue_;                    // tries to run, in order
    std::deque<std::shared_ptr<Task>> tasks_;  // from the next to take on
    std::vector<std::thread> threads_;
    std::atomic<bool> stopping_{false};
    bool inputClosed_ = false;
};

// The solves to run at once where nobody says: one a processor.
std::size_t processorsAvailable();

// A task's tries side by side on `threads` threads (0: one after another on this one): the
// outcome that answers, and the answering try's results log to `resultsLog` if given.
TaskOutcome runTries(const SolveTask& task, std::size_t threads, RecordWriter* resultsLog,
                     const SolveFunction& solve = {});

}  // namespace cubega
