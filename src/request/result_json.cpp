#include "request/result_json.hpp"

#include <cmath>
#include <cstdio>

#include "cube/notation.hpp"
#include "stages/progress.hpp"

namespace cubega {

namespace {

nlohmann::ordered_json stageJson(const std::vector<MoveCode>& moves, const StageRuns& runs) {
    nlohmann::ordered_json stage;
    stage["moves"] = standardNotation(moves);
    stage["moveCount"] = moves.size();
    stage["runs"] = runs.runs;
    stage["generations"] = runs.generations;
    return stage;
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

std::string scrambleText(const SolveTask& task, const TaskOutcome& outcome) {
    return task.source == SolveTask::Source::facelets
               ? "facelets: " + task.facelets
               : "scramble: " + standardNotation(outcome.scramble.moves);
}

}  // namespace

nlohmann::ordered_json resultJson(const SolveTask& task, const TaskOutcome& outcome) {
    const SolveResult& result = outcome.result;
    nlohmann::ordered_json json;
    if (task.source == SolveTask::Source::facelets) {
        json["facelets"] = task.facelets;
    } else {
        json["scramble"] = standardNotation(outcome.scramble.moves);
    }
    json["generations"] = task.generations;
    if (task.seed) {
        json["seed"] = *task.seed;
    }
    json["location"] = result.location;
    json["rotations"] = nlohmann::ordered_json::array();
    for (const Rotation rotation : result.rotations) {
        json["rotations"].push_back(rotationName(rotation));
    }
    json["stages"][stageName(Stage::block)] = stageJson(result.blockMoves, result.blockRuns);
    json["stages"][stageName(Stage::entry)] = stageJson(result.entryMoves, result.entryRuns);
    json["stages"][stageName(Stage::finish)] = stageJson(result.finishMoves, result.finishRuns);
    json["totalMoves"] = result.totalMoves;
    json["solution"] = standardNotation(result.solution);
    json["seconds"] = std::round(result.seconds * 100) / 100;  // to the hundredth
    json["selfCheck"] = result.selfCheckPassed;
    return json;
}

std::string resultText(const SolveTask& task, const TaskOutcome& outcome) {
    return scrambleText(task, outcome) +
           "\nsolution: " + standardNotation(outcome.result.solution) +
           "\nmoves: " + std::to_string(outcome.result.totalMoves) +
           "\nseconds: " + secondsText(outcome.result.seconds) + "\n";
}

nlohmann::ordered_json errorJson(const std::string& message, std::size_t line) {
    nlohmann::ordered_json error;
    if (line > 0) {
        error["line"] = line;
    }
    error["error"] = message;
    return error;
}

}  // namespace cubega
