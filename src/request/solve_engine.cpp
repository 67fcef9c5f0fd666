#include "request/solve_engine.hpp"

#include <algorithm>
#include <exception>
#include <utility>

#include "request/logbook_text.hpp"
#include "request/stop_flag.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

// A try as it ran: its outcome (none when it was stopped) and its results log's text.
struct FinishedTry {
    std::optional<TaskOutcome> outcome;
    std::string resultsLog;
};

// Whether try a answers before try b: solved before not, then fewer moves, then in try order.
bool answersBefore(const TaskOutcome& a, const TaskOutcome& b) {
    if (a.result.solved() != b.result.solved()) {
        return a.result.solved();
    }
    return a.result.solved() && a.result.solution.size() < b.result.solution.size();
}

// The try whose outcome answers: the shortest solution of a finished try (of equal ones the
// lowest seed's), or with task.firstTry the try that finished first.
std::optional<std::size_t> answeringTry(const SolveTask& task,
                                        const std::vector<FinishedTry>& tries,
                                        std::optional<std::size_t> firstFinished) {
    if (task.firstTry) {
        return firstFinished;
    }
    std::optional<std::size_t> answer;
    for (std::size_t k = 0; k < tries.size(); ++k) {
        if (tries[k].outcome &&
            (!answer || answersBefore(*tries[k].outcome, *tries[*answer].outcome))) {
            answer = k;
        }
    }
    return answer;
}

// The outcome that answers a task from its tries, with every try's summary; the answering
// try's results log goes to `resultsLog`.
TaskOutcome answerOfTries(const SolveTask& task, std::uint32_t firstSeed,
                          std::vector<FinishedTry>& tries, std::optional<std::size_t> firstFinished,
                          std::string& resultsLog) {
    const std::optional<std::size_t> answer = answeringTry(task, tries, firstFinished);
    if (!answer || !tries[*answer].outcome) {
        throw RunError("no try of the cube finished");
    }
    TaskOutcome outcome = *tries[*answer].outcome;
    for (std::size_t k = 0; k < tries.size(); ++k) {
        TryResult result;
        result.seed = firstSeed + static_cast<std::uint32_t>(k);  // wraps past 2^32
        result.answers = k == *answer;
        if (tries[k].outcome) {
            const SolveResult& solved = tries[k].outcome->result;
            result.finished = true;
            result.solved = solved.solved();
            result.solutionMoves = solved.solution.size();
            result.seconds = solved.seconds;
        }
        outcome.tries.push_back(result);
    }
    resultsLog = std::move(tries[*answer].resultsLog);
    return outcome;
}

}  // namespace

// A task in flight: its job, its tries as they finish, and its result once all have.
struct SolveEngine::Task {
    EngineJob job;
    std::optional<EngineRefusal> refusal;
    std::uint32_t firstSeed = 0;
    std::vector<FinishedTry> tries;
    std::size_t triesLeft = 0;
    std::optional<std::size_t> firstFinished;
    std::atomic<bool> answered{false};  // no try need run any longer
    std::exception_ptr failure;
    bool done = false;
    EngineResult result;
};

SolveEngine::SolveEngine(std::size_t threads) : maxThreads_(threads) {}

SolveEngine::~SolveEngine() {
    stop();
}

void SolveEngine::add(EngineJob job) {
    auto task = std::make_shared<Task>();
    const auto tries = static_cast<std::size_t>(std::max(job.task.tries, 1));
    task->firstSeed = tries > 1 ? firstSeedOf(job.task) : 0;
    task->tries.resize(tries);
    task->triesLeft = tries;
    task->job = std::move(job);
    std::unique_lock lock(mutex_);
    tasks_.push_back(task);
    for (std::size_t k = 0; k < tries; ++k) {
        queue_.push_back({task, static_cast<std::int32_t>(k)});
        if (threads_.size() < maxThreads_) {
            threads_.emplace_back([this] { work(); });
        }
    }
    tryAdded_.notify_all();
}

void SolveEngine::addRefusal(EngineRefusal refusal) {
    auto task = std::make_shared<Task>();
    task->refusal = std::move(refusal);
    task->done = true;
    std::unique_lock lock(mutex_);
    tasks_.push_back(std::move(task));
    taskDone_.notify_all();
}

void SolveEngine::closeInput() {
    std::unique_lock lock(mutex_);
    inputClosed_ = true;
    taskDone_.notify_all();
}

std::size_t SolveEngine::waiting() const {
    std::unique_lock lock(mutex_);
    return tasks_.size();
}

std::optional<EngineTaken> SolveEngine::takeNext(std::optional<std::chrono::milliseconds> timeout) {
    const auto frontDone = [this] { return !tasks_.empty() && tasks_.front()->done; };
    if (maxThreads_ == 0) {
        while (!stopping_ && !tasks_.empty() && !tasks_.front()->done) {
            runNextInline();
        }
    }
    std::unique_lock lock(mutex_);
    const auto ready = [&] { return stopping_ || frontDone() || (inputClosed_ && tasks_.empty()); };
    if (timeout) {
        taskDone_.wait_for(lock, *timeout, ready);
    } else {
        taskDone_.wait(lock, ready);
    }
    if (stopping_ || !frontDone()) {
        return std::nullopt;
    }
    const std::shared_ptr<Task> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    if (task->refusal) {
        return EngineTaken(std::move(*task->refusal));
    }
    if (task->failure) {
        std::rethrow_exception(task->failure);
    }
    return EngineTaken(std::move(task->result));
}

void SolveEngine::stop() {
    {
        std::unique_lock lock(mutex_);
        stopping_ = true;
    }
    tryAdded_.notify_all();
    taskDone_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
    threads_.clear();
    queue_.clear();
    tasks_.clear();
}

void SolveEngine::work() {
    for (;;) {
        Try next;
        {
            std::unique_lock lock(mutex_);
            tryAdded_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (stopping_) {
                return;
            }
            next = std::move(queue_.front());
            queue_.pop_front();
        }
        runTry(next);
    }
}

void SolveEngine::runNextInline() {
    Try next;
    {
        std::unique_lock lock(mutex_);
        if (queue_.empty()) {
            return;
        }
        next = std::move(queue_.front());
        queue_.pop_front();
    }
    runTry(next);
}

void SolveEngine::runTry(const Try& next) {
    Task& task = *next.task;
    const EngineJob& job = task.job;
    const bool oneTry = task.tries.size() == 1;
    FinishedTry finished;
    std::exception_ptr failure;
    if (!task.answered) {
        StopWhenFlagged stop(stopping_, task.answered);  // or when its task is answered
        std::optional<KeptRows> rows;
        if (job.task.keepLogbook) {
            rows.emplace(job.task.logEvery);
        }
        SolveListeners listeners{&stop, oneTry ? job.listener : nullptr, rows ? &*rows : nullptr};
        TextRecordWriter log;
        TaskServices services;
        services.resultsLog = job.keepResultsLog ? &log : nullptr;
        services.listener = &listeners;
        services.solve = job.solve;
        try {
            finished.outcome =
                runTask(oneTry ? job.task : tryOf(job.task, next.index, task.firstSeed), services);
            finished.resultsLog = log.text();
            if (rows) {
                task.result.rows = std::move(rows->rows);  // a task that keeps rows has one try
            }
        } catch (const SolveStopped&) {
            if (stopping_) {
                return;  // the engine stops: nobody takes this task
            }
        } catch (...) {
            failure = std::current_exception();
        }
    }
    std::unique_lock lock(mutex_);
    if (failure && !task.failure) {
        task.failure = failure;
        task.answered = true;  // the other tries stop too
    }
    if (finished.outcome && job.task.firstTry && !task.firstFinished) {
        task.firstFinished = static_cast<std::size_t>(next.index);
        task.answered = true;
    }
    task.tries[static_cast<std::size_t>(next.index)] = std::move(finished);
    if (--task.triesLeft == 0) {
        finish(task);
        taskDone_.notify_all();
    }
}

// Called with the lock held, once every try has finished or stopped.
void SolveEngine::finish(Task& task) {
    task.done = true;
    if (task.failure) {
        return;
    }
    EngineResult& result = task.result;
    result.tag = task.job.tag;
    result.task = task.job.task;
    if (task.tries.size() == 1) {
        if (!task.tries[0].outcome) {
            task.failure = std::make_exception_ptr(RunError("the solve was stopped"));
            return;
        }
        result.outcome = std::move(*task.tries[0].outcome);
        result.resultsLog = std::move(task.tries[0].resultsLog);
        return;
    }
    try {
        result.outcome = answerOfTries(task.job.task, task.firstSeed, task.tries,
                                       task.firstFinished, result.resultsLog);
    } catch (...) {
        task.failure = std::current_exception();
    }
}

std::size_t processorsAvailable() {
    return std::max(1U, std::thread::hardware_concurrency());
}

TaskOutcome runTries(const SolveTask& task, std::size_t threads, RecordWriter* resultsLog,
                     const SolveFunction& solve) {
    SolveEngine engine(std::min(threads, static_cast<std::size_t>(std::max(task.tries, 1))));
    EngineJob job;
    job.task = task;
    job.keepResultsLog = resultsLog != nullptr;
    job.solve = solve;
    engine.add(std::move(job));
    EngineResult result = std::get<EngineResult>(*engine.takeNext());
    if (resultsLog != nullptr) {
        resultsLog->writeFormatted(result.resultsLog);
        resultsLog->close();
    }
    return std::move(result.outcome);
}

}  // namespace cubega
