// The generation loop in each stage's setting: generations per second.
#include <benchmark/benchmark.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "cube/moves.hpp"
#include "genetic/genetic_search.hpp"
#include "io/record_writer.hpp"
#include "platform/back_end.hpp"

namespace cubega {
namespace {

CubeState scrambled(const std::vector<MoveCode>& moves) {
    return applySequence(solvedCube(), moves);
}

// Block stage: any scrambled cube, all eighteen moves, block score.
// Entry stage: block complete, the rest scrambled with all moves, entry score.
// Finish: in the two-generator group, folded onto F and U, pair score.
struct StageSetting {
    CubeState start;
    EvalMode mode;
    bool twoFaces;
};

StageSetting setting(int stage) {
    switch (stage) {
        case 0:
            return {scrambled({2, 4, 2, 3, 11, 4, 15, 5, 0, 4, 15, 5, 0, 4, 15, 5, 0, 8, 4}),
                    kBlockMode, false};
        case 1:
            return {scrambled({0, 2, 1, 14, 0, 13, 2, 12, 1, 2, 7, 14}), kTwoGenEntryMode, false};
        default:
            return {scrambled({0, 1, 12, 7, 0, 13, 6, 1, 12, 13, 0, 7, 12, 1}), kPairMode, true};
    }
}

// The loop on one back end (the fastest available when none is named).
void generations(benchmark::State& state, std::optional<BackEnd> path) {
    if (path && !backEndAvailable(*path)) {
        state.SkipWithError("path not available on this processor");
        return;
    }
    const BackEnd preferred = activeBackEnd();
    useBackEnd(path.value_or(bestBackEnd()));
    const StageSetting stage = setting(static_cast<int>(state.range(0)));
    SystemClock clock;
    RandomSource random(clock);
    random.seedFromClock();
    DiscardingRecordWriter console;
    GeneticSearch search;
    search.startFromRandomPopulation(random);
    const GenerationRun run{100, 1000000, stage.twoFaces};
    for (auto _ : state) {
        search.evolve(run, stage.start, stage.mode, random, console);
    }
    state.counters["generations/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * run.generations), benchmark::Counter::kIsRate);
    useBackEnd(preferred);
}

// "generations" on the fastest path, then "generations/path:NAME" on each.
const bool registered = [] {
    benchmark::RegisterBenchmark("generations", generations, std::nullopt)
        ->ArgName("stage")
        ->Arg(0)
        ->Arg(1)
        ->Arg(2)
        ->Unit(benchmark::kMillisecond);
    for (const BackEnd path : kBackEnds) {
        benchmark::RegisterBenchmark(("generations/path:" + std::string(backEndName(path))).c_str(),
                                     generations, std::optional<BackEnd>(path))
            ->ArgName("stage")
            ->Arg(0)
            ->Arg(1)
            ->Arg(2)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
}  // namespace cubega
