// What the three stages hand from one to the next, owned by the run (the working cube, the
// solution so far in three pieces with its move count, the folding flag), and the services
// every stage uses.
#pragma once

#include <cstdint>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "genetic/genetic_search.hpp"
#include "genetic/random_source.hpp"
#include "io/record_writer.hpp"
#include "stages/progress.hpp"

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
// logs its whole-cube rotations there) and, if any, who follows the search's progress.
struct StageContext {
    RandomSource& random;
    RecordWriter& console;
    RecordWriter& log;
    StageObserver* observer = nullptr;
};

// Hands a run's generation counts on to the stage's observer as StageProgress.
class ObservedRun final : public GenerationObserver {
  public:
    ObservedRun(StageObserver* observer, StageProgress at) : observer_(observer), at_(at) {}

    // The observer for a GenerationRun: none when the stage has none.
    GenerationObserver* forRun() { return observer_ != nullptr ? this : nullptr; }

    void generationsDone(std::int32_t done, std::int32_t budget) override {
        at_.generationsDone = done;
        at_.generationsOfRun = budget;
        observer_->stageProgress(at_);
    }

  private:
    StageObserver* observer_;
    StageProgress at_;
};

}  // namespace cubega
