// Where a solve's search stands, for whoever follows it (a progress bar, the web page, a
// batch that may stop it): the three stages, their runs, and an observer told a few times a
// second. Nothing here needs the genetic search, so a front end includes only this.
#pragma once

#include <cstdint>
#include <string_view>

namespace cubega {

enum class Stage { block, entry, finish };

// "block", "entry" or "finish": the stage's name in every output.
constexpr std::string_view stageName(Stage stage) {
    switch (stage) {
        case Stage::block:
            return "block";
        case Stage::entry:
            return "entry";
        case Stage::finish:
            return "finish";
    }
    return "";
}

// How much searching a stage did: its runs of the generation loop (for the block stage its
// passes over the twelve locations) and their generations together.
struct StageRuns {
    std::int32_t runs = 0;
    std::int64_t generations = 0;
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

}  // namespace cubega
