// What the three stages hand from one to the next, owned by the run (the working cube, the
// solution so far in three pieces with its move count, the folding flag), and the services
// every stage uses.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "genetic/genetic_search.hpp"
#include "genetic/random_source.hpp"
#include "io/record_writer.hpp"
#include "stages/progress.hpp"
#include "stages/search_settings.hpp"

namespace cubega {

struct SolveState {
    CubeState workingCube;           // turned to the chosen block location, then solved on
    std::int32_t blockLocation = 0;  // the whole-cube rotations the three texts assume
    std::int32_t totalMoves = 0;     // moves of the three stages together
    // Each stage's moves, in the frame of the turned cube (their sequence texts are written
    // where they are printed).
    std::vector<MoveCode> blockMoves;
    std::vector<MoveCode> entryMoves;
    std::vector<MoveCode> finishMoves;
    bool restrictToTwoFaces = false;  // fold the population onto F and U every generation
    StageRuns blockRuns, entryRuns, finishRuns;
};

// The services a stage uses: the random source, the console, results.txt (the block stage
// logs its whole-cube rotations there), the settings of its searches and, if any, who follows
// the search's progress, the logbook and the budget of the solve.
struct StageContext {
    RandomSource& random;
    RecordWriter& console;
    RecordWriter& log;
    StageObserver* observer = nullptr;
    SearchSettings settings{};
    Logbook* logbook = nullptr;
    GenerationBudget* budget = nullptr;  // counts the solve's generations, and may end it
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

// Thrown when the solve's budget ends a stage's search: where it stopped.
struct SearchStopped {
    StopPoint where;
};

// Where a run of a stage's search stands in the solve.
struct StageRunAt {
    Stage stage = Stage::block;
    std::int32_t run = 1;
    std::int32_t location = -1;  // the block stage's location
};

// One run of a stage's search with the solve's services hooked in: the observer, the
// logbook, the budget and, when the settings say so, the stage's goal as the end of the run.
// Returns the generations it performed; throws SearchStopped when the budget ends it.
std::int32_t runStageSearch(GeneticSearch& search, GenerationRun run, GoalTest goal,
                            const CubeState& start, EvalMode mode, StageContext& context,
                            StageRunAt at);

}  // namespace cubega
