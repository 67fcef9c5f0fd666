// One solve as the Python module runs it: the task, and the logbook's rows kept as they are
// (the module hands them to Python as dicts).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "request/solve_task.hpp"
#include "stages/solve_events.hpp"

namespace cubega {

struct SolveJob {
    SolveTask task;
    bool keepLog = false;
    std::int32_t logEvery = 0;  // every K-th generation too; 0 for none
};

// How a job ended: its outcome and logbook rows, or the message of the rule it broke (or of
// the fault that stopped it), which Python gets in place of its result.
struct JobResult {
    SolveJob job;
    TaskOutcome outcome;
    std::vector<LogbookRow> rows;
    std::optional<std::string> error;
};

// Keeps the rows of a solve's logbook.
class KeptRows final : public Logbook {
  public:
    explicit KeptRows(std::int32_t every) : every_(every) {}

    std::int32_t every() const override { return every_; }
    void logRow(const LogbookRow& row) override { rows_.push_back(row); }

    std::vector<LogbookRow>& rows() { return rows_; }

  private:
    std::int32_t every_;
    std::vector<LogbookRow> rows_;
};

// Solves the job's task; `observer`, if given, is told where the search stands and may stop it
// by throwing, which passes on.
JobResult runJob(const SolveJob& job, SolveListener* observer);

}  // namespace cubega
