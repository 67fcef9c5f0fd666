// One solve: a scrambled cube in, its solution and the figures of its search out. Every front
// end (the console dialogue, the command line, the web page) solves through this function.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "cube/rotations.hpp"
#include "genetic/random_source.hpp"
#include "io/record_writer.hpp"
#include "stages/progress.hpp"

namespace cubega {

// Told where the search stands, a few times a second at most.
using SolveObserver = StageObserver;

// The block searches' generations where nobody says otherwise.
inline constexpr std::int32_t kDefaultGenerations = 500;

struct SolveRequest {
    CubeState scrambledCube;  // the cube to solve, in the orientation it is held
    std::int32_t generations = kDefaultGenerations;  // the budget of each block search, >= 1
    RecordWriter* console = nullptr;                 // the search's console records; none when null
    RecordWriter* log = nullptr;        // the rotation records of results.txt; none when null
    SolveObserver* observer = nullptr;  // who follows the progress, if anyone
};

struct SolveResult {
    std::int32_t location = 0;        // the block's location, 0..11
    std::vector<Rotation> rotations;  // the whole-cube rotations that turn the cube to it
    // The three stages' moves in the turned cube's frame.
    std::vector<MoveCode> blockMoves, entryMoves, finishMoves;
    std::int32_t totalMoves = 0;
    std::vector<MoveCode> solution;  // the same moves for the cube as held, no rotation
    StageRuns blockRuns, entryRuns, finishRuns;
    double seconds = 0;            // the solve's wall time
    bool selfCheckPassed = false;  // both forms of the solution, replayed, solve the cube
};

// Solves request.scrambledCube with the random source as it stands (seeded by the caller
// from the clocks of its choice): the block stage, the entry into the group of F and U turns,
// the finish. The console and the log get exactly the records the dialogue shows.
SolveResult solve(const SolveRequest& request, RandomSource& random);

// Whether the result's solution solves the scrambled cube: the rotations of its location and
// the moves read back from the three stage texts as results.txt has them, and the moves as
// held on their own, each move made of plain quarter turns.
bool solutionSolves(const CubeState& scrambled, const SolveResult& result);

// The rotation's name in cube notation ("y", "x", "xy").
std::string_view rotationName(Rotation rotation);

}  // namespace cubega
