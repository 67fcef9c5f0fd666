// Where a solve's search stands, for whoever follows it (a progress bar, the web page, a
// batch that may stop it): the three stages, their runs, and an observer told a few times a
// second. Nothing here needs the genetic search, so a front end includes only this.
#pragma once

#include <cstdint>
#include <optional>
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

// One row of a solve's logbook: a generation of one run of a stage's search.
struct LogbookRow {
    Stage stage = Stage::block;
    std::int32_t location = -1;    // the block stage's location, 0..11; -1 in the other stages
    std::int32_t run = 1;          // the block stage's pass, the other stages' run, from 1
    std::int32_t generation = 1;   // in the run, from 1
    std::int64_t evaluations = 0;  // sequences evaluated so far in the solve
    std::int32_t best = 0;         // the best objective and its move count
    std::int32_t bestMoves = 0;
    double mean = 0;  // the exact mean objective
    std::int32_t worst = 0;
    std::int32_t distinct = 0;  // distinct rows of the population
    double seconds = 0;         // since the solve began
};

// Keeps the rows of a solve's searches: each run's first and last generation, every
// generation whose best objective rises, every multiple of the stage's progress interval,
// and every every()-th generation when every() > 0.
class Logbook {
  public:
    virtual ~Logbook() = default;
    virtual std::int32_t every() const { return 0; }
    virtual void logRow(const LogbookRow& row) = 0;
};

// Where a solve ended when its budget allowed no further generation: the run it was in, the
// generations the run had done and, if it had done any, its best objective and move count.
struct StopPoint {
    Stage stage = Stage::block;
    std::int32_t location = -1;
    std::int32_t run = 1;
    std::int32_t generation = 0;
    std::optional<std::int32_t> best;
    std::optional<std::int32_t> bestMoves;
};

}  // namespace cubega
