// A solve's result as the front ends give it: a few lines of text, or one JSON object with
// every field.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "request/solve_task.hpp"

namespace cubega {

// {"scramble": "R U2 F'" (or "facelets": "..."), "generations": 500, "seed": 7 (when given),
//  "location": 4, "rotations": ["y", "xy"],
//  "stages": {"block": {"moves": "R U", "moveCount": 2, "runs": 1, "generations": 6000},
//             "entry": {...}, "finish": {...}},
//  "totalMoves": 34, "solution": "...", "seconds": 1.62, "selfCheck": true}
nlohmann::ordered_json resultJson(const SolveTask& task, const TaskOutcome& outcome);

// scramble, solution as held, moves and seconds, a line each.
std::string resultText(const SolveTask& task, const TaskOutcome& outcome);

// {"error": message}, with the batch line it belongs to when there is one (from 1).
nlohmann::ordered_json errorJson(const std::string& message, std::size_t line = 0);

}  // namespace cubega
