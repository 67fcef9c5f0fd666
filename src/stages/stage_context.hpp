// What the three stages hand from one to the next, owned by the solve (the working cube, the
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
#include "stages/search_settings.hpp"
#include "stages/solve_events.hpp"

namespace cubega {

struct SolveState {
    CubeState workingCube;           // turned to the chosen block location, then solved on
    std::int32_t blockLocation = 0;  // the whole-cube rotations the three stages' moves assume
    std::int32_t totalMoves = 0;     // moves of the three stages together
    // Each stage's moves, in the frame of the turned cube.
    std::vector<MoveCode> blockMoves;
    std::vector<MoveCode> entryMoves;
    std::vector<MoveCode> finishMoves;
    bool restrictToTwoFaces = false;  // fold the population onto F and U every generation
    StageRuns blockRuns, entryRuns, finishRuns;
};

// The services a stage uses: the random source, the settings of its searches, who follows the
// solve (if anyone) and the budget of the solve.
struct StageContext {
    RandomSource& random;
    SolveListener* listener = nullptr;
    SearchSettings settings{};
    GenerationBudget* budget = nullptr;  // counts the solve's generations, and may end it
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

    // Tells the listener, if any.
    void tell(const SolveEvent& event) const {
        if (listener != nullptr) {
            listener->onEvent(event);
        }
    }
};

// A stage's progress interval P: its search tells of a progress point every P generations.
constexpr std::int32_t progressIntervalOf(Stage stage) {
    switch (stage) {
        case Stage::block:
            return 100000;
        case Stage::entry:
            return 5000;
        case Stage::finish:
            return 10000;
    }
    return 0;
}

// Thrown when the solve's budget ends a stage's search: where it stopped.
struct SearchStopped {
    StopPoint where;
};

// One run of a stage's search with the solve's services hooked in: the listener (told that
// the run begins, its progress points, its logbook rows and its progress), the budget and,
// when the settings say so, the stage's goal as the end of the run. Returns the generations
// it performed; throws SearchStopped when the budget ends it.
std::int32_t runStageSearch(GeneticSearch& search, GenerationRun run, GoalTest goal,
                            const CubeState& start, EvalMode mode, StageContext& context,
                            StageRunAt at);

}  // namespace cubega
