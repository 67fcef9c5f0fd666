// The generation loop in each stage's setting: generations per second.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "bench_samples.hpp"
#include "cube/moves.hpp"
#include "genetic/genetic_search.hpp"
#include "io/record_writer.hpp"
#include "platform/back_end.hpp"

namespace cubega {
namespace {

// The loop on one back end (the fastest available when none is named).
void generations(benchmark::State& state, std::optional<BackEnd> path) {
    if (path && !backEndAvailable(*path)) {
        state.SkipWithError("path not available on this processor");
        return;
    }
    const BackEnd preferred = activeBackEnd();
    useBackEnd(path.value_or(bestBackEnd()));
    const bench::StageSetting stage = bench::stageSetting(static_cast<int>(state.range(0)));
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
