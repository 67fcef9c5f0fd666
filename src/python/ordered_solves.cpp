#include "python/ordered_solves.hpp"

#include <exception>
#include <string>

#include "request/stop_flag.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

// The job's result, or the message of what ended it; throws SolveStopped when stopped.
JobResult resultOf(const SolveJob& job, SolveListener& observer) {
    JobResult result;
    RunEnd end;
    try {
        end = runGuarded([&] { result = runJob(job, &observer); });
    } catch (const SolveStopped&) {
        throw;
    } catch (const std::exception& error) {  // no thread may let an exception out
        end = {kStatusInternalFault, std::string("internal fault: ") + error.what()};
    }
    if (end.status != kStatusDone) {
        result = JobResult{};
        result.job = job;
        result.error = end.message;
    }
    return result;
}

}  // namespace

void OrderedSolves::add(SolveJob job) {
    std::unique_lock lock(mutex_);
    queue_.emplace_back(added_++, std::move(job));
    results_.emplace_back();
    if (threads_.size() < maxThreads_) {
        threads_.emplace_back([this] { work(); });
    }
    jobAdded_.notify_one();
}

void OrderedSolves::addResult(JobResult result) {
    std::unique_lock lock(mutex_);
    ++added_;
    results_.emplace_back(std::move(result));
    resultFiled_.notify_all();
}

std::size_t OrderedSolves::waiting() const {
    std::unique_lock lock(mutex_);
    return results_.size();
}

std::optional<JobResult> OrderedSolves::takeNext(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    const bool done = resultFiled_.wait_for(
        lock, timeout, [&] { return !results_.empty() && results_.front().has_value(); });
    if (!done) {
        return std::nullopt;
    }
    std::optional<JobResult> next = std::move(results_.front());
    results_.pop_front();
    ++taken_;
    return next;
}

void OrderedSolves::stop() {
    {
        std::unique_lock lock(mutex_);
        stopping_ = true;
    }
    jobAdded_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
    threads_.clear();
    queue_.clear();
    results_.clear();
}

void OrderedSolves::work() {
    StopWhenFlagged stopCheck(stopping_);
    for (;;) {
        std::pair<std::size_t, SolveJob> next;
        {
            std::unique_lock lock(mutex_);
            jobAdded_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (stopping_) {
                return;
            }
            next = std::move(queue_.front());
            queue_.pop_front();
        }
        JobResult result;
        try {
            result = resultOf(next.second, stopCheck);
        } catch (const SolveStopped&) {
            return;
        }
        std::unique_lock lock(mutex_);
        results_[next.first - taken_] = std::move(result);
        resultFiled_.notify_all();
    }
}

}  // namespace cubega
