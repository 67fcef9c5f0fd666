// The generation loop in each stage's setting: generations per second.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "cube/moves.hpp"
#include "genetic/generation_loop.hpp"
#include "run/record_writer.hpp"

namespace cubega {
namespace {

class NullWriter final : public RecordWriter {
  protected:
    void writeLines(std::string_view) override {}
};

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

void generations(benchmark::State& state) {
    const StageSetting stage = setting(static_cast<int>(state.range(0)));
    SystemClock clock;
    RandomSource random(clock);
    random.seedFromClock();
    NullWriter console;
    Population population(51, 30);
    fillRandomly(population, random);
    ScoreTable scores(51);
    std::vector<std::int32_t> keys(51);
    SearchParams params;
    params.generations = 100;
    params.progressInterval = 1000000;
    params.restrictToTwoFaces = stage.twoFaces;
    for (auto _ : state) {
        runGenerations(population, scores, keys, params, stage.start, stage.mode, random, console);
    }
    state.counters["generations/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * params.generations), benchmark::Counter::kIsRate);
}

BENCHMARK(generations)->ArgName("stage")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cubega
