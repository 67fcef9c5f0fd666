#include "python/solve_job.hpp"

namespace cubega {

JobResult runJob(const SolveJob& job, SolveListener* observer) {
    JobResult result;
    result.job = job;
    std::optional<KeptRows> rows;
    if (job.keepLog) {
        rows.emplace(job.logEvery);
    }
    TaskServices services;
    SolveListeners listeners{observer, rows ? &*rows : nullptr};
    services.listener = &listeners;
    result.outcome = runTask(job.task, services);
    if (rows) {
        result.rows = std::move(rows->rows());
    }
    return result;
}

}  // namespace cubega
