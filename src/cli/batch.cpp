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

#include "cli/batch_resume.hpp"
#include "request/result_json.hpp"
#include "request/stop_flag.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

constexpr const char* kOneTryLogged =
    "the logbook keeps one try of a line: give it \"tries\": 1 (or none) with --log";

// A task's record with the logbook's rows of its line, and how its solve ended.
struct Record {
    std::string record;
    std::string rows;
    int status = kStatusDone;  // kStatusStopped for a line that could not be solved, ...
};

// Where the records and the rows go: the output stream or file, and the logbook's file.
class BatchFiles {
  public:
    BatchFiles(std::ostream& out, const BatchOptions& options, bool resumed) : out_(&out) {
        const auto mode = resumed ? TextFile::Mode::append : TextFile::Mode::create;
        if (options.output) {
            output_.emplace(*options.output, mode);
        }
        if (options.log) {
            const bool fresh = !resumed || !std::filesystem::exists(options.log->path) ||
                               std::filesystem::file_size(options.log->path) == 0;
            log_.emplace(options.log->path, mode);
            if (fresh) {
                log_->write(logbookHeader(options.log->format, true));
            }
        }
    }

    // The rows first: a record on file means that its rows are too. Throws RunError.
    void write(const Record& record) {
        if (log_) {
            log_->write(record.rows);
        }
        if (output_) {
            output_->write(record.record + "\n");
            return;
        }
        errno = 0;
        *out_ << record.record << '\n' << std::flush;
        if (!*out_) {
            throw RunError(std::string("cannot write the output: ") +
                           (errno != 0 ? std::strerror(errno) : "the stream failed"));
        }
    }

  private:
    std::ostream* out_;
    std::optional<TextFile> output_;
    std::optional<TextFile> log_;
};

// What the workers share: the input, read a line at a time, and the records in input order.
class Batch {
  public:
    Batch(std::istream& in, const BatchOptions& options, std::size_t linesDone)
        : in_(&in), options_(options), linesRead_(linesDone) {}

    // A worker: takes the next task, solves it, files its record; until the input ends or the
    // batch stops.
    void work() {
        StopWhenFlagged stopCheck(stopping_);
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
            Record record;
            try {
                record = recordOf(line, lineNumber, stopCheck);
            } catch (const SolveStopped&) {
                break;
            }
            std::unique_lock lock(mutex_);
            records_[slot] = std::move(record);
            changed_.notify_all();
        }
        std::unique_lock lock(mutex_);
        ++workersDone_;
        changed_.notify_all();
    }

    // The writer: each record as soon as it and all before it are there. Returns the worst
    // status of the records; throws RunError when a file failed, and then stops the batch.
    int write(BatchFiles& files, std::size_t workers) {
        int status = kStatusDone;
        for (std::size_t next = 0;; ++next) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] {
                return (next < records_.size() && records_[next]) ||
                       (workersDone_ == workers && next >= records_.size());
            });
            if (next >= records_.size()) {
                return status;
            }
            const Record record = std::move(*records_[next]);
            lock.unlock();
            try {
                files.write(record);
            } catch (const RunError&) {
                stopping_ = true;
                throw;
            }
            status = worseBatchStatus(status, record.status);
        }
    }

    void stop() { stopping_ = true; }

  private:
    // The next line that holds a task (or an error), with a slot for its record.
    bool nextTask(std::size_t& slot, BatchLine& line, std::size_t& lineNumber) {
        std::string text;
        while (!stopping_ && readBatchLine(*in_, text, linesRead_ + 1)) {
            lineNumber = ++linesRead_;
            if (!options_.part.holds(lineNumber)) {
                continue;  // another part's line
            }
            line = parseBatchLine(text, lineNumber, options_.defaults);
            if (!std::holds_alternative<NoTask>(line)) {
                slot = records_.size();
                records_.emplace_back();
                return true;
            }
        }
        return false;
    }

    Record recordOf(const BatchLine& line, std::size_t lineNumber, SolveObserver& observer) const {
        Record record;
        if (const auto* error = std::get_if<LineError>(&line)) {
            record.record = errorJson(error->message, lineNumber).dump();
            record.status = kStatusStopped;
            return record;
        }
        const SolveTask& task = std::get<SolveTask>(line);
        if (task.tries > 1 && options_.log) {
            record.record = errorJson(kOneTryLogged, lineNumber).dump();
            record.status = kStatusStopped;
            return record;
        }
        std::optional<TextLogbook> logbook;
        if (options_.log) {
            logbook.emplace(options_.log->format, options_.log->every, lineNumber);
        }
        TaskServices services;
        services.observer = &observer;
        services.logbook = logbook ? &*logbook : nullptr;
        services.solve = options_.solve;
        const TaskOutcome outcome = runTask(task, services);
        record.record = resultJson(task, outcome, lineNumber).dump();
        record.rows = logbook ? logbook->text() : "";
        record.status = !outcome.result.solved()          ? kStatusNotSolved
                        : !outcome.result.selfCheckPassed ? kStatusInternalFault
                                                          : kStatusDone;
        return record;
    }

    std::istream* in_;
    BatchOptions options_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::optional<Record>> records_;  // by task, in input order
    std::size_t linesRead_ = 0;
    std::size_t workersDone_ = 0;
    std::atomic<bool> stopping_{false};
};

int runWorkers(std::istream& in, std::ostream& out, const BatchOptions& options) {
    const ResumePoint resumed = options.resume ? resumeBatch(*options.output, options.log, in,
                                                             options.defaults, options.part)
                                               : ResumePoint{};
    BatchFiles files(out, options, options.resume);
    Batch batch(in, options, resumed.linesDone);
    const std::size_t jobs = std::max<std::size_t>(options.jobs, 1);
    std::vector<std::thread> workers;
    for (std::size_t j = 0; j < jobs; ++j) {
        workers.emplace_back([&batch] { batch.work(); });
    }
    int status = resumed.status;
    std::optional<RunError> failure;
    try {
        status = worseBatchStatus(status, batch.write(files, jobs));
    } catch (const RunError& error) {
        failure = error;
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    if (failure) {
        throw *failure;
    }
    if (status == kStatusInternalFault) {
        throw InternalFault("a solution does not solve its cube");
    }
    return status;
}

}  // namespace

int runBatch(std::istream& in, std::ostream& out, std::ostream& err, const BatchOptions& options) {
    int status = kStatusDone;
    const int end = exitStatusOf([&] { status = runWorkers(in, out, options); }, err);
    return end != kStatusDone ? end : status;
}

}  // namespace cubega
