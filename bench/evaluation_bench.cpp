// Evaluation of one 30-move sequence, plain reference and fast paths side by side.
#include <benchmark/benchmark.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "cube/moves.hpp"
#include "eval/evaluate.hpp"

namespace cubega {
namespace {

struct Sample {
    CubeState start;
    std::vector<std::vector<MoveCode>> sequences;
};

Sample makeSample(bool twoFaceMoves) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<MoveCode> move(0, 17);
    Sample sample;
    std::vector<MoveCode> scramble(25);
    for (MoveCode& m : scramble)
        m = move(rng);
    sample.start = applySequence(solvedCube(), scramble);
    sample.sequences.resize(64);
    for (auto& sequence : sample.sequences) {
        sequence.resize(30);
        for (MoveCode& m : sequence) {
            m = move(rng);
            if (twoFaceMoves)
                m = foldOntoTwoFaces(m);
        }
    }
    return sample;
}

void referenceEvaluation(benchmark::State& state) {
    const auto mode = static_cast<EvalMode>(state.range(0));
    const Sample sample = makeSample(mode == kPairMode);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            evaluateSequenceReference(sample.start, sample.sequences[i++ % 64], mode));
    }
}

// The evaluator and sample of a (mode, path) benchmark, or nothing when the processor lacks
// the path.
struct FastSetting {
    Sample sample;
    SequenceEvaluator evaluate;
};

std::optional<FastSetting> fastSetting(benchmark::State& state, BackEnd path) {
    const auto mode = static_cast<EvalMode>(state.range(0));
    if (!backEndAvailable(path)) {
        state.SkipWithError("path not available on this processor");
        return std::nullopt;
    }
    Sample sample = makeSample(mode == kPairMode);
    const CubeState start = sample.start;
    return FastSetting{std::move(sample), SequenceEvaluator(start, mode, path)};
}

void fastEvaluation(benchmark::State& state, BackEnd path) {
    const auto setting = fastSetting(state, path);
    if (!setting) {
        return;
    }
    const Sample& sample = setting->sample;
    const SequenceEvaluator& evaluate = setting->evaluate;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluate(sample.sequences[i++ % 64]));
    }
}

// A whole population of 51 rows per iteration, as the generation loop evaluates it; the
// time is reported per sequence.
void fastEvaluationOfPopulation(benchmark::State& state, BackEnd path) {
    const auto setting = fastSetting(state, path);
    if (!setting) {
        return;
    }
    std::vector<MoveCode> codes;
    for (std::size_t i = 0; i < 51; ++i) {
        const auto& sequence = setting->sample.sequences[i];
        codes.insert(codes.end(), sequence.begin(), sequence.end());
    }
    const SequenceEvaluator& evaluate = setting->evaluate;
    std::vector<Evaluation> results(51);
    for (auto _ : state) {
        evaluate.evaluateRows(codes, 30, results);
        benchmark::DoNotOptimize(results.data());
    }
    state.SetItemsProcessed(state.iterations() * 51);
    state.counters["per sequence"] =
        benchmark::Counter(static_cast<double>(state.iterations() * 51),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(referenceEvaluation)->ArgName("mode")->Arg(2)->Arg(3)->Arg(4);

// One benchmark per path, named by it ("fastEvaluation/path:avx512/mode:2"); a path this
// processor lacks is skipped.
const bool registered = [] {
    for (const BackEnd path : kBackEnds) {
        const std::string suffix = "/path:" + std::string(backEndName(path));
        benchmark::RegisterBenchmark(("fastEvaluation" + suffix).c_str(), fastEvaluation, path)
            ->ArgName("mode")
            ->Arg(2)
            ->Arg(3)
            ->Arg(4);
        benchmark::RegisterBenchmark(("fastEvaluationOfPopulation" + suffix).c_str(),
                                     fastEvaluationOfPopulation, path)
            ->ArgName("mode")
            ->Arg(2)
            ->Arg(3)
            ->Arg(4);
    }
    return true;
}();

}  // namespace
}  // namespace cubega
