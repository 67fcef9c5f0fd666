#include "cli/result_output.hpp"

#include <cmath>
#include <cstdio>

#include "cube/notation.hpp"

namespace cubega {

namespace {

nlohmann::ordered_json stageJson(const std::string& text, const StageRuns& runs) {
    const std::vector<MoveCode> moves = movesFromText(text).value_or(std::vector<MoveCode>{});
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

}  // namespace

nlohmann::ordered_json resultJson(const SolveTask& task, const TaskOutcome& outcome) {
    const SolveResult& result = outcome.result;
    nlohmann::ordered_json json;
    if (task.source == SolveTask::Source::facelets) {
        json["facelets"] = task.facelets;
    } else {
        json["scramble"] = standardNotation(outcome.scramble);
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
    json["stages"]["block"] = stageJson(result.blockText, result.blockRuns);
    json["stages"]["entry"] = stageJson(result.entryText, result.entryRuns);
    json["stages"]["finish"] = stageJson(result.finishText, result.finishRuns);
    json["totalMoves"] = result.totalMoves;
    json["solution"] = standardNotation(result.solution);
    json["seconds"] = std::round(result.seconds * 100) / 100;  // to the hundredth
    json["selfCheck"] = result.selfCheckPassed;
    return json;
}

std::string resultText(const SolveTask& task, const TaskOutcome& outcome) {
    const std::string from = task.source == SolveTask::Source::facelets
                                 ? "facelets: " + task.facelets
                                 : "scramble: " + standardNotation(outcome.scramble);
    return from + "\nsolution: " + standardNotation(outcome.result.solution) +
           "\nmoves: " + std::to_string(outcome.result.totalMoves) +
           "\nseconds: " + secondsText(outcome.result.seconds) + "\n";
}

}  // namespace cubega
