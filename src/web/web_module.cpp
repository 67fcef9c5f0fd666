// The solver as a WebAssembly module for the web page, through embind: requests and results
// as JSON text, the results in the command line's JSON form, progress through a callback.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/batch_line.hpp"
#include "cli/result_output.hpp"
#include "cli/solve_task.hpp"
#include "cube/facelets.hpp"
#include "cube/notation.hpp"
#include "genetic/clock.hpp"
#include "platform/back_end.hpp"
#include "run/run_error.hpp"
#include "run/scramble.hpp"

namespace cubega {

namespace {

std::string errorJson(const std::string& message) {
    nlohmann::ordered_json error;
    error["error"] = message;
    return error.dump();
}

std::string_view stageName(Stage stage) {
    switch (stage) {
        case Stage::block:
            return "block";
        case Stage::entry:
            return "entry";
        case Stage::finish:
            return "finish";
    }
    return "";
}

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

std::string readAll(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The cube after the text's moves or as its facelets, as 54 letters; or why there is none.
nlohmann::ordered_json cubeOf(const SolveTask& task) {
    nlohmann::ordered_json cube;
    const CubeState state = task.source == SolveTask::Source::facelets
                                ? task.faceletCube
                                : applySequence(solvedCube(), task.moves);
    cube["facelets"] = faceletText(state);
    return cube;
}

// A request as a batch line has it, {"scramble": ...} or {"facelets": ...} with
// "generations" and "seed": the task, or the JSON of its error.
std::variant<SolveTask, std::string> taskOf(const std::string& request) {
    BatchDefaults defaults;
    const BatchLine line = parseBatchLine(request, 1, defaults);
    if (const auto* task = std::get_if<SolveTask>(&line)) {
        return *task;
    }
    if (const auto* error = std::get_if<LineError>(&line)) {
        return errorJson(error->message);
    }
    return errorJson("give a scramble or the cube's facelets");
}

}  // namespace

// The solve of one request; the result, or {"error": ...}. The result holds the command
// line's fields, the results log in its usual layout ("resultsLog") and the facelets of the
// cube after each move of the solution as held, from the scrambled cube on ("states").
std::string solveRequest(const std::string& request, emscripten::val onProgress) {
    auto parsed = taskOf(request);
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        return *error;
    }
    const SolveTask& task = std::get<SolveTask>(parsed);
    ProgressCallback progress(std::move(onProgress));
    constexpr const char* kLogPath = "/results.txt";  // the module's own memory file system
    TaskOutcome outcome;
    try {
        ResultsLog log(kLogPath);
        outcome = runTask(task, &progress, &log);
    } catch (const RunError& error) {
        return errorJson(error.what());
    } catch (const InternalFault& fault) {
        return errorJson(std::string("internal fault: ") + fault.what());
    }
    nlohmann::ordered_json result = resultJson(task, outcome);
    result["resultsLog"] = readAll(kLogPath);
    std::remove(kLogPath);
    CubeState cube = task.source == SolveTask::Source::facelets
                         ? task.faceletCube
                         : applySequence(solvedCube(), outcome.scramble);
    result["states"] = nlohmann::ordered_json::array({faceletText(cube)});
    for (const MoveCode move : outcome.result.solution) {
        cube = applyMove(cube, move);
        result["states"].push_back(faceletText(cube));
    }
    return result.dump();
}

// {"facelets": the cube the request describes} or {"error": why it describes none}.
std::string cubeOfRequest(const std::string& request) {
    auto parsed = taskOf(request);
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        return *error;
    }
    return cubeOf(std::get<SolveTask>(parsed)).dump();
}

// A random scramble of `length` moves in standard notation, drawn as the dialogue draws one,
// from the real clocks.
std::string randomScramble(int length) {
    SystemClock clock;
    RandomSource random(clock);
    random.seedFromClock();
    return standardNotation(drawRandomScramble(std::clamp(length, 1, kMaxScrambleMoves), random));
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
