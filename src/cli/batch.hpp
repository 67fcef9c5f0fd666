// The batch command: one task a line in, one JSON record a task out, in input order, each
// written and flushed as soon as it and all before it are done, with several solves at once;
// the logbook's rows of a line written together, just before its record; and a batch that
// resumes from the records a killed run left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>

#include "cli/batch_part.hpp"
#include "request/logbook_text.hpp"
#include "request/request_json.hpp"
#include "run/text_file.hpp"

namespace cubega {

// Where a logbook goes and in what form (what it keeps, the tasks say).
struct LogSettings {
    std::filesystem::path path;
    LogFormat format = LogFormat::jsonLines;
};

struct BatchOptions {
    BatchDefaults defaults;  // with the logbook's values when `log` is set
    std::size_t jobs = 1;    // solves at once, one thread each
    SolveFunction solve;     // the solve itself (tests plant faults here); solve() when empty
    std::optional<LogSettings> log;
    std::optional<std::filesystem::path> output;  // the records there, not on `out`
    // Keep the complete records already in `output` (and the rows of their lines in the log),
    // and solve the lines after them.
    bool resume = false;
    BatchPart part;  // the input lines it solves: all of them, or part K of N
};

// Returns the exit status: 0 when every task was solved, 1 when a line could not be (its record
// says why, the others go on) or a file failed (then everything stops), 2 when the records to
// resume are not this input's, 3 when a solution failed its own check, 4 when a budget ended a
// solve before its cube was solved.
int runBatch(std::istream& in, std::ostream& out, std::ostream& err, const BatchOptions& options);

// A logbook that writes its rows to a file as they come (flushed when the file is).
class FileLogbook final : public Logbook {
  public:
    FileLogbook(TextFile& file, LogFormat format, std::int32_t every)
        : file_(&file), format_(format), every_(every) {}

    std::int32_t every() const override { return every_; }
    void logRow(const LogbookRow& row) override {
        file_->write(logbookRowText(row, format_), false);
    }

  private:
    TextFile* file_;
    LogFormat format_;
    std::int32_t every_;
};

}  // namespace cubega
