// Timings without Google Benchmark, for the WebAssembly build under node (where that library
// is not built) and natively beside it, from one source: the evaluation of a whole population
// per sequence on each back end the build has (modes 2, 3 and 4, as cubega_bench's
// fastEvaluationOfPopulation measures them), the generation loop in each stage's setting, and a
// seeded whole run of the built-in scramble.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench_samples.hpp"
#include "cube/moves.hpp"
#include "eval/evaluate.hpp"
#include "genetic/genetic_search.hpp"
#include "request/solve_task.hpp"

namespace cubega {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The best of five half-second rounds, in nanoseconds per sequence.
double nanosecondsPerSequence(BackEnd backEnd, EvalMode mode) {
    const bench::Sample sample = bench::makeSample(mode == kPairMode);
    const std::vector<MoveCode> codes = bench::populationCodes(sample);
    const SequenceEvaluator evaluate(sample.start, mode, backEnd);
    std::vector<Evaluation> results(bench::kPopulationRows);
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        std::size_t populations = 0;
        while (secondsSince(start) < 0.5) {
            for (int k = 0; k < 100; ++k) {
                evaluate.evaluateRows(codes, 30, results);
            }
            populations += 100;
        }
        best = std::min(best, secondsSince(start) * 1e9 /
                                  static_cast<double>(populations * bench::kPopulationRows));
    }
    return best;
}

// The generation loop in one stage's setting, as cubega_bench's "generations" has it, on the
// active back end with the real clocks: the best of three one-second rounds, per second.
double generationsPerSecond(int stage) {
    const bench::StageSetting setting = bench::stageSetting(stage);
    SystemClock clock;
    RandomSource random(clock);
    random.seedFromClock();
    GeneticSearch search;
    search.startFromRandomPopulation(random);
    double best = 0;
    for (int round = 0; round < 3; ++round) {
        const auto begin = Clock::now();
        std::int64_t generations = 0;
        while (secondsSince(begin) < 1.0) {
            search.evolve({100, 1000000, setting.twoFaces}, setting.start, setting.mode, random);
            generations += 100;
        }
        best = std::max(best, static_cast<double>(generations) / secondsSince(begin));
    }
    return best;
}

}  // namespace
}  // namespace cubega

// With an argument, the generation loop and the whole run use that back end ("portable", ...).
int main(int argc, char** argv) {
    using namespace cubega;
    if (argc > 1) {
        for (const BackEnd backEnd : kBackEnds) {
            if (backEndName(backEnd) == argv[1]) {
                useBackEnd(backEnd);
            }
        }
    }
    for (const BackEnd backEnd : kBackEnds) {
        if (!backEndAvailable(backEnd)) {
            continue;
        }
        std::printf("evaluation of a population, per sequence, %-10s", backEndName(backEnd).data());
        for (const EvalMode mode : {kPairMode, kBlockMode, kTwoGenEntryMode}) {
            std::printf("  mode %d: %6.1f ns", static_cast<int>(mode),
                        nanosecondsPerSequence(backEnd, mode));
        }
        std::printf("\n");
    }
    std::printf("generation loop, block / entry / finish setting, %s:",
                backEndName(activeBackEnd()).data());
    for (int stage = 0; stage < 3; ++stage) {
        std::printf(" %.0f", generationsPerSecond(stage));
    }
    std::printf(" generations/s\n");
    SolveTask task;
    task.source = SolveTask::Source::builtIn;
    task.settings.blockGenerations = 500;
    task.seed = 1765000000;
    const auto start = std::chrono::steady_clock::now();
    const TaskOutcome outcome = runTask(task);
    std::printf("whole run of the built-in scramble, G = 500, seed %u, %s: %.2f s, %d moves\n",
                *task.seed, backEndName(activeBackEnd()).data(), secondsSince(start),
                outcome.result.totalMoves);
}
