// What a viewer of a solution needs beside its record: the cube after each move of the solution
// as held, those moves stage by stage, and where the 2x2x3 block lies in the cube as held and
// from which step it is built.
#pragma once

#include <nlohmann/json.hpp>

#include "request/solve_task.hpp"

namespace cubega {

// {"states": the facelets of the cube after each move of the solution as held, from the
// scrambled cube on; "movesAsHeld": {"block": "R U", "entry": ..., "finish": ...}, the
// solution's moves in the groups its stages' moves came to; and, once the block stage has
// finished, "blockFacelets": the block's 20 places in the 54-letter text of the cube as held,
// and "blockFrom": the first step whose cube has the block built (merged moves may blur where
// the block's moves end)}.
nlohmann::ordered_json solutionViewsJson(const TaskOutcome& outcome);

}  // namespace cubega
