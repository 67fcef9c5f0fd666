// What the three stages hand from one to the next, owned by the run (the working cube, the
// solution so far in three texts with its move count, the folding flag), and the services
// every stage uses.
#pragma once

#include <cstdint>
#include <string>

#include "cube/cube_state.hpp"
#include "genetic/genetic_search.hpp"
#include "genetic/random_source.hpp"
#include "io/record_writer.hpp"

namespace cubega {

enum class Stage { block, entry, finish };

// How much searching a stage did: its runs of the generation loop (for the block stage its
// passes over the twelve locations) and their generations together.
struct StageRuns {
    std::int32_t runs = 0;
    std::int64_t generations = 0;
};

struct SolveState {
    CubeState workingCube;           // turned to the chosen block location, then solved on
    std::int32_t blockLocation = 0;  // the whole-cube rotations the three texts assume
    std::int32_t totalMoves = 0;     // moves of the three stage texts together
    std::string blockText;           // in the frame of the turned cube, 3 characters a move
    std::string entryText;
    std::string finishText;
    bool restrictToTwoFaces = false;  // fold the population onto F and U every generation
    StageRuns blockRuns, entryRuns, finishRuns;
};

// Where a stage's search stands: the run (from 1; the block stage's pass) and, in the block
// stage, the location searched, with the generations done of the run's budget.
struct StageProgress {
    Stage stage = Stage::block;
    std::int32_t run = 1;
    std::int32_t location = 0;
    std::int32_t generationsDone = 0;
    std::int32_t generationsOfRun = 0;
};

class StageObserver {
  public:
    virtual ~StageObserver() = default;
    virtual void stageProgress(const StageProgress& progress) = 0;
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
