// One solve: a scrambled cube in, its solution and the figures of its search out. Every front
// end (the console dialogue, the command line, the web page) solves through this function.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "cube/rotations.hpp"
#include "genetic/random_source.hpp"
#include "stages/search_settings.hpp"
#include "stages/solve_events.hpp"

namespace cubega {

// The block searches' generations where nobody says otherwise.
inline constexpr std::int32_t kDefaultGenerations = SearchSettings{}.blockGenerations;

// What may end a solve before its cube is solved: generations in all (counted over every run
// of every stage, so a seeded run ends at the same place every time) and wall time.
struct SolveBudget {
    std::optional<std::int64_t> maxGenerations;
    std::optional<double> timeLimitSeconds;

    friend bool operator==(const SolveBudget&, const SolveBudget&) = default;
};

struct SolveRequest {
    CubeState scrambledCube;  // the cube to solve, in the orientation it is held
    SearchSettings settings;  // the parameters of every search, each stage's generations
    SolveBudget budget;       // none by default: the solve goes on until the cube is solved
    SolveListener* listener = nullptr;  // who follows the search, if anyone
};

struct SolveResult {
    std::int32_t location = 0;        // the block's location, 0..11
    std::vector<Rotation> rotations;  // the whole-cube rotations that turn the cube to it
    // The three stages' moves in the turned cube's frame.
    std::vector<MoveCode> blockMoves, entryMoves, finishMoves;
    std::int32_t totalMoves = 0;
    // The same moves for the cube as held, no rotation, with the moves that cancel merged
    // (within a stage and where one stage ends and the next begins).
    std::vector<MoveCode> solution;
    // How many moves of the solution each stage's moves came to: the merged prefixes'
    // lengths, block, entry, finish.
    std::array<std::size_t, 3> solutionStages{};
    StageRuns blockRuns, entryRuns, finishRuns;
    std::int64_t evaluations = 0;  // sequences evaluated in all (population x generations)
    double seconds = 0;            // the solve's wall time
    bool selfCheckPassed = false;  // both forms of the solution, replayed, solve the cube
    // A solve that its budget ended: where, and only the stages that it finished (a block
    // stage that committed its location, its moves; none of the later ones).
    std::optional<StopPoint> stoppedAt;
    bool solved() const { return !stoppedAt; }
    bool searched = true;  // false for a cube that was already solved, answered at once
};

// Solves request.scrambledCube with the random source as it stands (seeded by the caller
// from the clocks of its choice): the block stage, the entry into the group of F and U turns,
// the finish. The listener is told of everything the search does (StageProgress a few times a
// second at most).
SolveResult solve(const SolveRequest& request, RandomSource& random);

// Whether the result's solution solves the scrambled cube: the rotations of its location and
// the moves read back from the three stage texts as results.txt has them, and the moves as
// held on their own, each move made of plain quarter turns.
bool solutionSolves(const CubeState& scrambled, const SolveResult& result);

// The rotation's name in cube notation ("y", "x", "xy").
std::string_view rotationName(Rotation rotation);

}  // namespace cubega
