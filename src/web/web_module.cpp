// The solver as a WebAssembly module for the web page, through embind: requests and results
// as JSON text, the results in the command line's JSON form, progress through a callback and,
// for the page's charts, the search's logbook in batches through another.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cube/facelets.hpp"
#include "cube/notation.hpp"
#include "platform/back_end.hpp"
#include "request/logbook_text.hpp"
#include "request/request_fields.hpp"
#include "request/request_json.hpp"
#include "request/result_json.hpp"
#include "request/solution_views.hpp"
#include "request/solve_task.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

// Hands progress to a JavaScript function (stage, run, location, generations done, of).
class ProgressCallback final : public ProgressFollower {
  public:
    explicit ProgressCallback(emscripten::val callback) : callback_(std::move(callback)) {}
    void stageProgress(const StageProgress& progress) override {
        callback_(std::string(stageName(progress.stage)), progress.run, progress.location,
                  progress.generationsDone, progress.generationsOfRun);
    }

  private:
    emscripten::val callback_;
};

// Keeps the rows of a solve's logbook until the page takes them, as numbers (formatting them
// as text here would cost a run more than the search's own logging): a row's numbers in the
// logbook's columns (kLogbookColumns, logbookRowNumbers). About kRowsPerRun evenly spaced rows
// a run of the running stage, besides the rows every logbook gets (each rise of the best, a run's
// first and last generation), and never more often than every kFewestGenerations generations: a row
// sorts the population to count its distinct rows, which would slow a short run down.
class ChartLogbook final : public Logbook {
  public:
    explicit ChartLogbook(const SearchSettings& settings) : settings_(settings) {}

    std::int32_t every() const override {
        return std::max(kFewestGenerations, generationsOfRun(stage_) / kRowsPerRun);
    }

    void logRow(const LogbookRow& row) override {
        stage_ = row.stage;  // a run's first generation is always logged
        const auto fields = logbookRowNumbers(row);
        rows_.insert(rows_.end(), fields.begin(), fields.end());
    }

    bool hasRows() const { return !rows_.empty(); }

    // The rows kept since the last call, as a new JavaScript Float64Array.
    emscripten::val takeRows() {
        const emscripten::val rows =
            emscripten::val::global("Float64Array")
                .new_(emscripten::typed_memory_view(rows_.size(), rows_.data()));
        rows_.clear();
        return rows;
    }

  private:
    static constexpr std::int32_t kRowsPerRun = 100;
    static constexpr std::int32_t kFewestGenerations = 32;

    std::int32_t generationsOfRun(Stage stage) const {
        switch (stage) {
            case Stage::block:
                return settings_.blockGenerations;
            case Stage::entry:
                return settings_.entryGenerations;
            case Stage::finish:
                return settings_.finishGenerations;
        }
        return 0;
    }

    SearchSettings settings_;
    Stage stage_ = Stage::block;
    std::vector<double> rows_;
};

// Hands progress to a JavaScript function, as ProgressCallback does, and before it the
// logbook's rows kept since the last call to another (a Float64Array).
class LoggedProgressCallback final : public ProgressFollower {
  public:
    LoggedProgressCallback(emscripten::val onProgress, emscripten::val onRows,
                           ChartLogbook& logbook)
        : progress_(std::move(onProgress)), onRows_(std::move(onRows)), logbook_(&logbook) {}

    void stageProgress(const StageProgress& progress) override {
        handRows();
        progress_.stageProgress(progress);
    }

    void handRows() {
        if (logbook_->hasRows()) {
            onRows_(logbook_->takeRows());
        }
    }

  private:
    ProgressCallback progress_;
    emscripten::val onRows_;
    ChartLogbook* logbook_;
};

// The answer to a request: what `answer` makes of it, or {"error": ...} with the message of
// the rule it breaks (the command line's message) or of the fault that stopped it, and the key
// of the field it names ("field"), if any.
std::string answered(const std::function<nlohmann::ordered_json()>& answer) {
    nlohmann::ordered_json json;
    const RunEnd end = runGuarded([&] { json = answer(); });
    if (end.status == kStatusDone) {
        return json.dump();
    }
    nlohmann::ordered_json error = errorJson(end.message);
    if (!end.field.empty()) {
        error["field"] = end.field;
    }
    return error.dump();
}

}  // namespace

// What the page adds to the command line's fields of a result: the results log in its usual
// layout ("resultsLog"), the solution's views (solutionViewsJson) and, for a solve that its
// budget ended, where it stopped ("stoppedAtText").
nlohmann::ordered_json pageResult(const SolveTask& task, const TaskOutcome& outcome,
                                  const TextRecordWriter& log) {
    nlohmann::ordered_json result = resultJson(task, outcome);
    result["resultsLog"] = log.text();
    result.update(solutionViewsJson(outcome));
    if (outcome.result.stoppedAt) {
        result["stoppedAtText"] = stopPointText(*outcome.result.stoppedAt);
    }
    return result;
}

// The solve of one request; the result (the command line's fields and the page's, above), or
// {"error": ...}.
std::string solveRequest(const std::string& request, emscripten::val onProgress) {
    return answered([&] {
        const SolveTask task = taskFromJsonText(request);
        ProgressCallback progress(std::move(onProgress));
        TextRecordWriter log;
        TaskServices services;
        services.resultsLog = &log;
        services.listener = &progress;
        return pageResult(task, runTask(task, services), log);
    });
}

// The same, keeping the search's logbook: its rows go to onRows(rows) in batches, each a
// Float64Array of kLogbookColumns.size() numbers a row (above), each batch just before a
// progress call, the last before the result. The rows do not change the search: a seeded
// solve gives the same result with or without them.
std::string solveWithLogbook(const std::string& request, emscripten::val onProgress,
                             emscripten::val onRows) {
    return answered([&] {
        const SolveTask task = taskFromJsonText(request);
        ChartLogbook logbook(task.settings);
        LoggedProgressCallback progress(std::move(onProgress), std::move(onRows), logbook);
        TextRecordWriter log;
        TaskServices services;
        services.resultsLog = &log;
        SolveListeners listeners{&progress, &logbook};
        services.listener = &listeners;
        const TaskOutcome outcome = runTask(task, services);
        progress.handRows();
        return pageResult(task, outcome, log);
    });
}

// {"facelets": the cube the request describes} or {"error": why it describes none}. The
// request is checked whole, generations and seed included.
std::string cubeOfRequest(const std::string& request) {
    return answered([&] {
        nlohmann::ordered_json cube;
        cube["facelets"] = faceletText(scrambleNow(taskFromJsonText(request)).cube);
        return cube;
    });
}

// For {"random": length}: {"scramble": a random scramble of that many moves in standard
// notation, drawn as the dialogue draws one, from the real clocks}, or {"error": ...}.
std::string randomScramble(const std::string& request) {
    return answered([&] {
        const SolveTask task = taskFromJsonText(request);
        if (task.source != SolveTask::Source::random) {
            throw UsageError("give the length of a random scramble as \"random\"");
        }
        nlohmann::ordered_json scramble;
        scramble["scramble"] = standardNotation(scrambleNow(task).moves);
        return scramble;
    });
}

// The back end every later solve uses, by name ("wasm-simd", "portable"); false when this
// module has no such back end.
bool useBackEndNamed(const std::string& name) {
    for (const BackEnd backEnd : kBackEnds) {
        if (backEndName(backEnd) == name && backEndAvailable(backEnd)) {
            useBackEnd(backEnd);
            return true;
        }
    }
    return false;
}

std::string activeBackEndName() {
    return std::string(backEndName(activeBackEnd()));
}

// The field table (fieldTableJson), from which the page builds its settings, and the
// logbook's columns, in the order of the rows' numbers.
std::string requestFieldsJson() {
    nlohmann::ordered_json fields;
    fields["fields"] = fieldTableJson();
    fields["logbookColumns"] = kLogbookColumns;
    return fields.dump();
}

}  // namespace cubega

EMSCRIPTEN_BINDINGS(cube_solver) {
    emscripten::function("useBackEnd", &cubega::useBackEndNamed);
    emscripten::function("activeBackEnd", &cubega::activeBackEndName);
    emscripten::function("requestFields", &cubega::requestFieldsJson);
    emscripten::function("solve", &cubega::solveRequest);
    emscripten::function("solveWithLogbook", &cubega::solveWithLogbook);
    emscripten::function("cubeOf", &cubega::cubeOfRequest);
    emscripten::function("randomScramble", &cubega::randomScramble);
}
