// The generation loop in each stage's setting: generations per second, and for other sizes of
// the population and its rows also the slots bred per second (generations/s x N x L).
#include <benchmark/benchmark.h>

#include <algorithm>
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

// Runs the loop of `search` until the benchmark has its figures, on one back end (the fastest
// available when none is named), and reports generations/s.
// A logbook that keeps nothing but a count: what logging costs the loop (the statistics of each
// logged generation), without the writing.
class CountingLog final : public GenerationListener {
  public:
    bool keepsLogbook() const override { return true; }
    void onGeneration(const GenerationEvent& event) override {
        if (const auto* stats = std::get_if<GenerationStats>(&event)) {
            rows += stats->distinct > 0 ? 1 : 0;
        }
    }
    std::int64_t rows = 0;
};

void runGenerations(benchmark::State& state, std::optional<BackEnd> path, GeneticSearch& search,
                    const bench::StageSetting& stage, std::int32_t generationsPerIteration,
                    GenerationListener* log = nullptr) {
    if (path && !backEndAvailable(*path)) {
        state.SkipWithError("path not available on this processor");
        return;
    }
    const BackEnd preferred = activeBackEnd();
    useBackEnd(path.value_or(bestBackEnd()));
    SystemClock clock;
    RandomSource random(clock);
    random.seedFromClock();
    search.startFromRandomPopulation(random);
    GenerationRun run{generationsPerIteration, 1000000, stage.twoFaces};
    run.listener = log;
    for (auto _ : state) {
        search.evolve(run, stage.start, stage.mode, random);
    }
    state.counters["generations/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * run.generations), benchmark::Counter::kIsRate);
    useBackEnd(preferred);
}

// The program's sizes, by stage.
void generations(benchmark::State& state, std::optional<BackEnd> path) {
    GeneticSearch search;
    runGenerations(state, path, search, bench::stageSetting(static_cast<int>(state.range(0))), 100);
}

// The program's sizes with the default logbook, on the fastest path.
void loggedGenerations(benchmark::State& state) {
    GeneticSearch search;
    CountingLog log;
    runGenerations(state, std::nullopt, search,
                   bench::stageSetting(static_cast<int>(state.range(0))), 100, &log);
    state.counters["rows"] = static_cast<double>(log.rows);
}

// Other sizes, on the fastest path: N rows of L slots, by stage.
void generationsOfSize(benchmark::State& state) {
    SearchParams params;
    params.populationSize = static_cast<std::int32_t>(state.range(0));
    params.sequenceLength = static_cast<std::int32_t>(state.range(1));
    GeneticSearch search(params);
    // About as many slots an iteration as 100 generations of the program's sizes.
    const std::int32_t generationsPerIteration =
        std::max(1, 100 * kPopulationSize * kSequenceLength /
                        (params.populationSize * params.sequenceLength));
    runGenerations(state, std::nullopt, search,
                   bench::stageSetting(static_cast<int>(state.range(2))), generationsPerIteration);
    const double slots = static_cast<double>(params.populationSize) * params.sequenceLength;
    state.counters["slots/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * generationsPerIteration) * slots,
        benchmark::Counter::kIsRate);
}

// "generations" on the fastest path, then "generations/path:NAME" on each, "generations/logged",
// then the sizes ("generations/N:102/L:30/stage:0").
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
    benchmark::RegisterBenchmark("generations/logged", loggedGenerations)
        ->ArgName("stage")
        ->Arg(0)
        ->Arg(1)
        ->Arg(2)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("generations", generationsOfSize)
        ->ArgNames({"N", "L", "stage"})
        ->ArgsProduct({{51}, {30, 60, 128}, {0, 1, 2}})
        ->ArgsProduct({{102, 4096}, {30}, {0, 1, 2}})
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
}  // namespace cubega
