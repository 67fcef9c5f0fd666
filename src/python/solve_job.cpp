#include "python/solve_job.hpp"

namespace cubega {

JobResult runJob(const SolveJob& job, SolveObserver* observer) {
    JobResult result;
    result.job = job;
    std::optional<KeptRows> rows;
    if (job.keepLog) {
        rows.emplace(job.logEvery);
    }
    TaskServices services;
    services.observer = observer;
    services.logbook = rows ? &*rows : nullptr;
    result.outcome = runTask(job.task, services);
    if (rows) {
        result.rows = std::move(rows->rows());
    }
    return result;
}

}  // namespace cubega
