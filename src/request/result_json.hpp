// A solve's result as the front ends give it: a few lines of text, or one JSON object with
// every field.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "request/solve_task.hpp"

namespace cubega {

// {"line": 3 (a batch's line, when given), "scramble": "R U2 F'" (or "facelets": "..."),
//  "notation": "[R, U2] F'" (the text it was read from, when that held more than face turns),
//  "generations": 500, "seed": 7 (when given),
//  "parameters": {"population": 51, "length": 30, "immigrants": 5, "mutationRate": 0.05,
//                 "crossoverRate": 0.8, "selectionPressure": 1.5, "generations": 500,
//                 "entryGenerations": 10000, "finishGenerations": 200000, "stopAtGoal": false,
//                 "tries": 1, "first": false, "maxGenerations": null, "timeLimit": null},
//  "solved": true,
//  "location": 4, "rotations": ["y", "xy"],
//  "stages": {"block": {"moves": "R U", "moveCount": 2, "runs": 1, "generations": 6000},
//             "entry": {...}, "finish": {...}},
//  "totalMoves": 34, "solution": "...", "solutionMoves": 32, "quarterTurns": 40,
//  "solutionStages": {"block": 2, "entry": 10, "finish": 20},
//  "alreadySolved": true (a cube solved already, answered at once),
//  "tries": [{"seed": 7, "solutionMoves": 32, "seconds": 1.5, "answers": true},
//            {"seed": 8, "stopped": true}, ...] (when several tries were asked for),
//  "evaluations": 21216000, "seconds": 1.62, "selfCheck": true}
// The parameters are the field table's search values, tries and budget, in its order. A solve
// that its budget ended has "solved": false and "stoppedAt": {"stage": "finish", "location":
// (block stage only), "run": 2, "generation": 1234, "best": 420, "bestMoves": 12}, no
// "selfCheck" nor solution counts, and of the location and stages only what it finished.
nlohmann::ordered_json resultJson(const SolveTask& task, const TaskOutcome& outcome,
                                  std::size_t line = 0);

// The request's echo of a record: its line, scramble (or facelets), generations, seed and
// parameters, which a batch that resumes compares with its input.
nlohmann::ordered_json requestJson(const SolveTask& task, const TaskScramble& scramble,
                                   std::size_t line = 0);

// scramble, solution as held, moves and seconds, a line each, then the parameters; for a
// solve that its budget ended, where it stopped in place of the solution.
std::string resultText(const SolveTask& task, const TaskOutcome& outcome);

// "the finish stage, run 2, after 1234 generations (best 420 in 12 moves)".
std::string stopPointText(const StopPoint& where);

// {"error": message}, with the batch line it belongs to when there is one (from 1).
nlohmann::ordered_json errorJson(const std::string& message, std::size_t line = 0);

}  // namespace cubega
