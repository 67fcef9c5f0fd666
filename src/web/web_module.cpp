// The solver as a WebAssembly module for the web page, through embind: requests and results
// as JSON text, the results in the command line's JSON form, progress through a callback.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "cube/facelets.hpp"
#include "cube/notation.hpp"
#include "genetic/clock.hpp"
#include "platform/back_end.hpp"
#include "request/request_json.hpp"
#include "request/result_json.hpp"
#include "request/solve_task.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

// Hands progress to a JavaScript function (stage, run, location, generations done, of).
class ProgressCallback final : public SolveObserver {
  public:
    explicit ProgressCallback(emscripten::val callback) : callback_(std::move(callback)) {}
    void stageProgress(const StageProgress& progress) override {
        callback_(std::string(stageName(progress.stage)), progress.run, progress.location,
                  progress.generationsDone, progress.generationsOfRun);
    }

  private:
    emscripten::val callback_;
};

// The answer to a request: what `answer` makes of it, or {"error": ...} with the message of
// the rule it breaks (the command line's message) or of the fault that stopped it.
std::string answered(const std::function<nlohmann::ordered_json()>& answer) {
    nlohmann::ordered_json json;
    const RunEnd end = runGuarded([&] { json = answer(); });
    return end.status == kStatusDone ? json.dump() : errorJson(end.message).dump();
}

}  // namespace

// The solve of one request; the result, or {"error": ...}. The result holds the command
// line's fields, the results log in its usual layout ("resultsLog") and the facelets of the
// cube after each move of the solution as held, from the scrambled cube on ("states").
std::string solveRequest(const std::string& request, emscripten::val onProgress) {
    return answered([&] {
        const SolveTask task = taskFromJsonText(request);
        ProgressCallback progress(std::move(onProgress));
        TextRecordWriter log;
        TaskServices services;
        services.resultsLog = &log;
        services.observer = &progress;
        const TaskOutcome outcome = runTask(task, services);
        nlohmann::ordered_json result = resultJson(task, outcome);
        result["resultsLog"] = log.text();
        CubeState cube = outcome.scramble.cube;
        result["states"] = nlohmann::ordered_json::array({faceletText(cube)});
        for (const MoveCode move : outcome.result.solution) {
            cube = applyMove(cube, move);
            result["states"].push_back(faceletText(cube));
        }
        return result;
    });
}

// {"facelets": the cube the request describes} or {"error": why it describes none}. The
// request is checked whole, generations and seed included.
std::string cubeOfRequest(const std::string& request) {
    return answered([&] {
        const SolveTask task = taskFromJsonText(request);
        SystemClock clock;
        RandomSource random(clock);
        random.seedFromClock();
        nlohmann::ordered_json cube;
        cube["facelets"] = faceletText(scrambleOf(task, random).cube);
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
        SystemClock clock;
        RandomSource random(clock);
        random.seedFromClock();
        nlohmann::ordered_json scramble;
        scramble["scramble"] = standardNotation(scrambleOf(task, random).moves);
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

}  // namespace cubega

EMSCRIPTEN_BINDINGS(cube_solver) {
    emscripten::function("useBackEnd", &cubega::useBackEndNamed);
    emscripten::function("activeBackEnd", &cubega::activeBackEndName);
    emscripten::function("solve", &cubega::solveRequest);
    emscripten::function("cubeOf", &cubega::cubeOfRequest);
    emscripten::function("randomScramble", &cubega::randomScramble);
}
