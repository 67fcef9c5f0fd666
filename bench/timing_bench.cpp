// Timings without Google Benchmark, for the WebAssembly build under node (where that library
// is not built) and natively beside it, from one source: the evaluation of a whole population
// per sequence on each back end the build has (modes 2, 3 and 4, as cubega_bench's
// fastEvaluationOfPopulation measures them), the generation loop in each stage's setting, and a
// seeded whole run of the built-in scramble.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "cli/solve_task.hpp"
#include "cube/moves.hpp"
#include "eval/evaluate.hpp"
#include "genetic/genetic_search.hpp"

namespace cubega {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The native benchmark's sample: a 25-move scramble and 51 sequences of 30 moves (folded onto
// F and U for the pair score).
struct Sample {
    CubeState start;
    std::vector<MoveCode> codes;
};

Sample makeSample(bool twoFaceMoves) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<MoveCode> move(0, 17);
    std::vector<MoveCode> scramble(25);
    for (MoveCode& m : scramble) {
        m = move(rng);
    }
    Sample sample{applySequence(solvedCube(), scramble), {}};
    for (int i = 0; i < 64 * 30; ++i) {
        const MoveCode m = move(rng);
        if (i < 51 * 30) {
            sample.codes.push_back(twoFaceMoves ? foldOntoTwoFaces(m) : m);
        }
    }
    return sample;
}

// The best of five half-second rounds, in nanoseconds per sequence.
double nanosecondsPerSequence(BackEnd backEnd, EvalMode mode) {
    const Sample sample = makeSample(mode == kPairMode);
    const SequenceEvaluator evaluate(sample.start, mode, backEnd);
    std::vector<Evaluation> results(51);
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        std::size_t populations = 0;
        while (secondsSince(start) < 0.5) {
            for (int k = 0; k < 100; ++k) {
                evaluate.evaluateRows(sample.codes, 30, results);
            }
            populations += 100;
        }
        best = std::min(best, secondsSince(start) * 1e9 / static_cast<double>(populations * 51));
    }
    return best;
}

// The generation loop in one stage's setting, as cubega_bench's "generations" has it, on the
// active back end with the real clocks: the best of three one-second rounds, per second.
double generationsPerSecond(int stage) {
    std::vector<MoveCode> moves;
    EvalMode mode = kPairMode;
    bool twoFaces = false;
    if (stage == 0) {
        moves = {2, 4, 2, 3, 11, 4, 15, 5, 0, 4, 15, 5, 0, 4, 15, 5, 0, 8, 4};
        mode = kBlockMode;
    } else if (stage == 1) {
        moves = {0, 2, 1, 14, 0, 13, 2, 12, 1, 2, 7, 14};
        mode = kTwoGenEntryMode;
    } else {
        moves = {0, 1, 12, 7, 0, 13, 6, 1, 12, 13, 0, 7, 12, 1};
        twoFaces = true;
    }
    const CubeState start = applySequence(solvedCube(), moves);
    SystemClock clock;
    RandomSource random(clock);
    random.seedFromClock();
    DiscardingRecordWriter console;
    GeneticSearch search;
    search.startFromRandomPopulation(random);
    double best = 0;
    for (int round = 0; round < 3; ++round) {
        const auto begin = Clock::now();
        std::int64_t generations = 0;
        while (secondsSince(begin) < 1.0) {
            search.evolve({100, 1000000, twoFaces}, start, mode, random, console);
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
    task.generations = 500;
    task.seed = 1765000000;
    const auto start = std::chrono::steady_clock::now();
    const TaskOutcome outcome = runTask(task, nullptr, nullptr);
    std::printf("whole run of the built-in scramble, G = 500, seed %u, %s: %.2f s, %d moves\n",
                *task.seed, backEndName(activeBackEnd()).data(), secondsSince(start),
                outcome.result.totalMoves);
}
