// What the three stages hand from one to the next, owned by the run: the working cube, the
// solution so far in three texts with its move count, and the folding flag.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cube/cube_state.hpp"
#include "eval/evaluate.hpp"
#include "genetic/population.hpp"
#include "genetic/random_source.hpp"
#include "run/record_writer.hpp"

namespace cubega {

struct SolveState {
    CubeState workingCube;           // turned to the chosen block location, then solved on
    std::int32_t blockLocation = 0;  // the whole-cube rotations the three texts assume
    std::int32_t totalMoves = 0;     // moves of the three stage texts together
    std::string blockText;           // in the frame of the turned cube, 3 characters a move
    std::string entryText;
    std::string finishText;
    bool restrictToTwoFaces = false;  // fold the population onto F and U every generation
};

// The services a stage uses: the random source, the console, and results.txt (the block
// stage logs its whole-cube rotations there).
struct StageContext {
    RandomSource& random;
    RecordWriter& console;
    RecordWriter& log;
};

// The search values every stage shares; each stage sets its budget and interval.
SearchParams stageSearchParams(std::int32_t generations, std::int32_t progressInterval,
                               bool restrictToTwoFaces);

inline constexpr std::int32_t kStageRows = 51;   // N
inline constexpr std::int32_t kStageSlots = 30;  // L

// A stage's population with its score table and ranking scratch, for the stage's life.
struct StageSearch {
    Population population{kStageRows, kStageSlots};
    ScoreTable scores = ScoreTable(kStageRows);
    std::vector<std::int32_t> keys = std::vector<std::int32_t>(kStageRows);

    // One run of the generation loop from `start`.
    void run(const SearchParams& params, const CubeState& start, EvalMode mode,
             StageContext& context);

    // The leading moves of the best row that its evaluation counts.
    std::span<const MoveCode> bestMoves() const {
        return population.row(0).first(static_cast<std::size_t>(std::max(scores[0].moveCount, 0)));
    }
};

}  // namespace cubega
