#include "request/result_json.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "cube/move_sequences.hpp"
#include "cube/notation.hpp"
#include "request/request_fields.hpp"
#include "stages/solve_events.hpp"

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

// The search's values, its budget and tries, as the field table has them.
nlohmann::ordered_json parametersJson(const SolveTask& task) {
    nlohmann::ordered_json json;
    for (const RequestField& field : requestFields()) {
        if (field.group == FieldGroup::search || field.group == FieldGroup::tries ||
            field.group == FieldGroup::budget) {
            json[std::string(field.key)] = jsonOf(field.valueIn(task));
        }
    }
    return json;
}

nlohmann::ordered_json stopPointJson(const StopPoint& where) {
    nlohmann::ordered_json json;
    json["stage"] = stageName(where.stage);
    if (where.location >= 0) {
        json["location"] = where.location;
    }
    json["run"] = where.run;
    json["generation"] = where.generation;
    if (where.best) {
        json["best"] = *where.best;
        json["bestMoves"] = *where.bestMoves;
    }
    return json;
}

std::string parametersText(const SolveTask& task) {
    const SearchSettings& settings = task.settings;
    const nlohmann::ordered_json json = parametersJson(task);
    std::string text = "parameters: population " + json["population"].dump() + ", length " +
                       json["length"].dump() + ", immigrants " + json["immigrants"].dump() +
                       ", mutation rate " + json["mutationRate"].dump() + ", crossover rate " +
                       json["crossoverRate"].dump() + ", selection pressure " +
                       json["selectionPressure"].dump() + ", generations " +
                       std::to_string(settings.blockGenerations) + " / " +
                       std::to_string(settings.entryGenerations) + " / " +
                       std::to_string(settings.finishGenerations);
    if (settings.stopAtGoal) {
        text += ", runs stop at their goal";
    }
    if (task.budget.maxGenerations) {
        text += ", at most " + std::to_string(*task.budget.maxGenerations) + " generations";
    }
    if (task.budget.timeLimitSeconds) {
        text += ", at most " + json["timeLimit"].dump() + " s";
    }
    return text + "\n";
}

// What the moves line adds: the search's count before cancelling, the tries.
std::string movesFoundText(const TaskOutcome& outcome) {
    const SolveResult& result = outcome.result;
    std::string text;
    if (!result.searched) {
        text += " (the cube was solved already)";
    } else if (static_cast<std::size_t>(result.totalMoves) != result.solution.size()) {
        text += " (" + std::to_string(result.totalMoves) + " as the stages found them)";
    }
    for (const TryResult& one : outcome.tries) {
        if (one.answers) {
            text += "\ntries: " + std::to_string(outcome.tries.size()) + ", the answer seed " +
                    std::to_string(one.seed);
        }
    }
    return text;
}

std::string scrambleText(const SolveTask& task, const TaskOutcome& outcome) {
    if (task.source == SolveTask::Source::facelets) {
        return "facelets: " + task.facelets;
    }
    const std::string moves = standardNotation(outcome.scramble.moves);
    return task.notation.empty() ? "scramble: " + moves
                                 : "scramble: " + task.notation + "\nas face turns: " + moves;
}

}  // namespace

nlohmann::ordered_json requestJson(const SolveTask& task, const TaskScramble& scramble,
                                   std::size_t line) {
    nlohmann::ordered_json json;
    if (line > 0) {
        json["line"] = line;
    }
    if (task.source == SolveTask::Source::facelets) {
        json["facelets"] = task.facelets;
    } else {
        json["scramble"] = standardNotation(scramble.moves);
        if (!task.notation.empty()) {
            json["notation"] = task.notation;
        }
    }
    json["generations"] = task.settings.blockGenerations;
    if (task.seed) {
        json["seed"] = *task.seed;
    }
    json["parameters"] = parametersJson(task);
    return json;
}

nlohmann::ordered_json resultJson(const SolveTask& task, const TaskOutcome& outcome,
                                  std::size_t line) {
    const SolveResult& result = outcome.result;
    nlohmann::ordered_json json = requestJson(task, outcome.scramble, line);
    json["solved"] = result.solved();
    if (result.stoppedAt) {
        json["stoppedAt"] = stopPointJson(*result.stoppedAt);
    }
    // A stage's moves are known once it has finished; the block's location once the block
    // stage has committed it.
    const auto finished = [&](Stage stage) {
        return !result.stoppedAt ||
               static_cast<int>(stage) < static_cast<int>(result.stoppedAt->stage);
    };
    if (finished(Stage::block)) {
        json["location"] = result.location;
        json["rotations"] = nlohmann::ordered_json::array();
        for (const Rotation rotation : result.rotations) {
            json["rotations"].push_back(rotationName(rotation));
        }
    }
    json["stages"] = nlohmann::ordered_json::object();
    const StageRuns* runs[] = {&result.blockRuns, &result.entryRuns, &result.finishRuns};
    const std::vector<MoveCode>* moves[] = {&result.blockMoves, &result.entryMoves,
                                            &result.finishMoves};
    for (const Stage stage : {Stage::block, Stage::entry, Stage::finish}) {
        const auto s = static_cast<std::size_t>(stage);
        if (finished(stage)) {
            json["stages"][stageName(stage)] = stageJson(*moves[s], *runs[s]);
        } else if (runs[s]->runs > 0) {  // the stage it stopped in: its searching so far
            json["stages"][stageName(stage)] = {{"runs", runs[s]->runs},
                                                {"generations", runs[s]->generations}};
        }
    }
    json["totalMoves"] = result.totalMoves;
    json["solution"] = standardNotation(result.solution);
    if (result.solved()) {
        json["solutionMoves"] = faceTurnCount(result.solution);
        json["quarterTurns"] = quarterTurnCount(result.solution);
        json["solutionStages"] = {{"block", result.solutionStages[0]},
                                  {"entry", result.solutionStages[1]},
                                  {"finish", result.solutionStages[2]}};
    }
    if (!result.searched) {
        json["alreadySolved"] = true;
    }
    if (!outcome.tries.empty()) {
        json["tries"] = nlohmann::ordered_json::array();
        for (const TryResult& one : outcome.tries) {
            nlohmann::ordered_json entry{{"seed", one.seed}};
            if (!one.finished) {
                entry["stopped"] = true;
            } else if (!one.solved) {
                entry["solved"] = false;
            } else {
                entry["solutionMoves"] = one.solutionMoves;
            }
            if (one.finished) {
                entry["seconds"] = std::round(one.seconds * 100) / 100;
            }
            if (one.answers) {
                entry["answers"] = true;
            }
            json["tries"].push_back(entry);
        }
    }
    json["evaluations"] = result.evaluations;
    json["seconds"] = std::round(result.seconds * 100) / 100;  // to the hundredth
    if (result.solved()) {
        json["selfCheck"] = result.selfCheckPassed;
    }
    return json;
}

std::string stopPointText(const StopPoint& where) {
    std::string text = "the " + std::string(stageName(where.stage)) + " stage, ";
    if (where.location >= 0) {
        text += "location " + std::to_string(where.location) + ", pass ";
    } else {
        text += "run ";
    }
    text +=
        std::to_string(where.run) + ", after " + std::to_string(where.generation) + " generations";
    if (where.best) {
        text += " (best " + std::to_string(*where.best) + " in " +
                std::to_string(*where.bestMoves) + " moves)";
    }
    return text;
}

std::string resultText(const SolveTask& task, const TaskOutcome& outcome) {
    const SolveResult& result = outcome.result;
    const std::string answer =
        result.solved()
            ? "solution: " + standardNotation(result.solution) +
                  "\nmoves: " + std::to_string(faceTurnCount(result.solution)) + " face turns, " +
                  std::to_string(quarterTurnCount(result.solution)) + " quarter turns" +
                  movesFoundText(outcome)
            : "not solved: the budget ended the search in " + stopPointText(*result.stoppedAt);
    return scrambleText(task, outcome) + "\n" + answer +
           "\nseconds: " + secondsText(result.seconds) + "\n" + parametersText(task);
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
