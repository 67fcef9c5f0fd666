// Evaluation of one 30-move sequence, plain reference and fast paths side by side.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bench_samples.hpp"
#include "cube/moves.hpp"
#include "eval/evaluate.hpp"

namespace cubega {
namespace {

using bench::makeSample;
using bench::Sample;

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

// A whole population (51 rows) per iteration, as the generation loop evaluates it; the
// time is reported per sequence.
void fastEvaluationOfPopulation(benchmark::State& state, BackEnd path) {
    const auto setting = fastSetting(state, path);
    if (!setting) {
        return;
    }
    const std::vector<MoveCode> codes = bench::populationCodes(setting->sample);
    const SequenceEvaluator& evaluate = setting->evaluate;
    std::vector<Evaluation> results(bench::kPopulationRows);
    for (auto _ : state) {
        evaluate.evaluateRows(codes, 30, results);
        benchmark::DoNotOptimize(results.data());
    }
    const auto sequences = state.iterations() * static_cast<std::int64_t>(bench::kPopulationRows);
    state.SetItemsProcessed(sequences);
    state.counters["per sequence"] = benchmark::Counter(
        static_cast<double>(sequences), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
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
