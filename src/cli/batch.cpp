#include "cli/batch.hpp"

#include <optional>
#include <semaphore>
#include <string>
#include <thread>

#include "cli/batch_resume.hpp"
#include "request/result_json.hpp"
#include "request/solve_engine.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

// Lines read ahead of the records written, per job: a job whose record waits for an earlier,
// slower line's takes the next line meanwhile.
constexpr std::ptrdiff_t kReadAheadPerJob = 4;

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
        writeOutput(*out_, record.record + "\n");
    }

  private:
    std::ostream* out_;
    std::optional<TextFile> output_;
    std::optional<TextFile> log_;
};

Record recordOf(const EngineTaken& taken, const BatchOptions& options) {
    Record record;
    if (const auto* refused = std::get_if<EngineRefusal>(&taken)) {
        record.record = errorJson(refused->message, refused->tag).dump();
        record.status = kStatusStopped;
        return record;
    }
    const EngineResult& solved = std::get<EngineResult>(taken);
    record.record = resultJson(solved.task, solved.outcome, solved.tag).dump();
    if (options.log) {
        for (const LogbookRow& row : solved.rows) {
            record.rows += logbookRowText(row, options.log->format, solved.tag);
        }
    }
    const SolveResult& result = solved.outcome.result;
    record.status = !result.solved()          ? kStatusNotSolved
                    : !result.selfCheckPassed ? kStatusInternalFault
                                              : kStatusDone;
    return record;
}

// Reads the input a line at a time and hands its tasks to the engine, at most `readAhead`
// lines ahead of the records written; ends the engine's input when the input ends.
class LineReader {
  public:
    LineReader(std::istream& in, const BatchOptions& options, std::size_t linesDone,
               SolveEngine& engine, std::ptrdiff_t readAhead)
        : in_(&in),
          options_(&options),
          linesRead_(linesDone),
          engine_(&engine),
          free_(readAhead),
          readAhead_(readAhead) {}

    void read() {
        std::string text;
        while (!engine_->stopping() && readBatchLine(*in_, text, linesRead_ + 1)) {
            const std::size_t number = ++linesRead_;
            if (!options_->part.holds(number)) {
                continue;  // another part's line
            }
            const BatchLine line = parseBatchLine(text, number, options_->defaults);
            if (std::holds_alternative<NoTask>(line)) {
                continue;
            }
            free_.acquire();  // room for one more record
            if (engine_->stopping()) {
                break;
            }
            if (const auto* error = std::get_if<LineError>(&line)) {
                engine_->addRefusal({number, error->message});
            } else {
                EngineJob job;
                job.task = std::get<SolveTask>(line);
                job.tag = number;
                job.solve = options_->solve;
                engine_->add(std::move(job));
            }
        }
        engine_->closeInput();
    }

    // A record was written: one more line may be read.
    void recordWritten() { free_.release(); }
    // Lets a reader that waits for room go on, to see that the engine stops.
    void unblock() { free_.release(readAhead_); }

  private:
    std::istream* in_;
    const BatchOptions* options_;
    std::size_t linesRead_;
    SolveEngine* engine_;
    std::counting_semaphore<> free_;
    std::ptrdiff_t readAhead_;
};

int runLines(std::istream& in, std::ostream& out, const BatchOptions& options) {
    const ResumePoint resumed = options.resume ? resumeBatch(*options.output, options.log, in,
                                                             options.defaults, options.part)
                                               : ResumePoint{};
    BatchFiles files(out, options, options.resume);
    const std::size_t jobs = std::max<std::size_t>(options.jobs, 1);
    SolveEngine engine(jobs);
    const auto readAhead = static_cast<std::ptrdiff_t>(jobs) * kReadAheadPerJob;
    LineReader reader(in, options, resumed.linesDone, engine, readAhead);
    std::thread reading([&reader] { reader.read(); });
    int status = resumed.status;
    try {
        while (const std::optional<EngineTaken> taken = engine.takeNext()) {
            const Record record = recordOf(*taken, options);
            files.write(record);
            reader.recordWritten();
            status = worseBatchStatus(status, record.status);
        }
    } catch (...) {
        engine.requestStop();
        reader.unblock();
        reading.join();
        engine.stop();
        throw;
    }
    reading.join();
    if (status == kStatusInternalFault) {
        throw InternalFault("a solution does not solve its cube");
    }
    return status;
}

}  // namespace

int runBatch(std::istream& in, std::ostream& out, std::ostream& err, const BatchOptions& options) {
    int status = kStatusDone;
    const int end = exitStatusOf([&] { status = runLines(in, out, options); }, err);
    return end != kStatusDone ? end : status;
}

}  // namespace cubega
