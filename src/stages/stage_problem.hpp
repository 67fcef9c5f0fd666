// One stage of the solver as a problem of its own, for any optimizer: the cube where the stage
// starts, turned to the frame its search works in, and the objective, the goal and the move
// codes of that search. Rows of move codes are judged exactly as the stage's own search judges
// its population; searchStageProblem runs that search on the problem alone.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "eval/evaluation.hpp"
#include "genetic/search_params.hpp"
#include "stages/solve_events.hpp"

namespace cubega {

struct StageProblem {
    Stage stage = Stage::block;
    std::int32_t location = 0;
    std::int32_t length = kSequenceLength;  // slots of a row
    CubeState start;                        // the given cube turned to the location
    EvalMode mode = kBlockMode;
    // Rows are folded onto F and U before they are judged, as the stage's search folds its
    // population: always in the finish, in the block stage when the turned cube is in the
    // group of F and U turns; never in the entry stage.
    bool folded = false;
};

// The problem of `stage` for `cube` as held, turned to `location` (0..11), with rows of
// `length` slots (1..128). Throws std::invalid_argument when a value is out of its range or
// the turned cube is not where the stage starts: the entry stage starts from a complete block,
// the finish from a complete block in the group of F and U turns.
StageProblem makeStageProblem(Stage stage, const CubeState& cube, std::int32_t location,
                              std::int32_t length);

// The stage's goal as a best score: 16 (block), 170 (entry), 48 (finish).
std::int32_t stageTargetScore(Stage stage);

// Whether an evaluation meets the goal at which the stage's search ends: a complete block in
// at most 20 moves, the block complete in the group of F and U turns, the cube solved.
bool stageGoalMet(Stage stage, const Evaluation& evaluation);

// Rows as the stage's search judges them: folded onto F and U when the problem folds.
void prepareRows(const StageProblem& problem, std::span<MoveCode> codes);

// The leading moves of a prepared row that its evaluation counts.
std::vector<MoveCode> countedMoves(const StageProblem& problem, std::span<const MoveCode> row);

// How the program's own search is run on a problem.
struct StageSearchSetup {
    SearchParams params;  // its sequence length is the problem's
    std::int32_t generations = 0;
    std::uint32_t seed = 0;  // the clocks stand still at (0 ms, seed)
    // Told of the search (its logbook's rows, if it keeps them, and its progress), if anyone.
    SolveListener* listener = nullptr;
};

struct StageSearchResult {
    Evaluation best;
    std::vector<MoveCode> bestRow;  // all slots, as judged (folded when the problem folds)
    std::int32_t generations = 0;
    std::int64_t evaluations = 0;  // population x generations
    bool goalMet = false;
    double seconds = 0;
};

// One run of the stage's genetic search on the problem, seeded as `--seed` seeds a solve:
// the stage's mode, folding and goal, ending at the goal or after setup.generations.
StageSearchResult searchStageProblem(const StageProblem& problem, const StageSearchSetup& setup);

}  // namespace cubega
