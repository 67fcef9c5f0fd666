#include "cli/batch.hpp"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "request/result_json.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

// Thrown from a solve's observer when the batch stops: the search unwinds within a few
// milliseconds.
struct BatchStopped {};

class StopCheck final : public SolveObserver {
  public:
    explicit StopCheck(const std::atomic<bool>& stopping) : stopping_(&stopping) {}
    void stageProgress(const StageProgress&) override {
        if (stopping_->load(std::memory_order_relaxed)) {
            throw BatchStopped{};
        }
    }

  private:
    const std::atomic<bool>* stopping_;
};

// What the workers share: the input, read a line at a time, and the records in input order.
class Batch {
  public:
    Batch(std::istream& in, const BatchOptions& options) : in_(&in), options_(options) {}

    // A worker: takes the next task, solves it, files its record; until the input ends or the
    // batch stops.
    void work() {
        StopCheck stopCheck(stopping_);
        for (;;) {
            std::size_t slot = 0;
            BatchLine line;
            std::size_t lineNumber = 0;
            {
                std::unique_lock lock(mutex_);
                if (!nextTask(slot, line, lineNumber)) {
                    break;
                }
            }
            std::string record;
            bool failed = false;
            bool faulty = false;
            try {
                record = recordOf(line, lineNumber, stopCheck, failed, faulty);
            } catch (const BatchStopped&) {
                break;
            }
            std::unique_lock lock(mutex_);
            records_[slot] = std::move(record);
            anyLineFailed_ = anyLineFailed_ || failed;
            anySelfCheckFailed_ = anySelfCheckFailed_ || faulty;
            changed_.notify_all();
        }
        std::unique_lock lock(mutex_);
        ++workersDone_;
        changed_.notify_all();
    }

    // The writer: each record as soon as it and all before it are there. Returns false when
    // the output failed, with errno's reason in `reason`.
    bool write(std::ostream& out, std::size_t workers, std::string& reason) {
        for (std::size_t next = 0;; ++next) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] {
                return (next < records_.size() && records_[next]) ||
                       (workersDone_ == workers && next >= records_.size());
            });
            if (next >= records_.size()) {
                return true;
            }
            const std::string record = std::move(*records_[next]);
            lock.unlock();
            errno = 0;
            out << record << '\n' << std::flush;
            if (!out) {
                reason = errno != 0 ? std::strerror(errno) : "the stream failed";
                lock.lock();
                stopping_ = true;
                return false;
            }
        }
    }

    bool anyLineFailed() const { return anyLineFailed_; }
    bool anySelfCheckFailed() const { return anySelfCheckFailed_; }

  private:
    // The next line that holds a task (or an error), with a slot for its record.
    bool nextTask(std::size_t& slot, BatchLine& line, std::size_t& lineNumber) {
        std::string text;
        while (!stopping_ && std::getline(*in_, text)) {
            lineNumber = ++linesRead_;
            line = parseBatchLine(text, lineNumber, options_.defaults);
            if (!std::holds_alternative<NoTask>(line)) {
                slot = records_.size();
                records_.emplace_back();
                return true;
            }
        }
        return false;
    }

    std::string recordOf(const BatchLine& line, std::size_t lineNumber, SolveObserver& observer,
                         bool& failed, bool& faulty) const {
        if (const auto* error = std::get_if<LineError>(&line)) {
            failed = true;
            return errorJson(error->message, lineNumber).dump();
        }
        const SolveTask& task = std::get<SolveTask>(line);
        TaskServices services;
        services.observer = &observer;
        services.solve = options_.solve;
        const TaskOutcome outcome = runTask(task, services);
        faulty = !outcome.result.selfCheckPassed;
        return resultJson(task, outcome).dump();
    }

    std::istream* in_;
    BatchOptions options_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::optional<std::string>> records_;  // by task, in input order
    std::size_t linesRead_ = 0;
    std::size_t workersDone_ = 0;
    std::atomic<bool> stopping_{false};
    bool anyLineFailed_ = false;
    bool anySelfCheckFailed_ = false;
};

}  // namespace

int runBatch(std::istream& in, std::ostream& out, std::ostream& err, const BatchOptions& options) {
    Batch batch(in, options);
    const std::size_t jobs = std::max<std::size_t>(options.jobs, 1);
    std::vector<std::thread> workers;
    for (std::size_t j = 0; j < jobs; ++j) {
        workers.emplace_back([&batch] { batch.work(); });
    }
    std::string reason;
    const bool written = batch.write(out, jobs, reason);
    for (std::thread& worker : workers) {
        worker.join();
    }
    if (!written) {
        err << "cube-solver: cannot write the output: " << reason << '\n';
        return kStatusStopped;
    }
    if (batch.anySelfCheckFailed()) {
        err << "cube-solver: internal fault: a solution does not solve its cube\n";
        return kStatusInternalFault;
    }
    return batch.anyLineFailed() ? kStatusStopped : kStatusDone;
}

}  // namespace cubega
